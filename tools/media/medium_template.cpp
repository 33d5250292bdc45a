#include "tools/media/medium_template.h"

#include <algorithm>
#include <set>

#include "base/cp1250.h"
#include "base/text.h"
#include "installer/script/script_lists.h"
#include "tools/media/archive_writer.h"
#include "tools/media/ini_index.h"
#include "tools/media/script_catalogue.h"

namespace ostravel::media {
namespace {

const std::vector<std::string> kMediumKeys = {"SourcePrefix", "VolumeSize", "Level"};
const std::vector<std::string> kComponentKeys = {"Module",       "Name",      "PackName",  "Checked", "Enabled",
                                                 "AlwaysUpdate", "TargetDir", "VolumeSize"};
const ListForm kGroupForm{{"Source", "Target", "Rule", "Attributes"}, {""}, 1};

bool Known(const std::vector<std::string>& keys, const std::string& key) {
  return std::any_of(keys.begin(), keys.end(), [&](const std::string& k) { return SameText(k, key); });
}

// A package name becomes a file name on every machine that copies the medium.
bool ValidPackName(const std::string& name) {
  if (name.empty() || name.size() > 200 || name.back() == '.' || name.back() == ' ') return false;
  return std::none_of(name.begin(), name.end(), [](char c) {
    return static_cast<unsigned char>(c) < 32 || std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos;
  });
}

class TemplateReader {
 public:
  TemplateReader(const std::string& text, std::vector<Finding>& problems)
      : index_(text), script_(text), problems_(problems) {
    for (const auto& m : ReadInstallModuleList(script_.ini)) modules_.push_back(m.name);
    variables_ = UserVariableNames(script_.ini);
  }

  MediumDecl Read() {
    MediumDecl decl;
    // [Medium] first: its VolumeSize is every component's default.
    for (const auto& s : index_.Sections())
      if (SameText(s.name, kMediumSection)) {
        ReadMedium(s, decl);
        break;
      }
    std::set<std::string> seen;
    for (const auto& s : index_.Sections()) {
      if (!IsDeclarationSection(s.name)) continue;
      if (!seen.insert(UpperCase(s.name)).second) {
        Add(s.line, "[" + s.name + "] appears twice");
      } else if (!SameText(s.name, kMediumSection)) {
        decl.components.push_back(ReadComponent(s));
      }
    }
    if (decl.components.empty()) Add(0, "the template declares no [Medium Component ...] section");
    CheckPackNames(decl);
    return decl;
  }

 private:
  const TExtIniFile& Ini() const { return script_.ini; }
  void Add(int line, std::string text) { problems_.push_back({line, std::move(text)}); }

  void UnknownKeys(const IniSectionLines& s, const std::vector<std::string>& keys, const ListForm* form) {
    for (const auto& k : s.keys)
      if (!Known(keys, k.key) && !(form && ListEntryNumber(*form, k.key) >= 1))
        Add(k.line, "unknown key " + k.key + " in [" + s.name + "]");
  }

  uint64_t VolumeSize(const IniSectionLines& s, uint64_t fallback) {
    if (!Ini().ValueExists(s.name, "VolumeSize")) return fallback;
    auto v = ParseInteger(Ini().ReadString(s.name, "VolumeSize", ""));
    if (!v || (*v != 0 && uint64_t(*v) < ArchiveWriter::kMinVolumeSize) || *v < 0) {
      Add(index_.LineOf(s.name, "VolumeSize"),
          Format("VolumeSize must be 0 (one file) or at least %llu bytes", (unsigned long long)ArchiveWriter::kMinVolumeSize));
      return fallback;
    }
    return uint64_t(*v);
  }

  void ReadMedium(const IniSectionLines& s, MediumDecl& decl) {
    UnknownKeys(s, kMediumKeys, nullptr);
    decl.sourcePrefix = WithTrailing(Ini().ReadString(s.name, "SourcePrefix", decl.sourcePrefix), '\\');
    if (Trim(decl.sourcePrefix).empty()) Add(index_.LineOf(s.name, "SourcePrefix"), "SourcePrefix is empty");
    decl.volumeSize = VolumeSize(s, 0);
    if (Ini().ValueExists(s.name, "Level")) {
      auto level = ParseInteger(Ini().ReadString(s.name, "Level", ""));
      if (!level || *level < 0 || *level > 9) Add(index_.LineOf(s.name, "Level"), "Level must be 0 to 9");
      else decl.level = *level;
    }
    mediumVolumeSize_ = decl.volumeSize;
  }

  ComponentDecl ReadComponent(const IniSectionLines& s) {
    UnknownKeys(s, kComponentKeys, &kGroupForm);
    ComponentDecl c;
    c.section = s.name;
    c.line = s.line;
    auto text = [&](const char* key) { return Ini().ReadString(s.name, key, ""); };
    c.module = text("Module");
    c.name = text("Name");
    c.packName = text("PackName");
    c.targetDir = text("TargetDir");
    c.checked = Ini().ReadBool(s.name, "Checked", false);
    c.enabled = Ini().ReadBool(s.name, "Enabled", false);
    c.alwaysUpdate = Ini().ReadBool(s.name, "AlwaysUpdate", false);
    c.volumeSize = VolumeSize(s, mediumVolumeSize_);
    if (Trim(c.name).empty()) Add(s.line, "[" + s.name + "] has no Name");
    if (!ValidPackName(c.packName)) Add(s.line, "[" + s.name + "] needs a PackName usable as a file name");
    if (!c.module.empty() && std::none_of(modules_.begin(), modules_.end(),
                                          [&](const std::string& m) { return SameText(m, c.module); }))
      Add(index_.LineOf(s.name, "Module"), "Module \"" + c.module + "\" is not named in [Install Modules]");
    ReadGroups(s, c);
    return c;
  }

  void ReadGroups(const IniSectionLines& s, ComponentDecl& c) {
    std::set<int> numbers;
    for (const auto& k : s.keys)
      if (int n = ListEntryNumber(kGroupForm, k.key); n >= 1) numbers.insert(n);
    for (int n : numbers) {
      const std::string num = std::to_string(n);
      FileGroup g;
      g.number = n;
      g.line = index_.LineOf(s.name, "Source" + num);
      g.source = Ini().ReadString(s.name, "Source" + num, "");
      g.target = WithoutTrailing(Ini().ReadString(s.name, "Target" + num, ""), '\\');
      if (!g.line) {
        Add(index_.LineOf(s.name, (Ini().ValueExists(s.name, "Target" + num) ? "Target" : "Rule") + num),
            "file group " + num + " of [" + s.name + "] has no Source" + num);
        continue;
      }
      std::string problem = TargetProblem(g.target, variables_);
      if (!problem.empty()) Add(index_.LineOf(s.name, "Target" + num) ? index_.LineOf(s.name, "Target" + num) : g.line,
                                "Target" + num + " " + problem);
      ReadRule(s, num, g);
      ReadAttributes(s, num, g);
      c.groups.push_back(g);
    }
    if (c.groups.empty()) Add(s.line, "[" + s.name + "] has no Source1: a component needs files");
  }

  void ReadRule(const IniSectionLines& s, const std::string& num, FileGroup& g) {
    if (!Ini().ValueExists(s.name, "Rule" + num)) return;
    auto rule = ParseInteger(Ini().ReadString(s.name, "Rule" + num, ""));
    if (!rule || *rule < 0 || *rule > 3) Add(index_.LineOf(s.name, "Rule" + num), "Rule" + num + " must be 0 to 3");
    else g.rule = *rule;
  }

  void ReadAttributes(const IniSectionLines& s, const std::string& num, FileGroup& g) {
    for (char c : Ini().ReadString(s.name, "Attributes" + num, "")) {
      switch (UpperCaseChar(c)) {
        case 'R': g.readOnly = true; break;
        case 'H': g.hidden = true; break;
        case 'S': g.system = true; break;
        case 'A': g.archive = true; break;
        default:
          Add(index_.LineOf(s.name, "Attributes" + num), "Attributes" + num + " takes the letters R, H, S and A");
          return;
      }
    }
  }

  void CheckPackNames(const MediumDecl& decl) {
    std::set<std::string> names;
    for (const auto& c : decl.components)
      if (!c.packName.empty() && !names.insert(UpperCase(c.packName)).second)
        Add(c.line, "PackName " + c.packName + " is used by two components: one archive per component");
  }

  IniIndex index_;
  IniText script_;
  std::vector<Finding>& problems_;
  std::vector<std::string> modules_;
  std::set<std::string> variables_;
  uint64_t mediumVolumeSize_ = 0;
};

}  // namespace

bool IsDeclarationSection(const std::string& section) {
  return SameText(section, kMediumSection) ||
         (StartsWithNoCase(section, kComponentSectionPrefix) &&
          section.size() > std::string_view(kComponentSectionPrefix).size() &&
          section[std::string_view(kComponentSectionPrefix).size()] == ' ');
}

MediumDecl ReadMediumTemplate(const std::string& text, std::vector<Finding>& problems) {
  return TemplateReader(text, problems).Read();
}

}  // namespace ostravel::media
