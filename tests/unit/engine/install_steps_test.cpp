#include "installer/engine/component_update.h"
#include "installer/engine/registry_entries.h"
#include "installer/engine/shortcuts.h"
#include "tests/unit/engine/run_test_support.h"

namespace ostravel::engine::testing {
namespace {

using platform::RootKey;

// Icon<n> of `section` starting C:\App\p.exe.
void Icon(Script& s, const std::string& section, int n, const std::string& placement, const std::string& title,
          const std::string& exclusions = "") {
  const std::string k = "Icon" + std::to_string(n);
  s.Set(section, "Count", std::to_string(n)).Set(section, k + ".Placement", placement).Set(section, k + ".Title", title);
  s.Set(section, k + ".File", "C:\\App\\p.exe").Set(section, k + ".IconFile", "C:\\App\\p.exe");
  s.Set(section, k + ".Exclusions", exclusions);
}

TEST(InstallSteps, ShortcutsFollowTheCheckBoxesExclusionsAndPlacements) {
  struct Case {
    const char* name;
    bool doNotCreate, needLumbra, needOrvel, withModule;
    const char* expected;  // created link files, ";"-joined
  };
  const Case cases[] = {
      {"all", false, true, false, false, "Menu\\A.lnk;Start\\S.lnk;Menu\\KORB$varProgramYear$.lnk;"},
      {"no icons: startup ones still", true, true, false, false, "Start\\S.lnk;"},
      {"no Lumbra icon", false, false, false, false, "Menu\\A.lnk;Start\\S.lnk;"},
      {"module excludes A", false, true, false, true, "Start\\S.lnk;Menu\\KORB$varProgramYear$.lnk;Menu\\M.lnk;"},
      {"Orvel on the desktop, not recorded", false, false, true, false, "Menu\\A.lnk;Start\\S.lnk;"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RunSetup t;
    t.process.uninstallEnabled = false;
    t.m.files.AddFile("C:\\App\\p.exe", "x");
    for (const char* v : {"Programs", "Startup", "Desktop"})
      t.m.registry.Set(RootKey::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", v,
                       std::string("C:\\") + (v[0] == 'P' ? "Menu" : v[0] == 'S' ? "Start" : "Desk"));
    t.variables.SetUserVariables({"$varProgramYear$=2026"});
    t.choices.doNotCreateIcons = c.doNotCreate;
    t.choices.needLumbraIcon = c.needLumbra;
    t.choices.needOrvelIcon = c.needOrvel;
    t.selection.modules = {{"", true, true, false, true}, {"Orvel", true, true, false, c.withModule}};
    Script s;
    Icon(s, "Icons", 1, "$UserPrograms$", "A", "Orvel");
    Icon(s, "Icons", 2, "$UserStartup$", "S");
    Icon(s, "Icons", 3, "$UserPrograms$", "KORB$varProgramYear$");
    Icon(s, "Orvel.Icons", 1, "$UserPrograms$", "M");
    t.Install(s);
    std::string recorded;
    for (const auto& e : t.record)
      if (e.kind == model::RecordAction::CreateIcon) recorded += e.value.substr(3) + ";";
    EXPECT_EQ(recorded, c.expected);
    const platform::ShellLink* korb = t.m.shell.Link("C:\\Menu\\KORB$varProgramYear$.lnk");
    if (korb) {
      EXPECT_EQ(korb->description, "KORB2026");
    }
    const platform::ShellLink* orvel = t.m.shell.Link("C:\\Desk\\Orvel 2026.lnk");
    EXPECT_EQ(orvel != nullptr, c.needOrvel);
    if (orvel) {
      EXPECT_EQ(orvel->arguments, "VOUCHERDESK");
    }
  }
}

// The group chosen on the icons page replaces the one offered; a shortcut not
// made says why in the log.
TEST(InstallSteps, TheChosenGroupTakesEffectAndShortcutsNotMadeSayWhy) {
  RunSetup t;
  t.process.uninstallEnabled = false;
  t.m.files.AddFile("C:\\App\\p.exe", "x");
  t.choices.offeredIconGroup = "Lumbra 2026";
  t.choices.iconGroup = "Könyvelés\\Lumbra";
  t.choices.needOrvelIcon = true;  // and no title holds KORB
  t.variables.SetUserVariables({"$varProgramYear$=2026"});
  Script s;
  Icon(s, "Icons", 1, "$UserPrograms$\\Lumbra 2026", "A");
  Icon(s, "Icons", 2, "$UserPrograms$\\LUMBRA 2026\\Sub", "B");
  Icon(s, "Icons", 3, "$UserPrograms$\\Lumbra 2026 régi", "C");
  s.Set("Icons", "Count", "4").Set("Icons", "Icon4.Placement", "$UserPrograms$").Set("Icons", "Icon4.Title", "D");
  s.Set("Icons", "Icon4.File", "C:\\App\\p.exe");
  t.Install(s);
  std::string links;
  for (const auto& e : t.record) links += e.value + ";";
  EXPECT_EQ(links, "C:\\Menu;C:\\Menu\\Programs;C:\\Menu\\Programs\\Könyvelés;C:\\Menu\\Programs\\Könyvelés\\Lumbra;"
                   "C:\\Menu\\Programs\\Könyvelés\\Lumbra\\A.lnk;C:\\Menu\\Programs\\Könyvelés\\Lumbra\\Sub;"
                   "C:\\Menu\\Programs\\Könyvelés\\Lumbra\\Sub\\B.lnk;C:\\Menu\\Programs\\Lumbra 2026 régi;"
                   "C:\\Menu\\Programs\\Lumbra 2026 régi\\C.lnk;");
  const std::string log = t.Contents("C:\\TEMP\\belloro-installer.log");
  for (const char* why : {"Orvel 2026: no shortcut title holds KORB", "D: it names no icon file"})
    EXPECT_NE(log.find(std::string("Shortcut not created: ") + why), std::string::npos) << why;
  std::vector<ShortcutEntry> icons(1);
  icons[0].placement = "$UserPrograms$\\Lumbra 2026";
  for (const char* group : {"Lumbra 2026", "..\\Windows", "C:\\x", ""})
    EXPECT_EQ(ApplyIconGroup(icons, t.variables, "Lumbra 2026", group), 0) << group;
}

TEST(InstallSteps, ALinkTheShellSavesAsPifIsRecordedAsSuch) {
  RunSetup t;
  t.process.uninstallEnabled = false;
  t.m.files.AddFile("C:\\App\\p.exe", "x");
  t.m.shell.pifTargets.insert("c:\\app\\P.EXE");
  Script s;
  Icon(s, "Icons", 1, "C:\\Menu", "Old");
  t.Install(s);
  ASSERT_EQ(t.record.size(), 2u);  // its folder, then the link
  EXPECT_EQ(t.record[1].value, "C:\\Menu\\Old.pif");
}

TEST(InstallSteps, RegistryRecordsWhatItCreatedAndStopsAtTheFirstFailure) {
  struct Case {
    const char* name;
    const char* root;
    bool keyExists, valueExists, create, overwrite;
    const char* expectedData;  // "" when missing
    const char* expectedRecord;
    bool fails;
  };
  const Case cases[] = {
      {"new key created", "HKEY_CURRENT_USER", false, false, true, false, "new", "K;V", false},
      {"missing key not created", "HKEY_CURRENT_USER", false, false, false, true, "", "", false},
      {"existing key, new value", "HKEY_LOCAL_MACHINE", true, false, false, false, "new", "V", false},
      {"existing value kept", "HKEY_LOCAL_MACHINE", true, true, true, false, "old", "", false},
      {"existing value overwritten", "HKEY_CURRENT_USER", true, true, false, true, "new", "V", false},
      {"unknown root, create", "HKEY_LOCAL_MACHINe", false, false, true, true, "", "", true},
      {"unknown root, no create", "HKEY_LOCAL_MACHINe", false, false, false, true, "", "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RunSetup t;
    t.process.uninstallEnabled = false;
    const auto root = platform::RootKeyFromName(c.root).value_or(RootKey::LocalMachine);
    if (c.keyExists) t.m.registry.CreateKey(root, "Software\\T", platform::RegView::Wow32);
    if (c.valueExists) t.m.registry.Set(root, "Software\\T", "v", "old");
    Script s;
    s.Set("Registry", "Count", "2").Set("Registry", "Reg1.RootKey", c.root).Set("Registry", "Reg1.SubKey", "Software\\T");
    s.Set("Registry", "Reg1.ValueName", "v").Set("Registry", "Reg1.ValueData", "new");
    s.Set("Registry", "Reg1.CreateKey", c.create ? "1" : "0").Set("Registry", "Reg1.OverwriteValue", c.overwrite ? "1" : "2");
    s.Set("Registry", "Reg2.SubKey", "Software\\After").Set("Registry", "Reg2.CreateKey", "1");
    t.Install(s);
    const auto* value = t.m.registry.Get(root, "Software\\T", "v");
    EXPECT_EQ(value ? value->text : "", c.expectedData);
    std::string kinds;
    for (const auto& e : t.record) {
      if (e.value.find("Software\\T") == std::string::npos) continue;
      kinds += kinds.empty() ? "" : ";";
      kinds += e.kind == model::RecordAction::CreateRegKey ? "K" : "V";
    }
    EXPECT_EQ(kinds, c.expectedRecord);
    EXPECT_EQ(t.errors, c.fails ? std::vector<std::string>{kRegistryFailed} : std::vector<std::string>{});
    EXPECT_EQ(t.m.registry.KeyExists(RootKey::CurrentUser, "Software\\After", platform::RegView::Wow32), !c.fails);
  }
}

TEST(InstallSteps, RunAsAdminLayersGoOnlyWhereTheyAreAlone) {
  const char* layers = "Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers";
  struct Case {
    const char* value;
    bool removed;
  } cases[] = {{"RUNASADMIN", true}, {"runasadmin  ", true}, {"RUNASADMIN WINXPSP3", false},
               {"WINXPSP3 RUNASADMIN", true}, {"  ", true}, {"WINXPSP3", false}};
  for (unsigned minor : {0u, 1u, 2u})
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.value) + " on 6." + std::to_string(minor));
      RunSetup t;
      t.m.system.windowsVersion = {true, 6, minor};
      t.m.registry.Set(RootKey::CurrentUser, layers, "C:\\App\\p.exe", c.value);
      t.Install(Script().File(1, "p", "C:\\App\\p.exe"));
      EXPECT_EQ(t.m.registry.Get(RootKey::CurrentUser, layers, "C:\\App\\p.exe") == nullptr, c.removed && minor < 2);
    }
}

TEST(InstallSteps, FoldersFontsAndPostInstallCommands) {
  RunSetup t;
  t.m.registry.Set(RootKey::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                   "Fonts", "C:\\WINDOWS\\Fonts");
  t.m.files.AddFile("C:\\WINDOWS\\Fonts\\there.ttf", "already");
  t.m.fonts.families.insert("INSTALLED");
  for (const char* f : {"a1.ttf", "a2.ttf", "there.ttf", "b.ttf"}) t.m.files.AddFile(std::string("D:\\Fonts\\") + f, f);
  t.Pack("data1", {{"p.msi", "msi"}, {"r", "bat"}});
  Script s;
  s.File(1, "p.msi", "C:\\App\\Setup Files\\p.msi").File(2, "r", "C:\\App\\REGISTER_com_servers.bat");
  s.Set("Folders", "Count", "3").Set("Folders", "Folder0", "$DefaultDestination$\\Data").Set("Folders", "Folder1", " ");
  s.Set("Folders", "Folder2", "$Nothing$\\x");
  const char* fonts[][2] = {{"Alpha", "a1.ttf"}, {"Alpha", "a2.ttf"}, {"Alpha", "there.ttf"}, {"Installed", "b.ttf"}};
  s.Set("Fonts", "Count", "4");
  for (int i = 0; i < 4; ++i)
    s.Set("Fonts", "Font" + std::to_string(i) + ".FontName", fonts[i][0])
        .Set("Fonts", "Font" + std::to_string(i) + ".FontFile", std::string("D:\\Fonts\\") + fonts[i][1]);
  t.Install(s);
  EXPECT_TRUE(t.m.files.DirectoryExists("C:\\App\\Data"));
  EXPECT_FALSE(t.m.files.DirectoryExists("\\x"));
  EXPECT_EQ(JoinLines(t.m.fonts.added, ";"),
            "C:\\WINDOWS\\Fonts\\a1.ttf;C:\\WINDOWS\\Fonts\\a2.ttf;C:\\WINDOWS\\Fonts\\there.ttf;");
  EXPECT_EQ(t.Contents("C:\\WINDOWS\\Fonts\\there.ttf"), "already");
  // Both by full path; the batch in its own folder, never the medium copy's.
  EXPECT_EQ(JoinLines(t.m.system.ran, ";"),
            "C:\\WINDOWS\\system32\\msiexec.exe /i \"C:\\App\\Setup Files\\p.msi\" /qn;"
            "C:\\App\\REGISTER_com_servers.bat;");
  EXPECT_EQ(t.m.system.ranIn, (std::vector<std::string>{"", "C:\\App\\"}));
  EXPECT_FALSE(t.m.files.FileExists("C:\\App\\Setup Files\\p.msi"));
}

TEST(InstallSteps, ComponentUpdateTestByRule) {
  struct Case {
    const char* name;
    int rule;
    const char* installed;  // content, or null for none
    const char* digest;
    int32_t size;
    bool needsUpdate;
  };
  const std::string oldDigest = "149603E6C03516362A8DA23F624DB945";  // MD5 of "old"
  const Case cases[] = {
      {"0, same digest, current", 0, "old", oldDigest.c_str(), 3, false},
      {"0, other digest", 0, "old", "00000000000000000000000000000000", 3, true},
      {"1 present", 1, "old", "", 3, false},
      {"1 missing", 1, nullptr, "", 3, true},
      {"3 missing", 3, nullptr, "", 3, true},
      {"size -1 never", 1, nullptr, "", -1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RunSetup t;
    if (c.installed) t.m.files.AddFile("C:\\App\\lib.dll", c.installed, uint32_t(RunSetup::kPackTime));
    Script s;
    s.File(1, "x", "C:\\App\\other.txt", 1, "", 2).File(2, "lib", "C:\\App\\lib.dll", c.rule);
    s.Set("Files", "File2.MD5HashInfo", c.digest);
    s.Set("Files", "File2.FileSize", std::to_string(c.size)).Set("Files", "File2.FileTime", std::to_string(RunSetup::kPackTime));
    s.Set("Files", "File2.ProductVersion", "2.05");
    t.WriteScript(s);
    TExtIniFile script(t.m.files, t.process.scriptPath, false);
    const ComponentUpdate u = ComponentNeedsUpdate(t.m.files, t.m.system, t.variables, script, 1);
    EXPECT_EQ(u.needsUpdate, c.needsUpdate);
    EXPECT_EQ(u.report, std::string("lib.dll\r\nOldDate=") + (c.installed ? "2026.03.10 14:00:00" : "N/A") +
                            "\r\nNewDate=2026.03.10 14:00:00\r\nOldVerM=\r\nNewVerM=\r\nOldVerP=\r\nNewVerP=2.05\r\n\r\n");
    EXPECT_TRUE(u.productVersionOlder);  // no version resource sorts before "2.05"
  }
}

}  // namespace
}  // namespace ostravel::engine::testing
