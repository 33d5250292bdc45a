#pragma once
// Captions and button texts of the message dialog in eleven languages. The rows span
// several code pages, so they are held as UTF-16.
#include <string>

namespace ostravel::ui {

inline constexpr int kMessageButtonCount = 11;

struct MessageLanguage {
  const char16_t* captions[4];  // warning, error, information, confirmation
  const char16_t* buttons[kMessageButtonCount];  // in button order, "&" marks the access key
};

// 0: the program's own copy of English; 1..11: the rows; anything else: English.
const MessageLanguage& MessageLanguageFor(int language);

// Component name and modal result of each button, in button order.
const char* MessageButtonName(int index);
int MessageButtonResult(int index);

}  // namespace ostravel::ui
