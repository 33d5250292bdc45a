#include "installer/ui/message_dialog_layout.h"

#include <algorithm>

#include "installer/ui/message_languages.h"

namespace ostravel::ui {

namespace {
// Multiply then divide, rounded to the nearest integer as the system's MulDiv does.
int MulDivRound(int value, int numerator, int denominator) {
  const long long product = (long long)value * numerator;
  const long long half = denominator / 2;
  return int(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

int DefaultButton(uint32_t set) {
  if (set & mbOK) return 2;
  if (set & mbYes) return 0;
  return 5;  // Retry
}

int CancelButton(uint32_t set) {
  if (set & mbCancel) return 3;
  if (set & mbNo) return 1;
  return 2;  // OK
}
}  // namespace

int DefaultResult(uint32_t buttons) { return MessageButtonResult(DefaultButton(buttons)); }

MessageDialogLayout LayoutMessageDialog(DialogMeasurer& measurer, const std::u16string& text, MsgDlgType type,
                                        uint32_t buttons, int language, int screenWidth,
                                        const std::u16string& applicationTitle) {
  const MessageLanguage& row = MessageLanguageFor(language);
  const Extent letters = measurer.TextExtent(u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  const int avgX = letters.cx / 52, avgY = letters.cy;
  const int hMargin = MulDivRound(8, avgX, 4), vMargin = MulDivRound(8, avgY, 8);
  const int hSpacing = MulDivRound(10, avgX, 4), vSpacing = MulDivRound(10, avgY, 8);
  const int buttonWidth = MulDivRound(50, avgX, 4), buttonHeight = MulDivRound(14, avgY, 8);
  const int buttonSpacing = MulDivRound(4, avgX, 4);

  MessageDialogLayout layout;
  const Extent textSize = measurer.WrappedTextExtent(text, screenWidth / 2);
  layout.hasIcon = type != MsgDlgType::Custom;
  int blockWidth = textSize.cx, blockHeight = textSize.cy;
  if (layout.hasIcon) {
    blockWidth += 32 + hSpacing;
    blockHeight = std::max(blockHeight, 32);
  }
  int count = 0;
  for (int i = 0; i < kMessageButtonCount; ++i)
    if (buttons & (1u << i)) ++count;
  const int groupWidth = count ? buttonWidth * count + buttonSpacing * (count - 1) : 0;
  layout.clientWidth = std::max(blockWidth, groupWidth) + 2 * hMargin;
  layout.clientHeight = blockHeight + buttonHeight + vSpacing + 2 * vMargin;

  layout.caption = type == MsgDlgType::Custom ? applicationTitle : row.captions[int(type)];
  layout.icon = {hMargin, vMargin, 32, 32};
  layout.text = {blockWidth - textSize.cx + hMargin, vMargin, textSize.cx, textSize.cy};

  const int defaultIndex = DefaultButton(buttons), cancelIndex = CancelButton(buttons);
  layout.defaultResult = MessageButtonResult(defaultIndex);
  layout.cancelResult = MessageButtonResult(cancelIndex);
  int x = (layout.clientWidth - groupWidth) / 2;
  for (int i = 0; i < kMessageButtonCount; ++i) {
    if (!(buttons & (1u << i))) continue;
    MessageButtonLayout b;
    b.index = i;
    b.name = MessageButtonName(i);
    b.caption = row.buttons[i];
    b.modalResult = MessageButtonResult(i);
    b.isDefault = i == defaultIndex;
    b.isCancel = i == cancelIndex;
    b.box = {x, blockHeight + vMargin + vSpacing, buttonWidth, buttonHeight};
    layout.buttons.push_back(b);
    x += buttonWidth + buttonSpacing;
  }
  return layout;
}

}  // namespace ostravel::ui
