#pragma once
// Whole files of the maker's tool, by UTF-8 path.
#include <filesystem>
#include <string>

namespace ostravel::media {

std::filesystem::path PathOf(const std::string& utf8);
bool ReadBinary(const std::string& path, std::string& data);
bool WriteBinary(const std::string& path, const std::string& data);

}  // namespace ostravel::media
