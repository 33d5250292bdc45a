#pragma once
// Views without a screen, seeded from the control tables: every control starts with
// its design-time text, visibility and enabled state, and a name the table does not
// know fails the test. Events are raised the way a user would: only on a control that
// is visible, enabled and on the page shown, through the window's event sink.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "installer/ui/message_dialog.h"
#include "installer/wizard/control_table.h"
#include "installer/wizard/wizard_view.h"

namespace ostravel::test {

template <typename Base>
class RecordingControls : public Base {
 public:
  struct Control {
    const wizard::ControlSpec* spec = nullptr;
    std::string text;
    bool enabled = true, visible = true, checked = false, readOnly = false, focused = false;
    wizard::Colour colour = wizard::Colour::Window;
    std::vector<std::string> items;
    std::vector<bool> itemChecked, itemEnabled;
    int selected = -1;
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;
    int progressMin = 0, progressMax = 100, progressPosition = 0;
    bool smooth = false;
  };
  std::map<std::string, Control> controls;
  wizard::CursorShape cursor = wizard::CursorShape::Default;
  int processMessagesCalls = 0;
  wizard::EventSink* sink = nullptr;

  explicit RecordingControls(wizard::FormId form) : form_(form) {
    for (const wizard::ControlSpec& spec : wizard::FormControls(form)) {
      Control& c = controls[spec.name];
      c.spec = &spec;
      c.text = spec.text;
      c.enabled = spec.enabled;
      c.visible = spec.visible;
      c.checked = spec.checked;
      c.readOnly = spec.kind == wizard::ControlKind::ReadOnlyEdit;
    }
  }

  Control& At(const std::string& name) {
    auto it = controls.find(name);
    if (it != controls.end()) return it->second;
    ADD_FAILURE() << "no control named \"" << name << "\" in the form";
    static Control unknown;
    unknown = Control{};
    return unknown;
  }

  // ---- what a user does ----
  void Click(const std::string& name) {
    Control& c = Reachable(name);
    if (!c.spec) return;
    if (c.spec->kind == wizard::ControlKind::CheckBox) c.checked = !c.checked;
    Raise(name, wizard::ControlEvent::Click);
  }
  void Select(const std::string& name, int index) {
    Control& c = Reachable(name);
    if (!c.spec) return;
    c.selected = index;
    // A list box tells its selection as a click on an item, as the window does.
    Raise(name, IsListBox(c) ? wizard::ControlEvent::Click : wizard::ControlEvent::Select);
  }
  void CheckItem(const std::string& name, int index, bool checked) {
    Control& c = Reachable(name);
    if (!c.spec) return;
    if (index < 0 || size_t(index) >= c.items.size() || !c.itemEnabled[size_t(index)]) {
      ADD_FAILURE() << "item " << index << " of " << name << " cannot be checked";
      return;
    }
    c.itemChecked[size_t(index)] = checked;
    c.selected = index;
    Raise(name, wizard::ControlEvent::Check);
  }
  void Type(const std::string& name, const std::string& text) {
    Control& c = Reachable(name);
    if (!c.spec) return;
    if (c.readOnly) ADD_FAILURE() << name << " is read-only";
    c.text = text;
    Raise(name, wizard::ControlEvent::Change);
  }

  // ---- ControlView ----
  void SetText(const std::string& name, const std::string& text) override {
    Control& c = At(name);
    if (!IsList(c) && !IsListBox(c)) {
      c.text = text;
      return;
    }
    c.selected = -1;
    for (size_t i = 0; i < c.items.size(); ++i)
      if (c.items[i] == text) c.selected = int(i);
  }
  std::string Text(const std::string& name) override {
    Control& c = At(name);
    if (!IsList(c) && !IsListBox(c)) return c.text;
    return c.selected >= 0 && size_t(c.selected) < c.items.size() ? c.items[size_t(c.selected)] : "";
  }
  void SetEnabled(const std::string& name, bool enabled) override { At(name).enabled = enabled; }
  bool Enabled(const std::string& name) override { return At(name).enabled; }
  void SetVisible(const std::string& name, bool visible) override { At(name).visible = visible; }
  bool Visible(const std::string& name) override { return At(name).visible; }
  void SetChecked(const std::string& name, bool checked) override { At(name).checked = checked; }
  bool Checked(const std::string& name) override { return At(name).checked; }
  void SetReadOnly(const std::string& name, bool readOnly) override { At(name).readOnly = readOnly; }
  void SetColour(const std::string& name, wizard::Colour colour) override { At(name).colour = colour; }
  void SetFocus(const std::string& name) override {
    for (auto& [n, c] : controls) c.focused = false;
    At(name).focused = true;
  }
  void SetItems(const std::string& name, const std::vector<std::string>& items) override {
    Control& c = At(name);
    c.items = items;
    c.itemChecked.assign(items.size(), false);
    c.itemEnabled.assign(items.size(), true);
    c.selected = -1;
  }
  std::vector<std::string> Items(const std::string& name) override { return At(name).items; }
  void SetSelectedIndex(const std::string& name, int index) override { At(name).selected = index; }
  int SelectedIndex(const std::string& name) override { return At(name).selected; }
  void SetItemChecked(const std::string& name, int index, bool checked) override {
    if (Control* c = Item(name, index)) c->itemChecked[size_t(index)] = checked;
  }
  bool ItemChecked(const std::string& name, int index) override {
    Control* c = Item(name, index);
    return c && c->itemChecked[size_t(index)];
  }
  void SetItemEnabled(const std::string& name, int index, bool enabled) override {
    if (Control* c = Item(name, index)) c->itemEnabled[size_t(index)] = enabled;
  }
  bool ItemEnabled(const std::string& name, int index) override {
    Control* c = Item(name, index);
    return c && c->itemEnabled[size_t(index)];
  }
  void SetColumns(const std::string& name, const std::vector<std::string>& captions) override {
    At(name).columns = captions;
  }
  void SetRows(const std::string& name, const std::vector<std::vector<std::string>>& rows) override {
    Control& c = At(name);
    c.rows = rows;
    c.selected = -1;
  }
  std::vector<std::vector<std::string>> Rows(const std::string& name) override { return At(name).rows; }
  void SetProgressRange(const std::string& name, int minimum, int maximum) override {
    Control& c = At(name);
    c.progressMin = minimum;
    c.progressMax = maximum;
  }
  int ProgressMaximum(const std::string& name) override { return At(name).progressMax; }
  void SetProgressPosition(const std::string& name, int position) override { At(name).progressPosition = position; }
  int ProgressPosition(const std::string& name) override { return At(name).progressPosition; }
  void SetProgressSmooth(const std::string& name, bool smooth) override { At(name).smooth = smooth; }
  void SetCursor(wizard::CursorShape shape) override { cursor = shape; }
  void ProcessMessages() override { ++processMessagesCalls; }

 protected:
  // Whether a control on notebook page `page` (-1: always there) can be reached now.
  virtual bool OnShownPage(int /*page*/) { return true; }

 private:
  static bool IsList(const Control& c) {
    using K = wizard::ControlKind;
    return c.spec && (c.spec->kind == K::DropDown || c.spec->kind == K::OwnerDrawDropDown);
  }
  static bool IsListBox(const Control& c) {
    using K = wizard::ControlKind;
    return c.spec && (c.spec->kind == K::ListBox || c.spec->kind == K::OwnerDrawListBox ||
                      c.spec->kind == K::CheckList || c.spec->kind == K::FolderTree);
  }
  Control* Item(const std::string& name, int index) {
    Control& c = At(name);
    if (index < 0 || size_t(index) >= c.items.size()) {
      ADD_FAILURE() << "no item " << index << " in " << name;
      return nullptr;
    }
    return &c;
  }
  Control& Reachable(const std::string& name) {
    Control& c = At(name);
    if (c.spec && (!c.visible || !c.enabled || !OnShownPage(c.spec->page))) {
      ADD_FAILURE() << name << " cannot be reached: "
                    << (!c.visible   ? "hidden"
                        : !c.enabled ? "disabled"
                                     : "not on the page shown");
      static Control unreachable;
      unreachable = Control{};
      return unreachable;
    }
    return c;
  }
  void Raise(const std::string& name, wizard::ControlEvent event) {
    if (sink) sink->OnEvent(name, event);
  }

  wizard::FormId form_;
};

class RecordingView : public RecordingControls<wizard::WizardView> {
 public:
  RecordingView() : RecordingControls(wizard::FormId::MainForm) {}

  std::vector<wizard::Page> shownPages;
  std::string caption;
  bool uninstallIcon = false;
  int closeCalls = 0;
  int minimised = 0, restored = 0;
  std::vector<std::string> opened;
  std::vector<std::string> systemWarnings, systemErrors;
  // Plays the user's part in a dialog the wizard opens; the dialog's modal result.
  std::function<int(wizard::FormId, wizard::FormLogic&)> onModalForm;

  void ShowPage(wizard::Page page) override { shownPages.push_back(page); }
  void SetCaption(const std::string& text) override { caption = text; }
  std::string Caption() override { return caption; }
  void UseUninstallIcon() override { uninstallIcon = true; }
  void CloseWindow() override { ++closeCalls; }
  void ShellOpen(const std::string& target, const std::string& folder) override {
    opened.push_back(target + "|" + folder);
  }
  void MinimiseApplication() override { ++minimised; }
  void RestoreApplication() override { ++restored; }
  void ShowSystemWarning(const std::string& text) override { systemWarnings.push_back(text); }
  void ShowSystemError(const std::string& text) override { systemErrors.push_back(text); }
  // The running timer's tick and interval; the test fires it.
  std::function<void()> timerTick;
  int timerInterval = 0;
  void StartTimer(int intervalMs, std::function<void()> tick) override {
    timerInterval = intervalMs;
    timerTick = std::move(tick);
  }
  void StopTimer() override { timerTick = nullptr; }
  int ShowModalForm(wizard::FormId form, wizard::FormLogic& logic) override {
    if (!onModalForm) {
      ADD_FAILURE() << "a dialog opened that the test does not expect";
      return 2;  // cancelled
    }
    return onModalForm(form, logic);
  }

 protected:
  bool OnShownPage(int page) override { return page < 0 || (!shownPages.empty() && int(shownPages.back()) == page); }
};

// A dialog's controls, for the onModalForm part of a test.
class RecordingForm : public RecordingControls<wizard::FormView> {
 public:
  explicit RecordingForm(wizard::FormId form) : RecordingControls(form) {}
  std::string caption;
  int modalResult = 0;  // 0 while the dialog is open
  std::vector<std::string> systemWarnings;
  void SetCaption(const std::string& text) override { caption = text; }
  void EndModal(int result) override { modalResult = result; }
  void ShowSystemWarning(const std::string& text) override { systemWarnings.push_back(text); }
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
