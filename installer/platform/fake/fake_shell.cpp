#include "installer/platform/fake/fake_shell.h"

#include "base/cp1250.h"
#include "base/text.h"

namespace ostravel::platform {
namespace {

bool IsPifTarget(const std::set<std::string>& targets, const std::string& target) {
  for (const auto& t : targets)
    if (SameText(t, target)) return true;
  return false;
}

}  // namespace

bool FakeShell::SaveLink(const ShellLink& link, const std::string& path) {
  if (failSaves) return false;
  std::string written = path;
  if (IsPifTarget(pifTargets, link.target) && EndsWith(UpperCase(path), ".LNK"))
    written = path.substr(0, path.size() - 4) + ".pif";
  if (!files_.ReplaceFile(written, "link " + link.target)) return false;
  links_[UpperCase(written)] = link;
  saved.push_back(written);
  return true;
}

std::optional<ShellLink> FakeShell::LoadLink(const std::string& path) {
  if (!files_.FileExists(path)) return std::nullopt;
  auto it = links_.find(UpperCase(path));
  if (it == links_.end()) return std::nullopt;
  return it->second;
}

void FakeShell::AddLink(const std::string& path, const ShellLink& link) {
  std::string folder = path.substr(0, path.find_last_of('\\'));
  files_.CreateDirectories(folder);
  files_.ReplaceFile(path, "link " + link.target);
  links_[UpperCase(path)] = link;
}

const ShellLink* FakeShell::Link(const std::string& path) const {
  auto it = links_.find(UpperCase(path));
  return it == links_.end() ? nullptr : &it->second;
}

bool FakeFonts::FamilyInstalled(const std::string& family) { return families.count(UpperCase(family)) > 0; }

bool FakeFonts::AddFontFile(const std::string& path) {
  added.push_back(path);
  return true;
}

}  // namespace ostravel::platform
