#include "tools/media/medium_builder.h"

#include <fstream>
#include <system_error>
#include <tuple>

#include "base/cp1250.h"
#include "base/text.h"
#include "installer/platform/local_file_system.h"
#include "installer/script/script_lists.h"
#include "installer/script/setup_script.h"
#include "startup/scramble.h"
#include "tools/media/archive_digest.h"
#include "tools/media/archive_writer.h"
#include "tools/media/binary_file.h"
#include "tools/media/ini_index.h"
#include "tools/media/medium_check.h"
#include "tools/media/medium_names.h"
#include "tools/media/medium_plan.h"
#include "tools/media/pe_version.h"
#include "tools/media/script_catalogue.h"
#include "tools/media/szdd_format.h"

namespace ostravel::media {
namespace fs = std::filesystem;
namespace {

std::string U8(const fs::path& p) {
  auto s = p.u8string();
  return std::string(s.begin(), s.end());
}

class StreamInput : public platform::InputFile {
 public:
  explicit StreamInput(const fs::path& p) : in_(p, std::ios::binary) {}
  bool Ok() const { return bool(in_); }
  int64_t Read(void* buffer, size_t size) override {
    in_.read(static_cast<char*>(buffer), std::streamsize(size));
    if (in_.bad()) return -1;
    return in_.gcount();
  }
  uint64_t Size() override { return 0; }

 private:
  std::ifstream in_;
};

struct Failure {
  int code;
  std::string message;
};

bool WritableFolder(const fs::path& folder) {
  std::error_code ec;
  auto st = fs::status(folder, ec);
  return !ec && fs::is_directory(st) && (st.permissions() & fs::perms::owner_write) != fs::perms::none;
}

class Builder {
 public:
  explicit Builder(const MediumOptions& o) : o_(o), files_(platform::MakeLocalFileSystem()) {}

  MediumResult Run() {
    MediumResult r;
    temp_ = Beside(".partial");
    if (!Prepare(r) || !Plan(r) || !CheckOutput(r)) return r;
    try {
      Write();
      SelfCheck();
      Swap();
    } catch (const Failure& f) {
      std::error_code ec;
      fs::remove_all(temp_, ec);
      r.exitCode = f.code;
      r.messages.push_back(f.message);
      return r;
    }
    r.messages.push_back("medium: the " + launcherMachine_ + " launcher and the " + installerMachine_ + " installer");
    r.messages.push_back(Format("medium: %llu files in %llu archives -> %s", (unsigned long long)fileCount_,
                                (unsigned long long)archives_, U8(o_.outDir).c_str()));
    return r;
  }

 private:
  static bool Refuse(MediumResult& r, int code, std::string message) {
    r.exitCode = code;
    r.messages.push_back(std::move(message));
    return false;
  }

  fs::path Beside(const char* suffix) const {
    fs::path out = fs::absolute(o_.outDir).lexically_normal();
    if (out.filename().empty()) out = out.parent_path();
    return out.parent_path() / ("." + U8(out.filename()) + suffix);
  }

  bool Prepare(MediumResult& r) {
    std::string raw;
    if (!ReadBinary(U8(o_.templatePath), raw))
      return Refuse(r, kMediumUnreadable, "cannot read the template " + U8(o_.templatePath));
    text_ = raw;
    std::vector<Finding> problems = LintScript(text_, {IsDeclarationSection});
    decl_ = ReadMediumTemplate(text_, problems);
    IniIndex index(text_);
    for (const auto& s : index.Sections()) {
      std::string module;
      const SectionSpec* spec = FindSectionSpec(s.name, module);
      if (spec && IsGeneratedList(*spec))
        problems.push_back({s.line, "[" + s.name + "] is written by the medium builder: remove it from the template"});
    }
    if (!problems.empty()) {
      r.messages.push_back(FormatFindings(U8(o_.templatePath), problems));
      return Refuse(r, kMediumRefused, "the template is refused");
    }
    IniText script(text_);
    for (const auto& m : ReadInstallModuleList(script.ini)) moduleOrder_.push_back(m.name);
    variables_ = ReadVariablesSection(script.ini);
    return true;
  }

  bool Plan(MediumResult& r) {
    scan_ = ScanProduct(o_.productDir);
    if (!scan_.error.empty()) return Refuse(r, kMediumUnreadable, scan_.error);
    std::vector<std::string> problems = scan_.refused;
    plan_ = PlanMedium(decl_, moduleOrder_, variables_, scan_.files, problems);
    if (problems.empty()) return true;
    for (auto& p : problems) r.messages.push_back(U8(o_.productDir) + "/" + p);
    return Refuse(r, kMediumRefused, "the product folder is refused");
  }

  bool CheckOutput(MediumResult& r) {
    for (const fs::path& p : {o_.launcher, o_.installer})
      if (!fs::is_regular_file(p))
        return Refuse(r, kMediumUnreadable, "cannot read " + U8(p) + " (see --launcher, --installer)");
    // The launcher starts the installer it expands: both must come from one build.
    launcherMachine_ = ReadPeMachineFile(U8(o_.launcher)).value_or("unknown");
    installerMachine_ = ReadPeMachineFile(U8(o_.installer)).value_or("unknown");
    if (launcherMachine_ != installerMachine_ && launcherMachine_ != "unknown" && installerMachine_ != "unknown")
      return Refuse(r, kMediumRefused,
                    "the launcher is built for " + launcherMachine_ + " and the installer for " + installerMachine_ +
                        ": take both from one build");
    std::error_code ec;
    fs::path out = fs::weakly_canonical(o_.outDir, ec), product = fs::weakly_canonical(o_.productDir, ec);
    auto inside = [](const fs::path& a, const fs::path& b) {
      auto rel = a.lexically_relative(b);
      return !rel.empty() && *rel.begin() != "..";
    };
    if (inside(out, product) || inside(product, out))
      return Refuse(r, kMediumUnreadable, "the output folder must lie outside the product folder");
    fs::path parent = Beside("").parent_path();
    if (!WritableFolder(parent))
      return Refuse(r, kMediumUnreadable, "cannot write in " + U8(parent) + ": missing or read-only");
    if (fs::exists(o_.outDir, ec)) {
      if (!WritableFolder(o_.outDir))
        return Refuse(r, kMediumUnreadable, U8(o_.outDir) + " is read-only or not a folder");
      if (!fs::is_empty(o_.outDir, ec) && !fs::exists(o_.outDir / kMediumScriptName, ec))
        return Refuse(r, kMediumUnreadable, U8(o_.outDir) + " exists and holds no medium: choose a new folder");
    }
    if (!ToCp1250Exactly(U8(temp_), tempCp_))
      return Refuse(r, kMediumUnreadable, "the output path has characters outside code page 1250");
    return true;
  }

  std::string TempPath(const std::string& name) const { return tempCp_ + "/" + name; }

  void Write() {
    std::error_code ec;
    fs::remove_all(temp_, ec);
    if (!fs::create_directories(temp_, ec))
      throw Failure{kMediumUnreadable, "cannot create " + U8(temp_) + ": " + ec.message()};
    IniText script(text_);
    std::vector<std::string> sections;
    script.ini.ReadSections(sections);
    for (const auto& s : sections)
      if (IsDeclarationSection(s)) script.ini.EraseSection(s);
    for (const auto& m : plan_) WriteModule(script.ini, m);
    WriteScript(script.ini.ContentText());
    WritePrograms();
  }

  void WriteModule(TExtIniFile& ini, const ModulePlan& m) {
    const std::string compSec = ModuleSection(m.module, ComponentList().section);
    const std::string filesSec = ModuleSection(m.module, FileList().section);
    // Count first, as a person would write the list.
    size_t total = 0;
    for (const auto& c : m.components) total += c.files.size();
    ini.WriteInteger(compSec, "Count", int32_t(m.components.size()));
    ini.WriteInteger(filesSec, "Count", int32_t(total));
    int fileNumber = 0;
    for (const auto& c : m.components) {
      ComponentKeys keys;
      keys.number = c.number;
      std::tie(keys.packSize, keys.packMD5Checksum) = WriteArchive(c);
      keys.name = c.decl->name;
      keys.checked = c.decl->checked;
      keys.enabled = c.decl->enabled;
      keys.alwaysUpdate = c.decl->alwaysUpdate;
      keys.packName = c.decl->packName;
      keys.size = int32_t(c.size);
      keys.targetDir = c.decl->targetDir;
      WriteListEntry(ini, ComponentList(), compSec, keys);
      for (const auto& f : c.files) WriteListEntry(ini, FileList(), filesSec, FileEntry(++fileNumber, c.number, f));
    }
  }

  static FileKeys FileEntry(int n, int component, const PlannedFile& f) {
    FileKeys keys;
    keys.number = n;
    keys.compId = component;
    keys.sourceFile = f.storedName;
    keys.targetFile = f.target;
    keys.fileSize = int32_t(f.file->size);
    // The packed time as the 32-bit signed value the installer reads.
    keys.fileTime = int32_t(f.file->dosTime);
    keys.fileUpdateRule = f.group->rule;
    keys.md5HashInfo = f.file->md5;
    if (f.file->version) {
      keys.moduleVersion = ModuleVersionText(*f.file->version);
      keys.productVersion = ProductVersionText(*f.file->version);
    }
    keys.readOnly = f.group->readOnly;
    keys.hidden = f.group->hidden;
    keys.system = f.group->system;
    keys.archive = f.group->archive;
    keys.relPath = f.relPath;
    return keys;
  }

  std::pair<int32_t, std::string> WriteArchive(const PlannedComponent& c) {
    const std::string path = TempPath(c.decl->packName + ".dat");
    ArchiveWriterOptions options;
    options.level = decl_.level;
    options.volumeSize = c.decl->volumeSize;
    options.title = c.decl->name;
    ArchiveWriter writer(*files_, path, options);
    auto fail = [&](const std::string& what) { throw Failure{kMediumUnreadable, Cp1250ToUtf8(what)}; };
    if (!writer.Begin(c.size)) fail(writer.Error());
    for (const auto& f : c.files) {
      StreamInput in(f.file->path);
      if (!in.Ok()) fail("cannot read " + f.file->rel);
      if (!writer.AddMember(f.storedName, f.file->dosTime, in)) fail(writer.Error());
      ++fileCount_;
    }
    if (!writer.Finish()) fail(writer.Error());
    ++archives_;
    auto info = files_->Find(path);
    if (!info || info->size > uint64_t(INT32_MAX))
      throw Failure{kMediumRefused,
                    "archive " + Cp1250ToUtf8(c.decl->packName) +
                        ".dat exceeds 2147483647 bytes, beyond the script's 32-bit PackSize: set VolumeSize"};
    return {int32_t(info->size), FileMd5(*files_, path)};
  }

  void WriteScript(const std::string& plain) {
    std::string content = plain;
    if (o_.scramble) {
      auto scrambled = startup::ScrambleScript(plain);
      if (!scrambled.error.empty())
        throw Failure{kMediumRefused, "cannot scramble the script: " + Cp1250ToUtf8(scrambled.error)};
      content = scrambled.data;
    }
    plain_ = plain;
    if (!WriteBinary(U8(temp_ / kMediumScriptName), content))
      throw Failure{kMediumUnreadable, "cannot write " + U8(temp_ / kMediumScriptName)};
  }

  void WritePrograms() {
    std::error_code ec;
    if (!fs::copy_file(o_.launcher, temp_ / kMediumLauncherName, ec))
      throw Failure{kMediumUnreadable, "cannot copy " + U8(o_.launcher) + ": " + ec.message()};
    std::string installer;
    if (!ReadBinary(U8(o_.installer), installer)) throw Failure{kMediumUnreadable, "cannot read " + U8(o_.installer)};
    // The launcher expands it into "installer.exe": the name's last letter is "e".
    std::string packed = SzddCompress(installer, 'e');
    auto check = SzddExpand(packed);
    if (!check || check->data != installer)
      throw Failure{kMediumUnreadable, "internal error: the installer does not expand back"};
    if (!WriteBinary(U8(temp_ / kMediumInstallerName), packed))
      throw Failure{kMediumUnreadable, "cannot write " + U8(temp_ / kMediumInstallerName)};
  }

  // What the builder writes must lint clean against its own archives.
  void SelfCheck() {
    std::vector<Finding> findings = LintScript(plain_);
    auto medium = CheckMedium(plain_, *files_, tempCp_);
    findings.insert(findings.end(), medium.begin(), medium.end());
    if (!findings.empty())
      throw Failure{kMediumRefused,
                    "internal error: the medium does not lint clean:\n" + FormatFindings(kMediumScriptName, findings)};
  }

  void Swap() {
    std::error_code ec;
    const fs::path old = Beside(".old");
    fs::remove_all(old, ec);
    bool hadOld = fs::exists(o_.outDir, ec);
    if (hadOld) {
      fs::rename(o_.outDir, old, ec);
      if (ec) throw Failure{kMediumUnreadable, "cannot move the old " + U8(o_.outDir) + " aside: " + ec.message()};
    }
    fs::rename(temp_, o_.outDir, ec);
    if (ec) {
      std::error_code back;
      if (hadOld) fs::rename(old, o_.outDir, back);
      throw Failure{kMediumUnreadable, "cannot rename " + U8(temp_) + " to " + U8(o_.outDir) + ": " + ec.message()};
    }
    if (hadOld) fs::remove_all(old, ec);
  }

  const MediumOptions& o_;
  std::unique_ptr<platform::FileSystem> files_;
  std::string text_, plain_, tempCp_, launcherMachine_, installerMachine_;
  MediumDecl decl_;
  std::vector<std::string> moduleOrder_, variables_;
  ProductScan scan_;
  std::vector<ModulePlan> plan_;
  fs::path temp_;
  size_t fileCount_ = 0, archives_ = 0;
};

}  // namespace

MediumResult BuildMedium(const MediumOptions& options) { return Builder(options).Run(); }

}  // namespace ostravel::media
