#include "installer/win32/modal_form.h"

#include <optional>

#include "base/win32/wide.h"
#include "installer/win32/control_host.h"
#include "installer/win32/modal_loop.h"

namespace ostravel::win32 {

namespace {

constexpr int kFirstControlId = 100;
constexpr int kModalCancel = 2;

class ModalForm final : public Win32ControlView<wizard::FormView> {
 public:
  ModalForm(wizard::FormId form, wizard::FormLogic& logic)
      : Win32ControlView(controls_), form_(form), frame_(wizard::FormFrameOf(form)), logic_(logic) {}
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
  bool Create(HWND owner);
  void Press(const char* button);
  void Cancel();

  ControlSet controls_;
  wizard::FormId form_;
  const wizard::FormFrame& frame_;
  wizard::FormLogic& logic_;
  HWND hwnd_ = nullptr;
  HWND owner_ = nullptr;
  int result_ = 0;
};

bool ModalForm::Create(HWND owner) {
  owner_ = owner;
  RegisterWindowClasses();
  const std::wstring className = Wide(frame_.className);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpfnWndProc = FormProc;
  wc.lpszClassName = className.c_str();
  RegisterClassExW(&wc);  // fails harmlessly when already registered

  const DWORD style = WS_POPUP | WS_CAPTION | DS_MODALFRAME | (frame_.closeBox ? WS_SYSMENU : 0);
  const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  RECT frame{0, 0, controls_.Scale(frame_.clientWidth), controls_.Scale(frame_.clientHeight)};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  hwnd_ = CreateWindowExW(exStyle, className.c_str(), Wide(frame_.caption).c_str(), style,
                          (GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2,
                          width, height, owner, nullptr, GetModuleHandleW(nullptr), this);
  if (!hwnd_) return false;
  controls_.Create(hwnd_, wizard::FormControls(form_), kFirstControlId,
                   [&](const wizard::ControlSpec&) { return hwnd_; });
  controls_.SetSink(&logic_);
  return true;
}

int ModalForm::Run(HWND owner) {
  if (!Create(owner)) return kModalCancel;
  logic_.FormCreate(*this);
  std::optional<int> quit;
  {
    DisabledOwner disabled(owner);
    ShowWindow(hwnd_, SW_SHOW);
    quit = RunModalLoop(hwnd_, [this] { return result_ != 0; });
  }
  controls_.SetSink(nullptr);
  controls_.Forget();
  DestroyWindow(hwnd_);
  if (quit) PostQuitMessage(*quit);
  return quit ? kModalCancel : result_;
}

void ModalForm::Press(const char* button) { logic_.OnEvent(button, wizard::ControlEvent::Click); }

void ModalForm::Cancel() {
  // The form's own Cancel button decides; without one, the dialog just ends.
  if (frame_.cancelButton && controls_.Find(frame_.cancelButton))
    Press(frame_.cancelButton);
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
  // Escape and Enter come as commands without a control.
  if (msg == WM_COMMAND && !lp && LOWORD(wp) == IDCANCEL) {
    Cancel();
    return 0;
  }
  if (msg == WM_COMMAND && !lp && LOWORD(wp) == IDOK) {
    if (frame_.enterButton && controls_.Find(frame_.enterButton)) Press(frame_.enterButton);
    return 0;
  }
  if (std::optional<LRESULT> forwarded = controls_.Forward(msg, wp, lp, &logic_)) return *forwarded;
  if (msg == WM_CLOSE) {
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
