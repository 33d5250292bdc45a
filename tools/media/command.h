#pragma once
// Subcommands of ostravel-media register themselves; main.cpp only dispatches.
#include <string>
#include <vector>

namespace ostravel::media {

// Arguments after the subcommand name, UTF-8 on the host, CP1250-converted by the
// command where it needs stored names. Returns the process exit code.
using CommandFn = int (*)(const std::vector<std::string>& args);

struct Command {
  const char* name;
  const char* usage;
  CommandFn run;
};

std::vector<Command>& Commands();

struct RegisterCommand {
  RegisterCommand(const char* name, const char* usage, CommandFn run) {
    Commands().push_back({name, usage, run});
  }
};

}  // namespace ostravel::media
