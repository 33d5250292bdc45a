#include "tools/media/medium_check.h"

#include <map>
#include <set>

#include "base/cp1250.h"
#include "base/text.h"
#include "installer/script/script_lists.h"
#include "tools/media/archive_digest.h"
#include "tools/media/ini_index.h"
#include "tools/media/medium_names.h"

namespace ostravel::media {
namespace {

class MediumChecker {
 public:
  MediumChecker(const std::string& text, platform::FileSystem& files, const std::string& folder)
      : index_(text), script_(text), files_(files), folder_(folder) {}

  std::vector<Finding> Run() {
    for (const char* name : {kMediumLauncherName, kMediumInstallerName})
      if (!files_.FileExists(Path(name))) Add(0, std::string(name) + " is missing from the medium");
    std::vector<std::string> modules = {""};
    for (const auto& m : ReadInstallModuleList(script_.ini)) {
      modules.push_back(m.name);
      if (!m.packName.empty() && !files_.FileExists(Path(m.packName)))
        Add(index_.LineOf(InstallModuleList().section,
                          KeyName(InstallModuleList(), m.number, &InstallModuleKeys::packName)),
            "the package file " + m.packName + " of install module \"" + m.name + "\" is missing");
    }
    for (const auto& module : modules) CheckModule(module);
    ReportUnlisted();
    return std::move(findings_);
  }

 private:
  struct Archive {
    ArchiveFacts facts;
    std::map<std::string, size_t> byName;  // upper-cased stored name -> member
    std::set<size_t> listed;
    int line = 0;
  };

  std::string Path(const std::string& name) const { return folder_ + "\\" + name; }
  void Add(int line, std::string text) { findings_.push_back({line, std::move(text)}); }

  Archive* Open(const std::string& name, int line) {
    auto it = archives_.find(UpperCase(name));
    if (it != archives_.end()) return it->second.facts.error.empty() ? &it->second : nullptr;
    Archive& a = archives_[UpperCase(name)];
    a.line = line;
    a.facts = ReadArchiveFacts(files_, Path(name));
    if (!a.facts.error.empty()) {
      Add(line, "archive " + name + ": " + a.facts.error);
      return nullptr;
    }
    for (size_t i = 0; i < a.facts.members.size(); ++i) a.byName.emplace(UpperCase(a.facts.members[i].name), i);
    return &a;
  }

  void CheckModule(const std::string& module) {
    const std::string compSec = ModuleSection(module, ComponentList().section);
    const std::string filesSec = ModuleSection(module, FileList().section);
    const auto fileList = ReadFileList(script_.ini, module);
    for (const ComponentKeys& c : ReadComponentList(script_.ini, module)) {
      const int line = index_.LineOf(compSec, KeyName(ComponentList(), c.number, &ComponentKeys::packName));
      if (c.packName.empty()) continue;
      const std::string name = c.packName + ".dat";
      if (!files_.FileExists(Path(name))) {
        if (line) Add(line, "archive " + name + " is missing");
        continue;
      }
      CheckPack(compSec, c, name);
      Archive* archive = Open(name, line);
      if (!archive) continue;
      for (const FileKeys& f : fileList)
        if (f.compId == c.number) CheckFile(filesSec, f, name, *archive);
    }
  }

  void CheckPack(const std::string& sec, const ComponentKeys& c, const std::string& name) {
    auto info = files_.Find(Path(name));
    const std::string sizeKey = KeyName(ComponentList(), c.number, &ComponentKeys::packSize);
    if (script_.ini.ValueExists(sec, sizeKey) && info && info->size != uint64_t(uint32_t(c.packSize)))
      Add(index_.LineOf(sec, sizeKey), Format("%s %d differs from the %llu bytes of %s", sizeKey.c_str(), c.packSize,
                                              (unsigned long long)info->size, name.c_str()));
    const std::string md5Key = KeyName(ComponentList(), c.number, &ComponentKeys::packMD5Checksum);
    if (!c.packMD5Checksum.empty() && FileMd5(files_, Path(name)) != c.packMD5Checksum)
      Add(index_.LineOf(sec, md5Key), md5Key + " differs from the digest of " + name);
  }

  void CheckFile(const std::string& sec, const FileKeys& f, const std::string& name, Archive& archive) {
    const std::string sourceKey = KeyName(FileList(), f.number, &FileKeys::sourceFile);
    // The line of a key, else of the entry's source.
    auto line = [&](const std::string& key) {
      int l = index_.LineOf(sec, key);
      return l ? l : index_.LineOf(sec, sourceKey);
    };
    auto it = archive.byName.find(UpperCase(f.sourceFile));
    if (it == archive.byName.end()) {
      Add(line(sourceKey), sourceKey + " \"" + f.sourceFile + "\" is not in " + name);
      return;
    }
    archive.listed.insert(it->second);
    const MemberFacts& m = archive.facts.members[it->second];
    const std::string sizeKey = KeyName(FileList(), f.number, &FileKeys::fileSize);
    const std::string timeKey = KeyName(FileList(), f.number, &FileKeys::fileTime);
    const std::string md5Key = KeyName(FileList(), f.number, &FileKeys::md5HashInfo);
    if (uint64_t(uint32_t(f.fileSize)) != m.size)
      Add(line(sizeKey), Format("%s %d differs from the member's %llu bytes in %s", sizeKey.c_str(), f.fileSize,
                                (unsigned long long)m.size, name.c_str()));
    if (f.fileTime != m.time)
      Add(line(timeKey),
          Format("%s %d differs from the member's time %d in %s", timeKey.c_str(), f.fileTime, m.time, name.c_str()));
    if (!f.md5HashInfo.empty() && f.md5HashInfo != m.md5)
      Add(line(md5Key), md5Key + " differs from the member's digest in " + name);
  }

  void ReportUnlisted() {
    for (auto& [key, a] : archives_)
      for (size_t i = 0; i < a.facts.members.size(); ++i)
        if (a.facts.error.empty() && !a.listed.count(i))
          Add(a.line, "member \"" + a.facts.members[i].name + "\" is in no [Files] entry of its component");
  }

  IniIndex index_;
  IniText script_;
  platform::FileSystem& files_;
  std::string folder_;
  std::map<std::string, Archive> archives_;
  std::vector<Finding> findings_;
};

}  // namespace

std::vector<Finding> CheckMedium(const std::string& text, platform::FileSystem& files, const std::string& folder) {
  return MediumChecker(text, files, folder).Run();
}

}  // namespace ostravel::media
