#pragma once
// The process services every subsystem works with: the machine, the process state,
// the path variables, the diagnostic log and the dialogs. The application owns them;
// each context holds this bundle by reference.
#include "installer/platform/platform.h"
#include "installer/script/diagnostic_log.h"
#include "installer/script/path_variables.h"
#include "installer/script/process_state.h"
#include "installer/ui/message_dialog.h"

namespace ostravel {

struct Services {
  platform::Platform& machine;
  ProcessState& process;
  PathVariables& variables;
  DiagnosticLog& log;
  ui::MessageDialogs& dialogs;
};

}  // namespace ostravel
