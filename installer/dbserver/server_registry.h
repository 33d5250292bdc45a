#pragma once
// The registry entries the server preparation keeps right: the compatibility
// layers of the server programs, the logon autostart value and DefaultInstance.
#include "installer/dbserver/server_context.h"

namespace ostravel::dbserver {

inline constexpr const char* kLayersKey = "Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers";

// Deletes every per-user compatibility value whose name contains the name of a
// server program or of its service tools (case-sensitive).
void CleanCompatibilityLayers(platform::Registry& registry);

// Marks the guardian, the server and the two service tools of the registered
// default instance (or the standard folder) "RUNASADMIN" for the current user.
void MarkServerRunAsAdmin(ServerContext& ctx);

// Removes the value "Firebird" from the machine-wide Run key when that key exists,
// so the server is not started again by the logon autostart list.
void RemoveAutostartValue(platform::Platform& machine);

// Writes DefaultInstance (the key is created when missing), even when empty.
void WriteDefaultInstance(platform::Registry& registry, const std::string& folder);

}  // namespace ostravel::dbserver
