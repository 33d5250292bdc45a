#pragma once
// The installation run of the progress page, install and uninstall mode.
#include "installer/engine/run_context.h"

namespace ostravel::engine {

// The locked-files message: "Egy vagy több frissítendő fájl zárolva van." ...,
// the locked targets, and the address of the knowledge-base article.
std::string LockedFilesMessage(const std::vector<std::string>& lockedTargets);
extern const char* const kLockedFilesArticleUrl;
extern const char* const kDownloadAbandoned;
// With RollbackOnFailure, a refused next-volume prompt fails the run with this.
extern const char* const kExtractionCancelled;
// Said on the error page when a run that undoes itself could not put everything back.
extern const char* const kRollbackIncomplete;
// Followed by the targets, as written, that name no usable path.
extern const char* const kUnusableTargets;

void RunInstall(RunContext& context);
void RunUninstall(RunContext& context);

}  // namespace ostravel::engine
