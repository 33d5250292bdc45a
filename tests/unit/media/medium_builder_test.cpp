#include "tools/media/medium_builder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <functional>
#include <map>

#include "base/md5.h"
#include "installer/engine/archive_backup_file.h"
#include "installer/platform/host/host_file_system.h"
#include "installer/script/script_lists.h"
#include "startup/scramble.h"
#include "tests/unit/media/medium_test_support.h"
#include "tools/media/product_scan.h"
#include "tools/media/szdd_format.h"

namespace ostravel::media {
namespace {

using namespace medium_testing;

// Members by stored name, extracted with the installer's own reader.
std::map<std::string, std::string> Extract(platform::HostFileSystem& files, const fs::path& archive, const fs::path& to) {
  std::map<std::string, std::string> contents;
  engine::TBackupFile backup(files);
  int n = 0;
  std::map<std::string, std::string> written;
  backup.OnNeedDisk = [](engine::TBackupFile&, uint16_t, bool& cont) { cont = true; };
  backup.OnRestoreFile = [&](engine::TBackupFile&, std::string& name, int32_t, bool& write) {
    std::string target = (to / std::to_string(++n)).string();
    written[name] = target;
    name = target;
    write = true;
  };
  EXPECT_TRUE(backup.Restore(Utf8ToCp1250(archive.string()), ""));
  for (const auto& [name, path] : written) contents[name] = Slurp(path);
  return contents;
}

TEST(MediumBuilder, PacksLauncherAndInstallerOfOneBuildOnly) {
  pe_testing::PeLayout plus;
  plus.pe32Plus = true;
  struct Case {
    std::string launcher, installer;
    int exitCode;
    const char* says;
  } cases[] = {
      {pe_testing::MakePeImage(plus), pe_testing::MakePeImage(plus), 0, "the x86_64 launcher and the x86_64 installer"},
      {pe_testing::MakePeImage(), pe_testing::MakePeImage(plus), 1, "launcher is built for i686 and the installer for x86_64"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.says);
    MediumFixture f;
    Spit(f.root / "startup.exe", c.launcher);
    Spit(f.root / "installer.exe", c.installer);
    MediumResult r = f.Build();
    EXPECT_EQ(r.exitCode, c.exitCode);
    EXPECT_NE(MediumFixture::Joined(r).find(c.says), std::string::npos) << MediumFixture::Joined(r);
    EXPECT_EQ(fs::exists(f.out / "setup.exe"), c.exitCode == 0);
  }
}

TEST(MediumBuilder, TheInstallerReadsBackWhatWasBuilt) {
  MediumFixture f;
  MediumResult r = f.Build();
  ASSERT_EQ(r.exitCode, 0) << MediumFixture::Joined(r);
  EXPECT_FALSE(fs::exists(f.root / ".medium.partial"));
  EXPECT_TRUE(fs::exists(f.out / "data1.002")) << "the program package asked for volumes";
  EXPECT_EQ(Slurp(f.out / "setup.exe"), f.launcher);
  auto expanded = SzddExpand(Slurp(f.out / "_setup1.ex_"));
  ASSERT_TRUE(expanded);
  EXPECT_TRUE(expanded->data == f.installer);

  platform::HostFileSystem files;
  TExtIniFile ini(files, Utf8ToCp1250((f.out / "setup.inf").string()), false);
  EXPECT_EQ(ini.ReadString("StartUp", "Title", ""), Utf8ToCp1250(reinterpret_cast<const char*>(u8"Próba telepítő")));
  EXPECT_FALSE(ini.SectionExists("Medium"));
  EXPECT_EQ(ReadIconList(ini, "").size(), 1u);

  struct Expect {
    const char* rel;
    const char* target;
    int component, rule;
    bool readOnly, hidden;
    const char* version;
    const char* relPath;
  };
  const std::map<std::string, std::vector<Expect>> modules = {
      {"",
       {{"App\\prog.exe", "$DefaultDestination$\\prog.exe", 1, 2, false, false, "2026.1.4.17", "prog.exe"},
        {"App\\readme.txt", "$DefaultDestination$\\readme.txt", 1, 2, false, false, "", "readme.txt"},
        {"App\\sub\\noise.bin", "$DefaultDestination$\\sub\\noise.bin", 1, 2, false, false, "", "sub\\noise.bin"},
        {"\xC9v\\start.ini", "$DefaultDestination$\\$varProgramYear$\\start.ini", 1, 1, true, true, "",
         "2026\\start.ini"}}},
      {"Extra", {{"Extra\\le\xEDr\xE1s.txt", "$DefaultDestination$\\Extra\\le\xEDr\xE1s.txt", 1, 0, false, false, "",
                  "Extra\\le\xEDr\xE1s.txt"}}},
  };
  for (const auto& [module, expected] : modules) {
    SCOPED_TRACE("module " + module);
    auto components = ReadComponentList(ini, module);
    ASSERT_EQ(components.size(), 1u);
    const ComponentKeys& c = components[0];
    const fs::path archive = f.out / Cp1250ToUtf8(c.packName + ".dat");
    EXPECT_EQ(uint64_t(c.packSize), fs::file_size(archive));
    EXPECT_EQ(c.packMD5Checksum, Md5Hex(Slurp(archive)));
    auto members = Extract(files, archive, f.root / ("x" + module));
    auto list = ReadFileList(ini, module);
    ASSERT_EQ(list.size(), expected.size());
    int64_t size = 0;
    for (size_t i = 0; i < list.size(); ++i) {
      const FileKeys& k = list[i];
      const Expect& e = expected[i];
      SCOPED_TRACE(k.sourceFile);
      std::string rel = Cp1250ToUtf8(e.rel);
      std::replace(rel.begin(), rel.end(), '\\', '/');
      const fs::path source = f.product / rel;
      const std::string content = Slurp(source);
      EXPECT_EQ(k.sourceFile, std::string("C:\\Build\\") + e.rel);
      EXPECT_EQ(k.targetFile, e.target);
      EXPECT_EQ(k.compId, e.component);
      EXPECT_EQ(k.fileUpdateRule, e.rule);
      EXPECT_EQ(uint64_t(k.fileSize), content.size());
      EXPECT_EQ(uint32_t(k.fileTime), DosTimeOf(fs::last_write_time(source)).value());
      EXPECT_EQ(k.md5HashInfo, Md5Hex(content));
      EXPECT_EQ(k.moduleVersion, e.version);
      EXPECT_EQ(k.productVersion, *e.version ? "2026.00" : "");
      EXPECT_EQ(k.readOnly, e.readOnly);
      EXPECT_EQ(k.hidden, e.hidden);
      EXPECT_EQ(k.relPath, module.empty() ? e.relPath : "");
      EXPECT_TRUE(members[k.sourceFile] == content);
      size += k.fileSize;
    }
    EXPECT_EQ(c.size, size);
  }
}

TEST(MediumBuilder, ScrambledScriptIsThePlainOneAndAnOldMediumIsReplaced) {
  MediumFixture f;
  ASSERT_EQ(f.Build().exitCode, 0);
  const std::string plain = Slurp(f.out / "setup.inf");
  f.options.scramble = true;
  ASSERT_EQ(f.Build().exitCode, 0);
  const std::string scrambled = Slurp(f.out / "setup.inf");
  EXPECT_EQ(scrambled.find("[Configuration]"), std::string::npos);
  EXPECT_EQ(startup::DescrambleScript(scrambled), plain);
  // A second build replaces the medium as a whole.
  Spit(f.product / "App" / "new.txt", "new");
  ASSERT_EQ(f.Build().exitCode, 0);
  EXPECT_NE(startup::DescrambleScript(Slurp(f.out / "setup.inf")).find("App\\new.txt"), std::string::npos);
  EXPECT_FALSE(fs::exists(f.root / ".medium.old"));
}

TEST(MediumBuilder, BadInputIsRefusedAndLeavesNoOutput) {
  struct Case {
    const char* what;
    std::function<void(MediumFixture&)> spoil;
    int exit;
    const char* message;
  } cases[] = {
      {"unknown template key", [](MediumFixture& f) { f.SetTemplate(f.Template() + "Colour=1\n"); }, 1, "unknown key Colour"},
      {"template holding a generated list", [](MediumFixture& f) { f.SetTemplate(f.Template() + "[Files]\nCount=0\n"); }, 1,
       "written by the medium builder"},
      {"0-byte file", [](MediumFixture& f) { Spit(f.product / "App" / "empty.txt", ""); }, 1, "empty.txt: is empty"},
      {"name outside CP1250", [](MediumFixture& f) { Spit(f.product / "App" / fs::path(u8"日本.txt"), "x"); }, 1,
       "outside code page 1250"},
      {"file over 2 GiB",
       [](MediumFixture& f) {
         Spit(f.product / "App" / "big.bin", "x");
         fs::resize_file(f.product / "App" / "big.bin", uint64_t(1) << 31);
       },
       1, "big.bin: is 2147483648 bytes"},
      {"file before 1980",
       [](MediumFixture& f) {
         fs::last_write_time(f.product / "App" / "readme.txt", fs::file_time_type::clock::now() - std::chrono::hours(24 * 365 * 60));
       },
       1, "readme.txt: was last written before 1980"},
      {"symbolic link", [](MediumFixture& f) { fs::create_symlink("readme.txt", f.product / "App" / "link.txt"); }, 1,
       "link.txt: is a symbolic link"},
      {"file in no component", [](MediumFixture& f) { Spit(f.product / "stray.txt", "x"); }, 1, "stray.txt is in no component"},
      {"read-only output", [](MediumFixture& f) {
         fs::create_directories(f.root / "ro");
         ::chmod((f.root / "ro").c_str(), 0555);
         f.out = f.options.outDir = f.root / "ro" / "medium";
       }, 2, "read-only"},
      {"output folder that is no medium", [](MediumFixture& f) { Spit(f.out / "keep.txt", "mine"); }, 2, "holds no medium"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    MediumFixture f;
    c.spoil(f);
    const bool existed = fs::exists(f.out);
    MediumResult r = f.Build();
    EXPECT_EQ(r.exitCode, c.exit);
    EXPECT_NE(MediumFixture::Joined(r).find(c.message), std::string::npos) << MediumFixture::Joined(r);
    EXPECT_EQ(fs::exists(f.out), existed);
    EXPECT_FALSE(fs::exists(f.out / "setup.inf"));
    EXPECT_FALSE(fs::exists(f.out.parent_path() / ".medium.partial"));
  }
}

}  // namespace
}  // namespace ostravel::media
