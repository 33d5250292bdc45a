#pragma once
// "UpdateFilesAsNeccessary": the selected components' package archives extracted
// under the file rules. Only members with a record that is to be updated are
// written, each to its record's target; every folder and file written is recorded.
#include <functional>
#include <string>

#include "installer/engine/file_list.h"
#include "installer/engine/run_context.h"

namespace ostravel::engine {

struct ExtractionTexts {
  std::string copyFiles;  // the status line while packages are extracted
};

// `afterPackage` runs after each package (the run saves the record there).
// Archive damage the reader cannot record as a member error escapes as ArchiveError.
void ExtractPackages(RunContext& context, const FileList& list, const std::string& sourceFolder,
                     const ExtractionTexts& texts, const std::function<void()>& afterPackage = {});

// The packages the progress bar counts: the checked lines of the component check
// list for the Custom and WebUpdate kinds, else the components with a size.
int PackageCount(const RunContext& context);

}  // namespace ostravel::engine
