#include "installer/win32/proxy_settings_form.h"

#include <climits>
#include <vector>

#include "base/text.h"
#include "base/win32/system_library.h"
#include "base/win32/wide.h"
#include "installer/win32/control_host.h"

namespace ostravel::win32 {

namespace {

using wizard::ControlKind;
using wizard::ControlSpec;

constexpr const wchar_t* kClassName = L"TProxySettingsForm";
constexpr int kClientWidth = 415, kClientHeight = 167;
constexpr int kFirstControlId = 100;
constexpr const char* kCaption = "Proxy-kiszolgáló beállításai";

// Place at 96 DPI. The buttons are no tab stops: Tab walks the four fields only.
const std::vector<ControlSpec>& Controls() {
  static const std::vector<ControlSpec> specs = {
      {"GroupBox1", -1, ControlKind::GroupBox, 8, 6, 399, 124, kCaption},
      {"ServerLabel", -1, ControlKind::Label, 20, 31, 105, 16, "Kiszolgáló"},
      {"ProxyServer", -1, ControlKind::Edit, 130, 27, 265, 22, ""},
      {"PortLabel", -1, ControlKind::Label, 20, 57, 105, 16, "Port"},
      {"ProxyPort", -1, ControlKind::Edit, 130, 53, 80, 22, "80"},
      {"UsernameLabel", -1, ControlKind::Label, 20, 83, 105, 16, "Felhasználónév"},
      {"ProxyUsername", -1, ControlKind::Edit, 130, 79, 265, 22, ""},
      {"PasswordLabel", -1, ControlKind::Label, 20, 109, 105, 16, "Jelszó"},
      {"ProxyPassword", -1, ControlKind::Edit, 130, 105, 265, 22, ""},
      {"OKButton", -1, ControlKind::Button, 251, 136, 75, 25, "OK", true, false},
      {"CancelButton", -1, ControlKind::Button, 332, 136, 75, 25, "Mégsem", true, false},
  };
  return specs;
}

std::string TextOf(HWND control) {
  const int n = GetWindowTextLengthW(control);
  std::wstring text(size_t(n) + 1, L'\0');
  text.resize(size_t(GetWindowTextW(control, text.data(), n + 1)));
  return Narrow(text);
}

class ProxyForm : public wizard::EventSink {
 public:
  explicit ProxyForm(model::ProxySettings& values) : values_(values) {}
  bool Run(HWND owner);

  void OnEvent(const std::string& control, wizard::ControlEvent event) override {
    if (event != wizard::ControlEvent::Click) return;
    if (control == "OKButton") ReadFields(), result_ = 1;
    if (control == "CancelButton") result_ = 2;
  }
  wizard::ItemDrawing DrawItem(const std::string&, int) override { return {}; }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void CreateControls();
  void ReadFields();

  model::ProxySettings& values_;
  ControlSet controls_;
  HWND hwnd_ = nullptr;
  int result_ = 0;  // 1 OK, 2 Cancel
};

void ProxyForm::CreateControls() {
  controls_.Create(hwnd_, Controls(), kFirstControlId, [&](const ControlSpec&) { return hwnd_; });
  SetWindowTextW(controls_.Find("ProxyServer"), Wide(values_.server.value_or("")).c_str());
  SetWindowTextW(controls_.Find("ProxyUsername"), Wide(values_.username.value_or("")).c_str());
  SetWindowTextW(controls_.Find("ProxyPassword"), Wide(values_.password.value_or("")).c_str());
  HWND password = controls_.Find("ProxyPassword");
  SendMessageW(password, EM_SETPASSWORDCHAR, WPARAM(L'*'), 0);
  // The port is an integer spin field without bounds: the arrows step it, any
  // integer may be typed.
  HWND port = controls_.Find("ProxyPort");
  SetWindowTextW(port, std::to_wstring(int32_t(values_.port.value_or(0))).c_str());
  HWND spin = CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_SETBUDDYINT |
                                                         UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                              0, 0, 0, 0, hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(spin, UDM_SETBUDDY, WPARAM(port), 0);
  SendMessageW(spin, UDM_SETRANGE32, WPARAM(INT_MIN), LPARAM(INT_MAX));
  SetFocus(controls_.Find("ProxyServer"));
}

void ProxyForm::ReadFields() {
  values_.server = TextOf(controls_.Find("ProxyServer"));
  values_.port = uint32_t(ParseIntegerOr(Trim(TextOf(controls_.Find("ProxyPort"))), 0));
  values_.username = TextOf(controls_.Find("ProxyUsername"));
  values_.password = TextOf(controls_.Find("ProxyPassword"));
}

LRESULT CALLBACK ProxyForm::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE)
    SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
  auto* form = reinterpret_cast<ProxyForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (form && form->hwnd_) {
    switch (msg) {
      case WM_COMMAND:
        if (!lp && LOWORD(wp) == IDCANCEL) form->result_ = 2;  // Escape
        if (lp) form->controls_.Command(HWND(lp), HIWORD(wp), *form);
        return 0;
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLOREDIT:
      case WM_CTLCOLORBTN:
        return form->controls_.ControlColour(HDC(wp), HWND(lp));
      case WM_CLOSE:
        form->result_ = 2;
        return 0;
    }
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

bool ProxyForm::Run(HWND owner) {
  RegisterWindowClasses();
  using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  if (auto init = SystemProc<InitFn>(L"comctl32.dll", "InitCommonControlsEx")) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    init(&icc);
  }
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpfnWndProc = Proc;
  wc.lpszClassName = kClassName;
  RegisterClassExW(&wc);  // fails harmlessly when already registered

  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  RECT frame{0, 0, controls_.Scale(kClientWidth), controls_.Scale(kClientHeight)};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  hwnd_ = CreateWindowExW(exStyle, kClassName, Wide(kCaption).c_str(), style,
                          (GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2,
                          width, height, owner, nullptr, GetModuleHandleW(nullptr), this);
  if (!hwnd_) return false;
  CreateControls();
  if (owner) EnableWindow(owner, FALSE);
  ShowWindow(hwnd_, SW_SHOW);
  MSG msg;
  bool quit = false;
  while (result_ == 0) {
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
      quit = true;
      break;
    }
    if (!IsDialogMessageW(hwnd_, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  if (owner) {
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
  }
  controls_.Forget();
  DestroyWindow(hwnd_);
  if (quit) PostQuitMessage(int(msg.wParam));
  return result_ == 1;
}

}  // namespace

bool ShowProxySettingsForm(HWND owner, model::ProxySettings& values) {
  model::ProxySettings fields = values;
  ProxyForm form(fields);
  if (!form.Run(owner)) return false;
  values = fields;
  return true;
}

}  // namespace ostravel::win32
