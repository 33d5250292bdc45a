#pragma once
// "Component needs update": whether any installed file of a component is out of
// date by its rule, with a report of the differing programs and libraries. The
// component page calls it for each changeable component of the Custom and
// WebUpdate kinds; only the base [Files] section of the given script is read.
#include <string>

#include "installer/platform/platform.h"
#include "installer/script/ext_ini_file.h"
#include "installer/script/path_variables.h"

namespace ostravel::engine {

struct ComponentUpdate {
  bool needsUpdate = false;  // becomes the entry's checked state
  // Per ".exe" or ".dll" looked at: its name, then OldDate=, NewDate=, OldVerM=,
  // NewVerM=, OldVerP=, NewVerP= lines, each ended by CR LF, and an empty line.
  std::string report;
  // An installed program's short version sorts before the package's product
  // version: the update is mandatory.
  bool productVersionOlder = false;
};

ComponentUpdate ComponentNeedsUpdate(platform::FileSystem& files, platform::System& system,
                                     const PathVariables& variables, const TExtIniFile& script, int componentId);

}  // namespace ostravel::engine
