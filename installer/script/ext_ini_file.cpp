#include "installer/script/ext_ini_file.h"

#include <exception>

#include "base/cp1250.h"
#include "base/datetime.h"
#include "base/installer_error.h"
#include "base/regional.h"
#include "base/text.h"

namespace ostravel {

TExtIniFile::TExtIniFile(platform::FileSystem& fs, std::string fileName, bool autoUpdate)
    : fs_(fs), fileName_(std::move(fileName)), autoUpdate_(autoUpdate),
      uncaughtAtCreation_(std::uncaught_exceptions()) {
  Load();
}

TExtIniFile::~TExtIniFile() noexcept(false) {
  if (!autoUpdate_) return;
  if (std::uncaught_exceptions() > uncaughtAtCreation_) {
    // Released while unwinding: the first error is the one to report.
    try {
      UpdateFile();
    } catch (...) {
    }
    return;
  }
  UpdateFile();
}

void TExtIniFile::Load() {
  sections_.clear();
  std::string data;
  if (fileName_.empty() || !fs_.FileExists(fileName_) || !fs_.ReadFile(fileName_, data)) return;
  Section* current = nullptr;
  for (const std::string& raw : SplitLines(data)) {
    std::string line = Trim(raw);
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
      sections_.push_back({Trim(std::string_view(line).substr(1, line.size() - 2)), {}, {}});
      current = &sections_.back();
      continue;
    }
    if (!current) continue;  // lines before the first section are dropped
    size_t eq = line.find('=');
    if (eq == std::string::npos) {
      current->lines.push_back(line);
    } else {
      current->lines.push_back(Trim(std::string_view(line).substr(0, eq)) + "=" +
                               Trim(std::string_view(line).substr(eq + 1)));
    }
  }
  for (auto& s : sections_) IndexKeys(s);
}

void TExtIniFile::IndexKeys(Section& section) {
  section.keyIndex.clear();
  for (size_t i = 0; i < section.lines.size(); ++i) {
    const std::string& line = section.lines[i];
    size_t eq = line.find('=');
    if (eq != std::string::npos) section.keyIndex.emplace(UpperCase(std::string_view(line).substr(0, eq)), int(i));
  }
}

const TExtIniFile::Section* TExtIniFile::FindSection(const std::string& name) const {
  for (const auto& s : sections_)
    if (SameText(s.name, name)) return &s;
  return nullptr;
}

TExtIniFile::Section* TExtIniFile::FindSection(const std::string& name) {
  for (auto& s : sections_)
    if (SameText(s.name, name)) return &s;
  return nullptr;
}

int TExtIniFile::FindKey(const Section& section, const std::string& key) {
  auto it = section.keyIndex.find(UpperCase(key));
  return it == section.keyIndex.end() ? -1 : it->second;
}

std::string TExtIniFile::ReadString(const std::string& section, const std::string& key,
                                    const std::string& def) const {
  const Section* s = FindSection(section);
  if (!s) return def;
  int i = FindKey(*s, key);
  if (i < 0) return def;
  const std::string& line = s->lines[size_t(i)];
  return line.substr(line.find('=') + 1);
}

int32_t TExtIniFile::ReadInteger(const std::string& section, const std::string& key, int32_t def) const {
  return ParseIntegerOr(ReadString(section, key, ""), def);
}

bool TExtIniFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
  return ReadInteger(section, key, def ? 1 : 0) != 0;
}

double TExtIniFile::ReadDateTime(const std::string& section, const std::string& key, double def) const {
  auto dt = ParseDateTimeText(ReadString(section, key, ""));
  return dt ? ToDateTimeNumber(*dt) : def;
}

bool TExtIniFile::SectionExists(const std::string& section) const { return FindSection(section) != nullptr; }

bool TExtIniFile::ValueExists(const std::string& section, const std::string& key) const {
  const Section* s = FindSection(section);
  return s && FindKey(*s, key) >= 0;
}

void TExtIniFile::ReadSectionValues(const std::string& section, std::vector<std::string>& list) const {
  list.clear();
  if (const Section* s = FindSection(section)) list = s->lines;
}

void TExtIniFile::ReadSection(const std::string& section, std::vector<std::string>& keys) const {
  keys.clear();
  if (const Section* s = FindSection(section)) {
    for (const auto& line : s->lines) {
      size_t eq = line.find('=');
      if (eq != std::string::npos) keys.push_back(line.substr(0, eq));
    }
  }
}

void TExtIniFile::ReadSections(std::vector<std::string>& sections) const {
  sections.clear();
  for (const auto& s : sections_) sections.push_back(s.name);
}

int TExtIniFile::BoundedCount(const std::string& section, const std::string& prefix, int count) const {
  const Section* s = FindSection(section);
  const int keys = s ? int(s->keyIndex.size()) : 0;
  const int slack = keys + 1024;
  if (count <= slack) return count;
  int highest = 0;
  if (s) {
    for (const auto& entry : s->keyIndex) {
      const std::string& key = entry.first;  // upper case
      if (!StartsWithNoCase(key, prefix)) continue;
      int n = 0;
      size_t i = prefix.size();
      while (i < key.size() && key[i] >= '0' && key[i] <= '9' && n < 100000000) n = n * 10 + (key[i++] - '0');
      if (n > highest) highest = n;
    }
  }
  return highest > slack ? highest + 1 : slack;
}

void TExtIniFile::ReadLines(const std::string& section, std::vector<std::string>& list, int maxCount) const {
  list.clear();
  int count = BoundedCount(section, "Line", ReadInteger(section, "Count", 0));
  if (maxCount != 0 && maxCount < count) count = maxCount;
  for (int n = 0; n < count; ++n) list.push_back(ReadString(section, "Line" + std::to_string(n), ""));
}

void TExtIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  Section* s = FindSection(section);
  if (!s) {
    sections_.push_back({section, {}, {}});
    s = &sections_.back();
  }
  std::string line = key + "=" + value;
  int i = FindKey(*s, key);
  if (i >= 0) {
    s->lines[size_t(i)] = line;
  } else {
    s->lines.push_back(line);
    s->keyIndex.emplace(UpperCase(key), int(s->lines.size() - 1));
  }
}

void TExtIniFile::WriteInteger(const std::string& section, const std::string& key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void TExtIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void TExtIniFile::WriteDateTime(const std::string& section, const std::string& key, double value) {
  WriteString(section, key, FormatDateTimeText(FromDateTimeNumber(value)));
}

void TExtIniFile::EraseSection(const std::string& section) {
  for (auto it = sections_.begin(); it != sections_.end();) {
    if (SameText(it->name, section)) {
      it = sections_.erase(it);
    } else {
      ++it;
    }
  }
}

void TExtIniFile::DeleteKey(const std::string& section, const std::string& key) {
  Section* s = FindSection(section);
  if (!s) return;
  int i = FindKey(*s, key);
  if (i >= 0) {
    s->lines.erase(s->lines.begin() + i);
    IndexKeys(*s);
  }
}

std::string TExtIniFile::ContentText() const {
  std::string out;
  for (const auto& s : sections_) {
    out += "[" + s.name + "]\r\n";
    for (const auto& line : s.lines) out += line + "\r\n";
    out += "\r\n";
  }
  return out;
}

void TExtIniFile::UpdateFile() {
  std::string text = ContentText();
  std::string onDisk;
  bool exists = fs_.FileExists(fileName_);
  // Nothing to write: an unchanged file, or a missing one that would stay empty.
  if (exists ? fs_.ReadFile(fileName_, onDisk) && onDisk == text : text.empty()) return;
  if (!fs_.ReplaceFile(fileName_, text))
    throw InstallerError("Cannot create file \"" + fileName_ + "\". " + fs_.LastErrorText());
}

}  // namespace ostravel
