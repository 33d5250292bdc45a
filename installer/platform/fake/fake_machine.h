#pragma once
// Every fake of the machine together, for host tests: a test fills in the parts it
// needs and hands `platform` to the code under test.
#include "installer/platform/fake/fake_desktop_windows.h"
#include "installer/platform/fake/fake_http.h"
#include "installer/platform/fake/fake_registry.h"
#include "installer/platform/fake/fake_services.h"
#include "installer/platform/fake/fake_shell.h"
#include "installer/platform/fake/fake_system.h"
#include "installer/platform/fake/memory_file_system.h"
#include "installer/platform/platform.h"

namespace ostravel::platform {

struct FakeMachine {
  MemoryFileSystem files;
  FakeRegistry registry;
  FakeSystem system;
  FakeShell shell{files};
  FakeFonts fonts;
  FakeHttpClient http;
  FakeServices services;
  FakeDesktopWindows windows;
  Platform platform{files, registry, system, shell, fonts, http, services, windows};
};

}  // namespace ostravel::platform
