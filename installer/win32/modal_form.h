#pragma once
// The dialogs of the control table (TDestinationChangeForm, ...): a fixed dialog
// frame around the table's controls, run modally over the owner window.
#include "base/win32/windows_clean.h"

#include "installer/wizard/control_table.h"
#include "installer/wizard/control_view.h"

namespace ostravel::win32 {

// Shows the form until its logic ends the modal loop; the modal result. Closing the
// window, or Escape, counts as its Cancel button (mrCancel when it has none).
int RunModalForm(HWND owner, wizard::FormId form, wizard::FormLogic& logic);

}  // namespace ostravel::win32
