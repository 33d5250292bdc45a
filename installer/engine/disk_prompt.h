#pragma once
// The next-volume prompt of a multi-volume archive. Unattended, nobody can insert a
// disk: the volume is looked for once more without a word, and a second prompt for
// the same volume goes to the box, which ends the extraction.
#include <string>

#include "installer/engine/run_context.h"

namespace ostravel::engine {

class DiskPrompt {
 public:
  explicit DiskPrompt(RunContext& context) : ctx_(context) {}
  // True when the archive is to look for the volume again.
  bool Confirm(const std::string& text);

 private:
  RunContext& ctx_;
  std::string lastPrompt_;
};

}  // namespace ostravel::engine
