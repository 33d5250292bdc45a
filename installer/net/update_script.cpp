#include "installer/net/update_script.h"

#include <optional>

#include "base/base64.h"
#include "base/installer_error.h"
#include "base/signature.h"
#include "base/text.h"
#include "installer/net/file_fetch.h"

namespace ostravel::net {

namespace {

// Empty when `script` is what the medium's key signed; otherwise why not.
std::string SignatureProblem(const NetContext& net, const model::WebUpdate& web, const std::string& script) {
  const std::optional<std::string> key = Base64Decode(web.updateSigningKey);
  if (!key || !IsSigningKey(*key)) return "A telepítő UpdateSigningKey kulcsa hibás.";
  platform::FileSystem& fs = net.services.machine.files;
  const std::string target = TempFolder(net) + kUpdateSignatureName;
  const std::string url = FileAddress(web.webUpdateUrl, kUpdateSignatureName);
  if (fs.FileExists(target)) fs.DeleteFile(target);
  net.services.log.WriteLog("Download start: " + url);
  FetchOptions options;
  options.retries = DownloadRetries(net);
  options.maxBytes = kMaxUpdateSignatureBytes;
  const platform::HttpResult result = FetchToFile(fs, net.services.machine.http, url, target, nullptr, options);
  net.services.log.WriteLog("Download done: " + url);
  std::string text;
  if (!result.ok()) return "Az aláírás nem tölthető le (" + url + "):\r\n" + result.error;
  if (!fs.ReadFile(target, text)) return "Az aláírás nem olvasható: " + target;
  const std::optional<std::string> signature = Base64Decode(text);
  if (!signature || signature->size() != kSignatureSize) return "Az aláírás formája hibás (" + url + ").";
  if (!VerifySignature(*key, script, *signature)) return "Az aláírás nem a letöltött frissítés aláírása (" + url + ").";
  return {};
}

}  // namespace

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
  if (result.ok() && fs.ReadFile(target, data) && web.SignedSite()) {
    const std::string problem = SignatureProblem(net, web, data);
    if (!problem.empty()) {
      // Nothing of an unverified script may be read later, by this run or another.
      fs.DeleteFile(target);
      ShowDownloadBox(net, web.updateSignatureFailed + "\r\n\n" + problem);
      throw InstallerError(web.updateSignatureFailed + "\r\n\r\n" + problem);
    }
  }
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
