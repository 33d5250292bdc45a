#include "installer/dbserver/service_stop.h"

namespace ostravel::dbserver {
namespace {

bool NothingToDo(uint32_t error) {
  return error == platform::kErrorServiceDoesNotExist || error == platform::kErrorInvalidName ||
         error == platform::kErrorInvalidHandle;
}

}  // namespace

bool StopAndDisableService(platform::Services& services, const std::string& name) {
  auto manager = services.OpenManager();
  if (!manager) return false;
  uint32_t error = 0;
  bool done = false;
  if (auto service = manager->OpenService(name, platform::kServiceStop, error)) done = service->Stop();
  if (NothingToDo(error)) done = true;
  if (!done) return false;
  // Disabled until the end of the installation run sets the start types again.
  if (auto service = manager->OpenService(name, platform::kServiceChangeConfig, error))
    service->ChangeStartType(platform::kStartDisabled);
  return true;
}

}  // namespace ostravel::dbserver
