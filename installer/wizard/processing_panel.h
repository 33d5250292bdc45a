#pragma once
// Scopes for blocking work on a page: the hourglass, and the processing panel that
// stands in for the page's controls while the buttons that could re-enter the work
// are disabled. Both restore what they changed on every way out.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "installer/wizard/wizard_view.h"

namespace ostravel::wizard {

class HourglassScope {
 public:
  explicit HourglassScope(ControlView& view) : view_(view) { view_.SetCursor(CursorShape::Hourglass); }
  ~HourglassScope();
  HourglassScope(const HourglassScope&) = delete;
  HourglassScope& operator=(const HourglassScope&) = delete;

 private:
  ControlView& view_;
};

class ProcessingScope {
 public:
  // Hides `controls`, shows the panel with `text`, disables Back, Next and Cancel,
  // then lets the window repaint. The buttons come back only while the wizard
  // still stands on the page: a close confirmed meanwhile has moved it to the
  // error page, whose buttons are its own.
  ProcessingScope(WizardView& view, std::function<bool()> stillOnPage, const std::vector<const char*>& controls,
                  const std::string& text);
  ~ProcessingScope();
  ProcessingScope(const ProcessingScope&) = delete;
  ProcessingScope& operator=(const ProcessingScope&) = delete;

 private:
  WizardView& view_;
  std::function<bool()> stillOnPage_;
  HourglassScope hourglass_;
  std::vector<std::pair<const char*, bool>> hidden_;  // control, visible before
  std::vector<std::pair<const char*, bool>> buttons_;  // button, enabled before
};

}  // namespace ostravel::wizard
