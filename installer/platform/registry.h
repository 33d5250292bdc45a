#pragma once
// The registry, with the 32- and 64-bit views of 64-bit Windows.
// Every text here is CP1250, paths included; UTF-16 exists only inside win32/.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#ifdef _WIN32
#include "base/win32/undef_macros.h"
#endif

namespace ostravel::platform {

enum class RootKey { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };
// Wow32 is the view a 32-bit program sees; both builds use it unless told otherwise.
enum class RegView { Wow32, Wow64 };
enum class RegRead { Ok, Missing, WrongType };

// Exact-case root names of scripts ("HKEY_LOCAL_MACHINE"); nullopt otherwise.
std::optional<RootKey> RootKeyFromName(const std::string& name);
const char* RootKeyName(RootKey root);
// True for a path that names no key below the root ("", "\\", blanks).
bool NamesNoKey(const std::string& subKey);

class Registry;
// Deletes the key, then each key above it but the topmost, while they hold no value
// and no subkey.
void DeleteEmptyKeys(Registry& registry, RootKey root, const std::string& subKey);

class Registry {
 public:
  virtual ~Registry() = default;
  virtual bool KeyExists(RootKey root, const std::string& subKey, RegView view = RegView::Wow32) = 0;
  // Missing key or value: Missing; a value that is not REG_SZ / REG_EXPAND_SZ: WrongType.
  virtual RegRead ReadString(RootKey root, const std::string& subKey, const std::string& name, std::string& value,
                             RegView view = RegView::Wow32) = 0;
  virtual RegRead ReadDword(RootKey root, const std::string& subKey, const std::string& name, uint32_t& value,
                            RegView view = RegView::Wow32) = 0;
  virtual bool CreateKey(RootKey root, const std::string& subKey, RegView view = RegView::Wow32) = 0;
  // Opens the key for full access without creating it: the rights probe.
  virtual bool CanOpenForWrite(RootKey root, const std::string& subKey, RegView view = RegView::Wow32) = 0;
  virtual bool WriteString(RootKey root, const std::string& subKey, const std::string& name, const std::string& value,
                           RegView view = RegView::Wow32) = 0;
  virtual bool WriteDword(RootKey root, const std::string& subKey, const std::string& name, uint32_t value,
                          RegView view = RegView::Wow32) = 0;
  // Names of the key's values as stored; empty when the key cannot be opened.
  virtual std::vector<std::string> ValueNames(RootKey root, const std::string& subKey,
                                              RegView view = RegView::Wow32) = 0;
  virtual bool DeleteValue(RootKey root, const std::string& subKey, const std::string& name,
                           RegView view = RegView::Wow32) = 0;
  // A key without subkeys, as the system deletes it; false when it is missing or has subkeys.
  virtual bool DeleteKey(RootKey root, const std::string& subKey, RegView view = RegView::Wow32) = 0;
  // The key with every subkey below it, in the one view. True when the key is gone;
  // a subkey that cannot go keeps its parents, the rest go anyway. Never a root.
  virtual bool DeleteKeyTree(RootKey root, const std::string& subKey, RegView view = RegView::Wow32) = 0;
};

}  // namespace ostravel::platform
