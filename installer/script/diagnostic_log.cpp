#include "installer/script/diagnostic_log.h"

#include <vector>

#include "base/installer_error.h"
#include "base/regional.h"
#include "base/text.h"

namespace ostravel {

DiagnosticLog::DiagnosticLog(platform::FileSystem& fs, platform::System& system, std::string tempFolder)
    : fs_(fs), system_(system), tempFolder_(std::move(tempFolder)) {}

void DiagnosticLog::WriteLog(const std::string& text) {
  const std::string path = LogPath();
  const size_t slash = path.rfind('\\');
  const std::string folder = path_.empty()                ? WithoutTrailing(tempFolder_, '\\')
                             : slash == std::string::npos ? std::string()
                                                          : path.substr(0, slash);
  if ((path_.empty() || !folder.empty()) && !fs_.CreateDirectories(folder))
    throw InstallerError(fs_.LastErrorText() + " (" + folder + ")");
  if (text == "DELETE") {
    if (fs_.FileExists(path)) fs_.DeleteFile(path);
    return;
  }
  std::string data;
  if (fs_.FileExists(path) && !fs_.ReadFile(path, data))
    throw InstallerError("Cannot open file \"" + path + "\". " + fs_.LastErrorText());
  // The same bytes as loading the lines, adding one and saving them all.
  std::vector<std::string> lines = SplitLines(data);
  lines.push_back(FormatLogTimestamp(system_.Now()) + " - Event: " + text);
  if (!fs_.ReplaceFile(path, JoinLines(lines)))
    throw InstallerError("Cannot create file \"" + path + "\". " + fs_.LastErrorText());
}

void AddDebugLine(std::vector<std::string>& debugInfoList, bool debugInfoMode, const std::string& line) {
  if (debugInfoMode) debugInfoList.push_back(line);
}

}  // namespace ostravel
