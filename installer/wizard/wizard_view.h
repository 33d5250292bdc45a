#pragma once
// The wizard window as the page logic sees it: its controls (control_view.h), the
// notebook, the dialogs it opens and the few window-level operations.
#include <functional>
#include <memory>
#include <string>

#include "installer/model/web_update.h"
#include "installer/wizard/control_table.h"
#include "installer/wizard/control_view.h"
#include "installer/wizard/page.h"

namespace ostravel::wizard {

class WizardView : public ControlView {
 public:
  // Brings the page to the front of the notebook. Page entry is the controller's.
  virtual void ShowPage(Page page) = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual std::string Caption() = 0;
  virtual void UseUninstallIcon() = 0;
  // Ends the window once the running handlers have returned.
  virtual void CloseWindow() = 0;
  // Opens a document or address with the shell's "open" verb, maximised.
  virtual void ShellOpen(const std::string& target, const std::string& workingFolder) = 0;
  // Minimises the whole application, and brings it back.
  virtual void MinimiseApplication() = 0;
  virtual void RestoreApplication() = 0;
  // The plain system message box (warning, OK), not the localised dialog.
  virtual void ShowSystemWarning(const std::string& text) = 0;
  // The plain system error box, captioned "Error", with OK.
  virtual void ShowSystemError(const std::string& text) = 0;
  // Shows a dialog of the control table modally over the wizard; its modal result.
  virtual int ShowModalForm(FormId form, FormLogic& logic) = 0;
  // The window's one timer: `tick` runs every `intervalMs` from the processing of
  // window messages until StopTimer (which does nothing when none runs).
  virtual void StartTimer(int intervalMs, std::function<void()> tick) = 0;
  virtual void StopTimer() = 0;
};

// The window's side of its logic: its lifecycle besides the control events.
class WizardSink : public EventSink {
 public:
  virtual void FormCreate() = 0;
  virtual void FormActivate() = 0;
  // A close request (Cancel, title bar): the closing rules decide.
  virtual void FormClose() = 0;
  virtual void FormDestroy() = 0;
  // A failure outside the logic's own handlers: it goes to the error page like any other.
  virtual void ReportError(const std::string& message) = 0;
};

// Makes the logic for a wizard window; the window owns what it gets.
class WizardFactory {
 public:
  virtual ~WizardFactory() = default;
  virtual std::unique_ptr<WizardSink> CreateWizard(WizardView& view) = 0;
};

}  // namespace ostravel::wizard
