#pragma once
// Base64 (RFC 4648, standard alphabet, padded): how keys and signatures travel in
// text files.
#include <optional>
#include <string>
#include <string_view>

namespace ostravel {

std::string Base64Encode(std::string_view bytes);
// Blanks and line breaks anywhere are skipped; nullopt for any other character
// outside the alphabet, a length that is not a whole number of groups, or padding
// anywhere but at the end.
std::optional<std::string> Base64Decode(std::string_view text);

}  // namespace ostravel
