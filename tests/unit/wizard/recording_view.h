#pragma once
// A wizard view without a screen: control states in maps, every page switch and
// window operation recorded, message dialogs answered from a script.
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "installer/ui/message_dialog.h"
#include "installer/wizard/wizard_view.h"

namespace ostravel::test {

class RecordingView : public wizard::WizardView {
 public:
  struct Control {
    std::string text;
    bool enabled = true, visible = true, checked = false;
    std::vector<std::string> items;
    int selected = -1;
  };
  std::map<std::string, Control> controls;
  std::vector<wizard::Page> shownPages;
  std::string caption;
  bool uninstallIcon = false;
  int closeCalls = 0;
  int processMessagesCalls = 0;
  std::vector<std::string> opened;

  void SetText(const std::string& c, const std::string& text) override {
    Control& control = controls[c];
    if (control.items.empty()) {
      control.text = text;
      return;
    }
    control.selected = -1;
    for (size_t i = 0; i < control.items.size(); ++i)
      if (control.items[i] == text) control.selected = int(i);
  }
  std::string Text(const std::string& c) override {
    Control& control = controls[c];
    if (control.items.empty()) return control.text;
    return control.selected >= 0 ? control.items[size_t(control.selected)] : "";
  }
  void SetEnabled(const std::string& c, bool enabled) override { controls[c].enabled = enabled; }
  bool Enabled(const std::string& c) override { return controls[c].enabled; }
  void SetVisible(const std::string& c, bool visible) override { controls[c].visible = visible; }
  bool Visible(const std::string& c) override { return controls[c].visible; }
  void SetChecked(const std::string& c, bool checked) override { controls[c].checked = checked; }
  bool Checked(const std::string& c) override { return controls[c].checked; }
  void SetItems(const std::string& c, const std::vector<std::string>& items) override {
    controls[c].items = items;
    controls[c].selected = -1;
  }
  std::vector<std::string> Items(const std::string& c) override { return controls[c].items; }
  void SetSelectedIndex(const std::string& c, int index) override { controls[c].selected = index; }
  int SelectedIndex(const std::string& c) override { return controls[c].selected; }
  void ShowPage(wizard::Page page) override { shownPages.push_back(page); }
  void SetCaption(const std::string& text) override { caption = text; }
  void UseUninstallIcon() override { uninstallIcon = true; }
  void ProcessMessages() override { ++processMessagesCalls; }
  void CloseWindow() override { ++closeCalls; }
  void ShellOpen(const std::string& target, const std::string& folder) override {
    opened.push_back(target + "|" + folder);
  }
};

// Answers message dialogs in order and remembers what was asked.
class ScriptedDialogs : public ui::MessageDialogs {
 public:
  struct Shown {
    std::string text;
    ui::MsgDlgType type;
    uint32_t buttons;
    int language;
  };
  std::deque<int> answers;
  std::vector<Shown> shown;
  int ShowMessage(const std::string& text, ui::MsgDlgType type, uint32_t buttons, int language) override {
    shown.push_back({text, type, buttons, language});
    if (answers.empty()) return ui::mrCancel;
    int answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

}  // namespace ostravel::test
