#include "installer/script/script_lists.h"

#include "base/text.h"

namespace ostravel {
namespace {

template <typename Entry>
ListKey<Entry> Text(const char* name, std::string Entry::*field, bool sparse = false, bool baseOnly = false) {
  return {name, field, ListKey<Entry>::Text, sparse, baseOnly};
}
template <typename Entry>
ListKey<Entry> Int(const char* name, int32_t Entry::*field) {
  return {name, field, ListKey<Entry>::Integer};
}
template <typename Entry>
ListKey<Entry> Bool(const char* name, bool Entry::*field) {
  return {name, field, ListKey<Entry>::Boolean};
}
template <typename Entry>
ListKey<Entry> Flag(const char* name, bool Entry::*field) {
  return {name, field, ListKey<Entry>::Flag, true};
}

bool NamedModule(const InstallModuleKeys& m) { return !Trim(m.name).empty(); }

int Count(const TExtIniFile& ini, const std::string& sec) {
  int n = ini.ReadInteger(sec, "Count", 0);
  return n > 0 ? n : 0;
}

// Reads one key into a field that holds its default.
template <typename Entry>
void ReadKey(const TExtIniFile& ini, const std::string& sec, const std::string& name, const ListKey<Entry>& key,
             Entry& entry) {
  if (auto text = std::get_if<std::string Entry::*>(&key.field)) {
    entry.*(*text) = ini.ReadString(sec, name, entry.*(*text));
  } else if (auto number = std::get_if<int32_t Entry::*>(&key.field)) {
    entry.*(*number) = ini.ReadInteger(sec, name, entry.*(*number));
  } else {
    bool& value = entry.*std::get<bool Entry::*>(key.field);
    value = key.type == ListKey<Entry>::Flag ? ReadFlag(ini, sec, name) : ini.ReadBool(sec, name, value);
  }
}

template <typename Entry>
void WriteKey(TExtIniFile& ini, const std::string& sec, const std::string& name, const ListKey<Entry>& key,
              const Entry& entry) {
  static const Entry defaults{};
  if (auto text = std::get_if<std::string Entry::*>(&key.field)) {
    if (!key.sparse || entry.*(*text) != defaults.*(*text)) ini.WriteString(sec, name, entry.*(*text));
  } else if (auto number = std::get_if<int32_t Entry::*>(&key.field)) {
    if (!key.sparse || entry.*(*number) != defaults.*(*number)) ini.WriteInteger(sec, name, entry.*(*number));
  } else {
    auto flag = std::get<bool Entry::*>(key.field);
    if (!key.sparse || entry.*flag != defaults.*flag) ini.WriteBool(sec, name, entry.*flag);
  }
}

}  // namespace

bool ReadFlag(const TExtIniFile& ini, const std::string& section, const std::string& key) {
  return ini.ReadInteger(section, key, 0) == 1;
}

std::string ModuleSection(const std::string& module, const std::string& list) {
  return module.empty() ? list : module + "." + list;
}

const ListTable<InstallModuleKeys>& InstallModuleList() {
  using E = InstallModuleKeys;
  static const ListTable<E> table{.section = "Install Modules",
                                  .prefix = "",
                                  .first = 1,
                                  .perModule = false,
                                  .keys = {Text("Name", &E::name), Text("PackName", &E::packName),
                                           Text("Parameter", &E::parameter), Bool("ParamRq", &E::paramRq)},
                                  .keep = NamedModule};
  return table;
}

const ListTable<ComponentKeys>& ComponentList() {
  using E = ComponentKeys;
  static const ListTable<E> table{
      .section = "Components",
      .prefix = "Component",
      .first = 1,
      .perModule = true,
      .keys = {Text(".Name", &E::name), Bool(".Checked", &E::checked), Bool(".Enabled", &E::enabled),
               Bool(".AlwaysUpdate", &E::alwaysUpdate), Text(".PackName", &E::packName), Int(".Size", &E::size),
               Int(".PackSize", &E::packSize), Text(".PackMD5Checksum", &E::packMD5Checksum),
               Text(".PackSHA256Checksum", &E::packSHA256Checksum, true), Text(".TargetDir", &E::targetDir, true)}};
  return table;
}

const ListTable<FileKeys>& FileList() {
  using E = FileKeys;
  static const ListTable<E> table{
      .section = "Files",
      .prefix = "File",
      .first = 1,
      .perModule = true,
      .keys = {Int(".CompID", &E::compId), Text(".SourceFile", &E::sourceFile), Text(".TargetFile", &E::targetFile),
               Int(".FileSize", &E::fileSize), Int(".FileTime", &E::fileTime),
               Int(".FileUpdateRule", &E::fileUpdateRule), Text(".MD5HashInfo", &E::md5HashInfo),
               Text(".ModuleVersion", &E::moduleVersion, true), Text(".ProductVersion", &E::productVersion, true),
               Flag(".ReadOnly", &E::readOnly), Flag(".Hidden", &E::hidden), Flag(".System", &E::system),
               Flag(".Archive", &E::archive), Text(".RelPath", &E::relPath, true, true)}};
  return table;
}

const ListTable<IconKeys>& IconList() {
  using E = IconKeys;
  static const ListTable<E> table{
      .section = "Icons",
      .prefix = "Icon",
      .first = 1,
      .perModule = true,
      .keys = {Text(".Placement", &E::placement), Text(".Title", &E::title), Text(".File", &E::file),
               Text(".Parameters", &E::parameters), Text(".WorkFolder", &E::workFolder),
               Text(".IconFile", &E::iconFile), Int(".IconIndex", &E::iconIndex), Text(".Exclusions", &E::exclusions),
               Flag(".MainIcon", &E::mainIcon)}};
  return table;
}

const ListTable<RegistryKeys>& RegistryList() {
  using E = RegistryKeys;
  static const ListTable<E> table{
      .section = "Registry",
      .prefix = "Reg",
      .first = 1,
      .perModule = true,
      .keys = {Text(".RootKey", &E::rootKey), Text(".SubKey", &E::subKey), Text(".ValueName", &E::valueName),
               Text(".ValueData", &E::valueData), Flag(".CreateKey", &E::createKey),
               Flag(".OverwriteValue", &E::overwriteValue)}};
  return table;
}

const ListTable<FolderKeys>& FolderList() {
  using E = FolderKeys;
  static const ListTable<E> table{
      .section = "Folders", .prefix = "Folder", .first = 0, .perModule = false, .keys = {Text("", &E::folder)}};
  return table;
}

const ListTable<FontKeys>& FontList() {
  using E = FontKeys;
  static const ListTable<E> table{.section = "Fonts",
                                  .prefix = "Font",
                                  .first = 0,
                                  .perModule = false,
                                  .keys = {Text(".FontName", &E::fontName), Text(".FontFile", &E::fontFile)}};
  return table;
}

template <typename Entry>
std::vector<Entry> ReadListSection(const TExtIniFile& ini, const ListTable<Entry>& list, const std::string& section,
                                   bool base, const std::function<void()>& eachEntry) {
  std::vector<Entry> out;
  // Bounded by the highest number written after the prefix (after the first key's
  // name in a list without one: a module always has its name).
  const std::string stem = *list.prefix ? list.prefix : list.keys.front().name;
  const int count = ini.BoundedCount(section, stem, Count(ini, section));
  for (int n = list.first; n < list.first + count; ++n) {
    Entry entry{};
    entry.number = n;
    for (const ListKey<Entry>& key : list.keys)
      if (base || !key.baseOnly) ReadKey(ini, section, KeyText(list, key, n), key, entry);
    if (!list.keep || list.keep(entry)) out.push_back(std::move(entry));
    if (eachEntry) eachEntry();
  }
  return out;
}

template <typename Entry>
void WriteListEntry(TExtIniFile& ini, const ListTable<Entry>& list, const std::string& section, const Entry& entry) {
  for (const ListKey<Entry>& key : list.keys) WriteKey(ini, section, KeyText(list, key, entry.number), key, entry);
}

#define OSTRAVEL_LIST_ENTRY(Entry)                                                                                   \
  template std::vector<Entry> ReadListSection(const TExtIniFile&, const ListTable<Entry>&, const std::string&, bool, \
                                              const std::function<void()>&);                                         \
  template void WriteListEntry(TExtIniFile&, const ListTable<Entry>&, const std::string&, const Entry&);
OSTRAVEL_LIST_ENTRY(InstallModuleKeys)
OSTRAVEL_LIST_ENTRY(ComponentKeys)
OSTRAVEL_LIST_ENTRY(FileKeys)
OSTRAVEL_LIST_ENTRY(IconKeys)
OSTRAVEL_LIST_ENTRY(RegistryKeys)
OSTRAVEL_LIST_ENTRY(FolderKeys)
OSTRAVEL_LIST_ENTRY(FontKeys)
#undef OSTRAVEL_LIST_ENTRY

std::vector<InstallModuleKeys> ReadInstallModuleList(const TExtIniFile& ini) {
  return ReadList(ini, InstallModuleList(), "");
}

std::vector<ComponentKeys> ReadComponentList(const TExtIniFile& ini, const std::string& module) {
  return ReadList(ini, ComponentList(), module);
}

std::vector<FileKeys> ReadFileList(const TExtIniFile& ini, const std::string& module,
                                   const std::function<void()>& eachEntry) {
  return ReadList(ini, FileList(), module, eachEntry);
}

std::vector<IconKeys> ReadIconList(const TExtIniFile& ini, const std::string& module) {
  return ReadList(ini, IconList(), module);
}

std::vector<RegistryKeys> ReadRegistryList(const TExtIniFile& ini, const std::string& module) {
  return ReadList(ini, RegistryList(), module);
}

std::vector<std::string> ReadFolderList(const TExtIniFile& ini) {
  std::vector<std::string> out;
  for (FolderKeys& f : ReadList(ini, FolderList(), "")) out.push_back(std::move(f.folder));
  return out;
}

std::vector<FontKeys> ReadFontList(const TExtIniFile& ini) { return ReadList(ini, FontList(), ""); }

int32_t RequiredSpace(const TExtIniFile& ini) {
  uint32_t sum = 0;  // wraps like the 32-bit sum it has always been
  for (const FileKeys& f : ReadFileList(ini, "")) sum += uint32_t(f.fileSize);
  return int32_t(sum);
}

}  // namespace ostravel
