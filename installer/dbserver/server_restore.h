#pragma once
// Putting back what a server stop took: before the first stop, each server
// service's start type and running state and an open server window are
// remembered; whenever the wizard or the run ends without the run's service step,
// the start types are set back and what was running is started again.
#include <string>
#include <vector>

#include "installer/dbserver/server_context.h"

namespace ostravel::dbserver {

// Remembers the services and the server window, unless an earlier stop did.
void RememberServers(platform::Platform& machine, model::StoppedServers& memory);

// Remembers, then stops every server (StopServers). A restore asked for while the
// stop works (the window keeps handling messages) runs when it has ended.
bool StopRememberedServers(ServerContext& ctx);

// Sets each remembered service's start type back and starts those that were
// running, except the services named in `settled` (the run's service step set
// those up as documented); starts a closed server window's program again; logs
// what it did and forgets the memory. Nothing when nothing was stopped.
void RestoreServers(ServerContext& ctx, const std::vector<std::string>& settled = {});

// Where a stop's memory is kept while the servers are down (keepOnDisk).
extern const char* const kStoppedServersKey;

// A run killed while the servers were down left its memory in the registry: puts
// them back as that run found them, logs it and forgets the memory. Nothing when
// there is none, or when this program already stopped servers.
void PutBackServersOfKilledRun(ServerContext& ctx);

}  // namespace ostravel::dbserver
