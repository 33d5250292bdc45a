#pragma once
// An upgrade that can be undone: the older server's folder is set aside by a
// rename on its own volume, and either put back after a failed setup or, after a
// verified one, reduced to the files a person may still need.
#include <string>

#include "installer/dbserver/server_context.h"

namespace ostravel::dbserver {

struct SetAside {
  std::string folder;  // where the old server was, without trailing "\"
  std::string aside;   // where it is now; empty when nothing was moved
};

enum class AsideResult {
  NotOlder,    // no installed server older than the target version: nothing done
  NotStopped,  // a server still runs: nothing moved
  NotMoved,    // the rename failed (a file in use): nothing moved
  Moved,
};

// Only when a server is installed and the folder's server program
// ("bin\fb_inet_server.exe", else "bin\fbserver.exe") reports a version that sorts
// before `targetVersion`: stops every server (remembering what ran), and when
// every service reports stopped and no server window remains, renames the folder
// to AsideFolderFor(). `aside` tells what was moved where.
AsideResult SetOlderInstallationAside(ServerContext& ctx, const std::string& folder, const std::string& targetVersion,
                                      SetAside& aside);

// After a failed setup: stops what the setup may have started, removes what it
// left in the old folder's place and renames the old folder back. False (logged,
// naming where the old server is) when it could not be moved back.
bool PutOlderInstallationBack(ServerContext& ctx, const SetAside& aside);

// After a verified setup: the set-aside folder loses everything but the kept
// files (KeptFromOldServer); their new places go to the diagnostic log.
void KeepOldServerFiles(ServerContext& ctx, const SetAside& aside);

}  // namespace ostravel::dbserver
