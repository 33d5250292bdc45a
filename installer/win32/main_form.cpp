#include "installer/win32/main_form.h"

#include "base/win32/windows_clean.h"

#include <shellapi.h>

#include "base/win32/undef_macros.h"

#include <functional>
#include <memory>
#include <optional>

#include "base/win32/wide.h"
#include "installer/win32/app_windows.h"
#include "installer/win32/control_host.h"
#include "installer/win32/control_names_win32.h"
#include "installer/win32/message_form.h"
#include "installer/win32/modal_form.h"
#include "installer/win32/modal_loop.h"
#include "installer/win32/scroll_box.h"
#include "installer/win32/strings_label.h"
#include "installer/wizard/control_names.h"

namespace ostravel::win32 {

namespace {

namespace ctl = wizard::ctl;
using wizard::FormId;
constexpr UINT kSilentStart = WM_APP + 1;
constexpr int kFirstControlId = 100;

// TInstallerMainForm: builds its controls from the table, shows the notebook page it
// is asked for and forwards everything else to the wizard's logic.
class MainForm final : public Win32ControlView<wizard::WizardView> {
 public:
  MainForm() : Win32ControlView(controls_) {}
  void ShowModal(wizard::WizardFactory& factory);

  void ShowPage(wizard::Page page) override;
  void SetCaption(const std::string& caption) override {
    SetWindowTextW(hwnd_, Wide(caption).c_str());
    static_cast<Win32MessageDialogs&>(AppMessageDialogs()).SetApplicationTitle(caption);
  }
  std::string Caption() override {
    std::wstring text(size_t(GetWindowTextLengthW(hwnd_)) + 1, L'\0');
    text.resize(size_t(GetWindowTextW(hwnd_, text.data(), int(text.size()))));
    return Narrow(text);
  }
  void UseUninstallIcon() override;
  void CloseWindow() override {
    closeRequested_ = true;
    PostMessageW(hwnd_, WM_NULL, 0, 0);
  }
  void ShellOpen(const std::string& target, const std::string& workingFolder) override {
    ShellExecuteW(hwnd_, L"open", Wide(target).c_str(), nullptr,
                  workingFolder.empty() ? nullptr : Wide(workingFolder).c_str(), SW_SHOWMAXIMIZED);
  }
  void MinimiseApplication() override { ShowWindow(hwnd_, SW_MINIMIZE); }
  void RestoreApplication() override { ShowWindow(hwnd_, SW_RESTORE); }
  void ShowSystemWarning(const std::string& text) override {
    MessageBoxW(hwnd_, Wide(text).c_str(), Wide(Caption()).c_str(), MB_OK | MB_ICONWARNING);
  }
  void ShowSystemError(const std::string& text) override {
    MessageBoxW(hwnd_, Wide(text).c_str(), L"Error", MB_OK | MB_ICONERROR);
  }
  int ShowModalForm(FormId form, wizard::FormLogic& logic) override { return RunModalForm(hwnd_, form, logic); }
  void StartTimer(int intervalMs, std::function<void()> tick) override {
    timerTick_ = std::move(tick);
    SetTimer(hwnd_, kTimerId, UINT(intervalMs), nullptr);
  }
  void StopTimer() override {
    if (timerTick_) KillTimer(hwnd_, kTimerId);
    timerTick_ = nullptr;
  }

 private:
  static LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static void RegisterFormClass();
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  void CreateControls();
  void ReportError(const char* what);

  ControlSet controls_;
  std::unique_ptr<wizard::WizardSink> wizard_;
  HWND hwnd_ = nullptr;
  HWND owner_ = nullptr;
  HWND pages_[wizard::kPageCount] = {};
  UniqueBrush whiteBrush_;
  UniqueBitmap welcomeBitmap_;
  UniqueIcon uninstallIcon_, uninstallSmallIcon_;
  bool closeRequested_ = false;
  bool activated_ = false;
  static constexpr UINT_PTR kTimerId = 1;
  std::function<void()> timerTick_;
};

void MainForm::RegisterFormClass() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  RegisterWindowClasses();
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpfnWndProc = FormProc;
  wc.lpszClassName = kMainFormClass;
  wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
  RegisterClassExW(&wc);
}

void MainForm::ShowModal(wizard::WizardFactory& factory) {
  RegisterFormClass();
  whiteBrush_ = UniqueBrush(CreateSolidBrush(RGB(255, 255, 255)));
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  RECT frame{0, 0, controls_.Scale(wizard::kClientWidth), controls_.Scale(wizard::kClientHeight)};
  AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTROLPARENT);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  owner_ = GetActiveWindow();
  hwnd_ = CreateWindowExW(WS_EX_CONTROLPARENT, kMainFormClass, L"Ostravel", style,
                          (GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2,
                          width, height, owner_, nullptr, GetModuleHandleW(nullptr), this);
  if (!hwnd_) return;
  CreateControls();
  AnswerSentMessages();
  wizard_ = factory.CreateWizard(*this);
  controls_.SetSink(wizard_.get());
  wizard_->FormCreate();

  std::optional<int> quit;
  {
    DisabledOwner disabled(owner_);
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    quit = RunModalLoop(hwnd_, [this] { return closeRequested_; });
  }
  wizard_->FormDestroy();
  controls_.SetSink(nullptr);
  controls_.Forget();
  DestroyWindow(hwnd_);
  hwnd_ = nullptr;
  wizard_.reset();
  if (quit) PostQuitMessage(*quit);
}

void MainForm::CreateControls() {
  HWND notebook =
      CreateWindowExW(WS_EX_CONTROLPARENT, kPanelClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                      0, controls_.Scale(wizard::kNotebookTop), controls_.Scale(wizard::kClientWidth),
                      controls_.Scale(wizard::kNotebookHeight), hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
  controls_.Adopt(ctl::kNotebook, notebook);
  for (int p = 0; p < wizard::kPageCount; ++p) {
    pages_[p] = CreateWindowExW(WS_EX_CONTROLPARENT, kPanelClass, L"", WS_CHILD | WS_CLIPCHILDREN, 0, 0,
                                controls_.Scale(wizard::kClientWidth), controls_.Scale(wizard::kNotebookHeight),
                                notebook, nullptr, GetModuleHandleW(nullptr), nullptr);
    NameControl(pages_[p], wizard::PageName(wizard::Page(p)));
  }
  // The notebook's design-time page.
  ShowWindow(pages_[int(wizard::Page::Destination)], SW_SHOWNA);
  for (int y : {wizard::kHeaderHeight, 372})
    CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ETCHEDHORZ, 0, controls_.Scale(y),
                    controls_.Scale(wizard::kClientWidth), 2, hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
  controls_.Create(hwnd_, wizard::FormControls(FormId::MainForm), kFirstControlId,
                   [&](const wizard::ControlSpec& spec) { return spec.page < 0 ? hwnd_ : pages_[spec.page]; });

  // What the table cannot say: the floating panel, alignments, item heights, the picture.
  HWND panel = controls_.Find(ctl::kProcessingPanel);
  SetWindowLongW(panel, GWL_STYLE, (GetWindowLongW(panel, GWL_STYLE) & ~SS_SUNKEN) | WS_DLGFRAME);
  SetWindowPos(panel, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  HWND build = controls_.Find(ctl::kBuildInfoLabel);
  SetWindowLongW(build, GWL_STYLE, (GetWindowLongW(build, GWL_STYLE) & ~SS_LEFT) | SS_RIGHT);
  welcomeBitmap_ = UniqueBitmap(
      HBITMAP(LoadImageW(GetModuleHandleW(nullptr), L"WIZARD_BITMAP", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (welcomeBitmap_)
    SendMessageW(controls_.Find(ctl::kWelcomeImage), STM_SETIMAGE, IMAGE_BITMAP, LPARAM(welcomeBitmap_.get()));
  SetStringsLabelAutoHeight(controls_.Find(ctl::kSlInstallKind), false);
  // A long component description scrolls inside its panel.
  SetStringsLabelAutoHeight(controls_.Find(ctl::kSlCustomize), true);
  WrapInScrollBox(controls_.Find(ctl::kSlCustomize));
  HWND kinds = controls_.Find(ctl::kCxInstallKind);
  SendMessageW(kinds, CB_SETITEMHEIGHT, 0, controls_.Scale(16));
  SendMessageW(kinds, CB_SETITEMHEIGHT, WPARAM(-1), controls_.Scale(18));
  // The summary indents its blocks with tabs: half the usual stops keep them close.
  const DWORD summaryTab = 16;
  SendMessageW(controls_.Find(ctl::kSummaryMemo), EM_SETTABSTOPS, 1, LPARAM(&summaryTab));
}

LRESULT CALLBACK MainForm::FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE)
    SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
  auto* form = reinterpret_cast<MainForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!form || !form->hwnd_) return DefWindowProcW(hwnd, msg, wp, lp);
  // The logic guards its own handlers; nothing may unwind through the system's code.
  try {
    return form->HandleMessage(msg, wp, lp);
  } catch (const std::exception& e) {
    form->ReportError(e.what());
  } catch (...) {
    form->ReportError("Unknown error");
  }
  return 0;
}

void MainForm::ReportError(const char* what) {
  if (wizard_) wizard_->ReportError(what);
}

LRESULT MainForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  wizard::WizardSink* sink = wizard_.get();
  if (std::optional<LRESULT> forwarded = controls_.Forward(msg, wp, lp, sink)) return *forwarded;
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT client, header;
      GetClientRect(hwnd_, &client);
      FillRect(HDC(wp), &client, GetSysColorBrush(COLOR_BTNFACE));
      header = {0, 0, client.right, controls_.Scale(wizard::kHeaderHeight)};
      FillRect(HDC(wp), &header, whiteBrush_.get());
      return 1;
    }
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE && !activated_) {
        activated_ = true;
        PostMessageW(hwnd_, kSilentStart, 0, 0);
      }
      break;
    case kSilentStart:
      if (sink) sink->FormActivate();
      return 0;
    case WM_CLOSE:
      if (sink) sink->FormClose();
      return 0;
    case WM_TIMER:
      if (wp == kTimerId && timerTick_) {
        auto tick = timerTick_;  // the tick may stop the timer
        tick();
      }
      return 0;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

void MainForm::ShowPage(wizard::Page page) {
  for (int p = 0; p < wizard::kPageCount; ++p)
    if (p != int(page)) ShowWindow(pages_[p], SW_HIDE);
  ShowWindow(pages_[int(page)], SW_SHOWNA);
}

void MainForm::UseUninstallIcon() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  uninstallIcon_ = UniqueIcon(HICON(
      LoadImageW(instance, L"UNINSTALLICON", IMAGE_ICON, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0)));
  uninstallSmallIcon_ = UniqueIcon(HICON(LoadImageW(instance, L"UNINSTALLICON", IMAGE_ICON,
                                                    GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
  if (uninstallIcon_) SendMessageW(hwnd_, WM_SETICON, ICON_BIG, LPARAM(uninstallIcon_.get()));
  if (uninstallSmallIcon_) SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, LPARAM(uninstallSmallIcon_.get()));
}

}  // namespace

void ShowWizardModal(wizard::WizardFactory& factory) {
  MainForm form;
  form.ShowModal(factory);
}

}  // namespace ostravel::win32
