#pragma once
// Every section and key the installer reads from a setup script, as the script
// model (installer/script) reads them: fixed keys, numbered lists with their first
// number and key forms, and the module-prefixed forms of the per-module lists.
#include <optional>
#include <string>
#include <vector>

namespace ostravel::media {

// Keys of a numbered list: a prefix, the entry number, a suffix (often empty).
struct ListForm {
  std::vector<std::string> prefixes;
  std::vector<std::string> suffixes;
  int first = 1;  // 1, or 0 for Folders, Fonts and page lines
};

struct SectionSpec {
  std::string name;
  std::vector<std::string> keys;  // fixed keys ("Count" for lists)
  std::optional<ListForm> list;
  bool perModule = false;  // also M + "." + name for an install module M
  bool anyDollarKey = false;  // [Variables]: every key is "$name$"
};

const std::vector<SectionSpec>& ScriptCatalogue();

// The catalogue entry of a section name, module-prefixed forms included; `module` receives M
// (empty for the base form). Nullptr for an unknown name.
const SectionSpec* FindSectionSpec(const std::string& section, std::string& module);

// The entry number of a list key ("File12.SourceFile" -> 12), or -1 when the key
// is not of the list's form.
int ListEntryNumber(const ListForm& form, const std::string& key);

// Names the builder generates from the product and which a template must not hold.
bool IsGeneratedList(const SectionSpec& spec);

}  // namespace ostravel::media
