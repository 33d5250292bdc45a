#pragma once
#include <cstdint>
#include <string>

#include "installer/platform/platform.h"

namespace ostravel::dbserver {

// How long a stopped service may take to report "stopped", all services together.
inline constexpr uint32_t kServiceStopWaitMs = 30000;

// Stops a service and sets its start type to disabled. True when the stop control
// was accepted or the service does not exist (or its name or handle is invalid);
// a service that exists but is not running is not stopped, and keeps its start
// type. False when the service control manager cannot be opened.
bool StopAndDisableService(platform::Services& services, const std::string& name);

// Waits until the service reports "stopped", polling its state, until `limitMs`
// after the tick count `since`. True when it is stopped or does not exist; false
// when it still runs, or its state cannot be read, at the end of the wait.
bool WaitUntilServiceStopped(platform::Platform& machine, const std::string& name, uint32_t since,
                             uint32_t limitMs = kServiceStopWaitMs);

}  // namespace ostravel::dbserver
