#pragma once
// One zlib stream kept for every compressed block of an extraction: reset per block
// instead of set up and torn down, which is the same result for less work.
#include <cstddef>
#include <memory>

namespace ostravel::engine {

class ArchiveInflater {
 public:
  ArchiveInflater();
  ~ArchiveInflater();
  ArchiveInflater(const ArchiveInflater&) = delete;
  ArchiveInflater& operator=(const ArchiveInflater&) = delete;

  // Inflates `in` as one complete zlib stream into `out`. False when the stream is
  // damaged, ends early, leaves input over, or needs more than `capacity` bytes: a
  // block must never be cut short silently.
  bool Inflate(const unsigned char* in, size_t inSize, unsigned char* out, size_t capacity, size_t& produced);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace ostravel::engine
