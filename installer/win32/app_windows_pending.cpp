// Interim windows until the wizard lands: the system message box stands in for the
// localised dialog, and the wizard says it is not there.
#include "installer/platform/win32/windows_clean.h"

#include "installer/platform/win32/wide.h"
#include "installer/win32/app_windows.h"

namespace ostravel::win32 {
namespace {

class SystemBoxes : public ui::MessageDialogs {
 public:
  int ShowMessage(const std::string& text, ui::MsgDlgType type, uint32_t buttons, int) override {
    UINT flags = (buttons & ui::mbYes) ? MB_YESNO : MB_OK;
    switch (type) {
      case ui::MsgDlgType::Warning: flags |= MB_ICONWARNING; break;
      case ui::MsgDlgType::Error: flags |= MB_ICONERROR; break;
      case ui::MsgDlgType::Information: flags |= MB_ICONINFORMATION; break;
      case ui::MsgDlgType::Confirmation: flags |= MB_ICONQUESTION; break;
      default: break;
    }
    return MessageBoxW(nullptr, Wide(text).c_str(), L"Ostravel", flags);
  }
};

}  // namespace

void ShowWizardModal(platform::Platform&, ProcessState& state) { state.exitCode = 1; }
void ShowBackgroundModal(platform::Platform&, ProcessState& state) { state.exitCode = 1; }

ui::MessageDialogs& AppMessageDialogs() {
  static SystemBoxes boxes;
  return boxes;
}

}  // namespace ostravel::win32
