#include "base/win32/windows_clean.h"
#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

#include "base/win32/com.h"
#include "base/win32/wide.h"
#include "installer/platform/win32/win32_platform.h"

namespace ostravel::win32 {
namespace {

// Buffers for the fields read back; the shell's own tip limit covers descriptions.
constexpr int kFieldChars = INFOTIPSIZE;

template <typename Getter>
std::string ReadField(Getter get) {
  std::vector<wchar_t> buffer(kFieldChars + 1, L'\0');
  if (FAILED(get(buffer.data(), kFieldChars))) return "";
  buffer[kFieldChars] = L'\0';
  return Narrow(std::wstring(buffer.data()));
}

}  // namespace

struct Win32Shell::Com {
  ComApartment apartment;
};

Win32Shell::Win32Shell() = default;
Win32Shell::~Win32Shell() { delete com_; }

bool Win32Shell::ComReady() {
  if (!com_) com_ = new Com;
  return com_->apartment.Usable();
}

bool Win32Shell::SaveLink(const platform::ShellLink& link, const std::string& path) {
  if (!ComReady()) return false;
  ComPtr<IShellLinkW> shellLink = CreateInstance<IShellLinkW>(CLSID_ShellLink);
  if (!shellLink) return false;
  shellLink->SetPath(Wide(link.target).c_str());
  shellLink->SetWorkingDirectory(Wide(link.workFolder).c_str());
  shellLink->SetDescription(Wide(link.description).c_str());
  shellLink->SetArguments(Wide(link.arguments).c_str());
  shellLink->SetIconLocation(Wide(link.iconPath).c_str(), link.iconIndex);
  ComPtr<IPersistFile> file = shellLink.As<IPersistFile>();
  return file && SUCCEEDED(file->Save(Wide(path).c_str(), TRUE));
}

std::optional<platform::ShellLink> Win32Shell::LoadLink(const std::string& path) {
  if (GetFileAttributesW(Wide(path).c_str()) == INVALID_FILE_ATTRIBUTES || !ComReady()) return std::nullopt;
  ComPtr<IShellLinkW> shellLink = CreateInstance<IShellLinkW>(CLSID_ShellLink);
  if (!shellLink) return std::nullopt;
  ComPtr<IPersistFile> file = shellLink.As<IPersistFile>();
  if (!file || FAILED(file->Load(Wide(path).c_str(), STGM_READ))) return std::nullopt;
  platform::ShellLink link;
  link.target = ReadField([&](wchar_t* b, int n) { return shellLink->GetPath(b, n, nullptr, SLGP_RAWPATH); });
  link.description = ReadField([&](wchar_t* b, int n) { return shellLink->GetDescription(b, n); });
  link.arguments = ReadField([&](wchar_t* b, int n) { return shellLink->GetArguments(b, n); });
  link.workFolder = ReadField([&](wchar_t* b, int n) { return shellLink->GetWorkingDirectory(b, n); });
  int index = 0;
  link.iconPath = ReadField([&](wchar_t* b, int n) { return shellLink->GetIconLocation(b, n, &index); });
  link.iconIndex = index;
  return link;
}

}  // namespace ostravel::win32
