// Greedy LZSS with hash chains. Matches never overlap the bytes they produce, so
// any expander, whether it copies byte by byte or in blocks, gets the same output.
#include <algorithm>
#include <vector>

#include "tools/media/szdd_format.h"

namespace ostravel::media {

namespace {

constexpr size_t kHashBits = 15;
constexpr size_t kChainLimit = 512;
constexpr uint32_t kNone = 0xFFFFFFFFu;

// The expander's view: the window's initial blanks followed by the data, so that
// matches against not-yet-written window bytes are ordinary back references.
class MatchFinder {
 public:
  explicit MatchFinder(std::string_view data) : stream_(kSzddWindowSize, ' ') {
    stream_.append(data);
    head_.assign(size_t{1} << kHashBits, kNone);
    prev_.assign(stream_.size(), kNone);
    // Seed with the last blanks only: matches further back than the window are useless.
    for (size_t p = kSzddWindowSize - kSzddMaxMatch; p < kSzddWindowSize; ++p) Insert(p);
  }

  size_t Size() const { return stream_.size(); }
  unsigned char At(size_t p) const { return static_cast<unsigned char>(stream_[p]); }

  void Insert(size_t p) {
    if (p + kSzddMinMatch > stream_.size()) return;
    const size_t h = Hash(p);
    prev_[p] = head_[h];
    head_[h] = static_cast<uint32_t>(p);
  }

  // Longest match for `cur` with distance below the window size and no overlap.
  size_t Longest(size_t cur, size_t& from) const {
    if (cur + kSzddMinMatch > stream_.size()) return 0;
    const size_t limit = std::min(kSzddMaxMatch, stream_.size() - cur);
    size_t best = 0;
    size_t chain = 0;
    for (uint32_t cand = head_[Hash(cur)]; cand != kNone && chain < kChainLimit; cand = prev_[cand], ++chain) {
      const size_t distance = cur - cand;
      if (distance >= kSzddWindowSize) break;
      const size_t maxLen = std::min(limit, distance);
      size_t len = 0;
      while (len < maxLen && stream_[cand + len] == stream_[cur + len]) ++len;
      if (len > best) {
        best = len;
        from = cand;
        if (best == limit) break;
      }
    }
    return best >= kSzddMinMatch ? best : 0;
  }

 private:
  size_t Hash(size_t p) const {
    const uint32_t v = (At(p) << 16) | (At(p + 1) << 8) | At(p + 2);
    return (v * 2654435761u) >> (32 - kHashBits);
  }

  std::string stream_;
  std::vector<uint32_t> head_;
  std::vector<uint32_t> prev_;
};

void PutLE32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

std::string SzddCompress(std::string_view data, char missingChar) {
  std::string out(kSzddMagic, sizeof kSzddMagic);
  out += 'A';
  out += missingChar;
  PutLE32(out, static_cast<uint32_t>(data.size()));

  MatchFinder finder(data);
  size_t flagAt = 0;
  int items = 8;
  size_t cur = kSzddWindowSize;
  while (cur < finder.Size()) {
    if (items == 8) {
      flagAt = out.size();
      out += '\0';
      items = 0;
    }
    size_t from = 0;
    const size_t len = finder.Longest(cur, from);
    if (len == 0) {
      out[flagAt] = static_cast<char>(out[flagAt] | (1 << items));
      out += static_cast<char>(finder.At(cur));
      finder.Insert(cur);
      ++cur;
    } else {
      // Window position of stream byte p: writing starts at 4096 - 16 for p = 4096.
      const size_t pos = (from + kSzddStartPosition) % kSzddWindowSize;
      out += static_cast<char>(pos & 0xFF);
      out += static_cast<char>(((pos >> 4) & 0xF0) | (len - kSzddMinMatch));
      for (size_t i = 0; i < len; ++i) finder.Insert(cur + i);
      cur += len;
    }
    ++items;
  }
  return out;
}

}  // namespace ostravel::media
