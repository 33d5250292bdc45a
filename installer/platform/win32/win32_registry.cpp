#include "base/win32/windows_clean.h"

#include <iterator>
#include <vector>

#include "base/win32/system_library.h"
#include "base/win32/unique_handle.h"
#include "base/win32/wide.h"
#include "installer/platform/win32/win32_platform.h"

namespace ostravel::win32 {
namespace {

using platform::RegRead;
using platform::RegView;
using platform::RootKey;

HKEY RootHandle(RootKey root) {
  switch (root) {
    case RootKey::ClassesRoot:
      return HKEY_CLASSES_ROOT;
    case RootKey::CurrentUser:
      return HKEY_CURRENT_USER;
    case RootKey::LocalMachine:
      return HKEY_LOCAL_MACHINE;
    case RootKey::Users:
      return HKEY_USERS;
    case RootKey::CurrentConfig:
      return HKEY_CURRENT_CONFIG;
  }
  return HKEY_CURRENT_USER;
}

REGSAM ViewFlag(RegView view) {
  // Named on every build, so the x86_64 build sees what the i686 one does; 32-bit
  // Windows ignores the flag.
  return view == RegView::Wow64 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;
}

UniqueHkey Open(RootKey root, const std::string& subKey, RegView view, REGSAM access) {
  UniqueHkey key;
  if (RegOpenKeyExW(RootHandle(root), Wide(subKey).c_str(), 0, access | ViewFlag(view), key.put()) != ERROR_SUCCESS)
    key.reset();
  return key;
}

UniqueHkey Create(RootKey root, const std::string& subKey, RegView view) {
  UniqueHkey key;
  if (RegCreateKeyExW(RootHandle(root), Wide(subKey).c_str(), 0, nullptr, 0, KEY_WRITE | KEY_READ | ViewFlag(view),
                      nullptr, key.put(), nullptr) != ERROR_SUCCESS)
    key.reset();
  return key;
}

LONG DeleteOneKey(HKEY root, const std::wstring& subKey, REGSAM view) {
  // RegDeleteKeyExW knows views; it exists from Vista (XP x64 too) on. advapi32 is
  // delay-loaded, so ask for it by loading, never by looking for a loaded copy.
  using DeleteKeyExFn = LONG(WINAPI*)(HKEY, LPCWSTR, REGSAM, DWORD);
  if (auto deleteEx = SystemProc<DeleteKeyExFn>(L"advapi32.dll", "RegDeleteKeyExW"))
    return deleteEx(root, subKey.c_str(), view, 0);
  // Systems without it have a single view.
  return RegDeleteKeyW(root, subKey.c_str());
}

std::vector<std::wstring> SubKeyNames(HKEY key) {
  std::vector<std::wstring> names;
  wchar_t name[256];  // the longest key name the registry allows, and its end
  for (DWORD i = 0;; ++i) {
    DWORD size = DWORD(std::size(name));
    const LONG rc = RegEnumKeyExW(key, i, name, &size, nullptr, nullptr, nullptr, nullptr);
    if (rc != ERROR_SUCCESS) break;
    names.emplace_back(name, size);
  }
  return names;
}

// Depth first, with wide names all the way: a subkey named outside CP1250 goes too.
bool DeleteTree(HKEY root, const std::wstring& subKey, REGSAM view) {
  {
    UniqueHkey key;
    if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | view, key.put()) !=
        ERROR_SUCCESS)
      return false;
    for (const std::wstring& child : SubKeyNames(key.get())) DeleteTree(root, subKey + L"\\" + child, view);
  }
  return DeleteOneKey(root, subKey, view) == ERROR_SUCCESS;
}

}  // namespace

bool Win32Registry::KeyExists(RootKey root, const std::string& subKey, RegView view) {
  return bool(Open(root, subKey, view, KEY_READ));
}

RegRead Win32Registry::ReadString(RootKey root, const std::string& subKey, const std::string& name,
                                  std::string& value, RegView view) {
  UniqueHkey key = Open(root, subKey, view, KEY_QUERY_VALUE);
  if (!key) return RegRead::Missing;
  const std::wstring wname = Wide(name);
  // Grow the buffer a bounded number of times; the value may change between calls.
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD type = 0, bytes = 0;
    LONG rc = RegQueryValueExW(key.get(), wname.c_str(), nullptr, &type, nullptr, &bytes);
    if (rc != ERROR_SUCCESS) return RegRead::Missing;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return RegRead::WrongType;
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 2, L'\0');
    DWORD size = DWORD((buffer.size() - 1) * sizeof(wchar_t));
    rc = RegQueryValueExW(key.get(), wname.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
    if (rc == ERROR_MORE_DATA) continue;
    if (rc != ERROR_SUCCESS) return RegRead::Missing;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return RegRead::WrongType;
    size_t chars = size / sizeof(wchar_t);
    buffer[chars] = L'\0';  // the stored value need not be terminated
    value = Narrow(std::wstring(buffer.data()));
    return RegRead::Ok;
  }
  return RegRead::Missing;
}

RegRead Win32Registry::ReadDword(RootKey root, const std::string& subKey, const std::string& name, uint32_t& value,
                                 RegView view) {
  UniqueHkey key = Open(root, subKey, view, KEY_QUERY_VALUE);
  if (!key) return RegRead::Missing;
  DWORD type = 0, data = 0, size = sizeof data;
  LONG rc = RegQueryValueExW(key.get(), Wide(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
  if (rc == ERROR_MORE_DATA) return RegRead::WrongType;
  if (rc != ERROR_SUCCESS) return RegRead::Missing;
  if (type != REG_DWORD || size != sizeof data) return RegRead::WrongType;
  value = data;
  return RegRead::Ok;
}

bool Win32Registry::CreateKey(RootKey root, const std::string& subKey, RegView view) {
  return bool(Create(root, subKey, view));
}

bool Win32Registry::CanOpenForWrite(RootKey root, const std::string& subKey, RegView view) {
  return bool(Open(root, subKey, view, KEY_ALL_ACCESS));
}

bool Win32Registry::WriteString(RootKey root, const std::string& subKey, const std::string& name,
                                const std::string& value, RegView view) {
  UniqueHkey key = Create(root, subKey, view);
  if (!key) return false;
  std::wstring data = Wide(value);
  return RegSetValueExW(key.get(), Wide(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                        DWORD((data.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool Win32Registry::WriteDword(RootKey root, const std::string& subKey, const std::string& name, uint32_t value,
                               RegView view) {
  UniqueHkey key = Create(root, subKey, view);
  if (!key) return false;
  DWORD data = value;
  return RegSetValueExW(key.get(), Wide(name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                        sizeof data) == ERROR_SUCCESS;
}

std::vector<std::string> Win32Registry::ValueNames(RootKey root, const std::string& subKey, RegView view) {
  std::vector<std::string> names;
  UniqueHkey key = Open(root, subKey, view, KEY_QUERY_VALUE);
  if (!key) return names;
  DWORD count = 0, longest = 0;
  if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longest, nullptr,
                       nullptr, nullptr) != ERROR_SUCCESS)
    return names;
  std::vector<wchar_t> buffer(longest + 2);
  for (DWORD i = 0; i < count; ++i) {
    DWORD length = DWORD(buffer.size());
    LONG rc = RegEnumValueW(key.get(), i, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_NO_MORE_ITEMS) break;
    // A value added since the size query: skip it rather than read past the buffer.
    if (rc != ERROR_SUCCESS) continue;
    names.push_back(Narrow(std::wstring(buffer.data(), length)));
  }
  return names;
}

bool Win32Registry::DeleteValue(RootKey root, const std::string& subKey, const std::string& name, RegView view) {
  UniqueHkey key = Open(root, subKey, view, KEY_SET_VALUE);
  return key && RegDeleteValueW(key.get(), Wide(name).c_str()) == ERROR_SUCCESS;
}

bool Win32Registry::DeleteKey(RootKey root, const std::string& subKey, RegView view) {
  return DeleteOneKey(RootHandle(root), Wide(subKey), ViewFlag(view)) == ERROR_SUCCESS;
}

bool Win32Registry::DeleteKeyTree(RootKey root, const std::string& subKey, RegView view) {
  // An empty path opens the root itself: never empty a whole root.
  if (platform::NamesNoKey(subKey)) return false;
  return DeleteTree(RootHandle(root), Wide(subKey), ViewFlag(view));
}

}  // namespace ostravel::win32
