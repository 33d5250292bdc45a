#pragma once
// The controls of one window, created from its control table, and the view
// operations on them. The windows only forward: what a control reports becomes a
// (name, event) pair for the window's event sink, and what the logic sets is put
// into the control. No decisions are made here.
#include "base/win32/windows_clean.h"

#include <commctrl.h>

#include "base/win32/undef_macros.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "installer/win32/gdi_handles.h"
#include "installer/wizard/control_table.h"
#include "installer/wizard/control_view.h"

namespace ostravel::win32 {

class ControlSet {
 public:
  ControlSet();
  ControlSet(const ControlSet&) = delete;
  ControlSet& operator=(const ControlSet&) = delete;

  // Creates every control of the table; `parentOf` names each one's parent window.
  void Create(HWND window, const std::vector<wizard::ControlSpec>& specs, int firstId,
              const std::function<HWND(const wizard::ControlSpec&)>& parentOf);
  // Adds a window that is not in the table (notebook pages) under a name.
  void Adopt(const std::string& name, HWND control);
  void Forget();  // releases the controls' names; the windows go with their parent

  HWND Window() const { return window_; }
  HWND Find(const std::string& name) const;
  const wizard::ControlSpec* SpecOf(HWND control) const;
  int Scale(int value) const { return MulDiv(value, dpi_, 96); }

  // Message translation. Each returns true when the message was one of its controls'.
  bool Command(HWND control, int code, wizard::EventSink& sink);
  bool Notify(const NMHDR& header, wizard::EventSink& sink);
  bool DrawItem(const DRAWITEMSTRUCT& item, wizard::EventSink& sink);
  bool MeasureItem(MEASUREITEMSTRUCT& item);
  // WM_CTLCOLOR*: the brush for the control, 0 when the window's default applies.
  LRESULT ControlColour(HDC dc, HWND control);
  // WM_SETCURSOR: true when the window shows the hourglass.
  bool ShowsHourglass() const { return hourglass_; }
  // What a window hands to its controls: their commands and notifications (to
  // `sink`, when there is one), owner drawing, colours and the hourglass cursor.
  // Nothing when the message is none of these, or the window's default applies.
  std::optional<LRESULT> Forward(UINT msg, WPARAM wp, LPARAM lp, wizard::EventSink* sink);

  // State the controls do not keep themselves.
  struct ItemState {
    bool checked = false, enabled = true;
  };
  std::vector<ItemState>& Items(HWND control) { return items_[control]; }
  void SetColour(HWND control, wizard::Colour colour) { colours_[control] = colour; }
  void SetHourglass(bool on) { hourglass_ = on; }
  HFONT Font() const { return font_.get(); }

  // Copies an item's state into the list's item data (bit 0 checked, bit 1
  // disabled), where test tools can read it.
  void PublishItem(HWND control, int index);
  // A check list's item was toggled by the user: updates it and tells the sink.
  void ToggleItem(HWND control, int index, wizard::EventSink& sink);
  wizard::EventSink* ActiveSink() const { return sink_; }
  void SetSink(wizard::EventSink* sink) { sink_ = sink; }

 private:
  HWND CreateOne(const wizard::ControlSpec& spec, int id, HWND parent);

  HWND window_ = nullptr;
  int dpi_ = 96;
  std::map<std::string, HWND> byName_;
  std::map<HWND, const wizard::ControlSpec*> specs_;
  std::map<HWND, std::vector<ItemState>> items_;
  std::map<HWND, wizard::Colour> colours_;
  bool hourglass_ = false;
  wizard::EventSink* sink_ = nullptr;
  UniqueFont font_, boldFont_, smallFont_;
  UniqueBrush whiteBrush_;
};

// The ControlView operations over a window's ControlSet, for the wizard window and
// for the dialogs.
template <typename Base>
class Win32ControlView : public Base {
 public:
  explicit Win32ControlView(ControlSet& set) : set_(set) {}

  void SetText(const std::string& control, const std::string& text) override;
  std::string Text(const std::string& control) override;
  void SetEnabled(const std::string& control, bool enabled) override;
  bool Enabled(const std::string& control) override;
  void SetVisible(const std::string& control, bool visible) override;
  bool Visible(const std::string& control) override;
  void SetChecked(const std::string& control, bool checked) override;
  bool Checked(const std::string& control) override;
  void SetReadOnly(const std::string& control, bool readOnly) override;
  void SetColour(const std::string& control, wizard::Colour colour) override;
  void SetFocus(const std::string& control) override;
  void SetItems(const std::string& control, const std::vector<std::string>& items) override;
  std::vector<std::string> Items(const std::string& control) override;
  void SetSelectedIndex(const std::string& control, int index) override;
  int SelectedIndex(const std::string& control) override;
  void SetItemChecked(const std::string& control, int index, bool checked) override;
  bool ItemChecked(const std::string& control, int index) override;
  void SetItemEnabled(const std::string& control, int index, bool enabled) override;
  bool ItemEnabled(const std::string& control, int index) override;
  void SetColumns(const std::string& control, const std::vector<std::string>& captions) override;
  void SetRows(const std::string& control, const std::vector<std::vector<std::string>>& rows) override;
  std::vector<std::vector<std::string>> Rows(const std::string& control) override;
  void SetProgressRange(const std::string& control, int minimum, int maximum) override;
  int ProgressMaximum(const std::string& control) override;
  void SetProgressPosition(const std::string& control, int position) override;
  int ProgressPosition(const std::string& control) override;
  void SetProgressSmooth(const std::string& control, bool smooth) override;
  void SetCursor(wizard::CursorShape cursor) override;
  void ProcessMessages() override;

 protected:
  ControlSet& set_;
};

// Registers the classes every window of the program uses; once.
void RegisterWindowClasses();
inline constexpr const wchar_t* kPanelClass = L"TOstravelPanel";

// Pumps the thread's messages without waiting; false when WM_QUIT came (posted again).
bool PumpMessages(HWND dialogWindow);

// Answers the messages other threads and programs sent to this thread's windows, and
// only those: nothing posted is taken, so a window still being built is not driven.
void AnswerSentMessages();

}  // namespace ostravel::win32
