#pragma once
#include <string_view>

namespace ostravel {

// Version texts ("2.5.4.26856") compare as plain text, byte by byte, never
// numerically: "10.0.0.0" sorts before "9.0.0.0". Callers rely on exactly that.
// Negative, zero or positive like strcmp.
int CompareVersionText(std::string_view a, std::string_view b);

}  // namespace ostravel
