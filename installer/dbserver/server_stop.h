#pragma once
#include "installer/platform/platform.h"

namespace ostravel::dbserver {

// Stops every InterBase or Firebird server: the three services (stopped and
// disabled, then waited for until each reports "stopped", at most
// kServiceStopWaitMs altogether), then a server running as an application,
// through its window ("IB_Server" first; "FB_Server" only when there is none).
// True when no service is left running and no server window of the class looked
// at remains: only then may its files be touched.
bool StopServers(platform::Platform& machine);

}  // namespace ostravel::dbserver
