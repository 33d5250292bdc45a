#include "installer/dbserver/server_stop.h"

#include "installer/dbserver/server_names.h"
#include "installer/dbserver/service_stop.h"

namespace ostravel::dbserver {

bool StopServers(platform::Platform& machine) {
  const uint32_t since = machine.system.TickCount();
  for (const char* name : kServerServices) StopAndDisableService(machine.services, name);
  // All were asked to stop first, so they end side by side within one wait.
  bool servicesStopped = true;
  for (const char* name : kServerServices)
    servicesStopped = WaitUntilServiceStopped(machine, name, since) && servicesStopped;
  platform::DesktopWindows& windows = machine.windows;
  const char* className = windows.WindowOfClassExists("IB_Server") ? "IB_Server" : "FB_Server";
  if (windows.WindowOfClassExists(className)) windows.CloseWindowOfClass(className);
  return servicesStopped && !windows.WindowOfClassExists(className);
}

}  // namespace ostravel::dbserver
