#include "installer/platform/local_file_system.h"

#include "installer/platform/host/host_file_system.h"

namespace ostravel::platform {

std::unique_ptr<FileSystem> MakeLocalFileSystem() { return std::make_unique<HostFileSystem>(); }

}  // namespace ostravel::platform
