#include "installer/platform/local_file_system.h"

#include "installer/platform/win32/win32_platform.h"

namespace ostravel::platform {

std::unique_ptr<FileSystem> MakeLocalFileSystem() { return std::make_unique<win32::Win32FileSystem>(); }

}  // namespace ostravel::platform
