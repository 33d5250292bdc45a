#include "tools/media/script_lint.h"

#include <gtest/gtest.h>

#include <functional>
#include <variant>

#include "base/base64.h"
#include "base/text.h"
#include "installer/platform/host/host_file_system.h"
#include "installer/script/script_lists.h"
#include "tests/unit/media/medium_test_support.h"
#include "tools/media/command.h"
#include "tools/media/ini_index.h"
#include "tools/media/medium_check.h"
#include "tools/media/site_signing.h"

namespace ostravel::media {
namespace {

using namespace medium_testing;

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// The value of a key line of the script, e.g. "File1.FileSize".
std::string Value(const std::string& text, const std::string& key) {
  size_t at = text.find("\n" + key + "=") + key.size() + 2;
  return text.substr(at, text.find('\r', at) - at);
}

class Lint : public ::testing::Test {
 protected:
  MediumFixture f;
  std::string plain;
  std::string folder;
  platform::HostFileSystem files;
  void SetUp() override {
    ASSERT_EQ(f.Build().exitCode, 0);
    plain = Slurp(f.out / "setup.inf");
    folder = Utf8ToCp1250(f.out.string());
  }
  std::vector<Finding> All(const std::string& text) {
    auto found = LintScript(text);
    auto more = CheckMedium(text, files, folder);
    found.insert(found.end(), more.begin(), more.end());
    return found;
  }
};

TEST_F(Lint, BuiltMediumIsCleanAndEachBreakagePointsAtItsLine) {
  EXPECT_EQ(FormatFindings("setup.inf", All(plain)), "");
  struct Case {
    const char* what;
    std::function<std::string(const std::string&)> spoil;
    const char* message;
    const char* lineHolds;  // text of the line the finding names
  } cases[] = {
      {"unknown section", [](const std::string& t) { return t + "[Colours]\r\nA=1\r\n"; }, "unknown section [Colours]",
       "[Colours]"},
      {"unknown key",
       [](const std::string& t) { return Replaced(t, "[Configuration]\r\n", "[Configuration]\r\nColour=1\r\n"); },
       "unknown key Colour", "Colour=1"},
      {"entry beyond Count",
       [](const std::string& t) { return Replaced(t, "[Icons]\r\nCount=1", "[Icons]\r\nCount=0"); },
       "entry 1 of [Icons] lies beyond Count 0", "Icon1.Placement"},
      {"Count gap", [](const std::string& t) { return Replaced(t, "[Files]\r\nCount=4", "[Files]\r\nCount=6"); },
       "entries 5 to 6 are missing from [Files]", "Count=6"},
      {"rule outside 0..3",
       [](const std::string& t) { return Replaced(t, "File1.FileUpdateRule=2", "File1.FileUpdateRule=7"); },
       "is not a rule 0 to 3", "File1.FileUpdateRule=7"},
      {"target without variable",
       [](const std::string& t) { return Replaced(t, "File1.TargetFile=$DefaultDestination$", "File1.TargetFile=C:"); },
       "does not begin with a path variable", "File1.TargetFile=C:"},
      {"unknown variable",
       [](const std::string& t) {
         return Replaced(t, "File1.TargetFile=$DefaultDestination$", "File1.TargetFile=$DefaultDest$");
       },
       "neither built in nor defined", "File1.TargetFile="},
      {"target climbing",
       [](const std::string& t) {
         return Replaced(t, "File2.TargetFile=$DefaultDestination$\\", "File2.TargetFile=$DefaultDestination$\\..\\");
       },
       "climbs with \"..\"", "File2.TargetFile="},
      {"duplicate source",
       [](const std::string& t) {
         return Replaced(t, "File2.SourceFile=C:\\Build\\App\\readme.txt", "File2.SourceFile=C:\\Build\\App\\prog.exe");
       },
       "is also the source of [Files] File1", "File2.SourceFile="},
      {"component without files",
       [](const std::string& t) {
         return Replaced(t, "[Components]\r\nCount=1\r\n", "[Components]\r\nCount=2\r\nComponent2.Name=Empty\r\n");
       },
       "Component2 has no file in [Files]", "Component2.Name=Empty"},
      {"launcher's header", [](const std::string& t) { return Replaced(t, "[StartUp]", "[startup]"); },
       "exact line [StartUp]", "[startup]"},
      {"section of no module", [](const std::string& t) { return Replaced(t, "[Extra.Files]", "[Other.Files]"); },
       "\"Other\", which [Install Modules] does not name", "[Other.Files]"},
      {"size against the archive",
       [](const std::string& t) {
         return Replaced(t, "File1.FileSize=" + Value(t, "File1.FileSize"), "File1.FileSize=1");
       },
       "File1.FileSize 1 differs", "File1.FileSize=1"},
      {"time against the archive",
       [](const std::string& t) {
         return Replaced(t, "File1.FileTime=" + Value(t, "File1.FileTime"), "File1.FileTime=5");
       },
       "File1.FileTime 5 differs", "File1.FileTime=5"},
      {"digest against the archive",
       [](const std::string& t) {
         return Replaced(t, "File3.MD5HashInfo=" + Value(t, "File3.MD5HashInfo"), "File3.MD5HashInfo=00");
       },
       "File3.MD5HashInfo differs", "File3.MD5HashInfo=00"},
      {"member missing",
       [](const std::string& t) {
         return Replaced(t, "File2.SourceFile=C:\\Build\\App\\readme.txt", "File2.SourceFile=C:\\Build\\gone.txt");
       },
       "is not in data1.dat", "File2.SourceFile=C:\\Build\\gone.txt"},
      {"shortcut without program",
       [](const std::string& t) { return Replaced(t, "Icon1.File=$DefaultDestination$\\prog.exe", "Icon1.File="); },
       "Icon1 names no program", "Icon1.File="},
      {"shortcut without icon file",
       [](const std::string& t) { return Replaced(t, "Icon1.IconFile=", "Icon1.WorkFolder="); },
       "Icon1 has no IconFile", "Icon1."},
      {"uninstaller without record",
       [](const std::string& t) {
         return Replaced(t, "UnInstallLogFile=$DefaultDestination$\\install.log", "UnInstallLogFile=");
       },
       "UnInstallLogFile is empty", "[Configuration]"},
      {"signing key that is no point",
       [](const std::string& t) {
         return Replaced(t, "[Configuration]\r\n", "[Configuration]\r\nUpdateSigningKey=BHkz/IE4\r\n");
       },
       "UpdateSigningKey is not the base64 of a P-256 public point", "UpdateSigningKey=BHkz"},
      {"archive size",
       [](const std::string& t) {
         return Replaced(t, "Component1.PackSize=" + Value(t, "Component1.PackSize"), "Component1.PackSize=9");
       },
       "Component1.PackSize 9 differs", "Component1.PackSize=9"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string text = c.spoil(plain);
    const auto lines = SplitLines(text);
    bool found = false;
    for (const auto& finding : All(text)) {
      if (finding.text.find(c.message) == std::string::npos) continue;
      found = true;
      ASSERT_GT(finding.line, 0);
      EXPECT_NE(lines[size_t(finding.line - 1)].find(c.lineHolds), std::string::npos)
          << lines[size_t(finding.line - 1)];
    }
    EXPECT_TRUE(found) << FormatFindings("setup.inf", All(text));
  }
  const std::string key = Base64Encode(GenerateSigningKey().publicPoint);
  // The opt-in keys of the installer are keys a maker may write.
  EXPECT_EQ(FormatFindings("setup.inf", All(Replaced(plain, "[Configuration]\r\n",
                                                     "[Configuration]\r\nUpdateSigningKey=" + key +
                                                         "\r\nKeepBackups=1\r\nRollbackOnFailure=1\r\n"))),
            "");
}

TEST_F(Lint, MissingArchivesAndVolumesAreFindings) {
  fs::remove(f.out / "data1.002");
  fs::remove(f.out / "extra.dat");
  const std::string report = FormatFindings("setup.inf", All(plain));
  for (const char* message : {"archive data1.dat: missing volume", "archive extra.dat is missing",
                              "the package file extra.dat of install module \"Extra\" is missing"})
    EXPECT_NE(report.find(message), std::string::npos) << report;
}

TEST_F(Lint, CommandExitCodes) {
  auto run = [](std::vector<std::string> args) {
    for (const auto& c : Commands())
      if (std::string(c.name) == "lint") {
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        int rc = c.run(args);
        ::testing::internal::GetCapturedStdout();
        ::testing::internal::GetCapturedStderr();
        return rc;
      }
    return -1;
  };
  const std::string script = (f.out / "setup.inf").string();
  Spit(f.root / "broken.inf", plain + "[Colours]\r\n");
  f.options.scramble = true;
  ASSERT_EQ(f.Build().exitCode, 0);
  EXPECT_EQ(run({script, "--medium", f.out.string()}), 0) << "the scrambled script";
  EXPECT_EQ(run({(f.root / "broken.inf").string()}), 1);
  EXPECT_EQ(run({(f.root / "none.inf").string()}), 2);
  EXPECT_EQ(run({script, "--medium", (f.root / "none").string()}), 2);
}

// Fills every field of an entry with a value other than its default.
template <typename Entry>
Entry EveryKeySet(const ListTable<Entry>& list, int number) {
  Entry e{};
  e.number = number;
  int n = 0;
  for (const auto& key : list.keys) {
    ++n;
    if (auto text = std::get_if<std::string Entry::*>(&key.field)) e.*(*text) = std::string("v") + key.name;
    if (auto integer = std::get_if<int32_t Entry::*>(&key.field)) e.*(*integer) = 40 + n;
    if (auto flag = std::get_if<bool Entry::*>(&key.field)) e.*(*flag) = true;
  }
  return e;
}

// The keys of `a` whose field differs in `b`.
template <typename Entry>
std::string Differing(const ListTable<Entry>& list, const Entry& a, const Entry& b) {
  std::string out;
  for (const auto& key : list.keys) {
    const bool same = std::visit([&](auto field) { return a.*field == b.*field; }, key.field);
    if (!same) out += std::string(key.name) + " ";
  }
  return out;
}

// What the writers put into a list reads back through the installer's reader, and
// the lint knows every key of it; a module's section leaves out the base-only keys.
template <typename Entry>
void RoundTrip(const ListTable<Entry>& list) {
  SCOPED_TRACE(list.section);
  OneFileSystem none("none", "");
  TExtIniFile ini(none, "none", false);
  const Entry written = EveryKeySet(list, list.first);
  ini.WriteInteger(list.section, "Count", 1);
  WriteListEntry(ini, list, list.section, written);
  for (const auto& finding : LintScript(ini.ContentText()))
    EXPECT_EQ(finding.text.find("unknown"), std::string::npos) << finding.text;
  IniText script(ini.ContentText());
  const std::vector<Entry> read = ReadListSection(script.ini, list, list.section, true);
  ASSERT_EQ(read.size(), 1u);
  EXPECT_EQ(Differing(list, written, read[0]), "");

  const std::vector<Entry> inModule = ReadListSection(script.ini, list, list.section, false);
  std::string baseOnly;
  for (const auto& key : list.keys)
    if (key.baseOnly) baseOnly += std::string(key.name) + " ";
  EXPECT_EQ(Differing(list, written, inModule[0]), baseOnly);
}

TEST(ScriptLists, WhatTheWritersWriteReadsBackAndLintsWithoutUnknownKeys) {
  RoundTrip(InstallModuleList());
  RoundTrip(ComponentList());
  RoundTrip(FileList());
  RoundTrip(IconList());
  RoundTrip(RegistryList());
  RoundTrip(FolderList());
  RoundTrip(FontList());
}

}  // namespace
}  // namespace ostravel::media
