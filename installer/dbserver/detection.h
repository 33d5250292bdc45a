#pragma once
// What server is installed: the installed test, the folder search and the choice
// between the 32- and 64-bit server. Read-only: nothing here changes the machine.
#include <cstdint>
#include <string>

#include "installer/dbserver/server_context.h"

namespace ostravel::dbserver {

// "DefaultInstance" of the Firebird instances key; empty when missing.
std::string ReadDefaultInstance(platform::Registry& registry);

// True when an InterBase or Firebird server program is found through the InterBase
// key, the registered default instance or "C:\Program Files\FireBird".
bool ServerInstalled(platform::Platform& machine);

// The first server folder below "$ProgramFilesFolder$\FireBird" (or its 64-bit
// counterpart) whose server program matches major and minor (0 and 0: any folder),
// with a trailing "\"; empty when none. Sets `classicServer` when a scanned folder
// holds the classic server program.
std::string SearchServerFolder(ServerContext& ctx, uint16_t major, uint16_t minor);

// True when the 64-bit server is to be used: a 32-bit installer on 64-bit Windows
// whose registered default instance is not in the 32-bit program files folder.
bool Use64BitServer(platform::Platform& machine);

}  // namespace ostravel::dbserver
