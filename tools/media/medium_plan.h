#pragma once
// Which product file goes into which component, archive member and target: the
// template's file groups matched against the scanned product folder.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/media/medium_template.h"
#include "tools/media/product_scan.h"

namespace ostravel::media {

struct PlannedFile {
  const ProductFile* file = nullptr;
  const FileGroup* group = nullptr;
  std::string storedName;  // the archive member and File<n>.SourceFile
  std::string target;      // File<n>.TargetFile, unexpanded
  std::string relPath;     // File<n>.RelPath; empty unless the target lies below the destination
};

struct PlannedComponent {
  const ComponentDecl* decl = nullptr;
  int number = 0;  // Component<n> within its module
  std::vector<PlannedFile> files;
  int64_t size = 0;
};

struct ModulePlan {
  std::string module;  // empty: the base product
  std::vector<PlannedComponent> components;
};

// Modules in the order: base product, then [Install Modules] order of first use.
// `problems` (UTF-8) receives files claimed twice or never, groups matching
// nothing, names equal but for case, targets written twice, and sizes beyond 32 bits.
// `variables` are the [Variables] lines ("$name$=value"): a RelPath is written with
// them replaced, and left out when its target holds any other variable.
std::vector<ModulePlan> PlanMedium(const MediumDecl& decl, const std::vector<std::string>& moduleOrder,
                                   const std::vector<std::string>& variables, const std::vector<ProductFile>& files,
                                   std::vector<std::string>& problems);

// Whether `name` matches a pattern of "*" and "?", without regard to case.
bool WildcardMatch(std::string_view pattern, std::string_view name);

}  // namespace ostravel::media
