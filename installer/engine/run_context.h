#pragma once
// What the installation and uninstall runs receive from the wizard: the machine and
// process services, the models the pages filled, the choices read off the pages, a
// progress surface and the error jump. Never the wizard itself.
#include <functional>
#include <string>
#include <vector>

#include "base/datetime.h"
#include "installer/model/finish_actions.h"
#include "installer/model/install_record_entries.h"
#include "installer/model/selection.h"
#include "installer/model/server_decisions.h"
#include "installer/model/web_update.h"
#include "installer/script/process_services.h"
#include "installer/ui/progress_surface.h"

namespace ostravel::net {
class DownloadStatisticsSurface;
}

namespace ostravel::engine {

// The progress page as the run drives it.
using ui::ProgressSurface;

// A line of the component check list: its text and check state.
struct ComponentItem {
  std::string name;
  bool checked = false;
};

enum class RunEnd {
  Success,  // Close caption, then the Next action
  Stopped,  // the error page is current and nothing more happens
  Idle,     // unattended, an earlier failure left an exit code other than 1: nothing
};

// Read off the pages when the run starts.
struct RunChoices {
  std::string destination;       // the destination edit's text
  std::string copyTargetFolder;  // where downloaded packages go
  DateTime installStartTime;
  bool webUpdateKind = false;                 // the WebUpdate kind is chosen
  bool customKind = false;                    // the Custom kind is chosen
  std::vector<ComponentItem> componentItems;  // clbComponents, in list order
  std::string programYear;                    // the year chosen in cxProgramYear
  std::string uninstallIconTitle = "Uninstall %s";
  bool windowsVariant = true;    // the operating-system list's first entry is chosen
  bool hasOpSystemList = true;   // the operating-system list has entries
  std::string iconGroup;         // the shortcut group name
  std::string offeredIconGroup;  // the group the icons page offered ("" when not shown)
  bool doNotCreateIcons = false;
  bool needLumbraIcon = false, needOrvelIcon = false;
  int uninstallKindIndex = -1;  // the uninstall kind chosen (uninstall mode)
};

struct RunContext {
  Services& services;
  model::Selection& selection;
  model::ServerDecisions& server;
  model::WebUpdate& web;
  model::InstallRecordEntries& record;
  model::FinishActions& finish;
  RunChoices choices;
  ProgressSurface& progress;
  // Appends the message to the error page and moves the wizard there.
  std::function<void(const std::string& message)> errorJump;
  // True when the error page already holds a line.
  std::function<bool()> errorReported;
  // The selection pages' builders of the install-module list and the component
  // entries (from the script in use); the run calls them when its list is empty.
  std::function<void()> buildModuleList = nullptr;
  std::function<void()> buildComponentEntries = nullptr;
  // The progress page's download-statistics box, for the WebUpdate kind.
  net::DownloadStatisticsSurface* downloadStatistics = nullptr;
  // How the run ended; the page frame moves on only after Success.
  RunEnd end = RunEnd::Success;
  // The next-volume prompt was refused: the extraction ended short.
  bool extractionCancelled = false;
  // The record block's run-state lines while the run works (unfinished_run.h).
  std::vector<std::string> runState = {};
};

// A diagnostic log line; a log that cannot be written never stops a step.
void LogQuietly(RunContext& context, const std::string& text);

// The run of the progress page, in install or uninstall mode.
using RunFn = std::function<void(RunContext& context)>;

// The engine's run: install or uninstall mode, as the process was started.
void RunInstallation(RunContext& context);

}  // namespace ostravel::engine
