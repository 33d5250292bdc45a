#include "tools/media/ini_index.h"

#include "base/cp1250.h"
#include "base/text.h"

namespace ostravel::media {

IniIndex::IniIndex(std::string_view text) {
  rawLines_ = SplitLines(text);
  IniSectionLines* current = nullptr;
  for (size_t i = 0; i < rawLines_.size(); ++i) {
    std::string line = Trim(rawLines_[i]);
    if (line.empty() || line[0] == ';') continue;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      sections_.push_back({Trim(std::string_view(line).substr(1, line.size() - 2)), rawLines_[i], int(i + 1), {}});
      current = &sections_.back();
      continue;
    }
    size_t eq = line.find('=');
    if (!current || eq == std::string::npos) continue;
    current->keys.push_back({Trim(std::string_view(line).substr(0, eq)), int(i + 1)});
  }
}

int IniIndex::SectionLine(const std::string& section) const {
  for (const auto& s : sections_)
    if (SameText(s.name, section)) return s.line;
  return 0;
}

int IniIndex::LineOf(const std::string& section, const std::string& key) const {
  for (const auto& s : sections_) {
    if (!SameText(s.name, section)) continue;
    for (const auto& k : s.keys)
      if (SameText(k.key, key)) return k.line;
    return 0;
  }
  return 0;
}

bool IniIndex::HasExactLine(const std::string& text) const {
  for (const auto& l : rawLines_)
    if (l == text) return true;
  return false;
}

std::optional<platform::FileInfo> OneFileSystem::Find(const std::string& p) {
  if (p != path_) return std::nullopt;
  return platform::FileInfo{platform::kAttrReadOnly, text_.size(), 0};
}

bool OneFileSystem::ReadFile(const std::string& p, std::string& d) {
  if (p != path_) return false;
  d = text_;
  return true;
}

}  // namespace ostravel::media
