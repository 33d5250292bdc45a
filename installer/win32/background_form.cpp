// TInstallerBackForm: the borderless, maximised window behind the wizard. It paints
// the gradient (or one colour) and the two texts, shows the wizard on its first
// activation and closes when the wizard is gone.
#include "base/win32/windows_clean.h"

#include <optional>

#include "base/win32/wide.h"
#include "installer/ui/gradient.h"
#include "installer/win32/app_windows.h"
#include "installer/win32/gdi_handles.h"
#include "installer/win32/modal_loop.h"

namespace ostravel::win32 {

namespace {

constexpr const wchar_t* kBackFormClass = L"TInstallerBackForm";
constexpr UINT kShowWizard = WM_APP + 2;
constexpr int kTopLabelHeight = 257, kBottomLabelHeight = 197;

UniqueFont FontOf(const FontStyle& style, int dpi) {
  LOGFONTW font{};
  font.lfHeight = -MulDiv(style.size, dpi, 72);
  font.lfWeight = style.bold ? FW_BOLD : FW_NORMAL;
  font.lfItalic = style.italic;
  font.lfUnderline = style.underline;
  font.lfStrikeOut = style.strikeOut;
  font.lfCharSet = EASTEUROPE_CHARSET;
  const std::wstring face = Wide(style.face.empty() ? "Tahoma" : style.face);
  wcsncpy(font.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  return UniqueFont(CreateFontIndirectW(&font));
}

ui::Rgb SystemColour(int index) { return GetSysColor(index); }

UINT AlignmentFlags(wizard::TextAlignment alignment) {
  switch (alignment) {
    case wizard::TextAlignment::Centre:
      return DT_CENTER;
    case wizard::TextAlignment::Right:
      return DT_RIGHT;
    case wizard::TextAlignment::Left:
      break;
  }
  return DT_LEFT;
}

class BackForm {
 public:
  BackForm(wizard::WizardFactory& factory, const wizard::BackgroundSettings& settings)
      : factory_(factory), settings_(settings) {}
  void ShowModal();

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
  void Paint(HDC dc);
  void DrawLabel(HDC dc, const std::string& text, const FontStyle& style, wizard::TextAlignment alignment, RECT box,
                 bool atBottom);

  wizard::WizardFactory& factory_;
  wizard::BackgroundSettings settings_;
  HWND hwnd_ = nullptr;
  bool wizardShown_ = false;
  bool closed_ = false;
};

void BackForm::ShowModal() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpfnWndProc = Proc;
  wc.lpszClassName = kBackFormClass;
  wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
  RegisterClassExW(&wc);
  hwnd_ = CreateWindowExW(0, kBackFormClass, Wide(settings_.topBanner).c_str(), WS_POPUP | WS_CLIPCHILDREN, 0, 0,
                          GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                          GetModuleHandleW(nullptr), this);
  if (!hwnd_) {
    ShowWizardModal(factory_);
    return;
  }
  ShowWindow(hwnd_, SW_SHOWMAXIMIZED);
  SetForegroundWindow(hwnd_);
  // No owner and no dialog keys: the wizard above it has its own.
  const std::optional<int> quit = RunModalLoop(nullptr, [this] { return closed_; });
  if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
  if (quit) PostQuitMessage(*quit);
}

LRESULT CALLBACK BackForm::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE)
    SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
  auto* form = reinterpret_cast<BackForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!form || !form->hwnd_) return DefWindowProcW(hwnd, msg, wp, lp);
  try {
    return form->Handle(msg, wp, lp);
  } catch (...) {
    // Painting errors (too few colours) leave the plain window; nothing may unwind
    // through the system.
    return 0;
  }
}

LRESULT BackForm::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      Paint(dc);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE) PostMessageW(hwnd_, kShowWizard, 0, 0);
      break;
    case kShowWizard:
      if (!wizardShown_) {
        wizardShown_ = true;
        ShowWizardModal(factory_);
      }
      PostMessageW(hwnd_, WM_CLOSE, 0, 0);
      return 0;
    case WM_CLOSE:
      closed_ = true;
      return 0;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

void BackForm::Paint(HDC dc) {
  RECT client;
  GetClientRect(hwnd_, &client);
  if (settings_.gradient) {
    const auto lines = ui::GradientLines(
        client.bottom - client.top,
        {ui::ResolveColour(settings_.gradStart, SystemColour), ui::ResolveColour(settings_.gradEnd, SystemColour)});
    for (const ui::GradientLine& line : lines) {
      RECT row{client.left, client.top + line.position, client.right, client.top + line.position + 1};
      SetBkColor(dc, line.colour);
      ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &row, nullptr, 0, nullptr);
    }
  } else {
    SetBkColor(dc, ui::ResolveColour(settings_.oneColor, SystemColour));
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &client, nullptr, 0, nullptr);
  }
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  RECT top{client.left, client.top, client.right, client.top + MulDiv(kTopLabelHeight, dpi, 96)};
  RECT bottom{client.left, client.bottom - MulDiv(kBottomLabelHeight, dpi, 96), client.right, client.bottom};
  DrawLabel(dc, settings_.topBanner, settings_.bannerFont, settings_.bannerAlignment, top, false);
  DrawLabel(dc, settings_.copyrightText, settings_.copyrightFont, settings_.copyrightAlignment, bottom, true);
}

void BackForm::DrawLabel(HDC dc, const std::string& text, const FontStyle& style, wizard::TextAlignment alignment,
                         RECT box, bool atBottom) {
  if (text.empty()) return;
  UniqueFont font = FontOf(style, GetDeviceCaps(dc, LOGPIXELSY));
  SelectedObject selected(dc, font.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ui::ResolveColour(style.color, SystemColour));
  std::wstring wide = Wide(text);
  const UINT flags = AlignmentFlags(alignment) | DT_WORDBREAK | DT_NOPREFIX;
  if (atBottom) {
    // Laid out at the label's bottom edge: measure, then move the text down.
    RECT measure = box;
    DrawTextW(dc, wide.c_str(), int(wide.size()), &measure, flags | DT_CALCRECT);
    box.top = std::max(box.top, box.bottom - (measure.bottom - measure.top));
  }
  DrawTextW(dc, wide.c_str(), int(wide.size()), &box, flags);
}

}  // namespace

void ShowBackgroundModal(wizard::WizardFactory& factory, const wizard::BackgroundSettings& settings) {
  BackForm form(factory, settings);
  form.ShowModal();
}

}  // namespace ostravel::win32
