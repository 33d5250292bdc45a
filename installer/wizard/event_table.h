#pragma once
// Which handler a control's event runs, and how owner-drawn items look: tables
// beside the page-entry table. The windows only report a control's name and the
// event; the recording view of the host tests raises events through the same table.
#include <string>

#include "installer/wizard/control_view.h"

namespace ostravel::wizard {

class WizardController;

using EventHandlerFn = void (*)(WizardController& wizard);
using DrawItemFn = ItemDrawing (*)(WizardController& wizard, int index);

// nullptr when the control has no handler for the event.
EventHandlerFn EventHandlerOf(const std::string& control, ControlEvent event);
// nullptr for the default look: the item's text, one right and two down.
DrawItemFn DrawItemOf(const std::string& control);

}  // namespace ostravel::wizard
