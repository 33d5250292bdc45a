#include "installer/engine/install_steps.h"

namespace ostravel::engine {

void SetFileAttributes(RunContext& ctx, const FileList& list) {
  platform::FileSystem& files = ctx.services.machine.files;
  for (const FileRecord& r : list.Records()) {
    uint32_t attributes = 0;
    if (r.readOnly) attributes |= platform::kAttrReadOnly;
    if (r.hidden) attributes |= platform::kAttrHidden;
    if (r.system) attributes |= platform::kAttrSystem;
    if (r.archive) attributes |= platform::kAttrArchive;
    if (attributes == 0 || !r.usableTarget) continue;
    // A file that is not there refuses the attributes; nothing more to it.
    files.SetAttributes(ctx.services.variables.ExpandVariables(r.targetPath), attributes);
  }
}

}  // namespace ostravel::engine
