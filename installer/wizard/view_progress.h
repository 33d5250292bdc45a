#pragma once
// The progress page's bar and labels as the installation run drives them.
//
// The run reports far more often than anyone can see (every file, every block), and
// under Windows each bar move (a synchronous repaint), label text and drain of the
// message queue costs calls into the window system. So the queue is drained at most
// every kDrainIntervalMs, except right after a step boundary (step, status, range,
// the bar's visibility) or the bar's end; the bar moves only at a drain, by at least
// a thousandth of its range, or at once when it reaches an end; a label is set only
// to a text it does not already show. The window keeps answering and the last state
// is on the screen.
#include <cstdint>
#include <optional>
#include <string>

#include "installer/engine/run_context.h"
#include "installer/platform/system.h"
#include "installer/wizard/control_names.h"
#include "installer/wizard/wizard_view.h"

namespace ostravel::wizard {

class ViewProgress : public engine::ProgressSurface {
 public:
  static constexpr uint32_t kDrainIntervalMs = 40;

  // `clock` gives the milliseconds that pace the drains.
  ViewProgress(WizardView& view, platform::System& clock) : view_(view), clock_(clock) {}
  void SetRange(int minimum, int maximum) override;
  int Maximum() override;
  void SetPosition(int position) override;
  int Position() override;
  void SetBaseOffset(int offset) override { baseOffset_ = offset; }
  int BaseOffset() override { return baseOffset_; }
  void SetBarVisible(bool visible) override;
  void SetSmooth(bool smooth) override;
  void SetStatus(const std::string& text) override;
  void SetFileLabel(const std::string& text) override;
  void SetStep(const std::string& name) override;
  void ProcessMessages() override;

 private:
  struct Label {
    const char* control;
    std::optional<std::string> shown;  // unknown until this surface sets it
  };
  void SetLabel(Label& label, const std::string& text);
  // The range as the bar holds it; read from the bar once when no one set it here.
  void KnowRange();
  // Moves the bar to the position set when it differs from the shown one by a
  // thousandth of the range or is at an end; true when it moved.
  bool ShowPosition();

  WizardView& view_;
  platform::System& clock_;
  int baseOffset_ = 0;
  std::optional<int> minimum_, maximum_;
  std::optional<int> position_;  // as the run set it, unclamped
  std::optional<int> shownPosition_;
  Label status_{ctl::kProgressStatusLabel, {}}, fileLabel_{ctl::kLabel2, {}}, step_{ctl::kDebugLabel, {}};
  bool drainDue_ = true;
  uint32_t lastDrain_ = 0;
};

}  // namespace ostravel::wizard
