#pragma once
// The file system of the machine the program runs on: Win32 on Windows, POSIX on
// the host (for the maker's tool).
#include <memory>

#include "installer/platform/platform.h"

namespace ostravel::platform {

std::unique_ptr<FileSystem> MakeLocalFileSystem();

}  // namespace ostravel::platform
