#pragma once
// Every control of the program's windows: name, kind, place at 96 DPI, design-time
// text and initial state. The Win32 windows create their controls from these tables;
// the recording view of the host tests is seeded from them, so a misspelt name or a
// wrong initial state fails a test.
#include <vector>

namespace ostravel::wizard {

enum class ControlKind {
  Label,       // static text
  ValueLabel,  // right-aligned static text
  GreyLabel,   // small grey static text
  TitleLabel,  // bold static text
  Button,
  CheckBox,
  Edit,
  ReadOnlyEdit,
  Memo,  // read-only multi-line edit with a vertical scroll bar
  DropDown,
  OwnerDrawDropDown,
  ListBox,
  OwnerDrawListBox,
  CheckList,  // owner-drawn list with a check box and an enabled state per item
  ListView,   // report list with columns
  ProgressBar,
  GroupBox,
  Panel,  // sunken frame
  Picture,
  TaggedLabel,
  FolderTree,    // the folders of a path, drive root first
  PasswordEdit,  // an edit that shows "*" for each character
  SpinEdit,      // an integer edit with up and down arrows, without bounds
};

struct ControlSpec {
  const char* name;
  int page;  // notebook page, or -1 for the window's bands and for dialogs
  ControlKind kind;
  int x, y, width, height;
  const char* text;  // CP1250
  bool visible = true;
  bool tabStop = true;
  bool enabled = true;
  bool checked = false;  // check boxes
  bool sorted = false;   // lists keep their items in alphabetical order
  bool onWhite = false;  // painted on the white header band
};

// The windows built from a table.
enum class FormId { MainForm, DestinationChange, ProxySettings };

// A window's frame: its class (the form's name), the caption it opens with, its
// client size at 96 DPI, whether its title bar has a close box, and the buttons
// that Enter and Escape (and the close box) press; without a cancel button Escape
// ends the dialog with mrCancel, without an enter button Enter does nothing.
struct FormFrame {
  const char* className;
  const char* caption;  // CP1250
  int clientWidth, clientHeight;
  bool closeBox = false;
  const char* enterButton = nullptr;
  const char* cancelButton = nullptr;
};

inline constexpr int kClientWidth = 547, kClientHeight = 421;
inline constexpr int kHeaderHeight = 57;
inline constexpr int kNotebookTop = 59, kNotebookHeight = 295;

const std::vector<ControlSpec>& FormControls(FormId form);
const FormFrame& FormFrameOf(FormId form);
// The entry of a named control of the form; nullptr when it has none.
const ControlSpec* FindControl(FormId form, const char* name);

}  // namespace ostravel::wizard
