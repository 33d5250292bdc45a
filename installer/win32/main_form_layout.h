#pragma once
// The wizard window's controls: where each one sits, at 96 DPI, in its page or band.
#include "base/win32/windows_clean.h"

#include <vector>

namespace ostravel::win32 {

enum class ControlKind {
  Label,       // static text
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
  ListView,
  ProgressBar,
  GroupBox,
  Panel,  // sunken frame
  Picture,
  TaggedLabel,
};

struct ControlEntry {
  const char* name;
  int page;  // notebook page, or -1 for the window's bands
  ControlKind kind;
  int x, y, width, height;
  const char* text;  // CP1250
  bool visible = true;
  bool tabStop = true;
};

inline constexpr int kClientWidth = 547, kClientHeight = 421;
inline constexpr int kHeaderHeight = 57;
inline constexpr int kNotebookTop = 59, kNotebookHeight = 295;

const std::vector<ControlEntry>& MainFormControls();

}  // namespace ostravel::win32
