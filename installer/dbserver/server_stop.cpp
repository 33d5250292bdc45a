#include "installer/dbserver/server_stop.h"

#include "installer/dbserver/server_names.h"
#include "installer/dbserver/service_stop.h"

namespace ostravel::dbserver {

bool StopServers(platform::Platform& machine) {
  for (const char* name : {kGuardianService, kServerService, kInterBaseService})
    StopAndDisableService(machine.services, name);
  platform::DesktopWindows& windows = machine.windows;
  const char* className = windows.WindowOfClassExists("IB_Server") ? "IB_Server" : "FB_Server";
  if (windows.WindowOfClassExists(className)) windows.CloseWindowOfClass(className);
  return !windows.WindowOfClassExists(className);
}

}  // namespace ostravel::dbserver
