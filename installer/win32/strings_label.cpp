#include "installer/win32/strings_label.h"

#include <map>
#include <memory>
#include <tuple>

#include "base/win32/wide.h"
#include "installer/ui/strings_label_layout.h"
#include "installer/win32/gdi_handles.h"

namespace ostravel::win32 {

namespace {

struct LabelData {
  std::string lines = "<b>TStringsLabel</b> shows tagged lines.";
  bool autoHeight = true;
  COLORREF background = GetSysColor(COLOR_BTNFACE);
};

int CALLBACK FoundFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FontFamilyExists(HDC dc, const wchar_t* face) {
  LOGFONTW probe{};
  probe.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(probe.lfFaceName, face, LF_FACESIZE - 1);
  bool found = false;
  EnumFontFamiliesExW(dc, &probe, FoundFamily, LPARAM(&found), 0);
  return found;
}

// Draws words with GDI. Bullets and check boxes use the Symbol and WingDings fonts
// where they exist, and plain Unicode look-alikes in the text font where not.
class GdiSurface : public ui::LabelSurface {
 public:
  GdiSurface(HDC dc, const LOGFONTW& base, COLORREF background)
      : dc_(dc), base_(base), hasSymbol_(FontFamilyExists(dc, L"Symbol")),
        hasWingDings_(FontFamilyExists(dc, L"Wingdings")) {
    SetBkColor(dc_, background);
    SetBkMode(dc_, OPAQUE);
  }
  int TextWidth(const std::string& text, const ui::LabelFont& font) override { return Extent(text, font).cx; }
  int TextHeight(const std::string& text, const ui::LabelFont& font) override { return Extent(text, font).cy; }
  void DrawText(int x, int y, const std::string& text, const ui::LabelFont& font) override {
    const std::wstring w = Glyphs(text, font);
    SelectedObject selected(dc_, Font(font));
    SetTextColor(dc_, font.color);
    TextOutW(dc_, x, y, w.c_str(), int(w.size()));
  }

 private:
  bool UsesSymbolFont(const ui::LabelFont& font) const {
    return (font.face == ui::LabelFace::Symbol && hasSymbol_) ||
           (font.face == ui::LabelFace::WingDings && hasWingDings_);
  }
  std::wstring Glyphs(const std::string& text, const ui::LabelFont& font) const {
    if (font.face == ui::LabelFace::Normal) return Wide(text);
    if (UsesSymbolFont(font)) {
      std::wstring w;
      for (unsigned char c : text) w += wchar_t(0xF000 | c);
      return w;
    }
    if (font.face == ui::LabelFace::Symbol) return L"\x2022 ";
    return text == "\xFE" ? L"\x25A3" : L"\x25A1";  // a filled or an empty square
  }
  SIZE Extent(const std::string& text, const ui::LabelFont& font) {
    const std::wstring w = Glyphs(text, font);
    SelectedObject selected(dc_, Font(font));
    SIZE size{};
    GetTextExtentPoint32W(dc_, w.c_str(), int(w.size()), &size);
    return size;
  }
  HFONT Font(const ui::LabelFont& font) {
    const bool symbol = UsesSymbolFont(font);
    const auto key = std::make_tuple(symbol ? int(font.face) : 0, font.bold, font.italic, font.underline,
                                     font.strikeOut);
    auto it = fonts_.find(key);
    if (it != fonts_.end()) return it->second.get();
    LOGFONTW lf = base_;
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.italic;
    lf.lfUnderline = font.underline;
    lf.lfStrikeOut = font.strikeOut;
    if (symbol) {
      lf.lfCharSet = SYMBOL_CHARSET;
      wcscpy(lf.lfFaceName, font.face == ui::LabelFace::Symbol ? L"Symbol" : L"Wingdings");
    }
    return fonts_.emplace(key, UniqueFont(CreateFontIndirectW(&lf))).first->second.get();
  }

  HDC dc_;
  LOGFONTW base_;
  bool hasSymbol_, hasWingDings_;
  std::map<std::tuple<int, bool, bool, bool, bool>, UniqueFont> fonts_;
};

LabelData* DataOf(HWND hwnd) { return reinterpret_cast<LabelData*>(GetWindowLongPtrW(hwnd, 0)); }

void Paint(HWND hwnd, LabelData& data) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT client;
  GetClientRect(hwnd, &client);
  LOGFONTW base{};
  HFONT font = HFONT(SendMessageW(hwnd, WM_GETFONT, 0, 0));
  if (!font) font = HFONT(GetStockObject(DEFAULT_GUI_FONT));
  GetObjectW(font, sizeof base, &base);
  // The 2-pixel border keeps the face colour of the page beneath.
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  RECT inner{2, 2, client.right - 2, client.bottom - 2};
  UniqueBrush brush(CreateSolidBrush(data.background));
  FillRect(dc, &inner, brush.get());
  int height;
  {
    GdiSurface surface(dc, base, data.background);
    height = ui::RenderTaggedText({inner.left, inner.top, inner.right, inner.bottom}, surface, data.lines, 2, true,
                                  ui::LabelFont{ui::LabelFace::Normal, false, false, false, false, 0});
  }
  EndPaint(hwnd, &ps);
  if (data.autoHeight && height != client.bottom) {
    SetWindowPos(hwnd, nullptr, 0, 0, client.right, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    PostMessageW(GetParent(hwnd), kStringsLabelResized, 0, LPARAM(hwnd));
  }
}

LRESULT CALLBACK LabelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  LabelData* data = DataOf(hwnd);
  switch (msg) {
    case WM_NCCREATE:
      SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(new LabelData));
      break;
    case WM_NCDESTROY:
      delete data;
      SetWindowLongPtrW(hwnd, 0, 0);
      break;
    case WM_SETFONT:
      SetPropW(hwnd, L"OstravelFont", HANDLE(wp));
      if (LOWORD(lp)) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return LRESULT(GetPropW(hwnd, L"OstravelFont"));
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      if (data) {
        Paint(hwnd, *data);
        return 0;
      }
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

void RegisterStringsLabelClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = LabelProc;
  wc.cbWndExtra = sizeof(LabelData*);
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kStringsLabelClass;
  registered = RegisterClassExW(&wc) != 0;
}

void SetStringsLabelLines(HWND label, const std::string& lines) {
  LabelData* data = DataOf(label);
  if (!data) return;
  data->lines = lines;
  SetWindowTextW(label, Wide(ui::TaggedTextPlain(lines)).c_str());
  InvalidateRect(label, nullptr, TRUE);
}

std::string StringsLabelLines(HWND label) {
  LabelData* data = DataOf(label);
  return data ? data->lines : "";
}

void SetStringsLabelAutoHeight(HWND label, bool autoHeight) {
  if (LabelData* data = DataOf(label)) data->autoHeight = autoHeight;
}

}  // namespace ostravel::win32
