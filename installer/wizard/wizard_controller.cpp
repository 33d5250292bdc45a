#include "installer/wizard/wizard_controller.h"

#include "base/cp1250.h"
#include "base/installer_error.h"
#include "base/text.h"
#include "installer/script/setup_script.h"
#include "installer/wizard/component_list.h"
#include "installer/wizard/control_names.h"
#include "installer/wizard/event_table.h"
#include "installer/wizard/module_list.h"
#include "installer/wizard/page_entries.h"
#include "installer/wizard/page_handlers.h"
#include "installer/wizard/visible_pages.h"

namespace ostravel::wizard {

const char* const kCancelledByUser =
    "A Telepítést annak teljes befejezése előtt a felhasználó megszakította. A telepítés befejezéséhez később "
    "újra kell futtatnia a Telepítőt";
const char* const kNoInstallRecord =
    "Az eltávolításhoz szükséges leírófájl nem létezik. Az eltávolítás nem lehetséges!";

WizardController::WizardController(WizardView& view, ostravel::Services& services, WizardBindings bindings)
    : view_(view),
      services_(services),
      bindings_(std::move(bindings)),
      progress_(view, services.machine.system),
      statistics_(view, services.machine.system) {}

void WizardController::OnEvent(const std::string& control, ControlEvent event) {
  if (EventHandlerFn handler = EventHandlerOf(control, event)) Guarded([&] { handler(*this); });
}

ItemDrawing WizardController::DrawItem(const std::string& control, int index) {
  try {
    if (DrawItemFn draw = DrawItemOf(control)) return draw(*this, index);
    const auto items = view_.Items(control);
    if (index >= 0 && size_t(index) < items.size()) return {items[size_t(index)], 1, 2};
  } catch (...) {
    // Painting must never fail the window; an item that cannot be described stays blank.
  }
  return {};
}

engine::RunContext WizardController::MakeRunContext() {
  engine::RunChoices choices;
  choices.destination = view_.Text(ctl::kEDestination);
  choices.copyTargetFolder = state_.copyTargetFolder;
  choices.installStartTime = state_.installStartTime;
  const int kind = view_.SelectedIndex(ctl::kCxInstallKind);
  choices.webUpdateKind = selection_.webUpdateKindIndex >= 0 && kind == selection_.webUpdateKindIndex;
  choices.hasOpSystemList = !view_.Items(ctl::kCxOpSystem).empty();
  choices.windowsVariant = view_.SelectedIndex(ctl::kCxOpSystem) == 0;
  choices.iconGroup = view_.Text(ctl::kEIcon);
  choices.offeredIconGroup = state_.offeredIconGroup;
  choices.doNotCreateIcons = view_.Checked(ctl::kCbDoNotCreateIcons);
  choices.needLumbraIcon = view_.Checked(ctl::kNeedLUMBRAIcon);
  choices.needOrvelIcon = view_.Checked(ctl::kNeedORVELIcon);
  if (Uninstall()) choices.uninstallKindIndex = kind;
  choices.customKind = CustomKindSelected(*this);
  const std::vector<std::string> items = view_.Items(ctl::kClbComponents);
  for (size_t i = 0; i < items.size(); ++i)
    choices.componentItems.push_back({items[i], view_.ItemChecked(ctl::kClbComponents, int(i))});
  choices.programYear = view_.Text(ctl::kCxProgramYear);
  choices.uninstallIconTitle = state_.uninstallIconTitle;
  engine::RunContext context{services_,
                             selection_,
                             server_,
                             web_,
                             record_,
                             finish_,
                             choices,
                             progress_,
                             [this](const std::string& message) { ApplicationEventsException(message); },
                             [this] { return !view_.Text(ctl::kErrorFinishMemo).empty(); }};
  // The kinds that never show the components page have their lists built by the run.
  context.buildModuleList = [this] {
    WithScript(services_.machine.files, services_.process.scriptPath,
               [&](const TExtIniFile& script) { BuildModuleList(*this, script); });
  };
  context.buildComponentEntries = [this] { BuildComponentEntries(*this, services_.process.scriptPath); };
  context.downloadStatistics = &statistics_;
  return context;
}

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
  // After the run no page leads back into it.
  view_.SetEnabled(ctl::kBackButton, int(page) != state_.firstPage && !state_.runDone);
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
  if (selection_.webUpdateKindIndex < 0 || kind != selection_.webUpdateKindIndex) return text;
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
  // The finish and error pages are the end, and after the run there is no way back
  // into it: a button left enabled by mistake must not reopen either.
  if (!current_ || state_.wizardFinished || state_.runDone) return;
  if (auto previous = state_.visiblePages.Before(*current_)) GoToPage(*previous);
}

void WizardController::FormClose() {
  Guarded([&] { CloseForm(); });
}

void WizardController::CloseForm() {
  if (closed_) return;
  // The run cannot be interrupted, also not from the error page it reported to:
  // the title bar's close is refused as Cancel is.
  if (state_.runInProgress) {
    services_.log.WriteLog("Close refused: the installation run is working");
    return;
  }
  if (state_.wizardFinished) {
    ClosingActions();
    closed_ = true;
    view_.CloseWindow();
    return;
  }
  if (Silent()) return;
  const std::string question =
      WithScript(services_.machine.files, services_.process.scriptPath,
                 [](TExtIniFile& script) { return ReadDlgMessagesSection(script).confirmExit; });
  const int answer = services_.dialogs.ShowMessage(question, ui::MsgDlgType::Confirmation, ui::mbYes | ui::mbNo,
                                                   services_.process.dialogLanguage);
  if (answer == ui::mrYes) ApplicationEventsException(kCancelledByUser);
}

void WizardController::FormActivate() {
  if (!Silent() || activated_) return;
  // A failure that escapes the chain lands on the error page; the run must end
  // there all the same.
  Guarded([&] { StartSilently(); });
  if (startedSilently_ && !closed_) Guarded([&] { EndUnattendedRun(); });
}

void WizardController::StartSilently() {
  activated_ = true;
  view_.ProcessMessages();
  // Window creation already failed: there is nothing to walk, only an end to report.
  if (current_ == Page::ErrorFinish) {
    startedSilently_ = true;
    return;
  }
  const int first = FirstPageOf(state_.visiblePages);
  if (first >= kPageCount) {
    // No page at all: an unattended run has nothing it could do, and a silent
    // window that is not finished refuses every close, so it would never end.
    services_.process.exitCode = 1;
    closed_ = true;
    view_.CloseWindow();
    return;
  }
  startedSilently_ = true;
  GoToPage(Page(first));
}

// The chain has returned. A finished wizard closes as usual; one that stopped on a
// page or on the error page would wait for a person who is not there, so it ends
// with exit code 1 and leaves the reason in the diagnostic log.
void WizardController::EndUnattendedRun() {
  if (current_ == Page::Finished && state_.wizardFinished) {
    FormClose();
    return;
  }
  services_.process.exitCode = 1;
  const std::string page = current_ ? PageName(*current_) : "";
  if (current_ == Page::ErrorFinish) {
    for (const std::string& line : SplitLines(view_.Text(ctl::kErrorFinishMemo)))
      services_.log.WriteLog("Unattended run failed: " + line);
  } else {
    const std::string reason = state_.unattendedStop.empty() ? "the page did not move on" : state_.unattendedStop;
    services_.log.WriteLog("Unattended run stopped on page " + page + ": " + reason);
  }
  if (state_.wizardFinished) ClosingActions();
  closed_ = true;
  view_.CloseWindow();
}

void WizardController::StopUnattended(const std::string& reason) {
  services_.process.exitCode = 1;
  if (state_.unattendedStop.empty()) state_.unattendedStop = reason;
  services_.log.WriteLog("Unattended run: " + reason);
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

void WizardController::WebBrowserButtonClick() { view_.ShellOpen(finish_.errorLinkUrl, ""); }

void WizardController::SetDestination(const std::string& path) {
  view_.SetText(ctl::kEDestination, UpperCase(path));
  // A window reports the change itself; a view that does not must get the same.
  eDestinationChange(*this);
}

}  // namespace ostravel::wizard
