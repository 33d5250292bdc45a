#include "installer/wizard/wizard_controller.h"

#include "base/cp1250.h"
#include "base/installer_error.h"
#include "installer/script/setup_script.h"
#include "installer/wizard/control_names.h"
#include "installer/wizard/page_entries.h"
#include "installer/wizard/visible_pages.h"

namespace ostravel::wizard {

const char* const kCancelledByUser =
    "A Telepítést annak teljes befejezése előtt a felhasználó megszakította. A telepítés befejezéséhez később "
    "újra kell futtatnia a Telepítőt";
const char* const kNoInstallRecord =
    "Az eltávolításhoz szükséges leírófájl nem létezik. Az eltávolítás nem lehetséges!";

WizardController::WizardController(WizardView& view, WizardServices services)
    : view_(view), services_(services) {}

void WizardController::GoToPage(Page page) {
  if (current_ == page) return;
  current_ = page;
  view_.ShowPage(page);
  NotebookPageChanged();
}

// The common frame around every page's own entry.
void WizardController::NotebookPageChanged() {
  const Page page = *current_;
  view_.ProcessMessages();
  view_.SetEnabled(ctl::kBackButton, int(page) != state_.firstPage);
  view_.SetEnabled(ctl::kNextButton, page != state_.lastPage);
  WithScript(services_.machine.files, services_.process.scriptPath, [&](TExtIniFile& script) {
    const PageEntryResult result = PageEntryOf(page)(*this, script);
    // An entry that moved the wizard on (unattended, or by an error) has left the
    // header to the page now shown.
    if (!result.section.empty() && current_ == page) UpdateHeader(script, result.section);
  });
}

void WizardController::UpdateHeader(const TExtIniFile& script, const std::string& pageSection) {
  const PageHeader header = ReadPageHeader(script, pageSection);
  view_.SetText(ctl::kInstallTitleLabel, Expand(header.title));
  view_.SetText(ctl::kInstallDescriptionLabel, WithChosenYear(Expand(header.description)));
}

std::string WizardController::WithChosenYear(const std::string& text) {
  const int kind = view_.SelectedIndex(ctl::kCxInstallKind);
  if (state_.webUpdateKindIndex < 0 || kind != state_.webUpdateKindIndex) return text;
  const std::string year = services_.variables.Value("$varProgramYear$");
  const size_t at = year.empty() ? std::string::npos : text.find(year);
  if (at == std::string::npos) return text;
  std::string result = text;
  result.replace(at, 4, view_.Text(ctl::kCxProgramYear));
  return result;
}

void WizardController::NextButtonClick() {
  if (!current_) return;
  const Page page = *current_;
  if (LeaveCheckFn check = LeaveCheckOf(page)) {
    const bool leave = WithScript(services_.machine.files, services_.process.scriptPath,
                                  [&](TExtIniFile& script) { return check(*this, script); });
    if (!leave || current_ != page) return;
  }
  if (auto next = state_.visiblePages.After(page)) GoToPage(*next);
}

void WizardController::BackButtonClick() {
  if (!current_) return;
  if (auto previous = state_.visiblePages.Before(*current_)) GoToPage(*previous);
}

void WizardController::FormClose() {
  if (closed_) return;
  if (state_.wizardFinished) {
    ClosingActions();
    closed_ = true;
    view_.CloseWindow();
    return;
  }
  if (Silent()) return;
  const std::string question = WithScript(services_.machine.files, services_.process.scriptPath,
                                          [](TExtIniFile& script) { return ReadDlgMessagesSection(script).confirmExit; });
  const int answer = services_.dialogs.ShowMessage(question, ui::MsgDlgType::Confirmation, ui::mbYes | ui::mbNo,
                                                   services_.process.dialogLanguage);
  if (answer == ui::mrYes) ApplicationEventsException(kCancelledByUser);
}

void WizardController::FormActivate() {
  if (!Silent() || activated_) return;
  activated_ = true;
  view_.ProcessMessages();
  const int first = FirstPageOf(state_.visiblePages);
  if (first >= kPageCount) {
    // No page at all: an unattended run has nothing it could do, and a silent
    // window that is not finished refuses every close, so it would never end.
    services_.process.exitCode = 1;
    closed_ = true;
    view_.CloseWindow();
    return;
  }
  GoToPage(Page(first));
  if (!closed_ && current_ != Page::ErrorFinish) FormClose();
}

void WizardController::ApplicationEventsException(const std::string& message) {
  std::string memo = view_.Text(ctl::kErrorFinishMemo);
  memo += (memo.empty() ? "" : "\r\n") + message;
  view_.SetText(ctl::kErrorFinishMemo, memo);
  // An unattended run that ends on the error page must not report success.
  if (Silent()) services_.process.exitCode = 1;
  state_.visiblePages.Include(Page::ErrorFinish);
  GoToPage(Page::ErrorFinish);
}

void WizardController::ErrorJumpSafely(const std::string& message) {
  try {
    ApplicationEventsException(message);
  } catch (const std::exception& e) {
    // The error page itself failed (say, an unreadable script): keep the message
    // visible rather than lose it.
    try {
      view_.SetText(ctl::kErrorFinishMemo, view_.Text(ctl::kErrorFinishMemo) + "\r\n" + e.what());
    } catch (...) {
    }
  }
}

void WizardController::Guarded(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    ErrorJumpSafely(e.what());
  } catch (...) {
    ErrorJumpSafely("Unknown error");
  }
}

void WizardController::cxProgramYearSelect() {
  // The DOS variant exists only for years up to 2007.
  const bool oldYear = view_.Text(ctl::kCxProgramYear) < "2008";
  if (!oldYear) view_.SetSelectedIndex(ctl::kCxOpSystem, 0);
  view_.SetEnabled(ctl::kCxOpSystem, oldYear);
  view_.SetEnabled(ctl::kOpSystemLabel, oldYear);
}

void WizardController::InformationButtonClick() {
  const std::string& folder = services_.process.sourceFolder;
  std::string workingFolder = folder;
  if (!workingFolder.empty() && workingFolder.back() == '\\') workingFolder.pop_back();
  view_.ShellOpen(folder + "belloro.doc", workingFolder);
}

void WizardController::WebBrowserButtonClick() { view_.ShellOpen(state_.errorLinkUrl, ""); }

void WizardController::SetDestination(const std::string& path) {
  const std::string upper = UpperCase(path);
  view_.SetText(ctl::kEDestination, upper);
  services_.variables.SetCurrentDestination(upper);
}

}  // namespace ostravel::wizard
