#pragma once
// The progress page's download-statistics group box and the form's one-second
// timer, as the package download drives them. The wizard side implements it over
// its view; its page entry sets the captions and keeps the current-package caption.
#include <cstdint>
#include <functional>
#include <string>

namespace ostravel::net {

class DownloadStatisticsSurface {
 public:
  virtual ~DownloadStatisticsSurface() = default;
  virtual void SetVisible(bool visible) = 0;  // gbDownloadStatistics
  // DownloadPackagePathLabel's kept caption (also its hint).
  virtual std::string PackagePathCaption() = 0;
  virtual void SetPackagePath(const std::string& text) = 0;  // DownloadPackagePathLabel
  virtual void SetPackageSize(const std::string& text) = 0;  // DownloadPackageSizeKBLabel
  virtual void SetPackageDone(const std::string& text) = 0;  // DownloadPackageDoneKBLabel
  virtual void SetSpeed(const std::string& text) = 0;        // DownloadPackageSpeedKBLabel
  // The form's Timer: `tick` runs every `intervalMs` while enabled, from the
  // processing of pending window messages.
  virtual void StartTimer(int intervalMs, std::function<void()> tick) = 0;
  virtual void StopTimer() = 0;  // nothing when it is not running
  // The system tick count in milliseconds.
  virtual uint32_t TickCount() = 0;
};

}  // namespace ostravel::net
