#include "tools/media/command.h"

namespace ostravel::media {

std::vector<Command>& Commands() {
  static std::vector<Command> commands;
  return commands;
}

}  // namespace ostravel::media
