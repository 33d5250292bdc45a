#pragma once
// Shared utilities: disk space, font texts, version texts, file times.
#include <cstdint>
#include <string>

#include "installer/platform/platform.h"

namespace ostravel {

// Free bytes available to the user (freeWanted) or total bytes of a drive; 0 when
// the drive cannot be queried.
int64_t DiskSpace(platform::FileSystem& fs, char driveLetter, bool freeWanted);

struct FontStyle {
  int32_t color = 0;  // a system colour value
  int32_t height = 0;
  std::string face;
  int32_t size = 10;
  bool bold = false, italic = false, underline = false, strikeOut = false;
};
// "colour;height;face;size;bold;italic;underline;strike-out". Size is applied after
// height and so decides the final height (at `pixelsPerInch`).
void ApplyFontSpecification(const std::string& text, FontStyle& font, int pixelsPerInch = 96);

// "%d.%.2d" of product major and product release.
platform::VersionRecord ReadProductVersion(platform::System& system, const std::string& path);
// "%d.%.2d" of file major and file release.
platform::VersionRecord ReadFileVersion(platform::System& system, const std::string& path);

// Last-write time of the first entry found for the path, packed; 0 when none.
uint32_t FileTime(platform::FileSystem& fs, const std::string& path);

}  // namespace ostravel
