#pragma once
// The localised message dialog as the rest of the program sees it: a typed dialog
// with a set of buttons captioned in one of eleven languages.
#include <cstdint>
#include <string>

namespace ostravel::ui {

enum class MsgDlgType { Warning = 0, Error = 1, Information = 2, Confirmation = 3, Custom = 4 };

// Bit set over the buttons in their fixed order.
enum MsgDlgButton : uint32_t {
  mbYes = 1u << 0,
  mbNo = 1u << 1,
  mbOK = 1u << 2,
  mbCancel = 1u << 3,
  mbAbort = 1u << 4,
  mbRetry = 1u << 5,
  mbIgnore = 1u << 6,
  mbAll = 1u << 7,
  mbNoToAll = 1u << 8,
  mbYesToAll = 1u << 9,
  mbHelp = 1u << 10,
};

// Modal results.
enum ModalResult : int {
  mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5,
  mrYes = 6, mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10,
};

// Fixed Hungarian texts of the program are shown in this language.
constexpr int kHungarian = 11;

// The result of the default button (Enter) of a box with these buttons.
int DefaultResult(uint32_t buttons);

class MessageDialogs {
 public:
  virtual ~MessageDialogs() = default;
  // Shows the dialog modally; the pressed button's result, mrCancel when closed otherwise.
  virtual int ShowMessage(const std::string& text, MsgDlgType type, uint32_t buttons, int language) = 0;
};

}  // namespace ostravel::ui
