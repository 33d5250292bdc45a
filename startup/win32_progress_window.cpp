#include "base/win32/windows_clean.h"

#include <commctrl.h>

#include "base/win32/system_library.h"
#include "startup/win32_launcher.h"

namespace ostravel::startup::win32 {

namespace {

constexpr wchar_t kClassName[] = L"CN";
constexpr wchar_t kIconName[] = L"MAINICON";

constexpr int kBackgroundColor = COLOR_MENU;  // class brush value 5

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_CTLCOLORSTATIC:
      // Labels paint in the window's own colour, not the dialog grey, on every theme.
      SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(kBackgroundColor));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(kBackgroundColor));
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

// comctl32 is not a known DLL: load it from the system folder, never from beside us.
void InitProgressControl() {
  using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  if (auto init = ostravel::win32::SystemProc<InitFn>(L"comctl32.dll", "InitCommonControlsEx")) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS};
    init(&icc);
  }
}

// The layout is in 96-dpi pixels; the program is DPI aware, so scale it ourselves.
struct Scale {
  int dpi = 96;
  Scale() {
    if (HDC screen = GetDC(nullptr)) {
      dpi = GetDeviceCaps(screen, LOGPIXELSY);
      ReleaseDC(nullptr, screen);
    }
    if (dpi <= 0) dpi = 96;
  }
  int operator()(int pixels) const { return MulDiv(pixels, dpi, 96); }
};

}  // namespace

ProgressWindow::ProgressWindow(HINSTANCE instance, const std::string& title, const std::string& text, bool smooth) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, kIconName);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(kBackgroundColor + 1));
  wc.lpszClassName = kClassName;
  RegisterClassW(&wc);
  // The progress class exists only after this, so it comes before the windows.
  InitProgressControl();

  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const Scale s;
  const std::wstring caption = Wide(title);
  main_ = CreateWindowExW(0, kClassName, caption.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, work.right - s(370),
                          work.bottom - s(170), s(350), s(150), nullptr, nullptr, instance, nullptr);
  CreateWindowExW(0, L"STATIC", kIconName, WS_CHILD | WS_VISIBLE | SS_ICON, s(16), s(16), 0, 0, main_, nullptr,
                  instance, nullptr);
  const std::wstring body = Wide(text);
  HWND label = CreateWindowExW(0, L"STATIC", body.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT, s(64), s(16), s(270), s(78),
                               main_, nullptr, instance, nullptr);
  SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(ANSI_VAR_FONT)), FALSE);
  progress_ = CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD | WS_VISIBLE | (smooth ? PBS_SMOOTH : 0), s(64),
                              s(86), s(270), s(16), main_, nullptr, instance, nullptr);
  ProcessMessages();
}

ProgressWindow::~ProgressWindow() {
  if (main_ && IsWindow(main_)) DestroyWindow(main_);
}

void ProgressWindow::SetRange(int32_t maximum) {
  SendMessageW(progress_, PBM_SETRANGE32, 0, maximum);
  SendMessageW(progress_, PBM_SETSTEP, 1, 0);
  maximum_ = maximum, position_ = 0;
}

void ProgressWindow::Step() {
  constexpr DWORD kPaceMs = 40;
  position_ = position_ >= maximum_ ? 0 : position_ + 1;
  if (GetTickCount() - shownAt_ >= kPaceMs) Show();
}

void ProgressWindow::Show() {
  SendMessageW(progress_, PBM_SETPOS, WPARAM(position_), 0);
  ProcessMessages();
  shownAt_ = GetTickCount();
}

void ProgressWindow::HideProgress() {
  Show();
  ShowWindow(progress_, SW_HIDE);
}

void ProgressWindow::Hide() { ShowWindow(main_, SW_HIDE); }

}  // namespace ostravel::startup::win32
