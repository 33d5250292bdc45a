#pragma once
// Address and header rules shared by the HTTP clients.
#include <cstdint>
#include <optional>
#include <string>

namespace ostravel::platform {

struct HttpUrl {
  bool secure = false;  // https
  std::string host;
  uint16_t port = 0;
  std::string path;  // from the first "/" on, query included; "/" when empty
};

// "http://host[:port]/path" or "https://..."; nullopt for anything else (other
// schemes, user information, an empty host, a bad port).
std::optional<HttpUrl> ParseHttpUrl(const std::string& url);

// A redirect over plain http is followed only to the same host and port (or up to
// https on the standard ports); from https only to https, on any host (a content
// network), never down to http: the download must not leave TLS.
bool RedirectAllowed(const HttpUrl& from, const HttpUrl& to);

// The target of a Location header relative to the address that answered.
std::string ResolveLocation(const std::string& base, const std::string& location);

// Content-Length as a plain decimal number; nullopt when missing, signed, not a
// number or beyond 63 bits.
std::optional<int64_t> ParseContentLength(const std::string& text);

// "HTTP/1.1 404 Not Found": the message of an error status.
std::string StatusMessage(int status, const std::string& reason);
// A body that ended before its announced length.
std::string ShortBodyMessage(int64_t received, int64_t announced);
// A body beyond the caller's limit.
std::string TooLongMessage(int64_t limit);

}  // namespace ostravel::platform
