#include "tools/media/script_lint.h"

#include <algorithm>
#include <map>
#include <set>

#include "base/base64.h"
#include "base/cp1250.h"
#include "base/signature.h"
#include "base/text.h"
#include "base/win32/shared_names.h"
#include "installer/script/path_variables.h"
#include "installer/script/script_lists.h"
#include "installer/script/setup_script.h"
#include "startup/scramble.h"
#include "tools/media/ini_index.h"
#include "tools/media/script_catalogue.h"

namespace ostravel::media {
namespace {

class Linter {
 public:
  Linter(const std::string& text, const LintOptions& options) : index_(text), script_(text), options_(options) {
    for (const auto& m : ReadInstallModuleList(Ini())) modules_.push_back(m.name);
    userVariables_ = UserVariableNames(Ini());
  }

  std::vector<Finding> Run() {
    CheckSections();
    std::vector<std::string> lists = {""};
    lists.insert(lists.end(), modules_.begin(), modules_.end());
    for (const auto& module : lists) {
      CheckModule(module);
      CheckIcons(module);
    }
    CheckUninstaller();
    CheckSigningKey();
    return std::move(findings_);
  }

 private:
  const TExtIniFile& Ini() const { return script_.ini; }
  bool Skipped(const std::string& section) const { return options_.skipSection && options_.skipSection(section); }
  void Add(int line, std::string text) { findings_.push_back({line, std::move(text)}); }

  bool IsModule(const std::string& name) const {
    return std::any_of(modules_.begin(), modules_.end(), [&](const std::string& m) { return SameText(m, name); });
  }

  void CheckSections() {
    std::set<std::string> seen;
    for (const auto& s : index_.Sections()) {
      if (Skipped(s.name)) continue;
      if (!seen.insert(UpperCase(s.name)).second) {
        Add(s.line, "[" + s.name + "] appears again: the installer reads only the first");
        continue;
      }
      std::string module;
      const SectionSpec* spec = FindSectionSpec(s.name, module);
      if (!spec) {
        Add(s.line, "unknown section [" + s.name + "]");
        continue;
      }
      if (!module.empty() && !IsModule(module)) {
        Add(s.line, "[" + s.name + "] belongs to the install module \"" + module +
                        "\", which [Install Modules] does not name: it is never read");
        continue;
      }
      CheckHeader(*spec, s);
      CheckKeys(*spec, s);
      if (spec->list) CheckCount(*spec, s);
    }
  }

  // The launcher reads these two headers byte for byte (its own reader).
  void CheckHeader(const SectionSpec& spec, const IniSectionLines& s) {
    if (spec.name == "StartUp" && s.header != "[StartUp]")
      Add(s.line, "the launcher finds only the exact line [StartUp]");
    if (spec.name == "Configuration" && !index_.HasExactLine("[Configuration]"))
      Add(s.line, "no line is exactly [Configuration]: the launcher takes the script for a scrambled one");
  }

  void CheckKeys(const SectionSpec& spec, const IniSectionLines& s) {
    std::set<std::string> seen;
    for (const auto& k : s.keys) {
      if (!seen.insert(UpperCase(k.key)).second) {
        Add(k.line, k.key + " appears again in [" + s.name + "]: only the first counts");
        continue;
      }
      bool known =
          std::any_of(spec.keys.begin(), spec.keys.end(), [&](const std::string& f) { return SameText(f, k.key); });
      if (spec.anyDollarKey) known = k.key.size() > 2 && k.key.front() == '$' && k.key.back() == '$';
      if (!known && spec.list) known = ListEntryNumber(*spec.list, k.key) >= 0;
      if (!known) Add(k.line, "unknown key " + k.key + " in [" + s.name + "]");
    }
  }

  // Entry numbers that have at least one key, with the line of the first.
  static std::map<int, int> Entries(const ListForm& form, const IniSectionLines& s) {
    std::map<int, int> entries;
    for (const auto& k : s.keys) {
      int n = ListEntryNumber(form, k.key);
      if (n >= 0) entries.emplace(n, k.line);
    }
    return entries;
  }

  void CheckCount(const SectionSpec& spec, const IniSectionLines& s) {
    const ListForm& form = *spec.list;
    const int countLine = index_.LineOf(s.name, "Count");
    const std::string countText = Ini().ReadString(s.name, "Count", "");
    if (countLine && !ParseInteger(countText)) Add(countLine, "Count is not an integer: read as 0");
    const int count = std::max(0, Ini().ReadInteger(s.name, "Count", 0));
    const int64_t last = int64_t(form.first) + count - 1;
    auto entries = Entries(form, s);
    for (const auto& [n, line] : entries)
      if (n < form.first || n > last)
        Add(line,
            Format("entry %d of [%s] lies beyond Count %d: the installer never reads it", n, s.name.c_str(), count));
    // Runs of missing numbers, one finding each.
    int64_t n = form.first;
    while (n <= last) {
      auto next = entries.lower_bound(int(std::min<int64_t>(n, INT32_MAX)));
      int64_t present = next == entries.end() ? last + 1 : std::min<int64_t>(next->first, last + 1);
      if (present > n) {
        std::string which = present - 1 == n ? Format("entry %lld is", (long long)n)
                                             : Format("entries %lld to %lld are", (long long)n, (long long)present - 1);
        Add(countLine ? countLine : s.line,
            Format("%s missing from [%s] (Count %d): read as defaults", which.c_str(), s.name.c_str(), count));
      }
      n = present + 1;
    }
  }

  void CheckTarget(int line, const std::string& key, const std::string& target) {
    std::string problem = TargetProblem(target, userVariables_);
    if (!problem.empty()) Add(line, key + " " + problem);
  }

  void CheckModule(const std::string& module) {
    const std::string filesSec = ModuleSection(module, FileList().section);
    const std::string compSec = ModuleSection(module, ComponentList().section);
    if (Skipped(filesSec)) return;
    std::string ignored;
    const SectionSpec* spec = FindSectionSpec(FileList().section, ignored);
    std::map<int, int> present;
    for (const auto& s : index_.Sections())
      if (SameText(s.name, filesSec)) {
        present = Entries(*spec->list, s);
        break;
      }
    std::set<int> components, used;
    for (const auto& c : ReadComponentList(Ini(), module)) components.insert(c.number);
    for (const FileKeys& f : ReadFileList(Ini(), module)) {
      if (!present.count(f.number)) continue;  // reported as missing
      const std::string stem = EntryStem(FileList(), f.number);
      const std::string targetKey = KeyName(FileList(), f.number, &FileKeys::targetFile);
      CheckRule(filesSec, f.number);
      CheckTarget(LineOr(filesSec, targetKey, stem), targetKey, f.targetFile);
      CheckSource(filesSec, f.number, f.sourceFile);
      if (!components.count(f.compId))
        Add(LineOr(filesSec, KeyName(FileList(), f.number, &FileKeys::compId), stem),
            Format("%s.CompID %d names no component of [%s]", stem.c_str(), f.compId, compSec.c_str()));
      used.insert(f.compId);
    }
    for (int n : components) {
      const int line = index_.LineOf(compSec, KeyName(ComponentList(), n, &ComponentKeys::name));
      if (!used.count(n) && line) Add(line, EntryStem(ComponentList(), n) + " has no file in [" + filesSec + "]");
    }
  }

  // The run makes a shortcut only for a program and an icon file that exist.
  void CheckIcons(const std::string& module) {
    const std::string sec = ModuleSection(module, IconList().section);
    if (Skipped(sec)) return;
    for (const IconKeys& icon : ReadIconList(Ini(), module)) {
      const std::string stem = EntryStem(IconList(), icon.number);
      if (!HasEntry(sec, stem)) continue;  // reported as missing
      const std::string fileKey = KeyName(IconList(), icon.number, &IconKeys::file);
      const std::string iconFileKey = KeyName(IconList(), icon.number, &IconKeys::iconFile);
      if (Trim(icon.file).empty())
        Add(LineOr(sec, fileKey, stem), stem + " names no program (File): the shortcut is never made");
      if (!Ini().ValueExists(sec, iconFileKey))
        Add(LineOr(sec, iconFileKey, stem), stem + " has no IconFile: the shortcut is never made");
    }
  }

  // The uninstall entry and shortcut name the record: without one they could only fail.
  void CheckUninstaller() {
    if (Skipped("Configuration")) return;
    const ConfigurationSection config = ReadConfigurationSection(Ini());
    if (config.unInstall && Trim(config.unInstallLogFile).empty())
      Add(index_.SectionLine("Configuration"),
          "UnInstall is on but UnInstallLogFile is empty: no installation record is kept, so no uninstall entry "
          "or uninstall shortcut is made");
  }

  // A key that does not parse makes every web update of the medium fail.
  void CheckSigningKey() {
    if (Skipped("Configuration") || !Ini().ValueExists("Configuration", "UpdateSigningKey")) return;
    const std::string text = Trim(ReadConfigurationSection(Ini()).updateSigningKey);
    if (text.empty()) return;
    const std::optional<std::string> point = Base64Decode(text);
    if (!point || !IsSigningKey(*point))
      Add(index_.LineOf("Configuration", "UpdateSigningKey"),
          "UpdateSigningKey is not the base64 of a P-256 public point (0x04, X, Y): every web update would be "
          "refused");
  }

  bool HasEntry(const std::string& sec, const std::string& stem) const {
    for (const auto& s : index_.Sections())
      if (SameText(s.name, sec))
        for (const auto& k : s.keys)
          if (StartsWithNoCase(k.key, stem + ".")) return true;
    return false;
  }

  int LineOr(const std::string& sec, const std::string& key, const std::string& stem) const {
    if (int line = index_.LineOf(sec, key)) return line;
    for (const auto& s : index_.Sections())
      if (SameText(s.name, sec))
        for (const auto& k : s.keys)
          if (StartsWithNoCase(k.key, stem + ".")) return k.line;
    return index_.SectionLine(sec);
  }

  void CheckRule(const std::string& sec, int number) {
    const std::string key = KeyName(FileList(), number, &FileKeys::fileUpdateRule);
    if (!Ini().ValueExists(sec, key)) return;
    auto rule = ParseInteger(Ini().ReadString(sec, key, ""));
    if (!rule || *rule < 0 || *rule > 3)
      Add(index_.LineOf(sec, key), key + " \"" + Ini().ReadString(sec, key, "") + "\" is not a rule 0 to 3");
  }

  void CheckSource(const std::string& sec, int number, const std::string& source) {
    const std::string stem = EntryStem(FileList(), number);
    const std::string key = KeyName(FileList(), number, &FileKeys::sourceFile);
    const int line = LineOr(sec, key, stem);
    if (source.empty()) {
      Add(line, stem + " has no SourceFile");
      return;
    }
    auto [it, fresh] = sources_.emplace(UpperCase(source), "[" + sec + "] " + stem);
    if (!fresh)
      Add(line,
          key + " \"" + source + "\" is also the source of " + it->second + ": only the first entry is ever written");
  }

  IniIndex index_;
  IniText script_;
  const LintOptions& options_;
  std::vector<std::string> modules_;
  std::set<std::string> userVariables_;
  std::map<std::string, std::string> sources_;
  std::vector<Finding> findings_;
};

}  // namespace

std::string TargetProblem(const std::string& target, const std::set<std::string>& userVariables) {
  if (Trim(target).empty()) return "is empty";
  std::string problem;
  size_t close = target.size() > 1 && target[0] == '$' ? target.find('$', 1) : std::string::npos;
  if (close == std::string::npos) {
    problem = "\"" + target + "\" does not begin with a path variable";
  } else {
    std::string name = target.substr(0, close + 1);
    bool builtIn = false;
    for (const char* b : PathVariables::kBuiltInNames) builtIn = builtIn || name == b;
    if (name == "$ParentCompSourceFolder$" || name == "$InstallerStartPath$")
      problem = "begins with " + name + ", which is always empty";
    else if (!builtIn && !userVariables.count(UpperCase(name)))
      problem = "begins with " + name + ", which is neither built in nor defined in [Variables]";
  }
  std::string rest = target;
  for (char& c : rest)
    if (c == '/') c = '\\';
  while (!rest.empty()) {
    if (Trim(NextToken(rest, '\\')) == "..") {
      problem += std::string(problem.empty() ? "" : "; it ") + "climbs with \"..\"";
      break;
    }
  }
  return problem;
}

std::set<std::string> UserVariableNames(const TExtIniFile& ini) {
  std::vector<std::string> variables;
  ini.ReadSection("Variables", variables);
  std::set<std::string> names;
  for (const auto& v : variables) names.insert(UpperCase(v));
  return names;
}

std::vector<Finding> LintScript(const std::string& text, const LintOptions& options) {
  return Linter(text, options).Run();
}

namespace {
bool HasConfigurationLine(const std::string& text) {
  for (const auto& line : SplitLines(text))
    if (line == names::kPlainMarkerLine) return true;
  return false;
}
}  // namespace

std::string PlainScriptText(const std::string& content) {
  if (HasConfigurationLine(content)) return content;
  // A plain script with a misspelt header stays plain, so its lines can be shown.
  std::string plain = startup::DescrambleScript(content);
  return HasConfigurationLine(plain) ? plain : content;
}

std::string FormatFindings(const std::string& path, std::vector<Finding> findings) {
  std::stable_sort(findings.begin(), findings.end(),
                   [](const Finding& a, const Finding& b) { return a.line < b.line; });
  std::string out;
  for (const auto& f : findings)
    out += path + (f.line ? ":" + std::to_string(f.line) : std::string()) + ": " + Cp1250ToUtf8(f.text) + "\n";
  return out;
}

}  // namespace ostravel::media
