#pragma once
// Where everything of the message dialog goes, computed from the message font in the
// manner of the standard Windows message box. The window code only places controls.
#include <cstdint>
#include <string>
#include <vector>

#include "installer/ui/message_dialog.h"

namespace ostravel::ui {

struct Extent {
  int cx = 0, cy = 0;
};
struct Box {
  int left = 0, top = 0, width = 0, height = 0;
};

// Text measuring in the dialog's font.
class DialogMeasurer {
 public:
  virtual ~DialogMeasurer() = default;
  virtual Extent TextExtent(const std::u16string& text) = 0;
  // Size of the word-wrapped text within maxWidth.
  virtual Extent WrappedTextExtent(const std::u16string& text, int maxWidth) = 0;
};

struct MessageButtonLayout {
  int index = 0;  // in button order
  const char* name = "";
  std::u16string caption;
  int modalResult = 0;
  Box box;
  bool isDefault = false, isCancel = false;
};

struct MessageDialogLayout {
  std::u16string caption;
  int clientWidth = 0, clientHeight = 0;
  bool hasIcon = false;
  Box icon, text;
  std::vector<MessageButtonLayout> buttons;
  int defaultResult = mrOk;  // Enter
  int cancelResult = mrOk;   // Escape
};

// `applicationTitle` captions the custom type.
MessageDialogLayout LayoutMessageDialog(DialogMeasurer& measurer, const std::u16string& text, MsgDlgType type,
                                        uint32_t buttons, int language, int screenWidth,
                                        const std::u16string& applicationTitle);

}  // namespace ostravel::ui
