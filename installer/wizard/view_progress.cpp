#include "installer/wizard/view_progress.h"

#include "installer/wizard/control_names.h"

namespace ostravel::wizard {

void ViewProgress::SetRange(int minimum, int maximum) { view_.SetProgressRange(ctl::kProgressBar, minimum, maximum); }
int ViewProgress::Maximum() { return view_.ProgressMaximum(ctl::kProgressBar); }
void ViewProgress::SetPosition(int position) { view_.SetProgressPosition(ctl::kProgressBar, position); }
int ViewProgress::Position() { return view_.ProgressPosition(ctl::kProgressBar); }
void ViewProgress::SetBarVisible(bool visible) { view_.SetVisible(ctl::kProgressBar, visible); }
void ViewProgress::SetSmooth(bool smooth) { view_.SetProgressSmooth(ctl::kProgressBar, smooth); }
void ViewProgress::SetStatus(const std::string& text) { view_.SetText(ctl::kProgressStatusLabel, text); }
void ViewProgress::SetFileLabel(const std::string& text) { view_.SetText(ctl::kLabel2, text); }
void ViewProgress::SetStep(const std::string& name) { view_.SetText(ctl::kDebugLabel, name); }

}  // namespace ostravel::wizard
