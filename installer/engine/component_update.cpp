#include "installer/engine/component_update.h"

#include "base/cp1250.h"
#include "base/datetime.h"
#include "base/regional.h"
#include "base/text.h"
#include "base/version_text.h"
#include "installer/engine/file_list.h"
#include "installer/engine/installed_file.h"
#include "installer/engine/target_paths.h"
#include "installer/script/script_lists.h"

namespace ostravel::engine {
namespace {

std::string DateText(int32_t packed) {
  auto dt = UnpackDosDateTime(uint32_t(packed));
  return dt ? FormatDateTimeText(*dt) : "N/A";
}

bool OlderByTimeOrVersion(const FileRecord& r, const InstalledFile& installed) {
  return (!installed.exists && r.size > 0) || installed.time < r.time ||
         CompareVersionText(installed.version, r.moduleVersion) < 0;
}

bool OutOfDate(platform::FileSystem& files, const FileRecord& r, const FileKeys& keys, const InstalledFile& installed) {
  if (r.size == -1) return false;
  switch (r.rule) {
    case kRuleAlwaysReplace:
      if (!installed.exists || FileDigest(files, r.targetPath) != keys.md5HashInfo) return true;
      return OlderByTimeOrVersion(r, installed);
    case kRuleWriteWhenMissing:
      return !installed.exists;
    default:
      return OlderByTimeOrVersion(r, installed);
  }
}

std::string ReportBlock(const FileRecord& r, const InstalledFile& installed) {
  return LowerCase(FileNameOf(r.targetPath)) + "\r\n" + "OldDate=" + (installed.exists ? DateText(installed.time) : "N/A") +
         "\r\n" + "NewDate=" + (r.time == 0 ? "N/A" : DateText(r.time)) + "\r\n" + "OldVerM=" + installed.version +
         "\r\n" + "NewVerM=" + r.moduleVersion + "\r\n" + "OldVerP=" + installed.shortVersion + "\r\n" +
         "NewVerP=" + r.productVersion + "\r\n" + "\r\n";
}

}  // namespace

ComponentUpdate ComponentNeedsUpdate(platform::FileSystem& files, platform::System& system,
                                     const PathVariables& variables, const TExtIniFile& script, int componentId) {
  ComponentUpdate result;
  for (const FileKeys& keys : ReadFileList(script, "")) {
    if (result.needsUpdate) break;
    if (keys.compId != componentId) continue;
    const FileRecord r = MakeFileRecord(keys, variables);
    if (!r.usableTarget) continue;
    const std::string extension = LowerCase(ExtensionOf(r.targetPath));
    const bool program = extension == ".exe" || extension == ".dll";
    const InstalledFile installed = InspectInstalledFile(files, system, r.targetPath, true);
    result.needsUpdate = OutOfDate(files, r, keys, installed);
    if (!program) continue;
    result.report += ReportBlock(r, installed);
    if (!result.productVersionOlder && CompareVersionText(installed.shortVersion, r.productVersion) < 0)
      result.productVersionOlder = true;
  }
  return result;
}

}  // namespace ostravel::engine
