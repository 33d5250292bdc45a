#pragma once
// Which pages navigation may stop on, decided once at window creation.
#include "installer/script/ext_ini_file.h"
#include "installer/wizard/page.h"

namespace ostravel::wizard {

PageSet BuildVisiblePages(const TExtIniFile& script, bool uninstallMode, bool silentMode);
// Index of the first member, kPageCount when there is none.
int FirstPageOf(const PageSet& pages);
// First member scanning down from Finished; Welcome when none.
Page LastPageOf(const PageSet& pages);

}  // namespace ostravel::wizard
