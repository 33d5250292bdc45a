#pragma once
// What the database-server code needs from its callers: the machine, the process
// and path services, the server decisions, and the few window actions it triggers.
// The selection pages and the installation run each build one; neither the wizard
// nor the engine is needed.
#include <functional>
#include <string>

#include "installer/model/server_decisions.h"
#include "installer/script/process_services.h"

namespace ostravel::dbserver {

struct ServerContext {
  Services& services;
  model::ServerDecisions& server;

  // Appends the text to the error page and moves the wizard there. When unset, the
  // text is raised as an InstallerError, which reaches the same handler.
  std::function<void(const std::string& message)> errorJump{};
  // The progress page's status line; may be unset.
  std::function<void(const std::string& text)> setStatus{};
  // Minimise and restore the application around a server stop; may be unset.
  std::function<void()> minimise{}, restore{};
  // Extracts a package archive into a folder (with trailing "\"); false when it
  // could not. The installation run binds its archive reader; unset, nothing is
  // extracted.
  std::function<bool(const std::string& archive, const std::string& folder)> extract{};
};

// Hands the text to the error jump (or raises it).
void ErrorJump(ServerContext& ctx, const std::string& message);

}  // namespace ostravel::dbserver
