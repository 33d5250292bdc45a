#include "tools/media/archive_writer.h"

#include <zlib.h>

#include <algorithm>
#include <climits>

#include "installer/engine/archive_format.h"

namespace ostravel::media {

using engine::kArchiveBlockSize;

namespace {
// End of a section, then the marker entry: what a split must still fit.
constexpr uint64_t kSplitReserve = 4 + 4 + 12;
}  // namespace

class ArchiveWriter::Deflater {
 public:
  explicit Deflater(int level) : level_(level) {}
  ~Deflater() {
    if (ready_) deflateEnd(&zs_);
  }
  // One complete zlib stream into `out`; false when it does not fit.
  bool Deflate(const unsigned char* in, size_t size, unsigned char* out, size_t capacity, size_t& produced) {
    if (!ready_) {
      if (deflateInit(&zs_, level_) != Z_OK) return false;
      ready_ = true;
    } else if (deflateReset(&zs_) != Z_OK) {
      return false;
    }
    zs_.next_in = const_cast<unsigned char*>(in);
    zs_.avail_in = unsigned(size);
    zs_.next_out = out;
    zs_.avail_out = unsigned(capacity);
    int rc = deflate(&zs_, Z_FINISH);
    produced = capacity - zs_.avail_out;
    return rc == Z_STREAM_END;
  }

 private:
  z_stream zs_{};
  int level_;
  bool ready_ = false;
};

ArchiveWriter::ArchiveWriter(platform::FileSystem& files, std::string path, ArchiveWriterOptions options)
    : files_(files), path_(std::move(path)), options_(std::move(options)) {}

ArchiveWriter::~ArchiveWriter() = default;

bool ArchiveWriter::Fail(const std::string& text) {
  if (error_.empty()) error_ = text;
  return false;
}

bool ArchiveWriter::Emit(const void* data, size_t size) {
  if (!out_) return Fail("archive is not open");
  if (!out_->Write(data, size)) return Fail("cannot write " + volumes_.back() + ": " + files_.LastErrorText());
  used_ += size;
  return true;
}

bool ArchiveWriter::EmitInt32(int32_t value) {
  std::string b;
  engine::PutInt32(b, value);
  return Emit(b.data(), b.size());
}

bool ArchiveWriter::OpenVolume(const std::string& path) {
  out_ = files_.OpenWrite(path);
  if (!out_) return Fail("cannot create " + path + ": " + files_.LastErrorText());
  volumes_.push_back(path);
  used_ = 0;
  return true;
}

bool ArchiveWriter::Begin(int64_t totalSize) {
  if (options_.level < 0 || options_.level > 9) return Fail("compression level must be 0 to 9");
  if (options_.volumeSize != 0 && options_.volumeSize < kMinVolumeSize)
    return Fail("volume size must be at least " + std::to_string(kMinVolumeSize) + " bytes");
  if (!OpenVolume(path_)) return false;
  // The field is 32-bit; a larger total only makes the progress reach 100 early.
  int32_t total = int32_t(totalSize > INT32_MAX ? INT32_MAX : totalSize < 0 ? 0 : totalSize);
  if (!EmitInt32(int32_t(options_.title.size())) || !Emit(options_.title.data(), options_.title.size()) ||
      !EmitInt32(total) || !EmitInt32(0))
    return false;
  volumeStart_ = used_;
  return true;
}

bool ArchiveWriter::SplitVolume() {
  int next = int(volumes_.size()) + 1;
  if (next > engine::kMaxVolumeNumber) return Fail("more than 999 volumes");
  if (sectionOpen_ && !EmitInt32(0)) return false;
  std::string marker = engine::ArchiveVolumeMarker(next);
  if (!EmitInt32(int32_t(marker.size())) || !Emit(marker.data(), marker.size())) return false;
  if (!out_->Close()) return Fail("cannot write " + volumes_.back() + ": " + files_.LastErrorText());
  std::string digits = marker.substr(engine::kVolumeMarker.size());
  if (!OpenVolume(engine::ArchiveVolumePath(path_, digits))) return false;
  // A new volume always opens with a data section of the member before the marker;
  // after a whole member it is an empty one.
  if (!Emit(engine::kArchiveMagic, 4)) return false;
  if (!sectionOpen_ && !EmitInt32(0)) return false;
  volumeStart_ = used_;
  return true;
}

bool ArchiveWriter::WriteBlock(const unsigned char* data, size_t size) {
  unsigned char packed[engine::kArchiveMaxCompressedBlock];
  size_t packedSize = 0;
  bool compressed = false;
  if (options_.level > 0) {
    if (!deflater_) deflater_ = std::make_unique<Deflater>(options_.level);
    compressed = deflater_->Deflate(data, size, packed, sizeof packed, packedSize) && packedSize < size;
  }
  size_t length = compressed ? packedSize : size;
  if (options_.volumeSize && used_ + 4 + length + kSplitReserve > options_.volumeSize && used_ > volumeStart_ &&
      !SplitVolume())
    return false;
  return EmitInt32(compressed ? int32_t(length) : -int32_t(length)) && Emit(compressed ? packed : data, length);
}

bool ArchiveWriter::AddMember(const std::string& storedName, uint32_t dosTime, platform::InputFile& data) {
  if (!out_) return Fail("archive is not open");
  if (storedName.empty() || storedName.size() > size_t(engine::kMaxArchiveNameLength))
    return Fail("stored name must have 1 to 32767 characters");
  size_t header = 4 + storedName.size() + 4 + 4;
  if (options_.volumeSize && haveMember_ && used_ + header + 4 + kSplitReserve > options_.volumeSize &&
      !SplitVolume())
    return false;
  if (!EmitInt32(int32_t(storedName.size())) || !Emit(storedName.data(), storedName.size()) ||
      !EmitInt32(int32_t(dosTime)) || !Emit(engine::kArchiveMagic, 4))
    return false;
  sectionOpen_ = true;
  haveMember_ = true;
  unsigned char block[kArchiveBlockSize];
  for (;;) {
    // Fill whole blocks: a short read is not the end of the file.
    size_t filled = 0;
    while (filled < sizeof block) {
      int64_t n = data.Read(block + filled, sizeof block - filled);
      if (n < 0) return Fail("cannot read member " + storedName);
      if (n == 0) break;
      filled += size_t(n);
    }
    if (filled > 0 && !WriteBlock(block, filled)) return false;
    if (filled < sizeof block) break;
  }
  sectionOpen_ = false;
  return EmitInt32(0);
}

namespace {
class StringInput : public platform::InputFile {
 public:
  explicit StringInput(const std::string& data) : data_(data) {}
  int64_t Read(void* buffer, size_t size) override {
    size_t n = std::min(size, data_.size() - pos_);
    std::copy_n(data_.data() + pos_, n, static_cast<char*>(buffer));
    pos_ += n;
    return int64_t(n);
  }
  uint64_t Size() override { return data_.size(); }

 private:
  const std::string& data_;
  size_t pos_ = 0;
};
}  // namespace

bool ArchiveWriter::AddMember(const std::string& storedName, uint32_t dosTime, const std::string& data) {
  StringInput input(data);
  return AddMember(storedName, dosTime, input);
}

bool ArchiveWriter::Finish() {
  if (!out_) return Fail("archive is not open");
  if (!EmitInt32(0)) return false;
  bool closed = out_->Close();
  out_.reset();
  return closed || Fail("cannot write " + volumes_.back() + ": " + files_.LastErrorText());
}

}  // namespace ostravel::media
