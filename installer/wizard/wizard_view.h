#pragma once
// The wizard window as the page logic sees it: controls addressed by name, the
// notebook, and the few window-level operations. The Win32 window implements it with
// real controls; host tests use a recording view.
#include <string>
#include <vector>

#include "installer/wizard/page.h"

namespace ostravel::wizard {

class WizardView {
 public:
  virtual ~WizardView() = default;

  // Text of a control: caption, label text, edit or memo text (lines joined with
  // CR LF), a tagged label's markup, a combo's selected item.
  virtual void SetText(const std::string& control, const std::string& text) = 0;
  virtual std::string Text(const std::string& control) = 0;
  virtual void SetEnabled(const std::string& control, bool enabled) = 0;
  virtual bool Enabled(const std::string& control) = 0;
  virtual void SetVisible(const std::string& control, bool visible) = 0;
  virtual bool Visible(const std::string& control) = 0;
  virtual void SetChecked(const std::string& control, bool checked) = 0;
  virtual bool Checked(const std::string& control) = 0;

  // List controls (combos, lists).
  virtual void SetItems(const std::string& control, const std::vector<std::string>& items) = 0;
  virtual std::vector<std::string> Items(const std::string& control) = 0;
  // -1 selects nothing.
  virtual void SetSelectedIndex(const std::string& control, int index) = 0;
  virtual int SelectedIndex(const std::string& control) = 0;

  // Brings the page to the front of the notebook. Page entry is the controller's.
  virtual void ShowPage(Page page) = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual void UseUninstallIcon() = 0;
  // Keeps the window alive inside long work.
  virtual void ProcessMessages() = 0;
  // Ends the window once the running handlers have returned.
  virtual void CloseWindow() = 0;
  // Opens a document or address with the shell's "open" verb, maximised.
  virtual void ShellOpen(const std::string& target, const std::string& workingFolder) = 0;
};

}  // namespace ostravel::wizard
