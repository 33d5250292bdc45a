#include "installer/platform/http_url.h"

#include "base/cp1250.h"
#include "base/text.h"

namespace ostravel::platform {

std::optional<HttpUrl> ParseHttpUrl(const std::string& url) {
  HttpUrl out;
  size_t rest;
  if (StartsWithNoCase(url, "http://")) {
    rest = 7;
  } else if (StartsWithNoCase(url, "https://")) {
    out.secure = true;
    rest = 8;
  } else {
    return std::nullopt;
  }
  const size_t slash = url.find_first_of("/?#", rest);
  const std::string authority = url.substr(rest, slash == std::string::npos ? std::string::npos : slash - rest);
  if (authority.empty() || authority.find('@') != std::string::npos) return std::nullopt;
  for (unsigned char c : authority)
    if (c <= ' ' || c >= 0x7f) return std::nullopt;
  out.port = out.secure ? 443 : 80;
  const size_t colon = authority.rfind(':');
  const bool bracketed = authority.front() == '[';
  if (colon != std::string::npos && (!bracketed || authority.find(']') < colon)) {
    const std::string port = authority.substr(colon + 1);
    if (port.empty() || port.size() > 5 || port.find_first_not_of("0123456789") != std::string::npos)
      return std::nullopt;
    const long number = std::stol(port);
    if (number < 1 || number > 65535) return std::nullopt;
    out.port = uint16_t(number);
    out.host = authority.substr(0, colon);
  } else {
    out.host = authority;
  }
  if (out.host.empty()) return std::nullopt;
  out.path = slash == std::string::npos ? "/" : url.substr(slash);
  if (out.path.front() != '/') out.path = "/" + out.path;
  return out;
}

bool RedirectAllowed(const HttpUrl& from, const HttpUrl& to) {
  if (from.secure && !to.secure) return false;
  // A site behind a content network hands https on to another host; the certificate
  // of that host is checked as any other.
  if (from.secure) return true;
  if (LowerCase(from.host) != LowerCase(to.host)) return false;
  // http -> https on the standard ports is the usual move of a site to TLS.
  if (!from.secure && to.secure) return from.port == 80 && to.port == 443;
  return from.port == to.port;
}

std::string ResolveLocation(const std::string& base, const std::string& location) {
  if (StartsWithNoCase(location, "http://") || StartsWithNoCase(location, "https://")) return location;
  auto parsed = ParseHttpUrl(base);
  if (!parsed) return location;
  std::string origin = (parsed->secure ? "https://" : "http://") + parsed->host;
  if (parsed->port != (parsed->secure ? 443 : 80)) origin += ":" + std::to_string(parsed->port);
  if (StartsWith(location, "//")) return (parsed->secure ? "https:" : "http:") + location;
  if (StartsWith(location, "/")) return origin + location;
  std::string path = parsed->path.substr(0, parsed->path.find_first_of("?#"));
  return origin + path.substr(0, path.rfind('/') + 1) + location;
}

std::optional<int64_t> ParseContentLength(const std::string& text) {
  const std::string value = Trim(text);
  if (value.empty() || value.size() > 18 || value.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  return std::stoll(value);
}

std::string StatusMessage(int status, const std::string& reason) {
  std::string text = "HTTP/1.1 " + std::to_string(status);
  if (!reason.empty()) text += " " + reason;
  return text;
}

std::string ShortBodyMessage(int64_t received, int64_t announced) {
  return "The connection closed after " + std::to_string(received) + " of " + std::to_string(announced) + " bytes";
}

std::string TooLongMessage(int64_t limit) {
  return "The answer is longer than " + std::to_string(limit) + " bytes";
}

}  // namespace ostravel::platform
