#pragma once
// The diagnostic log "belloro-installer.log" in the temporary folder: one
// timestamped line per event, deleted at the start of every wizard run.
#include <string>

#include "installer/platform/platform.h"

namespace ostravel {

class DiagnosticLog {
 public:
  static constexpr const char* kFileName = "belloro-installer.log";

  // `tempFolder` ends with "\".
  DiagnosticLog(platform::FileSystem& fs, platform::System& system, std::string tempFolder);

  // Appends "yyyy.mm.dd hh:nn:ss - Event: " + text; the exact text "DELETE" deletes
  // the log instead. Raises InstallerError when the folder cannot be created or the
  // log cannot be written.
  void WriteLog(const std::string& text);
  std::string LogPath() const { return path_.empty() ? tempFolder_ + kFileName : path_; }
  // The "/log=path" switch: the log lives at that path instead.
  void UsePath(std::string path) { path_ = std::move(path); }

 private:
  platform::FileSystem& fs_;
  platform::System& system_;
  std::string tempFolder_;
  std::string path_;
};

// Adds the per-file decision lines when "/debuginfo" is on.
void AddDebugLine(std::vector<std::string>& debugInfoList, bool debugInfoMode, const std::string& line);

}  // namespace ostravel
