#include "tools/media/medium_plan.h"

#include <climits>
#include <map>

#include "base/cp1250.h"
#include "base/text.h"

namespace ostravel::media {
namespace {

struct Match {
  const ProductFile* file;
  std::string below;  // the part of its path kept below the group's target
};

std::string Normalised(std::string source) {
  for (char& c : source)
    if (c == '/') c = '\\';
  while (!source.empty() && source.back() == '\\') source.pop_back();
  while (!source.empty() && source.front() == '\\') source.erase(0, 1);
  if (source == ".") source.clear();
  return source;
}

std::string FolderPart(const std::string& rel) {
  size_t slash = rel.rfind('\\');
  return slash == std::string::npos ? "" : rel.substr(0, slash);
}

std::string NamePart(const std::string& rel) {
  size_t slash = rel.rfind('\\');
  return slash == std::string::npos ? rel : rel.substr(slash + 1);
}

// A pattern in its last part matches files of that folder only; a file matches
// itself; a folder brings everything below it, sub-folders kept.
std::vector<Match> MatchGroup(const std::vector<ProductFile>& files, const std::string& rawSource) {
  const std::string source = Normalised(rawSource);
  std::vector<Match> out;
  const std::string last = NamePart(source);
  if (last.find_first_of("*?") != std::string::npos) {
    const std::string folder = FolderPart(source);
    for (const auto& f : files)
      if (SameText(FolderPart(f.rel), folder) && WildcardMatch(last, NamePart(f.rel))) out.push_back({&f, NamePart(f.rel)});
    return out;
  }
  for (const auto& f : files)
    if (!source.empty() && SameText(f.rel, source)) return {{&f, NamePart(f.rel)}};
  for (const auto& f : files) {
    if (source.empty()) out.push_back({&f, f.rel});
    else if (f.rel.size() > source.size() + 1 && StartsWithNoCase(f.rel, source + "\\"))
      out.push_back({&f, f.rel.substr(source.size() + 1)});
  }
  return out;
}

// The update-state file keys files by RelPath as written: no variable may remain.
std::string RelPathOf(const std::string& target, const std::vector<std::string>& variables) {
  std::string rel;
  for (const char* base : {"$DefaultDestination$\\", "$ParentCompTargetFolder$\\"})
    if (StartsWith(target, base)) rel = target.substr(std::string_view(base).size());
  for (const auto& line : variables) {
    size_t eq = line.find('=');
    if (eq == std::string::npos || eq < 2) continue;
    const std::string name = line.substr(0, eq);
    for (size_t at = 0; (at = UpperCase(rel).find(UpperCase(name), at)) != std::string::npos;) {
      rel.replace(at, name.size(), line.substr(eq + 1));
      at += line.size() - eq - 1;
    }
  }
  return rel.find('$') == std::string::npos ? rel : "";
}

std::string U8(const std::string& cp1250) { return Cp1250ToUtf8(cp1250); }

}  // namespace

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  size_t p = 0, n = 0, star = std::string_view::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || UpperCaseChar(pattern[p]) == UpperCaseChar(name[n]))) {
      ++p, ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++, resume = n;
    } else if (star != std::string_view::npos) {
      p = star + 1, n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::vector<ModulePlan> PlanMedium(const MediumDecl& decl, const std::vector<std::string>& moduleOrder,
                                   const std::vector<std::string>& variables, const std::vector<ProductFile>& files,
                                   std::vector<std::string>& problems) {
  std::vector<ModulePlan> plan;
  std::vector<std::string> order = {""};
  order.insert(order.end(), moduleOrder.begin(), moduleOrder.end());
  std::map<std::string, std::string> owner, stored, targets;  // upper-cased key -> who has it
  for (const auto& module : order) {
    ModulePlan m{module, {}};
    for (const auto& c : decl.components) {
      if (!SameText(c.module, module)) continue;
      PlannedComponent pc{&c, int(m.components.size()) + 1, {}, 0};
      for (const auto& g : c.groups) {
        const std::string who = "[" + c.section + "] Source" + std::to_string(g.number);
        auto matches = MatchGroup(files, g.source);
        if (matches.empty()) problems.push_back(U8(who + " \"" + g.source + "\" matches no file"));
        for (const auto& match : matches) {
          auto [it, fresh] = owner.emplace(UpperCase(match.file->rel), who);
          if (!fresh) {
            problems.push_back(U8(match.file->rel + " is claimed by " + it->second + " and by " + who));
            continue;
          }
          PlannedFile pf{match.file, &g, decl.sourcePrefix + match.file->rel, g.target + "\\" + match.below, ""};
          pf.relPath = RelPathOf(pf.target, variables);
          if (auto [s, ok] = stored.emplace(UpperCase(pf.storedName), match.file->rel); !ok)
            problems.push_back(U8(match.file->rel + " and " + s->second + " differ only in letter case"));
          if (auto [t, ok] = targets.emplace(UpperCase(pf.target), match.file->rel); !ok)
            problems.push_back(U8(match.file->rel + " and " + t->second + " would both be installed as " + pf.target));
          pc.size += int64_t(match.file->size);
          pc.files.push_back(std::move(pf));
        }
      }
      if (pc.size > INT32_MAX)
        problems.push_back(U8("[" + c.section + "] holds more than 2147483647 bytes, beyond the script's 32-bit Size"));
      m.components.push_back(std::move(pc));
    }
    if (!m.components.empty() || module.empty()) plan.push_back(std::move(m));
  }
  int64_t base = 0;
  for (const auto& c : plan.front().components) base += c.size;
  if (base > INT32_MAX)
    problems.push_back("the base product's files hold more than 2147483647 bytes: the installer's required space is 32-bit");
  for (const auto& f : files)
    if (!owner.count(UpperCase(f.rel))) problems.push_back(U8(f.rel + " is in no component: add it to a Source or remove it"));
  return plan;
}

}  // namespace ostravel::media
