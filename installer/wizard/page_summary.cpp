// Summary: what is about to be installed, where, of which kind, with which
// components and shortcut group.
#include "base/text.h"
#include "installer/script/setup_script.h"
#include "installer/wizard/control_names.h"
#include "installer/wizard/page_entries.h"
#include "installer/wizard/page_handlers.h"
#include "installer/wizard/wizard_controller.h"

namespace ostravel::wizard {

namespace {

constexpr const char* kServerLine = "FireBird 2.5.4.26856 kiszolgáló alkalmazás";

std::string BeforeSemicolon(const std::string& text) { return text.substr(0, text.find(';')); }

std::vector<std::string> SummaryLines(WizardController& wizard, const SummarySection& texts) {
  WizardView& view = wizard.View();
  const PageSet& pages = wizard.State().visiblePages;
  std::vector<std::string> lines{"", "\t" + texts.applicationInstall};
  if (wizard.Server().installServer) lines.push_back(std::string("\t\t") + kServerLine);
  lines.push_back("\t\t" + wizard.WithChosenYear(BeforeSemicolon(wizard.Expand("$ApplicationName$;"))));
  lines.insert(lines.end(), {"", "\t" + texts.selectedFolder, "\t\t" + view.Text(ctl::kEDestination)});
  if (pages.Contains(Page::InstallKind)) {
    lines.insert(lines.end(), {"", "\t" + texts.installType, "\t\t" + BeforeSemicolon(view.Text(ctl::kCxInstallKind))});
    if (CustomKindSelected(wizard) || WebUpdateKindSelected(wizard)) {
      lines.insert(lines.end(), {"", "\t" + texts.components});
      const std::vector<std::string> items = view.Items(ctl::kClbComponents);
      for (size_t i = 0; i < items.size(); ++i)
        if (view.ItemChecked(ctl::kClbComponents, int(i))) lines.push_back("\t\t" + items[i]);
    }
  }
  if (pages.Contains(Page::CreateIcon) && !view.Checked(ctl::kCbDoNotCreateIcons))
    lines.insert(lines.end(), {"", "\t" + texts.iconsFolder, "\t\t" + view.Text(ctl::kEIcon)});
  return lines;
}

}  // namespace

PageEntryResult EnterSummary(WizardController& wizard, const TExtIniFile& script) {
  WizardView& view = wizard.View();
  view.SetText(ctl::kSummaryMemo, JoinLines(SummaryLines(wizard, ReadSummarySection(script))));
  const SetupSummaryPageSection page = ReadSetupSummaryPageSection(script);
  view.SetText(ctl::kSummaryInfoLabel, page.info);
  view.SetText(ctl::kSummaryNextLabel, page.next);
  if (wizard.Silent()) wizard.NextButtonClick();
  return {section::kSetupSummaryPage};
}

}  // namespace ostravel::wizard
