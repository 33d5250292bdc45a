#pragma once
// What the background window shows, from the [Configuration] section of the
// background script: colours, banner and copyright texts with their fonts.
#include <cstdint>
#include <string>

#include "installer/script/ext_ini_file.h"
#include "installer/script/utilities.h"

namespace ostravel::wizard {

enum class TextAlignment { Left, Centre, Right };

struct BackgroundSettings {
  bool gradient = false;  // "Background" 1
  int32_t gradStart = 0, gradEnd = 0, oneColor = 0;
  std::string topBanner, copyrightText;
  TextAlignment bannerAlignment = TextAlignment::Left, copyrightAlignment = TextAlignment::Left;
  FontStyle bannerFont, copyrightFont;
};

BackgroundSettings ReadBackgroundSettings(const TExtIniFile& script);

}  // namespace ostravel::wizard
