#include "installer/win32/modal_form.h"

#include "base/win32/wide.h"
#include "installer/win32/control_host.h"
#include "installer/wizard/control_names.h"

namespace ostravel::win32 {

namespace {

constexpr int kFirstControlId = 100;
constexpr int kModalCancel = 2;

struct FormClass {
  const wchar_t* className;
  const char* caption;
};

FormClass ClassOf(wizard::FormId form) {
  switch (form) {
    case wizard::FormId::DestinationChange: return {L"TDestinationChangeForm", "Select Destination"};
    case wizard::FormId::MainForm: break;
  }
  return {L"TOstravelForm", ""};
}

class ModalForm final : public Win32ControlView<wizard::FormView> {
 public:
  ModalForm(wizard::FormId form, wizard::FormLogic& logic) : Win32ControlView(controls_), form_(form), logic_(logic) {}
  int Run(HWND owner);

  void SetCaption(const std::string& caption) override { SetWindowTextW(hwnd_, Wide(caption).c_str()); }
  void EndModal(int modalResult) override {
    result_ = modalResult;
    PostMessageW(hwnd_, WM_NULL, 0, 0);
  }
  void ShowSystemWarning(const std::string& text) override {
    std::wstring caption(size_t(GetWindowTextLengthW(owner_)) + 1, L'\0');
    caption.resize(size_t(GetWindowTextW(owner_, caption.data(), int(caption.size()))));
    MessageBoxW(hwnd_, Wide(text).c_str(), caption.c_str(), MB_OK | MB_ICONWARNING);
  }

 private:
  static LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  void Cancel();

  ControlSet controls_;
  wizard::FormId form_;
  wizard::FormLogic& logic_;
  HWND hwnd_ = nullptr;
  HWND owner_ = nullptr;
  int result_ = 0;
};

int ModalForm::Run(HWND owner) {
  owner_ = owner;
  RegisterWindowClasses();
  const FormClass cls = ClassOf(form_);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpfnWndProc = FormProc;
  wc.lpszClassName = cls.className;
  RegisterClassExW(&wc);  // fails harmlessly when already registered

  const DWORD style = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
  const wizard::FormSize size = wizard::FormClientSize(form_);
  RECT frame{0, 0, controls_.Scale(size.clientWidth), controls_.Scale(size.clientHeight)};
  AdjustWindowRectEx(&frame, style, FALSE, WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  hwnd_ = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, cls.className, Wide(cls.caption).c_str(), style,
                          (GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2,
                          width, height, owner, nullptr, GetModuleHandleW(nullptr), this);
  if (!hwnd_) return kModalCancel;
  controls_.Create(hwnd_, wizard::FormControls(form_), kFirstControlId,
                   [&](const wizard::ControlSpec&) { return hwnd_; });
  controls_.SetSink(&logic_);
  logic_.FormCreate(*this);
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
  controls_.SetSink(nullptr);
  controls_.Forget();
  DestroyWindow(hwnd_);
  if (quit) PostQuitMessage(int(msg.wParam));
  return quit ? kModalCancel : result_;
}

void ModalForm::Cancel() {
  // The form's own Cancel button decides; without one, the dialog just ends.
  if (controls_.Find(wizard::ctl::destination_dialog::kCancelButton))
    logic_.OnEvent(wizard::ctl::destination_dialog::kCancelButton, wizard::ControlEvent::Click);
  else
    EndModal(kModalCancel);
}

LRESULT CALLBACK ModalForm::FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE)
    SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
  auto* form = reinterpret_cast<ModalForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!form || !form->hwnd_) return DefWindowProcW(hwnd, msg, wp, lp);
  try {
    return form->HandleMessage(msg, wp, lp);
  } catch (...) {
    // The logic guards its handlers; whatever escapes must not unwind through the system.
    return 0;
  }
}

LRESULT ModalForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (!lp && LOWORD(wp) == IDCANCEL) {
        Cancel();
        return 0;
      }
      // Enter presses the form's OK button.
      if (!lp && LOWORD(wp) == IDOK && controls_.Find(wizard::ctl::destination_dialog::kOKButton)) {
        logic_.OnEvent(wizard::ctl::destination_dialog::kOKButton, wizard::ControlEvent::Click);
        return 0;
      }
      if (lp) controls_.Command(HWND(lp), HIWORD(wp), logic_);
      return 0;
    case WM_NOTIFY:
      controls_.Notify(*reinterpret_cast<NMHDR*>(lp), logic_);
      return 0;
    case WM_DRAWITEM:
      controls_.DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lp), logic_);
      return TRUE;
    case WM_MEASUREITEM:
      controls_.MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lp));
      return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      return controls_.ControlColour(HDC(wp), HWND(lp));
    case WM_SETCURSOR:
      if (controls_.ShowsHourglass()) {
        ::SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_CLOSE:
      Cancel();
      return 0;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace

int RunModalForm(HWND owner, wizard::FormId form, wizard::FormLogic& logic) {
  ModalForm dialog(form, logic);
  return dialog.Run(owner);
}

}  // namespace ostravel::win32
