#include "installer/net/update_script.h"

#include "base/installer_error.h"
#include "base/text.h"
#include "installer/net/file_fetch.h"

namespace ostravel::net {

bool LooksLikeSetupScript(const std::string& data) {
  if (data.find('\0') != std::string::npos) return false;
  for (const std::string& line : SplitLines(data)) {
    const std::string t = Trim(line);
    if (t.size() >= 2 && t.front() == '[' && t.back() == ']') return true;
  }
  return false;
}

std::string DownloadUpdateScript(const NetContext& net, const model::WebUpdate& web) {
  platform::FileSystem& fs = net.services.machine.files;
  const std::string folder = TempFolder(net);
  const std::string target = folder + kUpdateScriptName;
  const std::string url = FileAddress(web.webUpdateUrl, kUpdateScriptName);
  fs.CreateDirectories(folder);
  if (fs.FileExists(target)) fs.DeleteFile(target);

  net.services.log.WriteLog("Download start: " + url);
  FetchOptions options;
  options.retries = DownloadRetries(net);
  options.maxBytes = kMaxUpdateScriptBytes;
  platform::HttpResult result = FetchToFile(fs, net.services.machine.http, url, target, nullptr, options);
  net.services.log.WriteLog("Download done: " + url);

  std::string data;
  if (result.ok() && (!fs.ReadFile(target, data) || !LooksLikeSetupScript(data))) {
    result.failure = platform::HttpFailure::Protocol;
    result.error = "The answer for " + url + " is not an update script";
  }
  if (!result.ok()) {
    ShowDownloadBox(net, web.downloadGeneral + "\r\n\n" + result.error);
    throw InstallerError(web.downloadGeneral + "\r\n\r\n" + result.error);
  }
  net.services.process.scriptPath = target;
  return target;
}

}  // namespace ostravel::net
