#pragma once
// Scripted System for host tests: folders, parameters, clock, versions, started
// programs and atoms are plain data the test sets and inspects.
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "installer/platform/system.h"

namespace ostravel::platform {

class FakeSystem : public System {
 public:
  std::string windowsFolder = "C:\\WINDOWS\\";
  std::string systemFolder = "C:\\WINDOWS\\system32\\";
  std::string tempFolder = "C:\\TEMP\\";
  std::string programPath = "D:\\Setup\\installer.exe";
  std::vector<std::string> parameters;
  DateTime now{2026, 3, 7, 14, 5, 9, 0};
  uint32_t tickCount = 0;
  std::map<std::string, VersionRecord> versions;  // by path
  bool wow64 = false;
  WindowsVersion windowsVersion{true, 10, 0};
  // RunAndWait answers: program -> exit code (kRunFailed when missing).
  std::map<std::string, int> exitCodes;
  std::function<void(const std::string& program, const std::string& parameters)> onRun;
  std::vector<std::string> ran;      // "program parameters" of RunAndWait
  std::vector<std::string> ranIn;    // their working folders, empty for the program's own
  std::vector<std::string> started;  // command lines of Start
  bool startFails = false;           // Start reports that nothing could be started
  int processMessagesCalls = 0;
  uint64_t pausedMs = 0;
  std::set<std::string> windowClasses;

  std::string WindowsFolder() override { return windowsFolder; }
  std::string SystemFolder() override { return systemFolder; }
  std::string TempFolder() override { return tempFolder; }
  std::string ProgramPath() override { return programPath; }
  std::vector<std::string> Parameters() override { return parameters; }
  DateTime Now() override { return now; }
  uint32_t TickCount() override { return tickCount; }
  VersionRecord ReadVersion(const std::string& path) override;
  bool IsWow64() override { return wow64; }
  WindowsVersion GetWindowsVersion() override { return windowsVersion; }
  int RunAndWait(const std::string& program, const std::string& parameters,
                 const std::string& workingFolder = "") override;
  bool Start(const std::string& commandLine) override;
  void ProcessMessages() override { ++processMessagesCalls; }
  // Time passes at once: the tick count moves on; `onPause` stands for the window
  // messages handled meanwhile.
  void Pause(uint32_t milliseconds) override {
    tickCount += milliseconds;
    pausedMs += milliseconds;
    if (onPause) onPause();
  }
  std::function<void()> onPause;
  uint16_t FindAtom(const std::string& name) override;
  uint16_t AddAtom(const std::string& name) override;
  void DeleteAtom(uint16_t atom) override;
  bool WindowOfClassExists(const std::string& className) override { return windowClasses.count(className) > 0; }

  std::map<uint16_t, std::string> atoms;

 private:
  uint16_t nextAtom_ = 0xC000;
};

}  // namespace ostravel::platform
