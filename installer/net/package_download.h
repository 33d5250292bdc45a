#pragma once
// Install step 3 of a web update: the header check of every chosen package archive
// and the download of those whose copy in `CopyTargetFolder` is not current.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "installer/model/selection.h"
#include "installer/model/web_update.h"
#include "installer/net/download_statistics.h"
#include "installer/net/net_context.h"
#include "installer/ui/progress_surface.h"

namespace ostravel::net {

struct DownloadRun {
  NetContext net;
  model::Selection& selection;
  model::WebUpdate& web;
  ui::ProgressSurface& progress;
  DownloadStatisticsSurface& statistics;
  std::string copyTargetFolder;  // with a trailing "\"
  // Appends the text to the error page and moves the wizard there.
  std::function<void(const std::string& message)> errorJump;
  // The check mark of the component list's line with this name; nullopt when the
  // list has no such line. By default read off the model, which the components
  // page keeps in step with the list.
  std::function<std::optional<bool>(const std::string& name)> listCheck;
};

// What the pass learns per component, in the order of `selection.components`.
struct PackageState {
  bool needsDownload = true;
  int64_t announcedSize = 0;  // Content-Length of the header answer
};

// Called by the installation run (install step 3) for the web-update kind: shows
// the statistics group box, runs the header check and, when it passed, the
// package download, hides the box. True when both succeeded. Every failure has
// been reported (box or exit code, and the error page) before it returns false,
// except when the caller's own cancellation text applies (the error page is then
// still empty).
bool RunWebDownload(DownloadRun& run);

// The two steps on their own.
bool HeaderCheck(DownloadRun& run, std::vector<PackageState>& states);
bool PackageDownload(DownloadRun& run, std::vector<PackageState>& states);

// The error page's text for an archive whose announced size is not `PackSize`.
std::string SizeMismatchText(const std::string& packName, int64_t packSize, int64_t announcedSize);
// "%.2n KB" of a byte count.
std::string KiloBytes(int64_t bytes);

}  // namespace ostravel::net
