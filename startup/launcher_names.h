#pragma once
// Fixed names the launcher and the installer agree on.

namespace ostravel::startup {

inline constexpr const char* kScriptName = "setup.inf";
inline constexpr const char* kScrambledCopyName = "setup.dat";
inline constexpr const char* kFreshFolderPrefix = "Ostravel";
inline constexpr const char* kInstallerName = "installer.exe";
inline constexpr const char* kCompressedInstallerName = "_setup1.ex_";
inline constexpr const char* kRunningAtom = "OSTRAVEL";
inline constexpr const char* kWizardClass = "TInstallerMainForm";
inline constexpr const char* kStartUpSection = "StartUp";
// A script holding this line is plain text; anything else is taken as scrambled.
inline constexpr const char* kPlainMarkerLine = "[Configuration]";

}  // namespace ostravel::startup
