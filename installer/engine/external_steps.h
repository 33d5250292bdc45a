#pragma once
// The run's steps that belong to the network and database-server code. The run
// calls them at their places; each one hands over to that code.
#include <string>

#include "installer/engine/run_context.h"

namespace ostravel::engine {

// Install step 3 for the WebUpdate kind: the package descriptions and packages.
// True when both downloads succeeded.
bool DownloadPackages(RunContext& context);

// Install step 6: stop a server that is to be replaced, run the silent server
// setup, locate the server folder and edit its configuration. False when the run
// must stop; the message is on the error page then.
bool PrepareDatabaseServer(RunContext& context);

// "BelloroIniUpdate": the application ini defaults.
void UpdateApplicationIni(RunContext& context);

// "AlterFBWindowsService" for one service: its program in the server folder.
void ReconfigureServerService(RunContext& context, const std::string& service, const std::string& program,
                              const std::string& serverFolder);

// A top-level window whose title is exactly `title` (the desktop-windows interface
// grows this query).
bool TopLevelWindowWithTitleExists(RunContext& context, const std::string& title);

}  // namespace ostravel::engine
