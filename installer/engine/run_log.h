#pragma once
// The administrator's log ("/log"): each step of a run with its start time, its
// duration and the files counted so far, in the diagnostic log. Without the switch
// nothing is written.
#include <cstdint>
#include <string>

#include "base/datetime.h"
#include "installer/engine/file_list.h"
#include "installer/engine/run_context.h"

namespace ostravel::engine {

struct FileCounts {
  int written = 0, kept = 0, skipped = 0, locked = 0;
};

// Written: distinct files the run wrote (the record's copied and replaced files).
// Locked: files the lock test found open. Kept: files the rules leave as they are.
// Skipped: files never to be written (the never-written rule, an unusable target)
// and, once the packages are extracted, every other file that was not written (no
// member in a package, a package not chosen).
FileCounts CountFiles(const FileList& list, const model::InstallRecordEntries& record, bool extracted);

// "Step <name>: started <date time.ms>, <n> ms; files written .., kept .., skipped .., locked .."
std::string StepLine(const std::string& name, const DateTime& started, uint32_t milliseconds, const FileCounts& counts);

class RunLog {
 public:
  // `list` is the run's file list (empty in an uninstall run).
  RunLog(RunContext& ctx, const FileList& list) : ctx_(ctx), list_(list) {}

  // Set once the packages are extracted: from then on a file not written is skipped.
  bool extracted = false;

  // Runs `fn` as one step; with the switch, logs it afterwards, also when it raises.
  template <typename Fn>
  auto Step(const std::string& name, Fn&& fn) {
    if (!On()) return fn();
    Timing timing = Start();
    struct Finish {
      RunLog& log;
      const std::string& name;
      Timing timing;
      ~Finish() { log.End(name, timing); }
    } finish{*this, name, timing};
    return fn();
  }

 private:
  struct Timing {
    DateTime started;
    uint32_t tick = 0;
  };
  bool On() const { return ctx_.services.process.switches.log; }
  Timing Start();
  void End(const std::string& name, const Timing& timing) noexcept;

  RunContext& ctx_;
  const FileList& list_;
};

}  // namespace ostravel::engine
