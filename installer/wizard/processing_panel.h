#pragma once
// Scopes for blocking work on a page: the hourglass, and the processing panel that
// stands in for the page's controls while the buttons that could re-enter the work
// are disabled. Both restore what they changed on every way out.
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
  // then lets the window repaint.
  ProcessingScope(WizardView& view, const std::vector<const char*>& controls, const std::string& text);
  ~ProcessingScope();
  ProcessingScope(const ProcessingScope&) = delete;
  ProcessingScope& operator=(const ProcessingScope&) = delete;

 private:
  WizardView& view_;
  HourglassScope hourglass_;
  std::vector<std::pair<const char*, bool>> hidden_;  // control, visible before
  std::vector<std::pair<const char*, bool>> buttons_;  // button, enabled before
};

}  // namespace ostravel::wizard
