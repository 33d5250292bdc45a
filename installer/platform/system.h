#pragma once
// The running system: folders, parameters, clock, versions, processes, atoms.
// Every text here is CP1250, paths included; UTF-16 exists only inside win32/.
#include <cstdint>
#include <string>
#include <vector>

#include "base/datetime.h"

#ifdef _WIN32
#include "base/win32/undef_macros.h"
#endif

namespace ostravel::platform {

struct VersionRecord {
  bool valid = false;
  std::string text;  // "%d.%.2d", at most 255 characters
  uint16_t productMajor = 0, productMinor = 0, productRelease = 0, productBuild = 0;
  uint16_t fileMajor = 0, fileMinor = 0, fileRelease = 0, fileBuild = 0;
};

struct WindowsVersion {
  bool nt = true;  // the NT platform
  uint32_t major = 0, minor = 0;
};

class System {
 public:
  virtual ~System() = default;
  // Each with a trailing "\".
  virtual std::string WindowsFolder() = 0;
  virtual std::string SystemFolder() = 0;
  virtual std::string TempFolder() = 0;
  // Full path of the running program file.
  virtual std::string ProgramPath() = 0;
  // Parameters 1..count (the program itself is not included).
  virtual std::vector<std::string> Parameters() = 0;
  virtual DateTime Now() = 0;
  // Milliseconds since the system started; wraps after 49 days.
  virtual uint32_t TickCount() = 0;
  // Version resource of a file; valid=false when it has none.
  virtual VersionRecord ReadVersion(const std::string& path) = 0;
  // True on 64-bit Windows for the i686 build (the system reports it running as a
  // 32-bit program) and always for the x86_64 build, which stands in for it.
  virtual bool IsWow64() = 0;
  // The version the system really is, whatever the program's manifest declares.
  virtual WindowsVersion GetWindowsVersion() = 0;

  // Processes. RunAndWait keeps this program's windows alive while it waits;
  // returns the exit code, or kRunFailed when the program could not be started.
  // An empty working folder is this program's own.
  static constexpr int kRunFailed = -1;
  virtual int RunAndWait(const std::string& program, const std::string& parameters,
                         const std::string& workingFolder = "") = 0;
  // Starts a program as a normal window without waiting.
  virtual bool Start(const std::string& commandLine) = 0;
  virtual void ProcessMessages() = 0;
  // Waits about `milliseconds` while keeping this program's windows alive.
  virtual void Pause(uint32_t milliseconds) = 0;

  // Global atoms and top-level windows.
  virtual uint16_t FindAtom(const std::string& name) = 0;
  virtual uint16_t AddAtom(const std::string& name) = 0;
  virtual void DeleteAtom(uint16_t atom) = 0;
  virtual bool WindowOfClassExists(const std::string& className) = 0;
};

}  // namespace ostravel::platform
