#pragma once
// The removal of everything the installation record lists, in fixed phases: files,
// shortcuts, registry values, registry keys, the record itself, then folders from
// the innermost out. Every removal is best effort.
#include <vector>

#include "installer/engine/install_record.h"
#include "installer/engine/run_context.h"

namespace ostravel::engine {

void Uninstall(RunContext& context, const std::vector<UninstallAction>& actions);

}  // namespace ostravel::engine
