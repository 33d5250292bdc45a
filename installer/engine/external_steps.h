#pragma once
// The run's steps that belong to the network and database-server code: the run
// calls them at their places, each hands over to that code.
#include <string>

#include "installer/engine/run_context.h"

namespace ostravel::engine {

// The server setup's archive, whole and flat into `folder` (with trailing "\"), by
// the archive reader; false when it cannot be read (the reason is logged).
bool ExtractServerArchive(platform::Platform& machine, DiagnosticLog& log, const std::string& archive,
                          const std::string& folder);

// Install step 3 for the WebUpdate kind: the package descriptions and packages.
// True when both downloads succeeded.
bool DownloadPackages(RunContext& context);

// Install step 6: stop a server that is to be replaced, run the silent server
// setup, locate the server folder and edit its configuration. False when the run
// must stop; the message is on the error page then.
bool PrepareDatabaseServer(RunContext& context);

// "BelloroIniUpdate": the application ini defaults.
void UpdateApplicationIni(RunContext& context);

// The server folder the services are pointed at, then "AlterFBWindowsService".
std::string ServerFolderForServices(RunContext& context);
void AlterServerServices(RunContext& context, const std::string& serverFolder);

}  // namespace ostravel::engine
