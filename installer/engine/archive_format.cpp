#include "installer/engine/archive_format.h"

#include <cstdio>

namespace ostravel::engine {

const char* ArchiveErrorText(int code) {
  switch (code) {
    case kErrCannotReadFile: return "Cannot read file";
    case kErrOverwriteFailed: return "Overwriting file failed";
    case kErrCannotReadArchive: return "Cannot read archive";
    case kErrCannotWriteArchive: return "Cannot write to archive";
    case kErrInvalidArchiveType: return "Invalid archive type";
    case kErrCompression: return "Compression error";
    case kErrCannotCreateTempFile: return "Cannot create temporary file to save the file IDs";
    default: return "";
  }
}

std::string ArchiveVolumePath(const std::string& archivePath, std::string_view digits) {
  // The extension is the last "." of the file-name part only.
  size_t nameStart = archivePath.find_last_of("\\/:");
  nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
  size_t dot = archivePath.find_last_of('.');
  std::string base = dot != std::string::npos && dot >= nameStart ? archivePath.substr(0, dot) : archivePath;
  return base + "." + std::string(digits);
}

std::string ArchiveVolumeMarker(int volume) {
  char digits[8];
  std::snprintf(digits, sizeof digits, "%03d", volume);
  return std::string(kVolumeMarker) + digits;
}

}  // namespace ostravel::engine
