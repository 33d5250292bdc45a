#pragma once
// Path variables: "$Name$" in a text is replaced by its value. Twenty-one names are
// built in (system folders, registry shell folders, wizard values); any other name
// is a user variable from the script's [Variables] section.
#include <string>
#include <vector>

#include "installer/platform/platform.h"

namespace ostravel {

class PathVariables {
 public:
  static constexpr int kBuiltInCount = 21;
  static const char* const kBuiltInNames[kBuiltInCount];
  // One expansion performs at most this many replacements; a user variable that
  // refers to itself would otherwise grow the text forever. When the bound is hit
  // the text expanded so far is returned with every remaining "$" removed, so no
  // half-expanded variable name reaches a path.
  static constexpr int kMaxReplacements = 4096;

  // `windowsFolder`, `systemFolder`, `tempFolder` and `sourceFolder` end with "\".
  PathVariables(platform::Registry& registry, std::string windowsFolder, std::string systemFolder,
                std::string tempFolder, std::string sourceFolder);

  void SetApplicationName(const std::string& value) { applicationName_ = value; }
  void SetCompanyName(const std::string& value) { companyName_ = value; }
  void SetCurrentDestination(const std::string& value) { destination_ = value; }
  // The lines of [Variables]: "$name$=value".
  void SetUserVariables(std::vector<std::string> lines) { userVariables_ = std::move(lines); }

  std::string ExpandVariables(const std::string& text) const;
  // The value of a built-in name (exact case), or of a user variable.
  std::string Value(const std::string& name) const;
  // User variable by name with dollar signs, case-insensitive, first line wins.
  std::string UserVariable(const std::string& name) const;
  bool VariableHasValue(const std::string& name) const { return !UserVariable(name).empty(); }

 private:
  // Index in kBuiltInNames, or -1.
  static int BuiltInIndex(const std::string& name);
  std::string BuiltInValue(int index) const;
  std::string ReadRegistryText(platform::RootKey root, const std::string& key, const std::string& value,
                               const std::string& fallback) const;

  platform::Registry& registry_;
  std::string windowsFolder_, systemFolder_, tempFolder_, sourceFolder_;
  std::string applicationName_, companyName_, destination_;
  std::vector<std::string> userVariables_;
};

}  // namespace ostravel
