#pragma once
// What the network steps of a web update need from the program: the process
// services (the machine's HTTP client included) and the plain error box. Built by
// the caller from what it holds; cheap to copy.
#include <functional>
#include <string>

#include "installer/script/process_services.h"

namespace ostravel::net {

struct NetContext {
  Services& services;
  // The plain error box: caption "Error", one "OK" button, not the localised
  // dialog. Only the web file check and the installer version check use it.
  std::function<void(const std::string& text)> errorBox;
};

// "$TempFolder$" with a trailing "\": downloads land here first.
std::string TempFolder(const NetContext& net);

// The address of a file of the update site: "/" between base and name only when
// the base lacks it.
std::string FileAddress(const std::string& base, const std::string& name);

// `WebUpdateUrl` as the installation-kind page builds it on leaving: the site as
// configured (ending with "/"), the year, "/", and "dos/" for the DOS variant.
std::string BuildWebUpdateUrl(const std::string& updateSiteUrl, const std::string& year, bool dosVariant);

// A failure text shown in the localised error box with one OK button in the
// dialog language, or, when silent, exit code 1 instead.
void ShowDownloadBox(const NetContext& net, const std::string& text);

// [Configuration] DownloadRetries of the script in use: 0 (no retry) unless set.
int DownloadRetries(const NetContext& net);

}  // namespace ostravel::net
