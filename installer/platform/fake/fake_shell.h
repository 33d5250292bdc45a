#pragma once
// Shell links and fonts for host tests. Links are saved as small files through the
// file system the test gives, so existence checks, deletion and uninstall see them;
// their fields stay here for the test to inspect.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "installer/platform/files.h"
#include "installer/platform/fonts.h"
#include "installer/platform/shell.h"

namespace ostravel::platform {

class FakeShell : public Shell {
 public:
  explicit FakeShell(FileSystem& files) : files_(files) {}

  // Targets (any letter case) whose links the shell saves as ".pif", as for
  // old-style programs.
  std::set<std::string> pifTargets;
  bool failSaves = false;
  // Every save, in order: the path actually written.
  std::vector<std::string> saved;

  bool SaveLink(const ShellLink& link, const std::string& path) override;
  std::optional<ShellLink> LoadLink(const std::string& path) override;
  // Test setup: a link file as an earlier installation left it.
  void AddLink(const std::string& path, const ShellLink& link);
  const ShellLink* Link(const std::string& path) const;

 private:
  FileSystem& files_;
  std::map<std::string, ShellLink> links_;  // upper-cased path
};

class FakeFonts : public Fonts {
 public:
  std::set<std::string> families;  // upper-cased names
  std::vector<std::string> added;  // files registered, in order
  bool FamilyInstalled(const std::string& family) override;
  bool AddFontFile(const std::string& path) override;
};

}  // namespace ostravel::platform
