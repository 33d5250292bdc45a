#pragma once
// The scrambled form of the setup script on a medium: each line's bytes rotated by
// amounts taken from a fixed key, restarting the key on every line. Lines of the
// scrambled file are separated by CR LF pairs only; a lone CR or LF is data.
#include <optional>
#include <string>
#include <string_view>

namespace ostravel::startup {

std::string DescrambleLine(std::string_view line);
std::string ScrambleLine(std::string_view line);

// The whole scrambled file into plain text, every line ended by CR LF.
std::string DescrambleScript(std::string_view scrambled);

struct ScrambleResult {
  std::string data;   // the scrambled file when `error` is empty
  std::string error;  // why the text cannot be scrambled, naming the line
};

// Plain text (lines ended by CR LF, LF or CR) into the scrambled file. Refuses text
// whose scrambled form would split differently on the way back (a line that turns
// into a CR LF pair) or would pass for a plain script.
ScrambleResult ScrambleScript(std::string_view plain);

}  // namespace ostravel::startup
