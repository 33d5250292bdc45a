#pragma once
// The machine as the installer sees it. Engine, wizard logic, net and dbserver code
// reach files, registry, processes and the rest only through these interfaces, one
// header each; the Win32 implementation is the real thing, the fakes serve host tests.
#include "installer/platform/desktop_windows.h"
#include "installer/platform/files.h"
#include "installer/platform/fonts.h"
#include "installer/platform/http.h"
#include "installer/platform/registry.h"
#include "installer/platform/services.h"
#include "installer/platform/shell.h"
#include "installer/platform/system.h"

namespace ostravel::platform {

// Everything together, passed by reference to whoever needs the machine. Parts a
// user of the aggregate does not name are an empty machine: no services, no windows.
struct Platform {
  FileSystem& files;
  Registry& registry;
  System& system;
  Shell& shell;
  Fonts& fonts;
  HttpClient& http;
  Services& services = NoServices();
  DesktopWindows& windows = NoDesktopWindows();
};

}  // namespace ostravel::platform
