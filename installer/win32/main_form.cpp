#include "installer/win32/main_form.h"

#include "base/win32/windows_clean.h"

#include <commctrl.h>
#include <shellapi.h>

#include "base/win32/undef_macros.h"

#include <map>
#include <memory>

#include "base/win32/system_library.h"
#include "base/win32/wide.h"
#include "installer/win32/app_windows.h"
#include "installer/win32/control_names_win32.h"
#include "installer/win32/gdi_handles.h"
#include "installer/win32/main_form_layout.h"
#include "installer/win32/message_form.h"
#include "installer/win32/strings_label.h"
#include "installer/wizard/control_names.h"
#include "installer/wizard/wizard_controller.h"

namespace ostravel::win32 {

namespace {

namespace ctl = wizard::ctl;
constexpr const wchar_t* kPanelClass = L"TOstravelPanel";
constexpr UINT kSilentStart = WM_APP + 1;
constexpr int kFirstControlId = 100;

void InitCommonControlsOnce() {
  static bool done = false;
  if (done) return;
  done = true;
  using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  if (auto init = SystemProc<InitFn>(L"comctl32.dll", "InitCommonControlsEx")) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    init(&icc);
  }
}

class MainForm final : public wizard::WizardView {
 public:
  MainForm(platform::Platform& machine, ProcessState& process)
      : machine_(machine), process_(process),
        variables_(machine.registry, process.windowsFolder, process.systemFolder, process.tempFolder,
                   process.sourceFolder),
        log_(machine.files, machine.system, process.tempFolder),
        dialogs_(static_cast<Win32MessageDialogs&>(AppMessageDialogs())),
        controller_(*this, wizard::WizardServices{process, machine, variables_, log_, dialogs_}) {}

  void ShowModal();

  // WizardView.
  void SetText(const std::string& control, const std::string& text) override;
  std::string Text(const std::string& control) override;
  void SetEnabled(const std::string& control, bool enabled) override {
    if (HWND h = Find(control)) EnableWindow(h, enabled);
  }
  bool Enabled(const std::string& control) override {
    HWND h = Find(control);
    return h && IsWindowEnabled(h);
  }
  void SetVisible(const std::string& control, bool visible) override {
    if (HWND h = Find(control)) ShowWindow(h, visible ? SW_SHOWNA : SW_HIDE);
  }
  bool Visible(const std::string& control) override {
    HWND h = Find(control);
    return h && (GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE);
  }
  void SetChecked(const std::string& control, bool checked) override {
    if (HWND h = Find(control)) SendMessageW(h, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  bool Checked(const std::string& control) override {
    HWND h = Find(control);
    return h && SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  void SetItems(const std::string& control, const std::vector<std::string>& items) override;
  std::vector<std::string> Items(const std::string& control) override;
  void SetSelectedIndex(const std::string& control, int index) override;
  int SelectedIndex(const std::string& control) override;
  void ShowPage(wizard::Page page) override;
  void SetCaption(const std::string& caption) override {
    SetWindowTextW(hwnd_, Wide(caption).c_str());
    dialogs_.SetApplicationTitle(caption);
  }
  void UseUninstallIcon() override;
  void ProcessMessages() override;
  void CloseWindow() override {
    closeRequested_ = true;
    PostMessageW(hwnd_, WM_NULL, 0, 0);
  }
  void ShellOpen(const std::string& target, const std::string& workingFolder) override {
    ShellExecuteW(hwnd_, L"open", Wide(target).c_str(), nullptr,
                  workingFolder.empty() ? nullptr : Wide(workingFolder).c_str(), SW_SHOWMAXIMIZED);
  }

 private:
  static LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static void RegisterClasses();
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  void Command(HWND control, int code);
  void DrawItem(const DRAWITEMSTRUCT& item);
  LRESULT ControlColour(HDC dc, HWND control);
  void CreateControls();
  HWND CreateControl(const ControlEntry& entry, int id, HWND parent);
  HWND Find(const std::string& name) const {
    auto it = controls_.find(name);
    return it == controls_.end() ? nullptr : it->second;
  }
  const ControlEntry* EntryOf(HWND control) const {
    auto it = entries_.find(control);
    return it == entries_.end() ? nullptr : it->second;
  }
  bool IsCombo(const ControlEntry* s) const {
    return s && (s->kind == ControlKind::DropDown || s->kind == ControlKind::OwnerDrawDropDown);
  }
  int S(int value) const { return MulDiv(value, dpi_, 96); }

  platform::Platform& machine_;
  ProcessState& process_;
  PathVariables variables_;
  DiagnosticLog log_;
  Win32MessageDialogs& dialogs_;
  wizard::WizardController controller_;
  HWND hwnd_ = nullptr;
  HWND owner_ = nullptr;
  HWND pages_[wizard::kPageCount] = {};
  std::map<std::string, HWND> controls_;
  std::map<HWND, const ControlEntry*> entries_;
  UniqueFont font_, boldFont_, smallFont_;
  UniqueBrush whiteBrush_;
  UniqueBitmap welcomeBitmap_;
  UniqueIcon uninstallIcon_, uninstallSmallIcon_;
  bool closeRequested_ = false;
  bool activated_ = false;
  int dpi_ = 96;
};

void MainForm::RegisterClasses() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpfnWndProc = FormProc;
  wc.lpszClassName = kMainFormClass;
  wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
  RegisterClassExW(&wc);
  wc.lpfnWndProc = PanelProc;
  wc.lpszClassName = kPanelClass;
  wc.hIcon = nullptr;
  RegisterClassExW(&wc);
  RegisterStringsLabelClass();
}

void MainForm::ShowModal() {
  InitCommonControlsOnce();
  RegisterClasses();
  {
    HDC screen = GetDC(nullptr);
    dpi_ = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
  }
  font_ = CreateMessageFont();
  boldFont_ = CreateMessageFont(true);
  LOGFONTW small{};
  GetObjectW(font_.get(), sizeof small, &small);
  small.lfHeight = small.lfHeight * 7 / 8;
  smallFont_ = UniqueFont(CreateFontIndirectW(&small));
  whiteBrush_ = UniqueBrush(CreateSolidBrush(RGB(255, 255, 255)));

  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  RECT frame{0, 0, S(kClientWidth), S(kClientHeight)};
  AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTROLPARENT);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  owner_ = GetActiveWindow();
  hwnd_ = CreateWindowExW(WS_EX_CONTROLPARENT, kMainFormClass, L"Ostravel", style,
                          (GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2,
                          width, height, owner_, nullptr, GetModuleHandleW(nullptr), this);
  if (!hwnd_) return;
  CreateControls();
  controller_.Guarded([&] { controller_.FormCreate(); });

  if (owner_) EnableWindow(owner_, FALSE);
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  MSG msg;
  bool quit = false;
  while (!closeRequested_) {
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
      quit = true;
      break;
    }
    if (!IsDialogMessageW(hwnd_, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  if (owner_) EnableWindow(owner_, TRUE);
  controller_.Guarded([&] { controller_.FormDestroy(); });
  DestroyWindow(hwnd_);
  hwnd_ = nullptr;
  if (quit) PostQuitMessage(int(msg.wParam));
}

HWND MainForm::CreateControl(const ControlEntry& entry, int id, HWND parent) {
  const wchar_t* cls = L"STATIC";
  DWORD style = WS_CHILD | (entry.visible ? WS_VISIBLE : 0);
  DWORD exStyle = 0;
  switch (entry.kind) {
    case ControlKind::Label:
    case ControlKind::GreyLabel:
    case ControlKind::TitleLabel: style |= SS_LEFT | SS_NOPREFIX; break;
    case ControlKind::Button: cls = L"BUTTON"; style |= BS_PUSHBUTTON; break;
    case ControlKind::CheckBox: cls = L"BUTTON"; style |= BS_AUTOCHECKBOX; break;
    case ControlKind::Edit: cls = L"EDIT"; style |= WS_BORDER | ES_AUTOHSCROLL; exStyle = WS_EX_CLIENTEDGE; break;
    case ControlKind::ReadOnlyEdit:
      cls = L"EDIT";
      style |= ES_AUTOHSCROLL | ES_READONLY | ES_UPPERCASE;
      exStyle = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::Memo:
      cls = L"EDIT";
      style |= ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | ES_WANTRETURN;
      exStyle = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::DropDown: cls = L"COMBOBOX"; style |= CBS_DROPDOWNLIST | WS_VSCROLL; break;
    case ControlKind::OwnerDrawDropDown:
      cls = L"COMBOBOX";
      style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL;
      break;
    case ControlKind::ListBox: cls = L"LISTBOX"; style |= LBS_NOTIFY | WS_VSCROLL; exStyle = WS_EX_CLIENTEDGE; break;
    case ControlKind::OwnerDrawListBox:
      cls = L"LISTBOX";
      style |= LBS_NOTIFY | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT;
      if (std::string(entry.name) == ctl::kIconsList) style |= LBS_SORT;
      exStyle = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::ListView:
      cls = WC_LISTVIEWW;
      style |= LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
      exStyle = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::ProgressBar: cls = PROGRESS_CLASSW; break;
    case ControlKind::GroupBox: cls = L"BUTTON"; style |= BS_GROUPBOX; break;
    case ControlKind::Panel: style |= SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX | SS_SUNKEN; break;
    case ControlKind::Picture: style |= SS_BITMAP; break;
    case ControlKind::TaggedLabel: cls = kStringsLabelClass; break;
  }
  if (entry.tabStop && (entry.kind == ControlKind::Button || entry.kind == ControlKind::CheckBox ||
                       entry.kind == ControlKind::Edit || entry.kind == ControlKind::ReadOnlyEdit ||
                       entry.kind == ControlKind::Memo || IsCombo(&entry) || entry.kind == ControlKind::ListBox ||
                       entry.kind == ControlKind::OwnerDrawListBox || entry.kind == ControlKind::ListView))
    style |= WS_TABSTOP;
  if (std::string(entry.name) == ctl::kProcessingPanel) style = (style & ~SS_SUNKEN) | WS_DLGFRAME;
  const int top = entry.page < 0 ? entry.y : entry.y;
  HWND h = CreateWindowExW(exStyle, cls, Wide(entry.text).c_str(), style, S(entry.x), S(top), S(entry.width),
                           S(entry.height), parent, reinterpret_cast<HMENU>(intptr_t(id)), GetModuleHandleW(nullptr),
                           nullptr);
  if (!h) return nullptr;
  HFONT font = entry.kind == ControlKind::TitleLabel ? boldFont_.get()
               : entry.kind == ControlKind::GreyLabel ? smallFont_.get()
                                                      : font_.get();
  SendMessageW(h, WM_SETFONT, WPARAM(font), FALSE);
  if (entry.kind == ControlKind::GreyLabel && std::string(entry.name) == ctl::kBuildInfoLabel)
    SetWindowLongW(h, GWL_STYLE, (GetWindowLongW(h, GWL_STYLE) & ~SS_LEFT) | SS_RIGHT);
  if (entry.kind == ControlKind::ListView)
    SendMessageW(h, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  if (entry.kind == ControlKind::TaggedLabel) SetStringsLabelLines(h, "");
  NameControl(h, entry.name);
  controls_[entry.name] = h;
  entries_[h] = &entry;
  return h;
}

void MainForm::CreateControls() {
  HWND notebook = CreateWindowExW(WS_EX_CONTROLPARENT, kPanelClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                                  S(kNotebookTop), S(kClientWidth), S(kNotebookHeight), hwnd_, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
  NameControl(notebook, ctl::kNotebook);
  controls_[ctl::kNotebook] = notebook;
  for (int p = 0; p < wizard::kPageCount; ++p) {
    pages_[p] = CreateWindowExW(WS_EX_CONTROLPARENT, kPanelClass, L"", WS_CHILD | WS_CLIPCHILDREN, 0, 0,
                                S(kClientWidth), S(kNotebookHeight), notebook, nullptr, GetModuleHandleW(nullptr),
                                nullptr);
    NameControl(pages_[p], wizard::PageName(wizard::Page(p)));
  }
  // The notebook's design-time page.
  ShowWindow(pages_[int(wizard::Page::Destination)], SW_SHOWNA);
  for (HWND line : {CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ETCHEDHORZ, 0, S(kHeaderHeight),
                                    S(kClientWidth), 2, hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr),
                    CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ETCHEDHORZ, 0, S(372),
                                    S(kClientWidth), 2, hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr)})
    (void)line;
  const auto& entries = MainFormControls();
  for (size_t i = 0; i < entries.size(); ++i)
    CreateControl(entries[i], kFirstControlId + int(i), entries[i].page < 0 ? hwnd_ : pages_[entries[i].page]);
  // The processing panel floats above the pages.
  SetWindowPos(Find(ctl::kProcessingPanel), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  welcomeBitmap_ = UniqueBitmap(HBITMAP(
      LoadImageW(GetModuleHandleW(nullptr), L"WIZARD_BITMAP", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (welcomeBitmap_) SendMessageW(Find(ctl::kWelcomeImage), STM_SETIMAGE, IMAGE_BITMAP, LPARAM(welcomeBitmap_.get()));
  SetStringsLabelAutoHeight(Find(ctl::kSlInstallKind), false);
  SetStringsLabelAutoHeight(Find(ctl::kSlCustomize), false);
  SendMessageW(Find(ctl::kCxInstallKind), CB_SETITEMHEIGHT, 0, S(16));
  SendMessageW(Find(ctl::kCxInstallKind), CB_SETITEMHEIGHT, WPARAM(-1), S(18));
  SendMessageW(Find(ctl::kSummaryMemo), EM_SETTABSTOPS, 0, 0);
  SendMessageW(Find(ctl::kNeedLUMBRAIcon), BM_SETCHECK, BST_CHECKED, 0);
}

LRESULT CALLBACK MainForm::FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE)
    SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
  auto* form = reinterpret_cast<MainForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!form || !form->hwnd_) return DefWindowProcW(hwnd, msg, wp, lp);
  LRESULT result = 0;
  bool handled = false;
  // Every handler of the window runs inside the one catch that makes the error jump.
  form->controller_.Guarded([&] {
    result = form->HandleMessage(msg, wp, lp);
    handled = true;
  });
  return handled ? result : 0;
}

// Pages and the notebook hand their controls' notifications to the window.
LRESULT CALLBACK MainForm::PanelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      return SendMessageW(GetAncestor(hwnd, GA_ROOT), msg, wp, lp);
    case WM_NCDESTROY:
      ForgetControlName(hwnd);
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT MainForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (lp) Command(HWND(lp), HIWORD(wp));
      return 0;
    case WM_DRAWITEM:
      DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lp));
      return TRUE;
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
      const auto& entries = MainFormControls();
      const size_t index = item->CtlID - kFirstControlId;
      if (index < entries.size()) item->itemHeight = S(IsCombo(&entries[index]) ? 16 : 17);
      return TRUE;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
      return ControlColour(HDC(wp), HWND(lp));
    case WM_ERASEBKGND: {
      RECT client, header;
      GetClientRect(hwnd_, &client);
      FillRect(HDC(wp), &client, GetSysColorBrush(COLOR_BTNFACE));
      header = {0, 0, client.right, S(kHeaderHeight)};
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
      controller_.FormActivate();
      return 0;
    case WM_CLOSE:
      controller_.FormClose();
      return 0;
    case WM_DESTROY:
      for (auto& [name, h] : controls_) ForgetControlName(h);
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

void MainForm::Command(HWND control, int code) {
  const ControlEntry* entry = EntryOf(control);
  if (!entry) return;
  using Handler = void (wizard::WizardController::*)();
  static const struct {
    const char* name;
    int code;
    Handler handler;
  } kHandlers[] = {
      {ctl::kBackButton, BN_CLICKED, &wizard::WizardController::BackButtonClick},
      {ctl::kNextButton, BN_CLICKED, &wizard::WizardController::NextButtonClick},
      {ctl::kCancelButton, BN_CLICKED, &wizard::WizardController::CancelButtonClick},
      {ctl::kInformationButton, BN_CLICKED, &wizard::WizardController::InformationButtonClick},
      {ctl::kWebBrowserButton, BN_CLICKED, &wizard::WizardController::WebBrowserButtonClick},
      {ctl::kCxProgramYear, CBN_SELCHANGE, &wizard::WizardController::cxProgramYearSelect},
  };
  for (const auto& h : kHandlers)
    if (code == h.code && std::string(entry->name) == h.name) (controller_.*h.handler)();
}

void MainForm::DrawItem(const DRAWITEMSTRUCT& item) {
  const ControlEntry* entry = EntryOf(item.hwndItem);
  if (!entry) return;
  const bool selected = item.itemState & ODS_SELECTED;
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (item.itemID == UINT(-1)) return;
  const bool combo = IsCombo(entry);
  const UINT lengthMsg = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, textMsg = combo ? CB_GETLBTEXT : LB_GETTEXT;
  const LRESULT length = SendMessageW(item.hwndItem, lengthMsg, item.itemID, 0);
  if (length < 0) return;
  std::wstring text(size_t(length) + 1, L'\0');
  SendMessageW(item.hwndItem, textMsg, item.itemID, LPARAM(text.data()));
  text.resize(size_t(length));
  // Kinds carry "caption;description": the list shows the caption only.
  if (combo) text = text.substr(0, text.find(L';'));
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  TextOutW(item.hDC, item.rcItem.left + 1, item.rcItem.top + (combo ? 1 : 2), text.c_str(), int(text.size()));
  if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
}

LRESULT MainForm::ControlColour(HDC dc, HWND control) {
  const ControlEntry* entry = EntryOf(control);
  if (entry && entry->page < 0 &&
      (std::string(entry->name) == ctl::kInstallTitleLabel || std::string(entry->name) == ctl::kInstallDescriptionLabel)) {
    SetBkColor(dc, RGB(255, 255, 255));
    return LRESULT(whiteBrush_.get());
  }
  if (entry && entry->kind == ControlKind::Memo) {
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return LRESULT(GetSysColorBrush(COLOR_WINDOW));
  }
  if (entry && entry->kind == ControlKind::GreyLabel) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return LRESULT(GetSysColorBrush(COLOR_BTNFACE));
}

void MainForm::SetText(const std::string& control, const std::string& text) {
  HWND h = Find(control);
  const ControlEntry* entry = EntryOf(h);
  if (!h || !entry) return;
  if (entry->kind == ControlKind::TaggedLabel) return SetStringsLabelLines(h, text);
  if (IsCombo(entry)) {
    SendMessageW(h, CB_SETCURSEL, WPARAM(SendMessageW(h, CB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(Wide(text).c_str()))), 0);
    return;
  }
  SetWindowTextW(h, Wide(text).c_str());
}

std::string MainForm::Text(const std::string& control) {
  HWND h = Find(control);
  const ControlEntry* entry = EntryOf(h);
  if (!h || !entry) return "";
  if (entry->kind == ControlKind::TaggedLabel) return StringsLabelLines(h);
  const int length = GetWindowTextLengthW(h);
  std::wstring text(size_t(length) + 1, L'\0');
  const int got = GetWindowTextW(h, text.data(), length + 1);
  text.resize(size_t(got > 0 ? got : 0));
  return Narrow(text);
}

void MainForm::SetItems(const std::string& control, const std::vector<std::string>& items) {
  HWND h = Find(control);
  const ControlEntry* entry = EntryOf(h);
  if (!h || !entry) return;
  const bool combo = IsCombo(entry);
  SendMessageW(h, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
  for (const std::string& item : items)
    SendMessageW(h, combo ? CB_ADDSTRING : LB_ADDSTRING, 0, LPARAM(Wide(item).c_str()));
}

std::vector<std::string> MainForm::Items(const std::string& control) {
  std::vector<std::string> items;
  HWND h = Find(control);
  const ControlEntry* entry = EntryOf(h);
  if (!h || !entry) return items;
  const bool combo = IsCombo(entry);
  const LRESULT count = SendMessageW(h, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(h, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, WPARAM(i), 0);
    std::wstring text(size_t(length > 0 ? length : 0) + 1, L'\0');
    SendMessageW(h, combo ? CB_GETLBTEXT : LB_GETTEXT, WPARAM(i), LPARAM(text.data()));
    text.resize(size_t(length > 0 ? length : 0));
    items.push_back(Narrow(text));
  }
  return items;
}

void MainForm::SetSelectedIndex(const std::string& control, int index) {
  HWND h = Find(control);
  if (h) SendMessageW(h, IsCombo(EntryOf(h)) ? CB_SETCURSEL : LB_SETCURSEL, WPARAM(index), 0);
}

int MainForm::SelectedIndex(const std::string& control) {
  HWND h = Find(control);
  return h ? int(SendMessageW(h, IsCombo(EntryOf(h)) ? CB_GETCURSEL : LB_GETCURSEL, 0, 0)) : -1;
}

void MainForm::ShowPage(wizard::Page page) {
  for (int p = 0; p < wizard::kPageCount; ++p)
    if (p != int(page)) ShowWindow(pages_[p], SW_HIDE);
  ShowWindow(pages_[int(page)], SW_SHOWNA);
}

void MainForm::UseUninstallIcon() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  uninstallIcon_ = UniqueIcon(HICON(LoadImageW(instance, L"UNINSTALLICON", IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                               GetSystemMetrics(SM_CYICON), 0)));
  uninstallSmallIcon_ = UniqueIcon(HICON(LoadImageW(instance, L"UNINSTALLICON", IMAGE_ICON,
                                                    GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
  if (uninstallIcon_) SendMessageW(hwnd_, WM_SETICON, ICON_BIG, LPARAM(uninstallIcon_.get()));
  if (uninstallSmallIcon_) SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, LPARAM(uninstallSmallIcon_.get()));
}

void MainForm::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(int(msg.wParam));
      return;
    }
    if (!hwnd_ || !IsDialogMessageW(hwnd_, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

}  // namespace

void ShowInstallerMainForm(platform::Platform& platform, ProcessState& state) {
  MainForm form(platform, state);
  form.ShowModal();
}

void ShowWizardModal(platform::Platform& platform, ProcessState& state) { ShowInstallerMainForm(platform, state); }

}  // namespace ostravel::win32
