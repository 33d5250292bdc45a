#pragma once
// "CreateIcons": the shortcuts of the icon list, each recorded for the uninstaller.
#include <vector>

#include "installer/engine/run_context.h"
#include "installer/engine/shortcuts.h"

namespace ostravel::engine {

void CreateIcons(RunContext& context, const std::vector<ShortcutEntry>& icons);

}  // namespace ostravel::engine
