#include "installer/win32/message_form.h"

#include <optional>
#include <vector>

#include "base/win32/wide.h"
#include "installer/ui/message_dialog_layout.h"
#include "installer/win32/app_windows.h"
#include "installer/win32/control_names_win32.h"
#include "installer/win32/gdi_handles.h"
#include "installer/win32/modal_loop.h"

namespace ostravel::win32 {

namespace {

constexpr const wchar_t* kClassName = L"TMessageForm";
constexpr int kFirstButtonId = 1000;

class DcMeasurer : public ui::DialogMeasurer {
 public:
  explicit DcMeasurer(HFONT font) : dc_(GetDC(nullptr)), selected_(dc_, font) {}
  ~DcMeasurer() override { ReleaseDC(nullptr, dc_); }
  ui::Extent TextExtent(const std::u16string& text) override {
    SIZE size{};
    GetTextExtentPoint32W(dc_, reinterpret_cast<const wchar_t*>(text.c_str()), int(text.size()), &size);
    return {int(size.cx), int(size.cy)};
  }
  ui::Extent WrappedTextExtent(const std::u16string& text, int maxWidth) override {
    RECT r{0, 0, maxWidth, 0};
    DrawTextW(dc_, reinterpret_cast<const wchar_t*>(text.c_str()), int(text.size()), &r,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    return {int(r.right), int(r.bottom)};
  }

 private:
  HDC dc_;
  SelectedObject selected_;
};

struct FormState {
  ui::MessageDialogLayout layout;
  int result = -1;
  int defaultId = 0;
};

BOOL CALLBACK ForgetName(HWND child, LPARAM) {
  ForgetControlName(child);
  return TRUE;
}

LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* state = reinterpret_cast<FormState*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_NCCREATE:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
      break;
    case DM_GETDEFID:
      if (state) return MAKELRESULT(state->defaultId, DC_HASDEFID);
      break;
    case WM_COMMAND:
      if (!state) break;
      if (LOWORD(wp) == IDCANCEL) {
        state->result = state->layout.cancelResult;
      } else if (LOWORD(wp) == IDOK) {
        state->result = state->layout.defaultResult;
      } else if (LOWORD(wp) >= kFirstButtonId && HIWORD(wp) == BN_CLICKED) {
        const int index = LOWORD(wp) - kFirstButtonId;
        for (const auto& b : state->layout.buttons)
          if (b.index == index && b.modalResult != ui::mrNone) state->result = b.modalResult;
        // Help has no result: there is no help file to show, the dialog stays.
      }
      return 0;
    case WM_CLOSE:
      if (state) state->result = ui::mrCancel;
      return 0;
    case WM_CTLCOLORSTATIC:
      SetBkMode(HDC(wp), TRANSPARENT);
      return LRESULT(GetSysColorBrush(COLOR_BTNFACE));
    case WM_DESTROY:
      EnumChildWindows(hwnd, ForgetName, 0);
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

void RegisterFormClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = FormProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = kClassName;
  registered = RegisterClassExW(&wc) != 0;
}

LPCWSTR IconOf(ui::MsgDlgType type) {
  switch (type) {
    case ui::MsgDlgType::Warning:
      return IDI_WARNING;
    case ui::MsgDlgType::Error:
      return IDI_ERROR;
    case ui::MsgDlgType::Information:
      return IDI_INFORMATION;
    case ui::MsgDlgType::Confirmation:
      return IDI_QUESTION;
    default:
      return nullptr;
  }
}

HWND Child(HWND parent, const wchar_t* cls, const std::wstring& text, DWORD style, const ui::Box& box, int id,
           HFONT font, const char* name) {
  HWND h =
      CreateWindowExW(0, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, box.left, box.top, box.width, box.height,
                      parent, reinterpret_cast<HMENU>(intptr_t(id)), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(h, WM_SETFONT, WPARAM(font), FALSE);
  NameControl(h, name);
  return h;
}

}  // namespace

int ShowMessageForm(const std::wstring& text, ui::MsgDlgType type, uint32_t buttons, int language,
                    const std::wstring& applicationTitle) {
  RegisterFormClass();
  UniqueFont font = CreateMessageFont();
  FormState state;
  {
    DcMeasurer measurer(font.get());
    state.layout = ui::LayoutMessageDialog(measurer, std::u16string(text.begin(), text.end()), type, buttons, language,
                                           GetSystemMetrics(SM_CXSCREEN),
                                           std::u16string(applicationTitle.begin(), applicationTitle.end()));
  }
  const ui::MessageDialogLayout& layout = state.layout;
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  const DWORD exStyle = WS_EX_DLGMODALFRAME;
  RECT frame{0, 0, layout.clientWidth, layout.clientHeight};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  const int left = GetSystemMetrics(SM_CXSCREEN) / 2 - width / 2;
  const int top = GetSystemMetrics(SM_CYSCREEN) / 2 - height / 2;

  HWND owner = GetActiveWindow();
  const std::wstring caption(layout.caption.begin(), layout.caption.end());
  HWND form = CreateWindowExW(exStyle, kClassName, caption.c_str(), style, left, top, width, height, owner, nullptr,
                              GetModuleHandleW(nullptr), &state);
  if (!form) return ui::mrCancel;
  if (layout.hasIcon) {
    HWND icon = Child(form, L"STATIC", L"", SS_ICON, layout.icon, -1, font.get(), "Image");
    SendMessageW(icon, STM_SETICON, WPARAM(LoadIconW(nullptr, IconOf(type))), 0);
  }
  Child(form, L"STATIC", text, SS_LEFT | SS_NOPREFIX, layout.text, -1, font.get(), "Message");
  HWND first = nullptr;
  for (const auto& b : layout.buttons) {
    const int id = kFirstButtonId + b.index;
    HWND h = Child(form, L"BUTTON", std::wstring(b.caption.begin(), b.caption.end()),
                   WS_TABSTOP | (b.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), b.box, id, font.get(), b.name);
    if (b.isDefault) {
      state.defaultId = id;
      first = h;
    }
  }

  std::optional<int> quit;
  {
    DisabledOwner disabled(owner);
    ShowWindow(form, SW_SHOW);
    if (first) SetFocus(first);
    quit = RunModalLoop(form, [&state] { return state.result >= 0; });
  }
  DestroyWindow(form);
  if (quit) PostQuitMessage(*quit);
  return state.result < 0 ? ui::mrCancel : state.result;
}

int Win32MessageDialogs::ShowMessage(const std::string& text, ui::MsgDlgType type, uint32_t buttons, int language) {
  return ShowMessageForm(Wide(text), type, buttons, language, Wide(applicationTitle_));
}

ui::MessageDialogs& AppMessageDialogs() {
  static Win32MessageDialogs dialogs;
  return dialogs;
}

}  // namespace ostravel::win32
