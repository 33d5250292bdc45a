#pragma once
// The one HTTP client every transfer of the installer goes through: header
// requests and gets streamed into a file, with a progress callback, fixed request
// headers and an optional HTTP proxy. WinHTTP on Windows, a scripted fake in tests.
// Every text here is CP1250; addresses are plain ASCII in practice.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#ifdef _WIN32
#include "base/win32/undef_macros.h"
#endif

namespace ostravel::platform {

// Sent with every request.
inline constexpr const char* kHttpAccept = "text/html, */*";
inline constexpr const char* kHttpUserAgent = "Mozilla/3.0 (compatible; Indy Library)";

struct HttpProxy {
  std::string host;  // empty: direct connection
  uint32_t port = 0;
  std::string username, password;  // Basic authentication when the user name is set
};

enum class HttpFailure {
  None,
  Status,    // the server answered with an error status
  TimedOut,  // connect or receive time-out
  Dropped,   // the connection ended before the announced body did
  Refused,   // no connection: name resolution, refused, proxy
  Security,  // certificate or TLS failure
  Protocol,  // redirects elsewhere, bad answers, a body over the limit
  Local,     // the target could not be written
};

struct HttpResult {
  HttpFailure failure = HttpFailure::None;
  int status = 0;     // last status line seen, 0 when none
  std::string error;  // the message text of a failure; never holds proxy credentials
  // Content-Length of the answer: nullopt when absent or not a plain decimal number.
  std::optional<int64_t> contentLength;
  int64_t received = 0;  // body bytes delivered to the target by this request
  bool ok() const { return failure == HttpFailure::None; }
};

// Where a get's body goes. Begin comes once, before the first byte: offset 0 for
// the whole body, or the resume offset when the server sent the rest only (206).
class HttpBodyTarget {
 public:
  virtual ~HttpBodyTarget() = default;
  virtual bool Begin(int64_t offset) = 0;
  virtual bool Write(const void* data, size_t size) = 0;
};

struct HttpGetOptions {
  int64_t resumeFrom = 0;  // > 0: ask for the bytes from there on (Range)
  int64_t maxBytes = -1;   // a body longer than this fails; -1 for no limit
};

class HttpClient {
 public:
  // Bytes received so far in the current transfer (resumed bytes included).
  using Progress = std::function<void(int64_t received)>;

  virtual ~HttpClient() = default;
  virtual HttpProxy Proxy() const = 0;
  // Applies to the next request.
  virtual void SetProxy(const HttpProxy& proxy) = 0;
  // HEAD. Any status from 400 on is a failure.
  virtual HttpResult Head(const std::string& url) = 0;
  // GET into the target. A status from 400 on, a body shorter than announced and a
  // target that refuses bytes are failures.
  virtual HttpResult Get(const std::string& url, HttpBodyTarget& target, const Progress& progress,
                         const HttpGetOptions& options = {}) = 0;
};

}  // namespace ostravel::platform
