#pragma once
// The component list: one ComponentEntry per component of the included modules,
// and the check list clbComponents that shows the installable ones. Entries and
// items are matched by name (the first item of that name).
#include <cstdint>
#include <string>

namespace ostravel::wizard {

class WizardController;

// Entries and check-list items go; the components page rebuilds them.
void EmptyComponentList(WizardController& wizard);
// Builds the entries from the setup script at `scriptPath` for the modules of the
// selection; the previous entries and items are discarded first.
void BuildComponentEntries(WizardController& wizard, const std::string& scriptPath);
// Lists every entry with a size whose package is there (or will be downloaded);
// one item per name. The total size of the listed entries, in 64 bits.
int64_t FillCheckList(WizardController& wizard);
// Index of the first item named `name`, -1 when none.
int ComponentItemIndex(WizardController& wizard, const std::string& name);
// "%.2n MB" of a byte count.
std::string FormatMegabytes(int64_t bytes);

}  // namespace ostravel::wizard
