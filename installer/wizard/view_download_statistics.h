#pragma once
// The progress page's download-statistics box as the web download drives it.
#include "installer/net/download_statistics.h"
#include "installer/platform/system.h"
#include "installer/wizard/wizard_view.h"

namespace ostravel::wizard {

class ViewDownloadStatistics : public net::DownloadStatisticsSurface {
 public:
  ViewDownloadStatistics(WizardView& view, platform::System& system) : view_(view), system_(system) {}
  void SetVisible(bool visible) override;
  std::string PackagePathCaption() override;
  void SetPackagePath(const std::string& text) override;
  void SetPackageSize(const std::string& text) override;
  void SetPackageDone(const std::string& text) override;
  void SetSpeed(const std::string& text) override;
  void StartTimer(int intervalMs, std::function<void()> tick) override { view_.StartTimer(intervalMs, std::move(tick)); }
  void StopTimer() override { view_.StopTimer(); }
  uint32_t TickCount() override { return system_.TickCount(); }

 private:
  WizardView& view_;
  platform::System& system_;
  bool captionKept_ = false;
  std::string caption_;
};

}  // namespace ostravel::wizard
