#include "installer/net/web_file_check.h"

namespace ostravel::net {

bool WebFileExists(const NetContext& net, const std::string& url) {
  const platform::HttpResult result = net.services.machine.http.Head(url);
  if (result.ok()) return true;
  if (net.errorBox) net.errorBox(url + "\r\n\n" + result.error);
  return false;
}

}  // namespace ostravel::net
