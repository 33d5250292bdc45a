#include "installer/script/script_lists.h"

#include "base/text.h"

namespace ostravel {
namespace {

// Keys of entry n: prefix + n + suffix.
struct Entry {
  const TExtIniFile& ini;
  const std::string& sec;
  std::string stem;
  std::string Text(const char* suffix, const std::string& def = "") const {
    return ini.ReadString(sec, stem + suffix, def);
  }
  int32_t Int(const char* suffix) const { return ini.ReadInteger(sec, stem + suffix, 0); }
  bool Bool(const char* suffix) const { return ini.ReadBool(sec, stem + suffix, false); }
  bool Flag(const char* suffix) const { return ReadFlag(ini, sec, stem + suffix); }
};

int Count(const TExtIniFile& ini, const std::string& sec) {
  int n = ini.ReadInteger(sec, "Count", 0);
  return n > 0 ? n : 0;
}

}  // namespace

bool ReadFlag(const TExtIniFile& ini, const std::string& section, const std::string& key) {
  return ini.ReadInteger(section, key, 0) == 1;
}

std::string ModuleSection(const std::string& module, const std::string& list) {
  return module.empty() ? list : module + "." + list;
}

std::vector<InstallModuleKeys> ReadInstallModuleList(const TExtIniFile& ini) {
  const std::string sec = "Install Modules";
  std::vector<InstallModuleKeys> out;
  int count = ini.BoundedCount(sec, "Name", Count(ini, sec));
  for (int n = 1; n <= count; ++n) {
    const std::string num = std::to_string(n);
    InstallModuleKeys m;
    m.number = n;
    m.name = ini.ReadString(sec, "Name" + num, "");
    if (Trim(m.name).empty()) continue;
    m.packName = ini.ReadString(sec, "PackName" + num, "");
    m.parameter = ini.ReadString(sec, "Parameter" + num, "");
    m.paramRq = ini.ReadBool(sec, "ParamRq" + num, false);
    out.push_back(m);
  }
  return out;
}

std::vector<ComponentKeys> ReadComponentList(const TExtIniFile& ini, const std::string& module) {
  const std::string sec = ModuleSection(module, "Components");
  std::vector<ComponentKeys> out;
  int count = ini.BoundedCount(sec, "Component", Count(ini, sec));
  for (int n = 1; n <= count; ++n) {
    Entry e{ini, sec, "Component" + std::to_string(n)};
    ComponentKeys c;
    c.number = n;
    c.name = e.Text(".Name");
    c.checked = e.Bool(".Checked");
    c.enabled = e.Bool(".Enabled");
    c.alwaysUpdate = e.Bool(".AlwaysUpdate");
    c.packName = e.Text(".PackName");
    c.size = e.Int(".Size");
    c.packSize = e.Int(".PackSize");
    c.packMD5Checksum = e.Text(".PackMD5Checksum");
    c.targetDir = e.Text(".TargetDir");
    out.push_back(c);
  }
  return out;
}

std::vector<FileKeys> ReadFileList(const TExtIniFile& ini, const std::string& module) {
  const std::string sec = ModuleSection(module, "Files");
  std::vector<FileKeys> out;
  int count = ini.BoundedCount(sec, "File", Count(ini, sec));
  for (int n = 1; n <= count; ++n) {
    Entry e{ini, sec, "File" + std::to_string(n)};
    FileKeys f;
    f.number = n;
    f.compId = e.Int(".CompID");
    f.sourceFile = e.Text(".SourceFile");
    f.targetFile = e.Text(".TargetFile");
    f.fileSize = e.Int(".FileSize");
    f.fileTime = e.Int(".FileTime");
    f.fileUpdateRule = e.Int(".FileUpdateRule");
    f.md5HashInfo = e.Text(".MD5HashInfo");
    f.moduleVersion = e.Text(".ModuleVersion");
    f.productVersion = e.Text(".ProductVersion");
    f.readOnly = e.Flag(".ReadOnly");
    f.hidden = e.Flag(".Hidden");
    f.system = e.Flag(".System");
    f.archive = e.Flag(".Archive");
    if (module.empty()) f.relPath = e.Text(".RelPath");
    out.push_back(f);
  }
  return out;
}

std::vector<IconKeys> ReadIconList(const TExtIniFile& ini, const std::string& module) {
  const std::string sec = ModuleSection(module, "Icons");
  std::vector<IconKeys> out;
  int count = ini.BoundedCount(sec, "Icon", Count(ini, sec));
  for (int n = 1; n <= count; ++n) {
    Entry e{ini, sec, "Icon" + std::to_string(n)};
    IconKeys i;
    i.number = n;
    i.placement = e.Text(".Placement");
    i.title = e.Text(".Title");
    i.file = e.Text(".File");
    i.parameters = e.Text(".Parameters");
    i.workFolder = e.Text(".WorkFolder");
    i.iconFile = e.Text(".IconFile");
    i.iconIndex = e.Int(".IconIndex");
    i.exclusions = e.Text(".Exclusions");
    i.mainIcon = e.Flag(".MainIcon");
    out.push_back(i);
  }
  return out;
}

std::vector<RegistryKeys> ReadRegistryList(const TExtIniFile& ini, const std::string& module) {
  const std::string sec = ModuleSection(module, "Registry");
  std::vector<RegistryKeys> out;
  int count = ini.BoundedCount(sec, "Reg", Count(ini, sec));
  for (int n = 1; n <= count; ++n) {
    Entry e{ini, sec, "Reg" + std::to_string(n)};
    RegistryKeys r;
    r.number = n;
    r.rootKey = e.Text(".RootKey", "HKEY_CURRENT_USER");
    r.subKey = e.Text(".SubKey");
    r.valueName = e.Text(".ValueName");
    r.valueData = e.Text(".ValueData");
    r.createKey = e.Flag(".CreateKey");
    r.overwriteValue = e.Flag(".OverwriteValue");
    out.push_back(r);
  }
  return out;
}

std::vector<std::string> ReadFolderList(const TExtIniFile& ini) {
  const std::string sec = "Folders";
  std::vector<std::string> out;
  int count = ini.BoundedCount(sec, "Folder", Count(ini, sec));
  for (int n = 0; n < count; ++n) out.push_back(ini.ReadString(sec, "Folder" + std::to_string(n), ""));
  return out;
}

std::vector<FontKeys> ReadFontList(const TExtIniFile& ini) {
  const std::string sec = "Fonts";
  std::vector<FontKeys> out;
  int count = ini.BoundedCount(sec, "Font", Count(ini, sec));
  for (int n = 0; n < count; ++n) {
    Entry e{ini, sec, "Font" + std::to_string(n)};
    out.push_back({n, e.Text(".FontName"), e.Text(".FontFile")});
  }
  return out;
}

int32_t RequiredSpace(const TExtIniFile& ini) {
  const std::string sec = "Files";
  uint32_t sum = 0;  // wraps like the 32-bit sum it has always been
  int count = ini.BoundedCount(sec, "File", Count(ini, sec));
  for (int n = 1; n <= count; ++n) sum += uint32_t(ini.ReadInteger(sec, "File" + std::to_string(n) + ".FileSize", 0));
  return int32_t(sum);
}

}  // namespace ostravel
