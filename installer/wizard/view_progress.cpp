#include "installer/wizard/view_progress.h"

#include <algorithm>
#include <cstdlib>

namespace ostravel::wizard {

void ViewProgress::KnowRange() {
  if (maximum_) return;
  minimum_ = 0;
  maximum_ = view_.ProgressMaximum(ctl::kProgressBar);
}

void ViewProgress::SetRange(int minimum, int maximum) {
  drainDue_ = true;
  if (minimum_ == minimum && maximum_ == maximum) return;
  view_.SetProgressRange(ctl::kProgressBar, minimum, maximum);
  minimum_ = minimum;
  maximum_ = maximum;
  // The bar clamps its position to the new range: what it shows is no longer known.
  shownPosition_.reset();
}

int ViewProgress::Maximum() {
  KnowRange();
  return *maximum_;
}

void ViewProgress::SetPosition(int position) {
  KnowRange();
  position_ = position;
  // The ends at once; anything between waits for the next drain, which paints it.
  const int low = *minimum_, high = std::max(*minimum_, *maximum_);
  const int shown = std::clamp(position, low, high);
  if ((shown == low || shown == high) && ShowPosition()) drainDue_ = true;
}

bool ViewProgress::ShowPosition() {
  if (!position_) return false;
  KnowRange();
  const int low = *minimum_, high = std::max(*minimum_, *maximum_);
  const int shown = std::clamp(*position_, low, high);
  if (shownPosition_ == shown) return false;
  const bool atEnd = shown == low || shown == high;
  const int64_t moved = shownPosition_ ? std::llabs(int64_t(shown) - *shownPosition_) : int64_t(high) - low;
  if (!atEnd && moved * 1000 < int64_t(high) - low) return false;
  view_.SetProgressPosition(ctl::kProgressBar, shown);
  shownPosition_ = shown;
  return true;
}

int ViewProgress::Position() {
  if (!position_) position_ = view_.ProgressPosition(ctl::kProgressBar);
  return *position_;
}

void ViewProgress::SetBarVisible(bool visible) {
  view_.SetVisible(ctl::kProgressBar, visible);
  drainDue_ = true;
}

void ViewProgress::SetSmooth(bool smooth) { view_.SetProgressSmooth(ctl::kProgressBar, smooth); }

void ViewProgress::SetLabel(Label& label, const std::string& text) {
  if (label.shown == text) return;
  view_.SetText(label.control, text);
  label.shown = text;
}

void ViewProgress::SetStatus(const std::string& text) {
  SetLabel(status_, text);
  ShowPosition();
  drainDue_ = true;
}

void ViewProgress::SetFileLabel(const std::string& text) { SetLabel(fileLabel_, text); }

void ViewProgress::SetStep(const std::string& name) {
  SetLabel(step_, name);
  ShowPosition();
  drainDue_ = true;
}

void ViewProgress::ProcessMessages() {
  const uint32_t now = clock_.TickCount();
  if (!drainDue_ && now - lastDrain_ < kDrainIntervalMs) return;
  ShowPosition();
  view_.ProcessMessages();
  lastDrain_ = now;
  drainDue_ = false;
}

}  // namespace ostravel::wizard
