#pragma once
#include <string>

#include "installer/platform/services.h"

namespace ostravel::dbserver {

// Stops a service and sets its start type to disabled. True when the stop control
// was accepted or the service does not exist (or its name or handle is invalid);
// a service that exists but is not running is not stopped, and keeps its start
// type. False when the service control manager cannot be opened.
bool StopAndDisableService(platform::Services& services, const std::string& name);

}  // namespace ostravel::dbserver
