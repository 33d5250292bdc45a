#pragma once
// Fixed names the launcher, the installer and the maker's tool agree on. Plain
// constants, no Windows types: portable code and host tests use them as well.
#include <cstddef>

namespace ostravel::names {

// An ASCII name as a wide string, for the W functions.
template <size_t N>
struct WideName {
  wchar_t text[N]{};
  constexpr explicit WideName(const char (&ascii)[N]) {
    for (size_t i = 0; i < N; ++i) text[i] = wchar_t(ascii[i]);
  }
};

inline constexpr char kScriptName[] = "setup.inf";
inline constexpr char kScrambledCopyName[] = "setup.dat";
inline constexpr char kFreshFolderPrefix[] = "Ostravel";
inline constexpr char kInstallerName[] = "installer.exe";
inline constexpr char kCompressedInstallerName[] = "_setup1.ex_";
// Global atom held while an installation runs.
inline constexpr char kRunningAtom[] = "OSTRAVEL";
// Window class of the wizard, which the launcher looks for.
inline constexpr char kWizardClass[] = "TInstallerMainForm";
inline constexpr WideName kWizardClassWide{kWizardClass};
inline constexpr char kStartUpSection[] = "StartUp";
// A script holding this line is plain text; anything else is taken as scrambled.
inline constexpr char kPlainMarkerLine[] = "[Configuration]";

}  // namespace ostravel::names
