// startup.exe: prepares a working copy of the medium, expands the installer,
// starts it and ends.
#include "base/win32/windows_clean.h"

#include <shellapi.h>

#include <vector>

#include "base/cp1250.h"
#include "base/text.h"
#include "base/win32/command_line.h"
#include "base/win32/shared_names.h"
#include "base/win32/system_library.h"
#include "base/win32/unique_handle.h"
#include "startup/launch_rules.h"
#include "startup/scramble.h"
#include "startup/startup_key.h"
#include "startup/win32_launcher.h"
#include "startup/work_folder.h"

#ifndef ERROR_ELEVATION_REQUIRED
#define ERROR_ELEVATION_REQUIRED 740L
#endif

namespace ostravel::startup::win32 {

namespace {

constexpr char kCaption[] = "Ostravel";
constexpr char kAlreadyRunning[] =
    "A Telepítő egy példánya már fut. Mielőtt újabb telepítést indít, lépjen ki a már elindított telepítő "
    "programból!";
constexpr char kInstallerMissing[] = "A telepítő program nem található a telepítő adathordozón:\r\n";
constexpr char kInstallerNotExpanded[] = "A telepítő program nem bontható ki:\r\n";
constexpr char kInstallerNotStarted[] = "A telepítő program nem indítható el:\r\n";

void ErrorBox(HWND owner, const std::string& text) {
  MessageBoxW(owner, Wide(text).c_str(), Wide(kCaption).c_str(), MB_OK | MB_ICONERROR);
}

bool WizardWindowOpen() { return FindWindowW(Wide(names::kWizardClass).c_str(), nullptr) != nullptr; }

// Writes the plain script the launcher reads, and that the installer's background
// window reads, into the temporary folder. True when the medium's script was scrambled.
bool PrepareScratchScript(const std::string& launcherFolder, const std::string& scratch, const std::string& tempCopy) {
  SetAttributes(scratch, FILE_ATTRIBUTE_NORMAL);
  DeleteFileAt(scratch);
  SetAttributes(tempCopy, FILE_ATTRIBUTE_NORMAL);
  DeleteFileAt(tempCopy);
  const std::string medium = launcherFolder + names::kScriptName;
  const std::optional<std::string> script = ReadWholeFile(medium);
  if (!script) return false;
  bool scrambled = false;
  if (IsPlainScript(*script)) {
    CopyFileW(Wide(medium).c_str(), Wide(scratch).c_str(), FALSE);
  } else {
    scrambled = true;
    CopyFileW(Wide(medium).c_str(), Wide(tempCopy).c_str(), FALSE);
    if (const auto copy = ReadWholeFile(tempCopy)) WriteWholeFile(scratch, DescrambleScript(*copy));
  }
  SetAttributes(scratch, FILE_ATTRIBUTE_NORMAL);
  return scrambled;
}

void MarkRunAsAdmin(const std::string& installerPath) {
  ostravel::win32::UniqueHkey key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers", 0,
                      nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE | KEY_WOW64_32KEY, nullptr, key.put(),
                      nullptr) != ERROR_SUCCESS) {
    return;
  }
  static constexpr wchar_t kValue[] = L"RUNASADMIN";
  RegSetValueExW(key.get(), Wide(installerPath).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(kValue),
                 sizeof kValue);
}

// The system's text for the error, or its number when the system has none.
std::string ErrorText(DWORD code) {
  const std::string text = ostravel::win32::SystemMessageText(code);
  return text.empty() ? Format("%lu", static_cast<unsigned long>(code)) : text;
}

// Starts the installer without waiting; the error text when it cannot be started.
std::optional<std::string> StartInstaller(const std::string& path, const std::string& commandLine,
                                          const std::string& workFolder) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION pi{};
  std::wstring line = Wide(commandLine);
  const std::wstring program = Wide(path);
  // The working folder as current folder: the medium's drive stays free to eject.
  const std::wstring folder = Wide(workFolder);
  if (CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi)) {
    const ostravel::win32::UniqueProcessHandles started(pi);  // not waited for
    return std::nullopt;
  }
  DWORD error = GetLastError();
  if (error == ERROR_ELEVATION_REQUIRED) {
    // The "RUNASADMIN" mark makes the system ask for elevation, which only the shell does.
    const size_t afterProgram = commandLine.find(" /l\"");
    const std::wstring parameters = Wide(commandLine.substr(afterProgram + 1));
    SHELLEXECUTEINFOW sei{};
    sei.cbSize = sizeof sei;
    sei.fMask = SEE_MASK_FLAG_NO_UI;
    sei.lpVerb = L"runas";
    sei.lpFile = program.c_str();
    sei.lpParameters = parameters.c_str();
    sei.lpDirectory = folder.c_str();
    sei.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExW(&sei)) return std::nullopt;
    error = GetLastError();
  }
  return ErrorText(error);
}

struct Settings {
  std::string copyEnabled, copyTarget, spaceCheckEnabled, spaceMinMB, spaceError, title, text, smoothProgress;
};

Settings ReadSettings(const std::string& scratch) {
  const std::string script = ReadWholeFile(scratch).value_or(std::string());
  auto key = [&](const char* name) { return ReadStartUpKey(script, names::kStartUpSection, name, ""); };
  return Settings{key("CopyEnabled"), key("CopyTarget"), key("SpaceCheckEnabled"), key("SpaceMinMB"), key("SpaceError"),
                  key("Title"),       key("Text"),       key("SmoothProgress")};
}

// Marks this installation in the global atom table and tells whether another one's
// wizard is open (which "/s" overrides). Under "/restart" it first waits until the
// closing installer's window is gone.
bool AlreadyRunning(const std::vector<std::string>& params, ATOM& addedAtom) {
  const std::wstring atomName = Wide(names::kRunningAtom);
  if (GlobalFindAtomW(atomName.c_str()) == 0) addedAtom = GlobalAddAtomW(atomName.c_str());
  if (HasSwitch(params, "/restart")) {
    // Keep our queue alive without spinning a core.
    while (WizardWindowOpen()) {
      ProcessMessages();
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
  }
  return WizardWindowOpen() && !HasSwitch(params, "/s");
}

int Launch(HINSTANCE instance) {
  const std::string programPath = ProgramPath();
  const std::string launcherFolder = FolderOfPath(programPath);
  const std::string tempFolder = TempFolder();
  const std::string scratch = tempFolder + names::kScriptName;
  const bool scrambled = PrepareScratchScript(launcherFolder, scratch, tempFolder + names::kScrambledCopyName);
  const Settings settings = ReadSettings(scratch);

  const FolderOps ops{FolderExists, CreateOneFolder};
  const std::string fresh = FindFreshFolder(tempFolder, FolderExists);
  const std::string workFolder =
      ChooseWorkFolder({settings.copyEnabled, settings.copyTarget, WindowsFolder(), fresh}, ops);

  const int64_t minimumFree = MinimumFreeBytes(ParseSpaceMinMB(settings.spaceMinMB));
  const std::optional<uint64_t> freeBytes = FreeBytesOf(workFolder);
  const std::vector<std::string> params = ostravel::win32::CommandLineParameters();
  ATOM addedAtom = 0;
  const bool running = AlreadyRunning(params, addedAtom);

  // Refusals remove only our own marker: one that was there belongs to a running wizard.
  if (freeBytes && SpaceRefused(settings.spaceCheckEnabled, *freeBytes, minimumFree)) {
    ErrorBox(nullptr, settings.spaceError);
    if (addedAtom) GlobalDeleteAtom(addedAtom);
    return 0;
  }
  if (running) {
    ErrorBox(nullptr, kAlreadyRunning);
    if (addedAtom) GlobalDeleteAtom(addedAtom);
    return 0;
  }

  ProgressWindow window(instance, settings.title, settings.text, settings.smoothProgress == "1");
  window.SetRange(ProgressRange(FolderTotal(launcherFolder)));
  // A copy target naming the medium's own folder must not wipe the medium.
  if (!SameText(workFolder, launcherFolder)) {
    EmptyFolder(workFolder);
    CopyFolderFiles(launcherFolder, programPath, workFolder, window);
    // The wizard reads the script beside itself: give it the plain text.
    if (scrambled && FileExists(scratch)) {
      CopyFileW(Wide(scratch).c_str(), Wide(workFolder + names::kScriptName).c_str(), FALSE);
      SetAttributes(workFolder + names::kScriptName, FILE_ATTRIBUTE_ARCHIVE);
    }
  }
  window.HideProgress();

  const std::string installerPath = workFolder + names::kInstallerName;
  auto fail = [&](const char* what, const std::string& detail) {
    window.Hide();
    ErrorBox(nullptr, what + detail);
    if (addedAtom) GlobalDeleteAtom(addedAtom);
    return 0;
  };
  switch (ExpandInstaller(workFolder)) {
    case ExpandResult::kMissing:
      return fail(kInstallerMissing, launcherFolder + names::kCompressedInstallerName);
    case ExpandResult::kFailed:
      return fail(kInstallerNotExpanded, workFolder + names::kCompressedInstallerName);
    case ExpandResult::kExpanded:
      break;
  }
  MarkRunAsAdmin(installerPath);
  window.Hide();
  const std::string commandLine = BuildInstallerCommandLine(installerPath, launcherFolder, params);
  if (const auto error = StartInstaller(installerPath, commandLine, workFolder)) {
    return fail(kInstallerNotStarted, installerPath + "\r\n" + *error);
  }
  return 0;
}

}  // namespace

}  // namespace ostravel::startup::win32

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  ostravel::win32::HardenDllSearch();
  const int code = ostravel::startup::win32::Launch(instance);
  PostQuitMessage(code);
  return code;
}
