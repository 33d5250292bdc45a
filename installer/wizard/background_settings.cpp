#include "installer/wizard/background_settings.h"

#include "installer/script/setup_script.h"

namespace ostravel::wizard {

namespace {
TextAlignment AlignmentOf(int32_t value) {
  return value == 1 ? TextAlignment::Centre : value == 2 ? TextAlignment::Right : TextAlignment::Left;
}
}  // namespace

BackgroundSettings ReadBackgroundSettings(const TExtIniFile& script) {
  const char* s = section::kConfiguration;
  BackgroundSettings b;
  b.gradient = script.ReadInteger(s, "Background", 0) == 1;
  b.gradStart = script.ReadInteger(s, "Grad Start", 0);
  b.gradEnd = script.ReadInteger(s, "Grad End", 0);
  b.oneColor = script.ReadInteger(s, "One Color", 0);
  b.topBanner = script.ReadString(s, "TopBanner", "");
  b.copyrightText = script.ReadString(s, "CopyrightText", "");
  b.bannerAlignment = AlignmentOf(script.ReadInteger(s, "Banner Alignment", 0));
  b.copyrightAlignment = AlignmentOf(script.ReadInteger(s, "Copyright Alignment", 0));
  ApplyFontSpecification(script.ReadString(s, "BannerFont", ""), b.bannerFont);
  ApplyFontSpecification(script.ReadString(s, "CopyrightFont", ""), b.copyrightFont);
  return b;
}

}  // namespace ostravel::wizard
