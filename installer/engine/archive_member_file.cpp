#include "installer/engine/archive_member_file.h"

namespace ostravel::engine {

MemberFile::MemberFile(platform::FileSystem& files, const std::string& path, bool append)
    : files_(files), path_(path), out_(append ? files.OpenAppend(path) : files.OpenWrite(path)) {}

bool MemberFile::Close(int32_t storedTime) {
  if (out_->SetDosTime(uint32_t(storedTime))) return out_->Close();
  const bool closed = out_->Close();
  files_.SetDosTime(path_, uint32_t(storedTime));
  return closed;
}

}  // namespace ostravel::engine
