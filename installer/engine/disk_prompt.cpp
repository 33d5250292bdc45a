#include "installer/engine/disk_prompt.h"

namespace ostravel::engine {

bool DiskPrompt::Confirm(const std::string& text) {
  const bool unattended = ctx_.services.process.SilentMode();
  if (unattended && text != lastPrompt_) {
    lastPrompt_ = text;
    return true;
  }
  const bool ok = ctx_.services.dialogs.ShowMessage(text, ui::MsgDlgType::Information, ui::mbOK | ui::mbCancel,
                                                    ctx_.services.process.dialogLanguage) == ui::mrOk;
  if (!ok || unattended) ctx_.extractionCancelled = true;
  return ok && !unattended;
}

}  // namespace ostravel::engine
