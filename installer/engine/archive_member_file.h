#pragma once
// The writing side of an extraction: one member's target file, created anew or, for
// the member's continuation on the next volume, appended to, and stamped with the
// stored time once closed; and the first error of the extraction, reported at its end.
#include <cstdint>
#include <memory>
#include <string>

#include "installer/engine/archive_format.h"
#include "installer/platform/platform.h"

namespace ostravel::engine {

class MemberFile {
 public:
  MemberFile(platform::FileSystem& files, const std::string& path, bool append);
  MemberFile(const MemberFile&) = delete;
  MemberFile& operator=(const MemberFile&) = delete;

  bool IsOpen() const { return out_ != nullptr; }
  platform::OutputFile& Stream() { return *out_; }
  bool Write(const void* data, size_t size) { return out_->Write(data, size); }
  // Sets the file's last-write time through the open file where the system can,
  // else by path once closed (closing a written file would stamp it with the current
  // time), and closes it. False when closing failed.
  bool Close(int32_t storedTime);

 private:
  platform::FileSystem& files_;
  std::string path_;
  std::unique_ptr<platform::OutputFile> out_;
};

// The first error code recorded in an extraction (kErrNone while there is none).
class ExtractionError {
 public:
  void Clear() { code_ = kErrNone; }
  void Record(int code) {
    if (code_ == kErrNone) code_ = code;
  }
  int Code() const { return code_; }
  bool Any() const { return code_ != kErrNone; }
  // The text reported for the code ("Cannot read file").
  const char* Text() const { return ArchiveErrorText(code_); }

 private:
  int code_ = kErrNone;
};

}  // namespace ostravel::engine
