#pragma once
// A window's controls as the logic sees them, addressed by name, and the events the
// window reports back. The Win32 windows implement the views with real controls;
// host tests use a recording view seeded from the same control tables.
#include <string>
#include <vector>

namespace ostravel::wizard {

enum class Colour { Window, ButtonFace };
enum class CursorShape { Default, Hourglass };

enum class ControlEvent {
  Click,        // buttons, check boxes, list items
  Select,       // a combo or list selection changed, a report row became selected
  Check,        // an item's check box of a check list changed
  Change,       // an edit's text changed
  DoubleClick,
  Enter,        // the control received the input focus
};

// How an owner-drawn item is painted: its text, placed dx, dy from the item's corner.
struct ItemDrawing {
  std::string text;
  int dx = 1, dy = 2;
};

class ControlView {
 public:
  virtual ~ControlView() = default;

  // Text of a control: caption, label text, edit or memo text (lines joined with
  // CR LF), a tagged label's markup, a combo's selected item.
  virtual void SetText(const std::string& control, const std::string& text) = 0;
  virtual std::string Text(const std::string& control) = 0;
  virtual void SetEnabled(const std::string& control, bool enabled) = 0;
  virtual bool Enabled(const std::string& control) = 0;
  virtual void SetVisible(const std::string& control, bool visible) = 0;
  virtual bool Visible(const std::string& control) = 0;
  virtual void SetChecked(const std::string& control, bool checked) = 0;
  virtual bool Checked(const std::string& control) = 0;
  virtual void SetReadOnly(const std::string& control, bool readOnly) = 0;
  virtual void SetColour(const std::string& control, Colour colour) = 0;
  virtual void SetFocus(const std::string& control) = 0;

  // List controls (combos, lists, check lists).
  virtual void SetItems(const std::string& control, const std::vector<std::string>& items) = 0;
  virtual std::vector<std::string> Items(const std::string& control) = 0;
  // -1 selects nothing.
  virtual void SetSelectedIndex(const std::string& control, int index) = 0;
  virtual int SelectedIndex(const std::string& control) = 0;
  // Check lists: each item has its own check box and enabled state.
  virtual void SetItemChecked(const std::string& control, int index, bool checked) = 0;
  virtual bool ItemChecked(const std::string& control, int index) = 0;
  virtual void SetItemEnabled(const std::string& control, int index, bool enabled) = 0;
  virtual bool ItemEnabled(const std::string& control, int index) = 0;

  // Report lists: column captions and rows of cells; SelectedIndex is the row.
  virtual void SetColumns(const std::string& control, const std::vector<std::string>& captions) = 0;
  virtual void SetRows(const std::string& control, const std::vector<std::vector<std::string>>& rows) = 0;
  virtual std::vector<std::vector<std::string>> Rows(const std::string& control) = 0;

  // Progress bars.
  virtual void SetProgressRange(const std::string& control, int minimum, int maximum) = 0;
  virtual int ProgressMaximum(const std::string& control) = 0;
  virtual void SetProgressPosition(const std::string& control, int position) = 0;
  virtual int ProgressPosition(const std::string& control) = 0;
  virtual void SetProgressSmooth(const std::string& control, bool smooth) = 0;

  // The mouse cursor over the whole window.
  virtual void SetCursor(CursorShape cursor) = 0;
  // Keeps the window alive inside long work.
  virtual void ProcessMessages() = 0;
};

// Where a window sends what happens to its controls.
class EventSink {
 public:
  virtual ~EventSink() = default;
  virtual void OnEvent(const std::string& control, ControlEvent event) = 0;
  // The look of item `index` of an owner-drawn list or combo.
  virtual ItemDrawing DrawItem(const std::string& control, int index) = 0;
};

// A modal dialog's view: its controls, its caption, and the end of its modal loop.
class FormView : public ControlView {
 public:
  virtual void SetCaption(const std::string& caption) = 0;
  // Ends the modal loop with this result once the running handler returns.
  virtual void EndModal(int modalResult) = 0;
  // The plain system message box (warning, OK) over the dialog.
  virtual void ShowSystemWarning(const std::string& text) = 0;
};

// A dialog's logic. FormCreate runs once the controls exist, before the dialog shows.
class FormLogic : public EventSink {
 public:
  virtual void FormCreate(FormView& view) = 0;
};

}  // namespace ostravel::wizard
