#include "installer/win32/scroll_box.h"

#include <algorithm>

#include "installer/win32/strings_label.h"

namespace ostravel::win32 {

namespace {

constexpr const wchar_t* kScrollBoxClass = L"TOstravelScrollBox";
constexpr int kWheelStep = 3 * 16;

HWND ContentOf(HWND box) { return GetWindow(box, GW_CHILD); }

// The range follows the content's height; the content moves up by the position.
void Update(HWND box, int position) {
  HWND content = ContentOf(box);
  if (!content) return;
  RECT client, inner;
  GetClientRect(box, &client);
  GetWindowRect(content, &inner);
  const int height = inner.bottom - inner.top;
  SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0, std::max(0, height - 1),
                  UINT(client.bottom), 0, 0};
  const int maximum = std::max(0, height - int(client.bottom));
  info.nPos = std::clamp(position, 0, maximum);
  SetScrollInfo(box, SB_VERT, &info, TRUE);
  SetWindowPos(content, nullptr, 0, -info.nPos, client.right, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

int Position(HWND box) {
  SCROLLINFO info{sizeof info, SIF_POS | SIF_PAGE | SIF_TRACKPOS, 0, 0, 0, 0, 0};
  GetScrollInfo(box, SB_VERT, &info);
  return info.nPos;
}

int Scrolled(HWND box, WPARAM request) {
  SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(box, SB_VERT, &info);
  switch (LOWORD(request)) {
    case SB_LINEUP: return info.nPos - 16;
    case SB_LINEDOWN: return info.nPos + 16;
    case SB_PAGEUP: return info.nPos - int(info.nPage);
    case SB_PAGEDOWN: return info.nPos + int(info.nPage);
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: return info.nTrackPos;
    case SB_TOP: return 0;
    case SB_BOTTOM: return info.nMax;
  }
  return info.nPos;
}

LRESULT CALLBACK ScrollBoxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
      return SendMessageW(GetAncestor(hwnd, GA_ROOT), msg, wp, lp);
    case kStringsLabelResized:
    case WM_SIZE:
      Update(hwnd, Position(hwnd));
      return 0;
    case WM_VSCROLL:
      Update(hwnd, Scrolled(hwnd, wp));
      return 0;
    case WM_MOUSEWHEEL:
      Update(hwnd, Position(hwnd) - GET_WHEEL_DELTA_WPARAM(wp) * kWheelStep / WHEEL_DELTA);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

void RegisterScrollBoxClass() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpfnWndProc = ScrollBoxProc;
  wc.lpszClassName = kScrollBoxClass;
  RegisterClassExW(&wc);
}

HWND WrapInScrollBox(HWND content) {
  RegisterScrollBoxClass();
  HWND parent = GetParent(content);
  RECT place;
  GetWindowRect(content, &place);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
  HWND box = CreateWindowExW(WS_EX_CONTROLPARENT, kScrollBoxClass, L"",
                             WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_CLIPCHILDREN, place.left, place.top,
                             place.right - place.left, place.bottom - place.top, parent, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  if (!box) return nullptr;
  SetWindowPos(box, content, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetParent(content, box);
  Update(box, 0);
  return box;
}

}  // namespace ostravel::win32
