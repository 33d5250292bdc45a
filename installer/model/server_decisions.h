#pragma once
// The database-server decisions of the selection pages, read by the installation
// run, and what the first server stop found. Owned by the wizard window for the
// whole run.
#include <cstdint>
#include <string>
#include <vector>

namespace ostravel::model {

// A server service as the first stop found it.
struct RememberedService {
  std::string name;
  uint32_t startType = 0;
  bool startTypeKnown = true;  // false: its configuration could not be read
  bool running = false;
};

// Taken before the first server stop, so that every way out of the wizard that
// does not reach the run's service step can put the server back as it was.
struct StoppedServers {
  bool remembered = false;                  // later stops keep what the first one found
  std::vector<RememberedService> services;  // those that exist
  std::string windowClass;                  // a server window open before the stop; empty for none
  std::string windowProgram;                // the program that owned it, to start it again
  bool stopping = false;                    // a stop is under way: a restore waits for its end
  bool restoreAfterStop = false;
  bool heldByRun = false;  // the installation run works: its own end decides
  // The memory is kept in the registry too, so that the start after a killed run
  // can put the servers back (RollbackOnFailure).
  bool keepOnDisk = false;
};

struct ServerDecisions {
  std::string serverFolder;    // installation folder of the server found; empty for none
  bool classicServer = false;  // a scanned server folder holds the classic server program
  bool hasAdminRights = false;
  bool upgradeServer = false;
  bool installServer = false;
  bool freshServerInstall = false;
  bool writeAppDefaults = false;
  StoppedServers stopped;
};

}  // namespace ostravel::model
