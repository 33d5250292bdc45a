#pragma once
// The numbered lists of the setup script, read key by key with their defaults.
// The records built from them belong to the pages and the engine; these are the
// raw entries as written. Texts marked "expanded" are returned unexpanded.
//
// Each list's keys are spelled once, in its table (ListTable below): the reader
// here, the writers of ostravel-media and its lint all take them from there.
#include <cstdint>
#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "installer/script/ext_ini_file.h"

namespace ostravel {

// A flag is set only by exactly 1 (booleans take any non-zero value).
bool ReadFlag(const TExtIniFile& ini, const std::string& section, const std::string& key);

// M + ".Components" etc.; the base product (empty name) has the bare section.
std::string ModuleSection(const std::string& module, const std::string& list);

// One key of a list entry and the field of the entry record it fills. The default
// of a key is the value the record's field starts with.
template <typename Entry>
struct ListKey {
  enum Type { Text, Integer, Boolean, Flag };
  // After the list's prefix and the number (".TargetFile"); in a list without a
  // prefix ([Install Modules]) the key's own name, before the number ("Name").
  const char* name;
  std::variant<std::string Entry::*, int32_t Entry::*, bool Entry::*> field;
  Type type;
  bool sparse = false;    // writers leave it out while it holds its default
  bool baseOnly = false;  // read from the base product's section only
};

template <typename Entry>
struct ListTable {
  const char* section;  // the base product's; M + "." + section for install module M
  const char* prefix;   // "File" makes "File12.TargetFile"; empty: "Name12"
  int first;            // 1, or 0 for Folders and Fonts
  bool perModule;
  std::vector<ListKey<Entry>> keys;
  bool (*keep)(const Entry&) = nullptr;  // entries the reader passes over
};

struct InstallModuleKeys {
  int number = 0;
  std::string name, packName, parameter;
  bool paramRq = false;
};

struct ComponentKeys {
  int number = 0;
  std::string name;
  bool checked = false, enabled = false, alwaysUpdate = false;
  std::string packName;
  int32_t size = 0, packSize = 0;
  std::string packMD5Checksum;
  std::string packSHA256Checksum;  // written by the update site
  std::string targetDir;           // expanded
};

struct FileKeys {
  int number = 0;
  int32_t compId = 0;
  std::string sourceFile;
  std::string targetFile;  // expanded, then repeated "\" collapsed
  int32_t fileSize = 0, fileTime = 0, fileUpdateRule = 0;
  std::string md5HashInfo, moduleVersion, productVersion;
  bool readOnly = false, hidden = false, system = false, archive = false;
  std::string relPath;
};

struct IconKeys {
  int number = 0;
  std::string placement, title, file, parameters, workFolder, iconFile;
  int32_t iconIndex = 0;
  std::string exclusions;
  bool mainIcon = false;
};

struct RegistryKeys {
  int number = 0;
  std::string rootKey = "HKEY_CURRENT_USER";
  std::string subKey, valueName, valueData;
  bool createKey = false, overwriteValue = false;
};

struct FolderKeys {
  int number = 0;
  std::string folder;
};

struct FontKeys {
  int number = 0;
  std::string fontName, fontFile;
};

const ListTable<InstallModuleKeys>& InstallModuleList();
const ListTable<ComponentKeys>& ComponentList();
const ListTable<FileKeys>& FileList();
const ListTable<IconKeys>& IconList();
const ListTable<RegistryKeys>& RegistryList();
const ListTable<FolderKeys>& FolderList();
const ListTable<FontKeys>& FontList();

// Every entry of one section of the list, first .. first + Count - 1 (a Count
// below 1 is an empty list, an absurd one is bounded). `base`: the base product's
// section, which alone carries the base-only keys.
template <typename Entry>
std::vector<Entry> ReadListSection(const TExtIniFile& ini, const ListTable<Entry>& list, const std::string& section,
                                   bool base, const std::function<void()>& eachEntry = {});
// The list of install module `module` (empty: the base product).
template <typename Entry>
std::vector<Entry> ReadList(const TExtIniFile& ini, const ListTable<Entry>& list, const std::string& module,
                            const std::function<void()>& eachEntry = {}) {
  return ReadListSection(ini, list, ModuleSection(module, list.section), module.empty(), eachEntry);
}
// Writes an entry's keys in table order; sparse keys only when they differ from
// their default.
template <typename Entry>
void WriteListEntry(TExtIniFile& ini, const ListTable<Entry>& list, const std::string& section, const Entry& entry);

// "File12": the prefix and the number (the number alone for a list without a prefix).
template <typename Entry>
std::string EntryStem(const ListTable<Entry>& list, int number) {
  return list.prefix + std::to_string(number);
}
// The text of `key` in entry `number`: "File12.TargetFile", "PackName3".
template <typename Entry>
std::string KeyText(const ListTable<Entry>& list, const ListKey<Entry>& key, int number) {
  return *list.prefix ? EntryStem(list, number) + key.name : key.name + std::to_string(number);
}
// The key of `field` in entry `number`.
template <typename Entry, typename T>
std::string KeyName(const ListTable<Entry>& list, int number, T Entry::*field) {
  for (const ListKey<Entry>& key : list.keys)
    if (key.field == decltype(key.field)(field)) return KeyText(list, key, number);
  return std::string();
}

// Entries 1..Count; blank names are skipped.
std::vector<InstallModuleKeys> ReadInstallModuleList(const TExtIniFile& ini);
std::vector<ComponentKeys> ReadComponentList(const TExtIniFile& ini, const std::string& module);
// eachEntry, when given, is called after each entry: a long list's reader can let the
// window answer on the way.
std::vector<FileKeys> ReadFileList(const TExtIniFile& ini, const std::string& module,
                                   const std::function<void()>& eachEntry = {});
std::vector<IconKeys> ReadIconList(const TExtIniFile& ini, const std::string& module);
std::vector<RegistryKeys> ReadRegistryList(const TExtIniFile& ini, const std::string& module);
// Entries 0..Count-1; blank entries are kept (callers skip them).
std::vector<std::string> ReadFolderList(const TExtIniFile& ini);
std::vector<FontKeys> ReadFontList(const TExtIniFile& ini);

// Sum of the base [Files] sizes in 32 bits, as the destination page shows it.
int32_t RequiredSpace(const TExtIniFile& ini);

}  // namespace ostravel
