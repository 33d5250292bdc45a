#pragma once
// The real machine behind the platform interfaces.
#include "base/win32/windows_clean.h"

#include "installer/platform/platform.h"

namespace ostravel::win32 {

// An empty floppy or CD drive must not bring up the system's "insert a disk" box
// while a drive is queried.
class NoCriticalErrorBoxes {
 public:
  NoCriticalErrorBoxes() : old_(SetErrorMode(SEM_FAILCRITICALERRORS)) { SetErrorMode(old_ | SEM_FAILCRITICALERRORS); }
  ~NoCriticalErrorBoxes() { SetErrorMode(old_); }
  NoCriticalErrorBoxes(const NoCriticalErrorBoxes&) = delete;
  NoCriticalErrorBoxes& operator=(const NoCriticalErrorBoxes&) = delete;

 private:
  UINT old_;
};

class Win32FileSystem : public platform::FileSystem {
 public:
  std::optional<platform::FileInfo> Find(const std::string& path) override;
  bool CreateDirectories(const std::string& path) override;
  bool RemoveDirectory(const std::string& path) override;
  bool DeleteFile(const std::string& path) override;
  bool CopyFile(const std::string& from, const std::string& to, bool overwrite) override;
  bool MoveFile(const std::string& from, const std::string& to) override;
  bool RenameFolder(const std::string& from, const std::string& to) override;
  bool ReadFile(const std::string& path, std::string& data) override;
  bool ReplaceFile(const std::string& path, const std::string& data) override;
  std::unique_ptr<platform::InputFile> OpenRead(const std::string& path) override;
  std::unique_ptr<platform::OutputFile> OpenWrite(const std::string& path) override;
  std::unique_ptr<platform::OutputFile> OpenAppend(const std::string& path) override;
  bool CanOpenExclusive(const std::string& path) override;
  bool SetAttributes(const std::string& path, uint32_t attributes) override;
  bool SetDosTime(const std::string& path, uint32_t dosTime) override;
  std::vector<std::string> List(const std::string& folder) override;
  platform::DriveType GetDriveType(const std::string& root) override;
  std::optional<Space> GetDiskSpace(const std::string& root) override;
  std::string VolumeLabel(const std::string& root) override;
  std::optional<std::string> NetworkRemoteName(const std::string& drive) override;
  std::string LastErrorText() override;

 private:
  bool Fail();
  unsigned long lastError_ = 0;
};

class Win32Registry : public platform::Registry {
 public:
  bool KeyExists(platform::RootKey root, const std::string& subKey, platform::RegView view) override;
  platform::RegRead ReadString(platform::RootKey root, const std::string& subKey, const std::string& name,
                               std::string& value, platform::RegView view) override;
  platform::RegRead ReadDword(platform::RootKey root, const std::string& subKey, const std::string& name,
                              uint32_t& value, platform::RegView view) override;
  bool CreateKey(platform::RootKey root, const std::string& subKey, platform::RegView view) override;
  bool CanOpenForWrite(platform::RootKey root, const std::string& subKey, platform::RegView view) override;
  bool WriteString(platform::RootKey root, const std::string& subKey, const std::string& name,
                   const std::string& value, platform::RegView view) override;
  bool WriteDword(platform::RootKey root, const std::string& subKey, const std::string& name, uint32_t value,
                  platform::RegView view) override;
  std::vector<std::string> ValueNames(platform::RootKey root, const std::string& subKey,
                                      platform::RegView view) override;
  bool DeleteValue(platform::RootKey root, const std::string& subKey, const std::string& name,
                   platform::RegView view) override;
  bool DeleteKey(platform::RootKey root, const std::string& subKey, platform::RegView view) override;
  bool DeleteKeyTree(platform::RootKey root, const std::string& subKey, platform::RegView view) override;
};

class Win32System : public platform::System {
 public:
  std::string WindowsFolder() override;
  std::string SystemFolder() override;
  std::string TempFolder() override;
  std::string ProgramPath() override;
  std::vector<std::string> Parameters() override;
  DateTime Now() override;
  uint32_t TickCount() override;
  platform::VersionRecord ReadVersion(const std::string& path) override;
  bool IsWow64() override;
  platform::WindowsVersion GetWindowsVersion() override;
  int RunAndWait(const std::string& program, const std::string& parameters,
                 const std::string& workingFolder = "") override;
  bool Start(const std::string& commandLine) override;
  void ProcessMessages() override;
  void Pause(uint32_t milliseconds) override;
  uint16_t FindAtom(const std::string& name) override;
  uint16_t AddAtom(const std::string& name) override;
  void DeleteAtom(uint16_t atom) override;
  bool WindowOfClassExists(const std::string& className) override;
};

// Shell links through the shell's link object; COM is opened on first use and
// stays open for the program's life.
class Win32Shell : public platform::Shell {
 public:
  Win32Shell();
  ~Win32Shell() override;
  bool SaveLink(const platform::ShellLink& link, const std::string& path) override;
  std::optional<platform::ShellLink> LoadLink(const std::string& path) override;

 private:
  bool ComReady();
  struct Com;
  Com* com_ = nullptr;
};

class Win32Fonts : public platform::Fonts {
 public:
  bool FamilyInstalled(const std::string& family) override;
  bool AddFontFile(const std::string& path) override;
};

class Win32Services : public platform::Services {
 public:
  std::unique_ptr<platform::ServiceManager> OpenManager() override;
};

class Win32DesktopWindows : public platform::DesktopWindows {
 public:
  // How long a close message may take before its window counts as not answering.
  static constexpr unsigned kCloseTimeoutMs = 30000;
  bool WindowOfClassExists(const std::string& className) override;
  bool CloseWindowOfClass(const std::string& className) override;
  bool WindowWithTitleExists(const std::string& title) override;
  std::string ProgramOfWindowClass(const std::string& className) override;
};

}  // namespace ostravel::win32
