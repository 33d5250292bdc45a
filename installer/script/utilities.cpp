#include "installer/script/utilities.h"

#include <cmath>

#include "base/text.h"

namespace ostravel {

int64_t DiskSpace(platform::FileSystem& fs, char driveLetter, bool freeWanted) {
  auto space = fs.GetDiskSpace(std::string(1, driveLetter) + ":\\");
  if (!space) return 0;
  return int64_t(freeWanted ? space->freeBytes : space->totalBytes);
}

void ApplyFontSpecification(const std::string& text, FontStyle& font, int pixelsPerInch) {
  std::string rest = text;
  font.color = ParseIntegerOr(NextToken(rest, ';'), 0);
  font.height = ParseIntegerOr(NextToken(rest, ';'), font.height);
  font.face = NextToken(rest, ';');
  font.size = ParseIntegerOr(NextToken(rest, ';'), 10);
  font.height = -int32_t(std::lround(double(font.size) * pixelsPerInch / 72.0));
  font.bold = NextToken(rest, ';') == "1";
  font.italic = NextToken(rest, ';') == "1";
  font.underline = NextToken(rest, ';') == "1";
  font.strikeOut = NextToken(rest, ';') == "1";
}

platform::VersionRecord ReadProductVersion(platform::System& system, const std::string& path) {
  platform::VersionRecord v = system.ReadVersion(path);
  if (v.valid) v.text = Format("%d.%.2d", v.productMajor, v.productRelease);
  return v;
}

platform::VersionRecord ReadFileVersion(platform::System& system, const std::string& path) {
  platform::VersionRecord v = system.ReadVersion(path);
  if (v.valid) v.text = Format("%d.%.2d", v.fileMajor, v.fileRelease);
  return v;
}

uint32_t FileTime(platform::FileSystem& fs, const std::string& path) {
  auto info = fs.Find(path);
  return info ? info->dosTime : 0;
}

}  // namespace ostravel
