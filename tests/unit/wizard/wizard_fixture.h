#pragma once
// A wizard on a fake machine: drives C: and D: in a temporary folder, the program in
// D:\Setup\, a recording view and scripted dialogs.
#include <gtest/gtest.h>

#include <memory>

#include "installer/platform/fake/fake_desktop_windows.h"
#include "installer/platform/fake/fake_http.h"
#include "installer/platform/fake/fake_registry.h"
#include "installer/platform/fake/fake_services.h"
#include "installer/platform/fake/fake_shell.h"
#include "installer/platform/fake/fake_system.h"
#include "installer/platform/host/host_file_system.h"
#include "installer/script/unattended_dialogs.h"
#include "installer/wizard/control_names.h"
#include "installer/wizard/wizard_controller.h"
#include "tests/unit/test_support.h"
#include "tests/unit/wizard/recording_view.h"

namespace ostravel::test {

namespace ctl = wizard::ctl;

class WizardTest : public ::testing::Test {
 protected:
  WizardTest() {
    tmp.Write("keep", "");
    std::filesystem::create_directories(tmp.File("C/TEMP"));
    std::filesystem::create_directories(tmp.File("C/WINDOWS"));
    std::filesystem::create_directories(tmp.File("D/Setup"));
    std::filesystem::create_directories(tmp.File("C/BELLORO.WIN"));
    files.MapDrive('C', tmp.File("C"));
    files.MapDrive('D', tmp.File("D"));
    process.sourceFolder = "D:\\Setup\\";
    process.scriptPath = "D:\\Setup\\setup.inf";
    process.tempFolder = "C:\\TEMP\\";
    files.ReplaceFile("D:\\Setup\\data1.dat", "archive");
  }

  void WriteScript(const std::string& text, const std::string& path = "D:\\Setup\\setup.inf") {
    files.ReplaceFile(path, text);
  }
  // An installed 2.5 server in the default folder, and its setup on the medium.
  void PlantServer25() {
    files.ReplaceFile("D:\\Setup\\firebird.dat", "archive");
    registry.Set(platform::RootKey::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir",
                 "C:\\Program Files");
    const std::string program = "C:\\Program Files\\FireBird\\Firebird_2_5\\bin\\fbserver.exe";
    files.CreateDirectories("C:\\Program Files\\FireBird\\Firebird_2_5\\bin");
    files.ReplaceFile(program, "MZ");
    system.versions[program] = {true, "", 2, 5, 2, 26540, 2, 5, 2, 26540};
  }
  // Creates the window the way the Win32 form does: every event through Guarded.
  void Create(std::vector<std::string> parameters = {}) {
    Params(std::move(parameters));
    Make();
    wizard->FormCreate();
    wizard->FormActivate();
  }
  // The command line as process start reads it.
  void Params(std::vector<std::string> parameters) {
    system.parameters = std::move(parameters);
    process.parameters = system.parameters;
    process.switches = ReadSwitches(process.parameters);
  }
  // A controller for the view, as the application makes it, with `bindings` as they
  // stand.
  void Make() {
    wizard = std::make_unique<wizard::WizardController>(view, bundle, bindings);
    view.sink = wizard.get();
  }
  // The buttons' events through the window's event table (view.Click also checks that
  // a user could press the button at all).
  void Next() { wizard->OnEvent(ctl::kNextButton, wizard::ControlEvent::Click); }
  void Back() { wizard->OnEvent(ctl::kBackButton, wizard::ControlEvent::Click); }
  void Close() { wizard->OnEvent(ctl::kCancelButton, wizard::ControlEvent::Click); }
  // Next until the page shows; a wizard that stops short fails the test instead of hanging it.
  void NextUntil(wizard::Page page) {
    for (int i = 0; i < wizard::kPageCount && Current() != page; ++i) Next();
    ASSERT_EQ(wizard::PageName(Current()), std::string(wizard::PageName(page)));
  }
  std::string LogText() {
    std::string text;
    files.ReadFile("C:\\TEMP\\belloro-installer.log", text);
    return text;
  }
  wizard::Page Current() const { return *wizard->CurrentPage(); }
  std::string Text(const char* control) { return view.Text(control); }
  bool Enabled(const char* control) { return view.Enabled(control); }

  TempDir tmp;
  platform::HostFileSystem files;
  platform::FakeRegistry registry;
  platform::FakeSystem system;
  platform::FakeShell shell{files};
  platform::FakeFonts fonts;
  platform::FakeHttpClient http;
  platform::FakeServices services;
  platform::FakeDesktopWindows desktop;
  platform::Platform machine{files, registry, system, shell, fonts, http, services, desktop};
  ProcessState process;
  PathVariables variables{registry, "C:\\WINDOWS\\", "C:\\WINDOWS\\system32\\", "C:\\TEMP\\", "D:\\Setup\\"};
  DiagnosticLog log{files, system, "C:\\TEMP\\"};
  RecordingView view;
  ScriptedDialogs dialogs;
  UnattendedDialogs unattended{dialogs, process};
  Services bundle{machine, process, variables, log, unattended};
  wizard::WizardBindings bindings;
  std::unique_ptr<wizard::WizardController> wizard;
};

// Every page section visible, with a title naming the page.
inline std::string AllPagesScript() {
  return "[Configuration]\r\nTopBanner=Lumbra 2020\r\nPath=C:\\BELLORO.WIN\r\nLanguage=11\r\n"
         "[Variables]\r\n$varProgramYear$=2020\r\n"
         "[Welcome Page]\r\nVisible=1\r\nTitle=T-Welcome\r\nDescription=D-Welcome\r\n"
         "[License Page]\r\nVisible=1\r\nTitle=T-License\r\n"
         "[Setup Notes Page]\r\nVisible=1\r\nTitle=T-Notes\r\n"
         "[Install Type Page]\r\nVisible=1\r\nTitle=T-InstallKind\r\nTypical=Typical\r\n"
         "[Components]\r\nCount=1\r\nComponent1.Name=Base\r\nComponent1.Size=1000\r\nComponent1.PackName=data1\r\n"
         "[Destination Page]\r\nVisible=1\r\nTitle=T-Destination\r\n"
         "[Icon Folder Page]\r\nVisible=1\r\nTitle=T-CreateIcon\r\n"
         "[Setup Summary Page]\r\nVisible=1\r\nTitle=T-Summary\r\n"
         "[Copy Files Page]\r\nVisible=1\r\nTitle=T-CopyFiles\r\n"
         "[ReadMe Notes Page]\r\nVisible=1\r\nTitle=T-Readme\r\n"
         "[Finish Page]\r\nVisible=1\r\nTitle=T-Finished\r\nInfo=All done.\r\n"
         "[Error Finish Page]\r\nTitle=T-Error\r\nInfo=Something failed.\r\n";
}

}  // namespace ostravel::test
