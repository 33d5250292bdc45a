#pragma once
// The dialogs as an unattended run answers them. Nobody is there to press a button,
// so in a silent run no box is shown: the run gets exit code 1, as every box means
// something the user was meant to see, and goes on as if the box's default button
// had been pressed. Interactive runs see the boxes unchanged.
#include "installer/script/process_state.h"
#include "installer/ui/message_dialog.h"

namespace ostravel {

class UnattendedDialogs : public ui::MessageDialogs {
 public:
  UnattendedDialogs(ui::MessageDialogs& shown, ProcessState& process) : shown_(shown), process_(process) {}

  int ShowMessage(const std::string& text, ui::MsgDlgType type, uint32_t buttons, int language) override;

 private:
  ui::MessageDialogs& shown_;
  ProcessState& process_;
};

}  // namespace ostravel
