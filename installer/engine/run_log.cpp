#include "installer/engine/run_log.h"

#include <algorithm>
#include <unordered_set>

#include "base/cp1250.h"
#include "base/regional.h"
#include "base/text.h"

namespace ostravel::engine {

FileCounts CountFiles(const FileList& list, const model::InstallRecordEntries& record, bool extracted) {
  FileCounts c;
  std::unordered_set<std::string> written;
  for (const model::InstallRecordEntry& e : record)
    if (e.kind == model::RecordAction::CopyFile || e.kind == model::RecordAction::ReplaceFile)
      written.insert(UpperCase(e.value));
  c.written = int(written.size());
  int never = 0;
  for (const FileRecord& r : list.Records()) {
    if (r.Has(kFileLocked))
      ++c.locked;
    else if (r.usableTarget && !r.Has(kFileUpdate))
      ++c.kept;
    else if (!r.usableTarget || r.rule == kRuleNeverWrite)
      ++never;
  }
  c.skipped = extracted ? std::max(0, int(list.Records().size()) - c.written - c.kept - c.locked) : never;
  return c;
}

std::string StepLine(const std::string& name, const DateTime& started, uint32_t milliseconds,
                     const FileCounts& counts) {
  return "Step " + name + ": started " + FormatLogTimestamp(started) + Format(".%03d", started.millisecond) + ", " +
         Format("%u ms; files written %d, kept %d, skipped %d, locked %d", milliseconds, counts.written, counts.kept,
                counts.skipped, counts.locked);
}

RunLog::Timing RunLog::Start() {
  return {ctx_.services.machine.system.Now(), ctx_.services.machine.system.TickCount()};
}

void RunLog::End(const std::string& name, const Timing& timing) noexcept {
  try {
    const uint32_t elapsed = ctx_.services.machine.system.TickCount() - timing.tick;
    LogQuietly(ctx_, StepLine(name, timing.started, elapsed, CountFiles(list_, ctx_.record, extracted)));
  } catch (...) {
    // The administrator's log never ends a run.
  }
}

}  // namespace ostravel::engine
