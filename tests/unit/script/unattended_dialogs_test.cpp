#include "installer/script/unattended_dialogs.h"

#include <gtest/gtest.h>

#include "tests/unit/wizard/recording_view.h"

namespace ostravel::test {
namespace {

// Unattended, no box reaches the screen: exit code 1 and the default button's
// answer. Interactive, the box is shown and its answer passes through.
TEST(UnattendedDialogs, SilentRunsGetTheDefaultAnswerAndExitCodeOne) {
  struct Case {
    uint32_t buttons;
    int defaultResult;
  } cases[] = {
      {ui::mbOK, ui::mrOk},
      {ui::mbOK | ui::mbCancel, ui::mrOk},
      {ui::mbYes | ui::mbNo, ui::mrYes},
      {ui::mbYes | ui::mbNo | ui::mbCancel, ui::mrYes},
      {ui::mbAbort | ui::mbRetry | ui::mbIgnore, ui::mrRetry},
  };
  for (const Case& c : cases) {
    for (bool silent : {false, true}) {
      SCOPED_TRACE(std::to_string(c.buttons) + (silent ? " silent" : ""));
      ProcessState process;
      process.switches = ReadSwitches(silent ? std::vector<std::string>{"/silent"} : std::vector<std::string>{});
      ScriptedDialogs shown;
      shown.answers = {ui::mrNo};
      UnattendedDialogs dialogs(shown, process);
      const int answer = dialogs.ShowMessage("text", ui::MsgDlgType::Error, c.buttons, 11);
      EXPECT_EQ(answer, silent ? c.defaultResult : ui::mrNo);
      EXPECT_EQ(shown.shown.size(), silent ? 0u : 1u);
      EXPECT_EQ(process.exitCode, silent ? 1 : 0);
    }
  }
}

}  // namespace
}  // namespace ostravel::test
