#include "base/win32/windows_clean.h"

#include "base/cp1250.h"
#include "base/win32/wide.h"
#include "installer/platform/win32/file_names.h"
#include "installer/platform/win32/win32_platform.h"

namespace ostravel::win32 {
namespace {

struct FamilySearch {
  std::wstring wanted;
  bool found = false;
};

int CALLBACK OnFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM data) {
  auto* search = reinterpret_cast<FamilySearch*>(data);
  if (CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, font->lfFaceName, -1, search->wanted.c_str(), -1) ==
      CSTR_EQUAL) {
    search->found = true;
    return 0;
  }
  return 1;
}

}  // namespace

bool Win32Fonts::FamilyInstalled(const std::string& family) {
  HDC screen = GetDC(nullptr);
  if (!screen) return false;
  // Every family of the screen, one face each: names longer than a LOGFONT face
  // field can hold are compared whole as well.
  LOGFONTW filter{};
  filter.lfCharSet = DEFAULT_CHARSET;
  FamilySearch search{Wide(family)};
  EnumFontFamiliesExW(screen, &filter, OnFamily, reinterpret_cast<LPARAM>(&search), 0);
  ReleaseDC(nullptr, screen);
  return search.found;
}

bool Win32Fonts::AddFontFile(const std::string& path) { return AddFontResourceW(FileName(path).c_str()) != 0; }

}  // namespace ostravel::win32
