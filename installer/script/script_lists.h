#pragma once
// The numbered lists of the setup script, read key by key with their defaults.
// The records built from them belong to the pages and the engine; these are the
// raw entries as written. Texts marked "expanded" are returned unexpanded.
#include <cstdint>
#include <string>
#include <vector>

#include "installer/script/ext_ini_file.h"

namespace ostravel {

// A flag is set only by exactly 1 (booleans take any non-zero value).
bool ReadFlag(const TExtIniFile& ini, const std::string& section, const std::string& key);

// M + ".Components" etc.; the base product (empty name) has the bare section.
std::string ModuleSection(const std::string& module, const std::string& list);

struct InstallModuleKeys {
  int number = 0;
  std::string name, packName, parameter;
  bool paramRq = false;
};
// Entries 1..Count; blank names are skipped.
std::vector<InstallModuleKeys> ReadInstallModuleList(const TExtIniFile& ini);

struct ComponentKeys {
  int number = 0;
  std::string name;
  bool checked = false, enabled = false, alwaysUpdate = false;
  std::string packName;
  int32_t size = 0, packSize = 0;
  std::string packMD5Checksum;
  std::string targetDir;  // expanded
};
std::vector<ComponentKeys> ReadComponentList(const TExtIniFile& ini, const std::string& module);

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
std::vector<FileKeys> ReadFileList(const TExtIniFile& ini, const std::string& module);

struct IconKeys {
  int number = 0;
  std::string placement, title, file, parameters, workFolder, iconFile;
  int32_t iconIndex = 0;
  std::string exclusions;
  bool mainIcon = false;
};
std::vector<IconKeys> ReadIconList(const TExtIniFile& ini, const std::string& module);

struct RegistryKeys {
  int number = 0;
  std::string rootKey = "HKEY_CURRENT_USER";
  std::string subKey, valueName, valueData;
  bool createKey = false, overwriteValue = false;
};
std::vector<RegistryKeys> ReadRegistryList(const TExtIniFile& ini, const std::string& module);

// Entries 0..Count-1; blank entries are kept (callers skip them).
std::vector<std::string> ReadFolderList(const TExtIniFile& ini);

struct FontKeys {
  int number = 0;
  std::string fontName, fontFile;
};
std::vector<FontKeys> ReadFontList(const TExtIniFile& ini);

// Sum of the base [Files] sizes in 32 bits, as the destination page shows it.
int32_t RequiredSpace(const TExtIniFile& ini);

}  // namespace ostravel
