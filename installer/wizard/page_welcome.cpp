// Welcome: the tagged welcome text beside the wizard picture.
#include "base/text.h"
#include "installer/script/setup_script.h"
#include "installer/wizard/control_names.h"
#include "installer/wizard/page_entries.h"
#include "installer/wizard/wizard_controller.h"

namespace ostravel::wizard {

PageEntryResult EnterWelcome(WizardController& wizard, const TExtIniFile& script) {
  const std::string pageSection = wizard.Uninstall() ? section::kUnWelcome : section::kWelcomePage;
  std::vector<std::string> lines;
  script.ReadLines(pageSection, lines, kMaxWelcomeLines);
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
  wizard.View().SetText(ctl::kSlWelcome, wizard.Expand(text));
  if (wizard.Silent()) wizard.NextButtonClick();
  return {pageSection};
}

}  // namespace ostravel::wizard
