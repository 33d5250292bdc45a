#include "installer/dbserver/service_stop.h"

namespace ostravel::dbserver {
namespace {

constexpr uint32_t kPollMs = 250;

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

bool WaitUntilServiceStopped(platform::Platform& machine, const std::string& name, uint32_t since, uint32_t limitMs) {
  auto manager = machine.services.OpenManager();
  if (!manager) return true;  // no service control manager: no service can run
  uint32_t error = 0;
  auto service = manager->OpenService(name, platform::kServiceQueryStatus, error);
  if (!service) return NothingToDo(error);
  for (;;) {
    const auto state = service->QueryState();
    if (state && *state == platform::kServiceStopped) return true;
    if (machine.system.TickCount() - since >= limitMs) return false;
    machine.system.Pause(kPollMs);
  }
}

}  // namespace ostravel::dbserver
