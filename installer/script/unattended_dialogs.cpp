#include "installer/script/unattended_dialogs.h"

namespace ostravel {

int UnattendedDialogs::ShowMessage(const std::string& text, ui::MsgDlgType type, uint32_t buttons, int language) {
  if (!process_.SilentMode()) return shown_.ShowMessage(text, type, buttons, language);
  process_.exitCode = 1;
  return ui::DefaultResult(buttons);
}

}  // namespace ostravel
