#pragma once
// The progress page's bar and labels as the installation run drives them.
#include "installer/engine/run_context.h"
#include "installer/wizard/wizard_view.h"

namespace ostravel::wizard {

class ViewProgress : public engine::ProgressSurface {
 public:
  explicit ViewProgress(WizardView& view) : view_(view) {}
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
  void ProcessMessages() override { view_.ProcessMessages(); }

 private:
  WizardView& view_;
  int baseOffset_ = 0;
};

}  // namespace ostravel::wizard
