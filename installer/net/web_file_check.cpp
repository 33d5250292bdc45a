#include "installer/net/web_file_check.h"

namespace ostravel::net {

bool WebFileExists(const NetContext& net, const std::string& url) {
  const platform::HttpResult result = net.machine.http.Head(url);
  if (result.ok()) return true;
  if (net.process.silentMode)
    net.process.exitCode = 1;
  else if (net.errorBox)
    net.errorBox(url + "\r\n\n" + result.error);
  return false;
}

}  // namespace ostravel::net
