#include "installer/wizard/processing_panel.h"

#include "installer/wizard/control_names.h"

namespace ostravel::wizard {

HourglassScope::~HourglassScope() {
  try {
    view_.SetCursor(CursorShape::Default);
  } catch (...) {
    // A cursor that cannot be reset is no reason to lose the error being handled.
  }
}

ProcessingScope::ProcessingScope(WizardView& view, std::function<bool()> stillOnPage,
                                 const std::vector<const char*>& controls, const std::string& text)
    : view_(view), stillOnPage_(std::move(stillOnPage)), hourglass_(view) {
  for (const char* control : controls) {
    hidden_.emplace_back(control, view_.Visible(control));
    view_.SetVisible(control, false);
  }
  view_.SetText(ctl::kProcessingPanel, text);
  view_.SetVisible(ctl::kProcessingPanel, true);
  for (const char* button : {ctl::kBackButton, ctl::kNextButton, ctl::kCancelButton}) {
    buttons_.emplace_back(button, view_.Enabled(button));
    view_.SetEnabled(button, false);
  }
  view_.ProcessMessages();
}

ProcessingScope::~ProcessingScope() {
  try {
    if (stillOnPage_())
      for (const auto& [button, enabled] : buttons_) view_.SetEnabled(button, enabled);
    for (const auto& [control, visible] : hidden_) view_.SetVisible(control, visible);
    view_.SetVisible(ctl::kProcessingPanel, false);
  } catch (...) {
    // Restoring runs while an error may be on its way to the error page.
  }
}

}  // namespace ostravel::wizard
