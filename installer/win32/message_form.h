#pragma once
// TMessageForm: the localised message dialog on the screen.
#include "base/win32/windows_clean.h"

#include <string>

#include "installer/ui/message_dialog.h"

namespace ostravel::win32 {

class Win32MessageDialogs : public ui::MessageDialogs {
 public:
  int ShowMessage(const std::string& text, ui::MsgDlgType type, uint32_t buttons, int language) override;
  // The custom type's caption (CP1250).
  void SetApplicationTitle(const std::string& title) { applicationTitle_ = title; }

 private:
  std::string applicationTitle_ = "Ostravel";
};

// Shows the dialog modally over the thread's active window; the modal result.
int ShowMessageForm(const std::wstring& text, ui::MsgDlgType type, uint32_t buttons, int language,
                    const std::wstring& applicationTitle);

}  // namespace ostravel::win32
