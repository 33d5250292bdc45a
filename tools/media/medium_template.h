#pragma once
// The medium template: a setup script without the generated lists, plus the
// declaration of what goes on the medium, which the builder removes:
//
//   [Medium]                      SourcePrefix, VolumeSize, Level
//   [Medium Component <label>]    Module, Name, PackName, Checked, Enabled,
//                                 AlwaysUpdate, TargetDir, VolumeSize and, per file
//                                 group n: Source<n>, Target<n>, Rule<n>, Attributes<n>
//
// Components are numbered in file order within their install module.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/media/script_lint.h"

namespace ostravel::media {

struct FileGroup {
  int number = 0;
  std::string source;  // folder, file or pattern in the product folder, "\" separated
  std::string target;  // folder on the target machine, begins with a path variable
  int rule = 0;
  bool readOnly = false, hidden = false, system = false, archive = false;
  int line = 0;
};

struct ComponentDecl {
  std::string section;
  int line = 0;
  std::string module, name, packName, targetDir;
  bool checked = false, enabled = false, alwaysUpdate = false;
  uint64_t volumeSize = 0;
  std::vector<FileGroup> groups;
};

struct MediumDecl {
  std::string sourcePrefix = "C:\\Product\\";  // stored names: prefix + path in the product folder
  uint64_t volumeSize = 0;                     // 0: one file per package
  int level = 6;
  std::vector<ComponentDecl> components;
};

inline constexpr const char* kMediumSection = "Medium";
inline constexpr const char* kComponentSectionPrefix = "Medium Component";

bool IsDeclarationSection(const std::string& section);

// The declaration and every problem of the template (unknown keys included).
MediumDecl ReadMediumTemplate(const std::string& text, std::vector<Finding>& problems);

}  // namespace ostravel::media
