#include "installer/win32/control_host.h"

#include <climits>

#include "base/win32/system_library.h"
#include "base/win32/wide.h"
#include "installer/win32/control_names_win32.h"
#include "installer/win32/strings_label.h"
#include "installer/wizard/control_names.h"
#include "installer/wizard/wizard_view.h"

namespace ostravel::win32 {

namespace {

using wizard::ControlKind;
using wizard::ControlSpec;
namespace ctl = wizard::ctl;

constexpr const wchar_t* kOldProcProperty = L"OstravelOldProc";
constexpr int kCheckBoxWidth = 16;

bool IsCombo(const ControlSpec* s) {
  return s && (s->kind == ControlKind::DropDown || s->kind == ControlKind::OwnerDrawDropDown);
}
bool IsList(const ControlSpec* s) {
  return s && (s->kind == ControlKind::ListBox || s->kind == ControlKind::OwnerDrawListBox ||
               s->kind == ControlKind::CheckList || s->kind == ControlKind::FolderTree);
}

void InitCommonControlsOnce() {
  static bool done = false;
  if (done) return;
  done = true;
  using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  if (auto init = SystemProc<InitFn>(L"comctl32.dll", "InitCommonControlsEx")) {
    INITCOMMONCONTROLSEX icc{sizeof icc,
                             ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_UPDOWN_CLASS};
    init(&icc);
  }
}

// Pages and panels hand their children's notifications to the top-level window.
LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
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

// Check lists: a click on an item's box, or the space bar, toggles the item.
LRESULT CALLBACK CheckListProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto old = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kOldProcProperty));
  auto* set = reinterpret_cast<ControlSet*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (set && set->ActiveSink()) {
    if (msg == WM_LBUTTONDOWN && short(LOWORD(lp)) < set->Scale(kCheckBoxWidth)) {
      const LRESULT hit = SendMessageW(hwnd, LB_ITEMFROMPOINT, 0, lp);
      if (HIWORD(hit) == 0) {
        const LRESULT result = CallWindowProcW(old, hwnd, msg, wp, lp);
        set->ToggleItem(hwnd, int(LOWORD(hit)), *set->ActiveSink());
        return result;
      }
    }
    if (msg == WM_KEYDOWN && wp == VK_SPACE) {
      const int index = int(SendMessageW(hwnd, LB_GETCARETINDEX, 0, 0));
      if (index >= 0) set->ToggleItem(hwnd, index, *set->ActiveSink());
      return 0;
    }
  }
  if (msg == WM_NCDESTROY) RemovePropW(hwnd, kOldProcProperty);
  return CallWindowProcW(old, hwnd, msg, wp, lp);
}

// Up and down arrows at the edit's right: they step the integer in it, and any
// integer may be typed.
void AddSpinArrows(HWND edit, HWND parent) {
  HWND spin = CreateWindowExW(
      0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
      0, 0, 0, 0, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(spin, UDM_SETBUDDY, WPARAM(edit), 0);
  SendMessageW(spin, UDM_SETRANGE32, WPARAM(INT_MIN), LPARAM(INT_MAX));
}

std::wstring WindowTextOf(HWND h) {
  const int length = GetWindowTextLengthW(h);
  std::wstring text(size_t(length) + 1, L'\0');
  const int got = GetWindowTextW(h, text.data(), length + 1);
  text.resize(size_t(got > 0 ? got : 0));
  return text;
}

std::wstring ItemTextOf(HWND h, bool combo, int index) {
  const LRESULT length = SendMessageW(h, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, WPARAM(index), 0);
  if (length < 0) return L"";
  std::wstring text(size_t(length) + 1, L'\0');
  SendMessageW(h, combo ? CB_GETLBTEXT : LB_GETTEXT, WPARAM(index), LPARAM(text.data()));
  text.resize(size_t(length));
  return text;
}

}  // namespace

void RegisterWindowClasses() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  InitCommonControlsOnce();
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpfnWndProc = PanelProc;
  wc.lpszClassName = kPanelClass;
  RegisterClassExW(&wc);
  RegisterStringsLabelClass();
}

bool PumpMessages(HWND dialogWindow) {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(int(msg.wParam));
      return false;
    }
    if (!dialogWindow || !IsDialogMessageW(dialogWindow, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return true;
}

void AnswerSentMessages() {
  MSG msg;
  PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

std::optional<LRESULT> ControlSet::Forward(UINT msg, WPARAM wp, LPARAM lp, wizard::EventSink* sink) {
  switch (msg) {
    case WM_COMMAND:
      if (lp && sink) Command(HWND(lp), HIWORD(wp), *sink);
      return 0;
    case WM_NOTIFY:
      if (sink) Notify(*reinterpret_cast<NMHDR*>(lp), *sink);
      return 0;
    case WM_DRAWITEM:
      if (sink) DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lp), *sink);
      return TRUE;
    case WM_MEASUREITEM:
      MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lp));
      return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      return ControlColour(HDC(wp), HWND(lp));
    case WM_SETCURSOR:
      if (!hourglass_) break;
      ::SetCursor(LoadCursorW(nullptr, IDC_WAIT));
      return TRUE;
  }
  return std::nullopt;
}

ControlSet::ControlSet() {
  HDC screen = GetDC(nullptr);
  dpi_ = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  font_ = CreateMessageFont();
  boldFont_ = CreateMessageFont(true);
  LOGFONTW small{};
  GetObjectW(font_.get(), sizeof small, &small);
  small.lfHeight = small.lfHeight * 7 / 8;
  smallFont_ = UniqueFont(CreateFontIndirectW(&small));
  whiteBrush_ = UniqueBrush(CreateSolidBrush(RGB(255, 255, 255)));
}

void ControlSet::Create(HWND window, const std::vector<ControlSpec>& specs, int firstId,
                        const std::function<HWND(const ControlSpec&)>& parentOf) {
  window_ = window;
  // A few hundred windows take a while; the form can already be found and asked.
  ULONGLONG answered = GetTickCount64();
  for (size_t i = 0; i < specs.size(); ++i) {
    CreateOne(specs[i], firstId + int(i), parentOf(specs[i]));
    if (GetTickCount64() - answered >= 30) {
      AnswerSentMessages();
      answered = GetTickCount64();
    }
  }
}

void ControlSet::Adopt(const std::string& name, HWND control) {
  NameControl(control, name.c_str());
  byName_[name] = control;
}

void ControlSet::Forget() {
  for (auto& [name, h] : byName_) ForgetControlName(h);
  byName_.clear();
  specs_.clear();
  items_.clear();
  colours_.clear();
}

HWND ControlSet::Find(const std::string& name) const {
  auto it = byName_.find(name);
  return it == byName_.end() ? nullptr : it->second;
}

const ControlSpec* ControlSet::SpecOf(HWND control) const {
  auto it = specs_.find(control);
  return it == specs_.end() ? nullptr : it->second;
}

HWND ControlSet::CreateOne(const ControlSpec& spec, int id, HWND parent) {
  const wchar_t* cls = L"STATIC";
  DWORD style = WS_CHILD | (spec.visible ? WS_VISIBLE : 0) | (spec.enabled ? 0 : WS_DISABLED);
  DWORD exStyle = 0;
  const DWORD ownerList = LBS_NOTIFY | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT;
  bool focusable = true;
  switch (spec.kind) {
    case ControlKind::Label:
    case ControlKind::GreyLabel:
    case ControlKind::TitleLabel:
      style |= SS_LEFT | SS_NOPREFIX;
      focusable = false;
      break;
    case ControlKind::ValueLabel:
      style |= SS_RIGHT | SS_NOPREFIX;
      focusable = false;
      break;
    case ControlKind::Button:
      cls = L"BUTTON";
      style |= BS_PUSHBUTTON;
      break;
    case ControlKind::CheckBox:
      cls = L"BUTTON";
      style |= BS_AUTOCHECKBOX;
      break;
    case ControlKind::Edit:
    case ControlKind::PasswordEdit:
    case ControlKind::SpinEdit:
      cls = L"EDIT";
      style |= WS_BORDER | ES_AUTOHSCROLL;
      exStyle = WS_EX_CLIENTEDGE;
      break;
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
    case ControlKind::DropDown:
      cls = L"COMBOBOX";
      style |= CBS_DROPDOWNLIST | WS_VSCROLL;
      break;
    case ControlKind::OwnerDrawDropDown:
      cls = L"COMBOBOX";
      style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL;
      break;
    case ControlKind::ListBox:
      cls = L"LISTBOX";
      style |= LBS_NOTIFY | WS_VSCROLL | LBS_NOINTEGRALHEIGHT;
      exStyle = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::FolderTree:  // indented by the logic's drawing
      cls = L"LISTBOX";
      style |= ownerList;
      exStyle = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::OwnerDrawListBox:
      cls = L"LISTBOX";
      style |= ownerList;
      exStyle = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::CheckList:
      cls = L"LISTBOX";
      style |= ownerList;
      exStyle = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::ListView:
      cls = WC_LISTVIEWW;
      style |= LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
      exStyle = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::ProgressBar:
      cls = PROGRESS_CLASSW;
      focusable = false;
      break;
    case ControlKind::GroupBox:
      cls = L"BUTTON";
      style |= BS_GROUPBOX;
      focusable = false;
      break;
    case ControlKind::Panel:
      style |= SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX | SS_SUNKEN;
      focusable = false;
      break;
    case ControlKind::Picture:
      style |= SS_BITMAP;
      focusable = false;
      break;
    case ControlKind::TaggedLabel:
      cls = kStringsLabelClass;
      focusable = false;
      break;
  }
  if (spec.tabStop && focusable) style |= WS_TABSTOP;
  if (spec.sorted) style |= IsCombo(&spec) ? CBS_SORT : LBS_SORT;
  HWND h = CreateWindowExW(exStyle, cls, Wide(spec.text).c_str(), style, Scale(spec.x), Scale(spec.y),
                           Scale(spec.width), Scale(spec.height), parent, reinterpret_cast<HMENU>(intptr_t(id)),
                           GetModuleHandleW(nullptr), nullptr);
  if (!h) return nullptr;
  HFONT font = spec.kind == ControlKind::TitleLabel  ? boldFont_.get()
               : spec.kind == ControlKind::GreyLabel ? smallFont_.get()
                                                     : font_.get();
  SendMessageW(h, WM_SETFONT, WPARAM(font), FALSE);
  if (spec.kind == ControlKind::ListView)
    SendMessageW(h, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  if (spec.kind == ControlKind::TaggedLabel) SetStringsLabelLines(h, "");
  if (spec.kind == ControlKind::PasswordEdit) SendMessageW(h, EM_SETPASSWORDCHAR, WPARAM(L'*'), 0);
  if (spec.kind == ControlKind::SpinEdit) AddSpinArrows(h, parent);
  if (spec.kind == ControlKind::CheckBox && spec.checked) SendMessageW(h, BM_SETCHECK, BST_CHECKED, 0);
  if (spec.kind == ControlKind::CheckList) {
    SetPropW(h, kOldProcProperty, reinterpret_cast<HANDLE>(GetWindowLongPtrW(h, GWLP_WNDPROC)));
    SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CheckListProc));
  }
  NameControl(h, spec.name);
  byName_[spec.name] = h;
  specs_[h] = &spec;
  return h;
}

bool ControlSet::Command(HWND control, int code, wizard::EventSink& sink) {
  const ControlSpec* spec = SpecOf(control);
  if (!spec) return false;
  using E = wizard::ControlEvent;
  switch (spec->kind) {
    case ControlKind::Button:
    case ControlKind::CheckBox:
      if (code == BN_CLICKED) sink.OnEvent(spec->name, E::Click);
      break;
    case ControlKind::DropDown:
    case ControlKind::OwnerDrawDropDown:
      if (code == CBN_SELCHANGE) sink.OnEvent(spec->name, E::Select);
      if (code == CBN_SETFOCUS) sink.OnEvent(spec->name, E::Enter);
      break;
    case ControlKind::Edit:
    case ControlKind::ReadOnlyEdit:
    case ControlKind::PasswordEdit:
    case ControlKind::SpinEdit:
      if (code == EN_CHANGE) sink.OnEvent(spec->name, E::Change);
      break;
    default:
      if (IsList(spec) && code == LBN_SELCHANGE) sink.OnEvent(spec->name, E::Click);
      if (IsList(spec) && code == LBN_DBLCLK) sink.OnEvent(spec->name, E::DoubleClick);
      break;
  }
  return true;
}

bool ControlSet::Notify(const NMHDR& header, wizard::EventSink& sink) {
  const ControlSpec* spec = SpecOf(header.hwndFrom);
  if (!spec) return false;
  if (spec->kind == ControlKind::ListView && header.code == LVN_ITEMCHANGED) {
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    if ((change.uChanged & LVIF_STATE) && (change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED))
      sink.OnEvent(spec->name, wizard::ControlEvent::Select);
  }
  return true;
}

void ControlSet::PublishItem(HWND control, int index) {
  auto& states = Items(control);
  if (index < 0 || size_t(index) >= states.size()) return;
  const ItemState& state = states[size_t(index)];
  SendMessageW(control, LB_SETITEMDATA, WPARAM(index), LPARAM((state.checked ? 1 : 0) | (state.enabled ? 0 : 2)));
}

void ControlSet::ToggleItem(HWND control, int index, wizard::EventSink& sink) {
  auto& states = Items(control);
  const ControlSpec* spec = SpecOf(control);
  if (!spec || index < 0 || size_t(index) >= states.size() || !states[size_t(index)].enabled) return;
  states[size_t(index)].checked = !states[size_t(index)].checked;
  PublishItem(control, index);
  InvalidateRect(control, nullptr, FALSE);
  sink.OnEvent(spec->name, wizard::ControlEvent::Check);
}

bool ControlSet::DrawItem(const DRAWITEMSTRUCT& item, wizard::EventSink& sink) {
  const ControlSpec* spec = SpecOf(item.hwndItem);
  if (!spec) return false;
  const bool selected = item.itemState & ODS_SELECTED;
  const bool grey = colours_.count(item.hwndItem) && colours_[item.hwndItem] == wizard::Colour::ButtonFace;
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : grey ? COLOR_BTNFACE : COLOR_WINDOW));
  if (item.itemID == UINT(-1)) return true;
  RECT text = item.rcItem;
  bool enabled = IsWindowEnabled(item.hwndItem);
  if (spec->kind == ControlKind::CheckList) {
    auto& states = Items(item.hwndItem);
    const ItemState state = item.itemID < states.size() ? states[item.itemID] : ItemState{};
    enabled = enabled && state.enabled;
    RECT box{text.left + Scale(2), text.top + Scale(2), text.left + Scale(kCheckBoxWidth - 2),
             text.top + Scale(kCheckBoxWidth - 2)};
    DrawFrameControl(item.hDC, &box, DFC_BUTTON,
                     DFCS_BUTTONCHECK | DFCS_FLAT | (state.checked ? DFCS_CHECKED : 0) | (enabled ? 0 : DFCS_INACTIVE));
    text.left += Scale(kCheckBoxWidth);
  }
  const wizard::ItemDrawing look = sink.DrawItem(spec->name, int(item.itemID));
  const std::wstring wide = Wide(look.text);
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor(!enabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  TextOutW(item.hDC, text.left + Scale(look.dx), text.top + Scale(look.dy), wide.c_str(), int(wide.size()));
  if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
  return true;
}

bool ControlSet::MeasureItem(MEASUREITEMSTRUCT& item) {
  for (auto& [h, spec] : specs_) {
    if (GetDlgCtrlID(h) != int(item.CtlID)) continue;
    item.itemHeight = Scale(IsCombo(spec) ? 16 : 17);
    return true;
  }
  return false;
}

LRESULT ControlSet::ControlColour(HDC dc, HWND control) {
  const ControlSpec* spec = SpecOf(control);
  if (spec && spec->onWhite) {
    SetBkColor(dc, RGB(255, 255, 255));
    return LRESULT(whiteBrush_.get());
  }
  auto colour = colours_.find(control);
  if (colour != colours_.end()) {
    const int index = colour->second == wizard::Colour::ButtonFace ? COLOR_BTNFACE : COLOR_WINDOW;
    SetBkColor(dc, GetSysColor(index));
    return LRESULT(GetSysColorBrush(index));
  }
  if (spec && (spec->kind == ControlKind::Memo || spec->kind == ControlKind::Edit ||
               spec->kind == ControlKind::PasswordEdit || spec->kind == ControlKind::SpinEdit)) {
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return LRESULT(GetSysColorBrush(COLOR_WINDOW));
  }
  if (spec && spec->kind == ControlKind::GreyLabel) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return LRESULT(GetSysColorBrush(COLOR_BTNFACE));
}

// ---- the view operations ----

template <typename Base>
void Win32ControlView<Base>::SetText(const std::string& control, const std::string& text) {
  HWND h = set_.Find(control);
  const ControlSpec* spec = set_.SpecOf(h);
  if (!h) return;
  if (spec && spec->kind == ControlKind::TaggedLabel) return SetStringsLabelLines(h, text);
  if (IsCombo(spec) || IsList(spec)) {
    // Lists show their items; their text is the item selected.
    const UINT find = IsCombo(spec) ? CB_FINDSTRINGEXACT : LB_FINDSTRINGEXACT;
    const LRESULT index = SendMessageW(h, find, WPARAM(-1), LPARAM(Wide(text).c_str()));
    SendMessageW(h, IsCombo(spec) ? CB_SETCURSEL : LB_SETCURSEL, WPARAM(index), 0);
    return;
  }
  SetWindowTextW(h, Wide(text).c_str());
}

template <typename Base>
std::string Win32ControlView<Base>::Text(const std::string& control) {
  HWND h = set_.Find(control);
  const ControlSpec* spec = set_.SpecOf(h);
  if (!h) return "";
  if (spec && spec->kind == ControlKind::TaggedLabel) return StringsLabelLines(h);
  if (IsList(spec)) {
    const int index = int(SendMessageW(h, LB_GETCURSEL, 0, 0));
    return index < 0 ? "" : Narrow(ItemTextOf(h, false, index));
  }
  return Narrow(WindowTextOf(h));
}

template <typename Base>
void Win32ControlView<Base>::SetEnabled(const std::string& control, bool enabled) {
  if (HWND h = set_.Find(control)) {
    EnableWindow(h, enabled);
    InvalidateRect(h, nullptr, TRUE);
  }
}

template <typename Base>
bool Win32ControlView<Base>::Enabled(const std::string& control) {
  HWND h = set_.Find(control);
  return h && IsWindowEnabled(h);
}

template <typename Base>
void Win32ControlView<Base>::SetVisible(const std::string& control, bool visible) {
  HWND h = set_.Find(control);
  if (!h) return;
  ShowWindow(h, visible ? SW_SHOWNA : SW_HIDE);
  // Painted now: a control shown before blocking work (the processing panel) would
  // otherwise stay blank until the work ends.
  if (visible) UpdateWindow(h);
}

template <typename Base>
bool Win32ControlView<Base>::Visible(const std::string& control) {
  HWND h = set_.Find(control);
  return h && (GetWindowLongW(h, GWL_STYLE) & WS_VISIBLE);
}

template <typename Base>
void Win32ControlView<Base>::SetChecked(const std::string& control, bool checked) {
  if (HWND h = set_.Find(control)) SendMessageW(h, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

template <typename Base>
bool Win32ControlView<Base>::Checked(const std::string& control) {
  HWND h = set_.Find(control);
  return h && SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

template <typename Base>
void Win32ControlView<Base>::SetReadOnly(const std::string& control, bool readOnly) {
  if (HWND h = set_.Find(control)) SendMessageW(h, EM_SETREADONLY, readOnly, 0);
}

template <typename Base>
void Win32ControlView<Base>::SetColour(const std::string& control, wizard::Colour colour) {
  HWND h = set_.Find(control);
  if (!h) return;
  set_.SetColour(h, colour);
  if (set_.SpecOf(h) && set_.SpecOf(h)->kind == ControlKind::ListView) {
    const COLORREF rgb = GetSysColor(colour == wizard::Colour::ButtonFace ? COLOR_BTNFACE : COLOR_WINDOW);
    SendMessageW(h, LVM_SETBKCOLOR, 0, LPARAM(rgb));
    SendMessageW(h, LVM_SETTEXTBKCOLOR, 0, LPARAM(rgb));
  }
  InvalidateRect(h, nullptr, TRUE);
}

template <typename Base>
void Win32ControlView<Base>::SetFocus(const std::string& control) {
  if (HWND h = set_.Find(control)) ::SetFocus(h);
}

template <typename Base>
void Win32ControlView<Base>::SetItems(const std::string& control, const std::vector<std::string>& items) {
  HWND h = set_.Find(control);
  if (!h) return;
  const bool combo = IsCombo(set_.SpecOf(h));
  SendMessageW(h, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
  for (const std::string& item : items)
    SendMessageW(h, combo ? CB_ADDSTRING : LB_ADDSTRING, 0, LPARAM(Wide(item).c_str()));
  set_.Items(h).assign(items.size(), {});
}

template <typename Base>
std::vector<std::string> Win32ControlView<Base>::Items(const std::string& control) {
  std::vector<std::string> items;
  HWND h = set_.Find(control);
  if (!h) return items;
  const bool combo = IsCombo(set_.SpecOf(h));
  const LRESULT count = SendMessageW(h, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) items.push_back(Narrow(ItemTextOf(h, combo, int(i))));
  return items;
}

template <typename Base>
void Win32ControlView<Base>::SetSelectedIndex(const std::string& control, int index) {
  HWND h = set_.Find(control);
  if (!h) return;
  const ControlSpec* spec = set_.SpecOf(h);
  if (spec && spec->kind == ControlKind::ListView) {
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(h, LVM_SETITEMSTATE, WPARAM(-1), LPARAM(&state));
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    if (index >= 0) SendMessageW(h, LVM_SETITEMSTATE, WPARAM(index), LPARAM(&state));
    return;
  }
  SendMessageW(h, IsCombo(spec) ? CB_SETCURSEL : LB_SETCURSEL, WPARAM(index), 0);
}

template <typename Base>
int Win32ControlView<Base>::SelectedIndex(const std::string& control) {
  HWND h = set_.Find(control);
  if (!h) return -1;
  const ControlSpec* spec = set_.SpecOf(h);
  if (spec && spec->kind == ControlKind::ListView)
    return int(SendMessageW(h, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
  return int(SendMessageW(h, IsCombo(spec) ? CB_GETCURSEL : LB_GETCURSEL, 0, 0));
}

template <typename Base>
void Win32ControlView<Base>::SetItemChecked(const std::string& control, int index, bool checked) {
  HWND h = set_.Find(control);
  auto& states = set_.Items(h);
  if (!h || index < 0 || size_t(index) >= states.size()) return;
  states[size_t(index)].checked = checked;
  set_.PublishItem(h, index);
  InvalidateRect(h, nullptr, FALSE);
}

template <typename Base>
bool Win32ControlView<Base>::ItemChecked(const std::string& control, int index) {
  HWND h = set_.Find(control);
  auto& states = set_.Items(h);
  return h && index >= 0 && size_t(index) < states.size() && states[size_t(index)].checked;
}

template <typename Base>
void Win32ControlView<Base>::SetItemEnabled(const std::string& control, int index, bool enabled) {
  HWND h = set_.Find(control);
  auto& states = set_.Items(h);
  if (!h || index < 0 || size_t(index) >= states.size()) return;
  states[size_t(index)].enabled = enabled;
  set_.PublishItem(h, index);
  InvalidateRect(h, nullptr, FALSE);
}

template <typename Base>
bool Win32ControlView<Base>::ItemEnabled(const std::string& control, int index) {
  HWND h = set_.Find(control);
  auto& states = set_.Items(h);
  return h && index >= 0 && size_t(index) < states.size() && states[size_t(index)].enabled;
}

template <typename Base>
void Win32ControlView<Base>::SetColumns(const std::string& control, const std::vector<std::string>& captions) {
  HWND h = set_.Find(control);
  if (!h) return;
  while (SendMessageW(h, LVM_DELETECOLUMN, 0, 0)) {
  }
  // The first column names the drive; the others are right-aligned figures.
  for (size_t i = 0; i < captions.size(); ++i) {
    std::wstring text = Wide(captions[i]);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = i == 0 ? LVCFMT_LEFT : LVCFMT_RIGHT;
    column.cx = set_.Scale(i == 0 ? 200 : 100);
    column.pszText = text.data();
    SendMessageW(h, LVM_INSERTCOLUMNW, WPARAM(i), LPARAM(&column));
  }
  // The last column takes what is left, so the figures never need a scroll bar.
  if (captions.size() > 1)
    SendMessageW(h, LVM_SETCOLUMNWIDTH, WPARAM(captions.size() - 1), LPARAM(LVSCW_AUTOSIZE_USEHEADER));
}

template <typename Base>
void Win32ControlView<Base>::SetRows(const std::string& control, const std::vector<std::vector<std::string>>& rows) {
  HWND h = set_.Find(control);
  if (!h) return;
  SendMessageW(h, LVM_DELETEALLITEMS, 0, 0);
  for (size_t r = 0; r < rows.size(); ++r) {
    for (size_t c = 0; c < rows[r].size(); ++c) {
      std::wstring text = Wide(rows[r][c]);
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = int(r);
      item.iSubItem = int(c);
      item.pszText = text.data();
      SendMessageW(h, c == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, WPARAM(r), LPARAM(&item));
    }
  }
}

template <typename Base>
std::vector<std::vector<std::string>> Win32ControlView<Base>::Rows(const std::string& control) {
  std::vector<std::vector<std::string>> rows;
  HWND h = set_.Find(control);
  if (!h) return rows;
  HWND header = HWND(SendMessageW(h, LVM_GETHEADER, 0, 0));
  const int columns = header ? int(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
  const int count = int(SendMessageW(h, LVM_GETITEMCOUNT, 0, 0));
  for (int r = 0; r < count; ++r) {
    std::vector<std::string> row;
    for (int c = 0; c < columns; ++c) {
      std::wstring text(512, L'\0');
      LVITEMW item{};
      item.iSubItem = c;
      item.pszText = text.data();
      item.cchTextMax = int(text.size());
      const LRESULT n = SendMessageW(h, LVM_GETITEMTEXTW, WPARAM(r), LPARAM(&item));
      text.resize(size_t(n > 0 ? n : 0));
      row.push_back(Narrow(text));
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

template <typename Base>
void Win32ControlView<Base>::SetProgressRange(const std::string& control, int minimum, int maximum) {
  if (HWND h = set_.Find(control)) SendMessageW(h, PBM_SETRANGE32, WPARAM(minimum), LPARAM(maximum));
}

template <typename Base>
int Win32ControlView<Base>::ProgressMaximum(const std::string& control) {
  HWND h = set_.Find(control);
  return h ? int(SendMessageW(h, PBM_GETRANGE, FALSE, 0)) : 0;
}

template <typename Base>
void Win32ControlView<Base>::SetProgressPosition(const std::string& control, int position) {
  if (HWND h = set_.Find(control)) SendMessageW(h, PBM_SETPOS, WPARAM(position), 0);
}

template <typename Base>
int Win32ControlView<Base>::ProgressPosition(const std::string& control) {
  HWND h = set_.Find(control);
  return h ? int(SendMessageW(h, PBM_GETPOS, 0, 0)) : 0;
}

template <typename Base>
void Win32ControlView<Base>::SetProgressSmooth(const std::string& control, bool smooth) {
  HWND h = set_.Find(control);
  if (!h) return;
  const LONG style = GetWindowLongW(h, GWL_STYLE);
  SetWindowLongW(h, GWL_STYLE, smooth ? style | PBS_SMOOTH : style & ~PBS_SMOOTH);
  InvalidateRect(h, nullptr, TRUE);
}

template <typename Base>
void Win32ControlView<Base>::SetCursor(wizard::CursorShape cursor) {
  set_.SetHourglass(cursor == wizard::CursorShape::Hourglass);
  ::SetCursor(LoadCursorW(nullptr, cursor == wizard::CursorShape::Hourglass ? IDC_WAIT : IDC_ARROW));
}

template <typename Base>
void Win32ControlView<Base>::ProcessMessages() {
  PumpMessages(set_.Window());
}

template class Win32ControlView<wizard::WizardView>;
template class Win32ControlView<wizard::FormView>;

}  // namespace ostravel::win32
