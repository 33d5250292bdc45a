#include "installer/script/ext_ini_file.h"

#include "base/cp1250.h"
#include "base/datetime.h"
#include "base/installer_error.h"
#include "base/regional.h"
#include "base/text.h"

namespace ostravel {

TExtIniFile::TExtIniFile(platform::FileSystem& fs, std::string fileName, bool autoUpdate)
    : fs_(fs), fileName_(std::move(fileName)), autoUpdate_(autoUpdate), loaded_(ReadDisk()) {
  parsed_ = ParseShared(fileName_, loaded_);
}

namespace {
constexpr size_t kKeptMinSize = 64 * 1024;  // smaller files parse in no time
constexpr size_t kKeptFiles = 2;            // the script and the record are read in turns
}  // namespace

std::vector<TExtIniFile::Kept>& TExtIniFile::KeptParses() {
  static std::vector<Kept> kept;
  return kept;
}

TExtIniFile::Kept* TExtIniFile::FindKept(const std::string& fileName, const std::string& data) {
  for (Kept& k : KeptParses())
    if (k.fileName == fileName && (k.data.get() == &data || *k.data == data)) return &k;
  return nullptr;
}

void TExtIniFile::Keep(const std::string& fileName, std::shared_ptr<const std::string> data,
                       std::shared_ptr<Parsed> parsed, std::optional<bool> canonical) {
  if (!data || data->size() < kKeptMinSize) return;
  std::vector<Kept>& kept = KeptParses();
  std::erase_if(kept, [&](const Kept& k) { return k.fileName == fileName; });
  kept.insert(kept.begin(), Kept{fileName, std::move(data), std::move(parsed), canonical});
  if (kept.size() > kKeptFiles) kept.pop_back();
}

std::shared_ptr<TExtIniFile::Parsed> TExtIniFile::ParseShared(const std::string& fileName, const DiskState& disk) {
  const std::string& text = disk.Data();
  if (text.size() >= kKeptMinSize)
    if (Kept* k = FindKept(fileName, text)) return k->parsed;
  auto parsed = std::make_shared<Parsed>();
  parsed->sections = Parse(text);
  IndexSections(*parsed);
  Keep(fileName, disk.bytes, parsed, std::nullopt);
  return parsed;
}

TExtIniFile::Parsed& TExtIniFile::Own() {
  if (parsed_.use_count() > 1) parsed_ = std::make_shared<Parsed>(*parsed_);
  return *parsed_;
}

size_t TExtIniFile::NoCaseHash::operator()(std::string_view text) const {
  // 64-bit FNV-1a over the upper-cased bytes, folded for a 32-bit size_t: there the
  // truncated constants would make a weak hash.
  uint64_t h = 14695981039346656037ull;
  for (char c : text) h = (h ^ uint8_t(UpperCaseChar(c))) * 1099511628211ull;
  return size_t(h ^ (h >> 32));
}

bool TExtIniFile::NoCaseEqual::operator()(std::string_view a, std::string_view b) const { return SameText(a, b); }

void TExtIniFile::IndexSections(Parsed& parsed) {
  parsed.index.clear();
  for (size_t i = 0; i < parsed.sections.size(); ++i) parsed.index.emplace(parsed.sections[i].name, i);
}

TExtIniFile::~TExtIniFile() {
  if (!autoUpdate_ || !pending_) return;
  try {
    UpdateFile();
  } catch (...) {
    // Whoever needed the write to succeed committed it and saw the error.
  }
}

const std::string& TExtIniFile::DiskState::Data() const {
  static const std::string none;
  return bytes ? *bytes : none;
}

bool TExtIniFile::DiskState::operator==(const DiskState& other) const {
  return kind == other.kind && (bytes == other.bytes || Data() == other.Data());
}

TExtIniFile::DiskState TExtIniFile::ReadDisk() const {
  DiskState state;
  if (fileName_.empty() || !fs_.FileExists(fileName_)) return state;
  // One buffer for every read keeps its capacity; bytes already kept are shared, not copied.
  static std::string scratch;
  if (!fs_.ReadFile(fileName_, scratch)) {
    state.kind = DiskState::Kind::Unreadable;
    return state;
  }
  state.kind = DiskState::Kind::Read;
  const Kept* kept = scratch.size() >= kKeptMinSize ? FindKept(fileName_, scratch) : nullptr;
  state.bytes = kept ? kept->data : std::make_shared<const std::string>(scratch);
  return state;
}

namespace {

// Trim() without the copies: a large script has a hundred thousand lines.
std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32) text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) text.remove_suffix(1);
  return text;
}

}  // namespace

std::vector<TExtIniFile::Section> TExtIniFile::Parse(const std::string& data) {
  std::vector<Section> sections;
  Section* current = nullptr;
  // CR LF, lone LF and lone CR each end a line (SplitLines).
  const std::string_view all(data);
  for (size_t start = 0; start < all.size();) {
    size_t end = all.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = all.size();
    const std::string_view line = Trimmed(all.substr(start, end - start));
    start = end + (end + 1 < all.size() && all[end] == '\r' && all[end + 1] == '\n' ? 2 : 1);
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
      sections.push_back({std::string(Trimmed(line.substr(1, line.size() - 2))), {}, {}});
      current = &sections.back();
      continue;
    }
    if (!current) continue;  // lines before the first section are dropped
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
      current->lines.emplace_back(line);
      continue;
    }
    const std::string_view key = Trimmed(line.substr(0, eq)), value = Trimmed(line.substr(eq + 1));
    std::string& kept = current->lines.emplace_back();
    kept.reserve(key.size() + 1 + value.size());
    kept.append(key).append(1, '=').append(value);
  }
  for (auto& s : sections) IndexKeys(s);
  return sections;
}

void TExtIniFile::IndexKeys(Section& section) {
  section.keyIndex.clear();
  section.keyIndex.reserve(section.lines.size());
  for (size_t i = 0; i < section.lines.size(); ++i) {
    const std::string& line = section.lines[i];
    size_t eq = line.find('=');
    if (eq != std::string::npos) section.keyIndex.emplace(line.substr(0, eq), int(i));
  }
}

const TExtIniFile::Section* TExtIniFile::FindIn(const std::vector<Section>& sections, const std::string& name) {
  for (const auto& s : sections)
    if (SameText(s.name, name)) return &s;
  return nullptr;
}

const TExtIniFile::Section* TExtIniFile::FindSection(const std::string& name) const {
  auto it = parsed_->index.find(std::string_view(name));
  return it == parsed_->index.end() ? nullptr : &parsed_->sections[it->second];
}

TExtIniFile::Section* TExtIniFile::FindSection(const std::string& name) {
  Parsed& own = Own();
  auto it = own.index.find(std::string_view(name));
  return it == own.index.end() ? nullptr : &own.sections[it->second];
}

int TExtIniFile::FindKey(const Section& section, const std::string& key) {
  auto it = section.keyIndex.find(std::string_view(key));
  return it == section.keyIndex.end() ? -1 : it->second;
}

std::string TExtIniFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
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
  for (const auto& s : parsed_->sections) sections.push_back(s.name);
}

int TExtIniFile::BoundedCount(const std::string& section, const std::string& prefix, int count) const {
  const Section* s = FindSection(section);
  const int keys = s ? int(s->keyIndex.size()) : 0;
  const int slack = keys + 1024;
  if (count <= slack) return count;
  int highest = 0;
  if (s) {
    for (const auto& entry : s->keyIndex) {
      const std::string& key = entry.first;
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
  Record({Change::Kind::Write, section, key, value});
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

void TExtIniFile::EraseSection(const std::string& section) { Record({Change::Kind::EraseSection, section, "", ""}); }

void TExtIniFile::DeleteKey(const std::string& section, const std::string& key) {
  Record({Change::Kind::DeleteKey, section, key, ""});
}

void TExtIniFile::Record(Change change) {
  Apply(change);
  changes_.push_back(std::move(change));
  pending_ = true;
}

void TExtIniFile::Apply(const Change& change) {
  if (change.kind == Change::Kind::EraseSection) {
    Parsed& own = Own();
    std::erase_if(own.sections, [&](const Section& s) { return SameText(s.name, change.section); });
    IndexSections(own);
    return;
  }
  Section* s = FindSection(change.section);
  if (change.kind == Change::Kind::DeleteKey) {
    const int i = s ? FindKey(*s, change.key) : -1;
    if (i < 0) return;
    s->lines.erase(s->lines.begin() + i);
    IndexKeys(*s);
    return;
  }
  if (!s) {
    Parsed& own = Own();
    own.sections.push_back({change.section, {}, {}});
    own.index.emplace(change.section, own.sections.size() - 1);
    s = &own.sections.back();
  }
  std::string line = change.key + "=" + change.value;
  const int i = FindKey(*s, change.key);
  if (i >= 0) {
    s->lines[size_t(i)] = std::move(line);
  } else {
    s->lines.push_back(std::move(line));
    s->keyIndex.emplace(change.key, int(s->lines.size() - 1));
  }
}

std::optional<std::vector<std::string>> TExtIniFile::Target(const std::vector<Section>& sections,
                                                            const Change& change) {
  const Section* s = FindIn(sections, change.section);
  if (!s) return std::nullopt;
  if (change.kind == Change::Kind::EraseSection) return s->lines;
  const int i = FindKey(*s, change.key);
  if (i < 0) return std::nullopt;
  return std::vector<std::string>{s->lines[size_t(i)]};
}

void TExtIniFile::Rebase(const DiskState& now) {
  const std::vector<Section> base = Parse(loaded_.Data());
  parsed_ = std::make_shared<Parsed>();
  parsed_->sections = Parse(now.Data());
  IndexSections(*parsed_);
  std::vector<Change> kept;
  for (Change& change : changes_) {
    if (Target(parsed_->sections, change) != Target(base, change)) continue;  // the other reader's is later
    Apply(change);
    kept.push_back(std::move(change));
  }
  changes_ = std::move(kept);
  loaded_ = now;
}

std::string TExtIniFile::ContentText() const {
  std::string out;
  for (const auto& s : parsed_->sections) {
    out += "[" + s.name + "]\r\n";
    for (const auto& line : s.lines) out += line + "\r\n";
    out += "\r\n";
  }
  return out;
}

void TExtIniFile::UpdateFile() {
  const DiskState now = ReadDisk();
  if (now.kind == DiskState::Kind::Unreadable) {
    // Writing what could not be read would replace the file with an empty one.
    if (changes_.empty()) return;
    throw InstallerError("Cannot read file \"" + fileName_ + "\". " + fs_.LastErrorText());
  }
  if (!(now == loaded_)) {
    const bool ownChanges = !changes_.empty();
    Rebase(now);
    if (!ownChanges) {
      pending_ = false;
      return;
    }
  }
  Kept* kept = changes_.empty() && now.kind == DiskState::Kind::Read ? FindKept(fileName_, now.Data()) : nullptr;
  if (kept && kept->canonical == true && kept->parsed == parsed_) {
    pending_ = false;
    return;
  }
  auto text = std::make_shared<const std::string>(ContentText());
  // Nothing to write: an unchanged file, or a missing one that would stay empty.
  const bool same = now.kind == DiskState::Kind::Read ? now.Data() == *text : text->empty();
  if (kept && kept->parsed == parsed_) kept->canonical = same;
  if (!same && !fs_.ReplaceFile(fileName_, *text))
    throw InstallerError("Cannot create file \"" + fileName_ + "\". " + fs_.LastErrorText());
  if (!same) loaded_ = {DiskState::Kind::Read, text};
  // A reader that only normalised the file holds the parse of what it wrote (a
  // normalised text parses to the same sections): the next reader need not parse it.
  if (!same && changes_.empty()) Keep(fileName_, text, parsed_, true);
  changes_.clear();
  pending_ = false;
}

}  // namespace ostravel
