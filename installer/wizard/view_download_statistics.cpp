#include "installer/wizard/view_download_statistics.h"

#include "installer/wizard/control_names.h"

namespace ostravel::wizard {

namespace {

constexpr const char* kBoxControls[] = {
    ctl::kGbDownloadStatistics,       ctl::kWUStatCurrentPackageCaption, ctl::kDownloadPackagePathLabel,
    ctl::kWUStatPackageSizeCaption,   ctl::kDownloadPackageSizeKBLabel,  ctl::kWUStatDownloadedCaption,
    ctl::kDownloadPackageDoneKBLabel, ctl::kWUStatAvgSpeedCaption,       ctl::kDownloadPackageSpeedKBLabel,
};

}  // namespace

void ViewDownloadStatistics::SetVisible(bool visible) {
  for (const char* name : kBoxControls) view_.SetVisible(name, visible);
}

// The path label's own caption, taken before the first address overwrites it.
std::string ViewDownloadStatistics::PackagePathCaption() {
  if (!captionKept_) {
    caption_ = view_.Text(ctl::kDownloadPackagePathLabel);
    captionKept_ = true;
  }
  return caption_;
}

void ViewDownloadStatistics::SetPackagePath(const std::string& text) {
  PackagePathCaption();
  view_.SetText(ctl::kDownloadPackagePathLabel, text);
}

void ViewDownloadStatistics::SetPackageSize(const std::string& text) {
  view_.SetText(ctl::kDownloadPackageSizeKBLabel, text);
}

void ViewDownloadStatistics::SetPackageDone(const std::string& text) {
  view_.SetText(ctl::kDownloadPackageDoneKBLabel, text);
}

void ViewDownloadStatistics::SetSpeed(const std::string& text) {
  view_.SetText(ctl::kDownloadPackageSpeedKBLabel, text);
}

}  // namespace ostravel::wizard
