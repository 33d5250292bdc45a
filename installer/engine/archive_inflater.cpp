#include "installer/engine/archive_inflater.h"

#include <zlib.h>

#include <climits>

namespace ostravel::engine {

struct ArchiveInflater::State {
  z_stream stream{};
  bool ready = false;
};

ArchiveInflater::ArchiveInflater() : state_(std::make_unique<State>()) {}

ArchiveInflater::~ArchiveInflater() {
  if (state_->ready) inflateEnd(&state_->stream);
}

bool ArchiveInflater::Inflate(const unsigned char* in, size_t inSize, unsigned char* out, size_t capacity,
                              size_t& produced) {
  produced = 0;
  if (inSize > UINT_MAX || capacity > UINT_MAX) return false;
  z_stream& zs = state_->stream;
  if (!state_->ready) {
    zs = z_stream{};
    if (inflateInit(&zs) != Z_OK) return false;
    state_->ready = true;
  } else if (inflateReset(&zs) != Z_OK) {
    return false;
  }
  zs.next_in = const_cast<unsigned char*>(in);
  zs.avail_in = unsigned(inSize);
  zs.next_out = out;
  zs.avail_out = unsigned(capacity);
  // The whole block is here and its output fits the buffer, so one finishing call
  // decodes it without copying into the sliding window.
  int rc = inflate(&zs, Z_FINISH);
  produced = capacity - zs.avail_out;
  return rc == Z_STREAM_END && zs.avail_in == 0;
}

}  // namespace ostravel::engine
