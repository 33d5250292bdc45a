// WinHTTP is delay-loaded from the system folder like every other system DLL.
#include "installer/platform/win32/win32_http.h"

#include "base/win32/windows_clean.h"

#include <winhttp.h>

#include <algorithm>
#include <vector>

#include "installer/platform/http_url.h"
#include "base/win32/unique_handle.h"
#include "base/win32/wide.h"

namespace ostravel::win32 {

using platform::HttpFailure;
using platform::HttpResult;

namespace {

constexpr size_t kPieceSize = 1024 * 1024;

HttpResult Failed(HttpFailure failure, std::string error, int status = 0) {
  HttpResult r;
  r.failure = failure;
  r.error = std::move(error);
  r.status = status;
  return r;
}

std::string CertificateText(DWORD flags) {
  if (flags & WINHTTP_CALLBACK_STATUS_FLAG_INVALID_CA) return "The server's certificate is issued by an untrusted authority";
  if (flags & WINHTTP_CALLBACK_STATUS_FLAG_CERT_CN_INVALID) return "The server's certificate names another host";
  if (flags & WINHTTP_CALLBACK_STATUS_FLAG_CERT_DATE_INVALID) return "The server's certificate has expired or is not yet valid";
  if (flags & WINHTTP_CALLBACK_STATUS_FLAG_CERT_REVOKED) return "The server's certificate has been revoked";
  if (flags & WINHTTP_CALLBACK_STATUS_FLAG_SECURITY_CHANNEL_ERROR) return "A secure connection could not be established";
  return "The server's certificate is not valid";
}

struct ErrorText {
  DWORD code;
  HttpFailure failure;
  const char* text;
};

constexpr ErrorText kErrors[] = {
    {ERROR_WINHTTP_TIMEOUT, HttpFailure::TimedOut, "The operation timed out"},
    // Socket codes some WinHTTP builds pass through unchanged.
    {WSAETIMEDOUT, HttpFailure::TimedOut, "The operation timed out"},
    {WSAECONNRESET, HttpFailure::Dropped, "The connection with the server was reset"},
    {WSAECONNREFUSED, HttpFailure::Refused, "A connection with the server could not be established"},
    {ERROR_WINHTTP_NAME_NOT_RESOLVED, HttpFailure::Refused, "The server name or address could not be resolved"},
    {ERROR_WINHTTP_CANNOT_CONNECT, HttpFailure::Refused, "A connection with the server could not be established"},
    {ERROR_WINHTTP_CONNECTION_ERROR, HttpFailure::Dropped, "The connection with the server was reset"},
    {ERROR_WINHTTP_INVALID_SERVER_RESPONSE, HttpFailure::Protocol, "The server response could not be parsed"},
    {ERROR_WINHTTP_INVALID_URL, HttpFailure::Protocol, "The address is not valid"},
    {ERROR_WINHTTP_UNRECOGNIZED_SCHEME, HttpFailure::Protocol, "The address is not valid"},
    {ERROR_WINHTTP_SECURE_CHANNEL_ERROR, HttpFailure::Security, "A secure connection could not be established"},
    {ERROR_WINHTTP_SECURE_INVALID_CA, HttpFailure::Security, "The server's certificate is issued by an untrusted authority"},
    {ERROR_WINHTTP_SECURE_CERT_CN_INVALID, HttpFailure::Security, "The server's certificate names another host"},
    {ERROR_WINHTTP_SECURE_CERT_DATE_INVALID, HttpFailure::Security, "The server's certificate has expired or is not yet valid"},
    {ERROR_WINHTTP_SECURE_INVALID_CERT, HttpFailure::Security, "The server's certificate is not valid"},
    {ERROR_WINHTTP_CLIENT_AUTH_CERT_NEEDED, HttpFailure::Security, "The server asks for a client certificate"},
};

HttpResult SystemFailure(DWORD code, DWORD secureFlags) {
  if (code == ERROR_WINHTTP_SECURE_FAILURE)
    return Failed(HttpFailure::Security, CertificateText(secureFlags) + " (" + std::to_string(code) + ")");
  for (const auto& e : kErrors)
    if (e.code == code) return Failed(e.failure, std::string(e.text) + " (" + std::to_string(code) + ")");
  return Failed(HttpFailure::Refused, "HTTP request failed: " + SystemErrorText(code) + " (" + std::to_string(code) + ")");
}

// Certificate problems arrive through the status callback; the request's context
// value points at the flags of this request.
void CALLBACK OnStatus(HINTERNET, DWORD_PTR context, DWORD status, LPVOID info, DWORD length) {
  if (status == WINHTTP_CALLBACK_STATUS_SECURE_FAILURE && context && info && length >= sizeof(DWORD))
    *reinterpret_cast<DWORD*>(context) |= *static_cast<DWORD*>(info);
}

std::wstring QueryText(HINTERNET request, DWORD info) {
  DWORD bytes = 0;
  WinHttpQueryHeaders(request, info, WINHTTP_HEADER_NAME_BY_INDEX, nullptr, &bytes, WINHTTP_NO_HEADER_INDEX);
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || bytes == 0 || bytes > 64 * 1024) return L"";
  std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
  if (!WinHttpQueryHeaders(request, info, WINHTTP_HEADER_NAME_BY_INDEX, text.data(), &bytes, WINHTTP_NO_HEADER_INDEX))
    return L"";
  text.resize(bytes / sizeof(wchar_t));
  return text;
}

int QueryStatus(HINTERNET request) {
  DWORD status = 0, size = sizeof status;
  if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX,
                           &status, &size, WINHTTP_NO_HEADER_INDEX))
    return 0;
  return int(status);
}

bool IsRedirect(int status) { return status == 301 || status == 302 || status == 303 || status == 307 || status == 308; }

// One request on its own session, up to the received status line and headers.
class Exchange {
 public:
  Exchange(const platform::HttpProxy& proxy, int connectMs, int receiveMs)
      : proxy_(proxy), connectMs_(connectMs), receiveMs_(receiveMs) {
    const bool direct = proxy.host.empty();
    const std::wstring name = Wide(proxy.host + ":" + std::to_string(proxy.port));
    // "<-loopback>": a configured proxy is used for loopback addresses too.
    session_.reset(WinHttpOpen(Wide(platform::kHttpUserAgent).c_str(),
                               direct ? WINHTTP_ACCESS_TYPE_NO_PROXY : WINHTTP_ACCESS_TYPE_NAMED_PROXY,
                               direct ? WINHTTP_NO_PROXY_NAME : name.c_str(),
                               direct ? WINHTTP_NO_PROXY_BYPASS : L"<-loopback>", 0));
    if (!session_) return;
    WinHttpSetTimeouts(session_.get(), connectMs, connectMs, receiveMs, receiveMs);
    // Systems whose defaults predate TLS 1.2 would not reach a modern site; 1.3 where the
    // system offers it (older ones refuse the flag).
    DWORD protocols = WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2 | WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_3;
    if (!WinHttpSetOption(session_.get(), WINHTTP_OPTION_SECURE_PROTOCOLS, &protocols, sizeof protocols)) {
      protocols = WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2;
      WinHttpSetOption(session_.get(), WINHTTP_OPTION_SECURE_PROTOCOLS, &protocols, sizeof protocols);
    }
  }

  // Sends the request; false with `failure` set when no answer came.
  bool Send(const platform::HttpUrl& url, bool get, int64_t resumeFrom, HttpResult& failure) {
    if (!session_) return Fail(failure);
    connect_.reset(WinHttpConnect(session_.get(), Wide(url.host).c_str(), url.port, 0));
    if (!connect_) return Fail(failure);
    request_.reset(WinHttpOpenRequest(connect_.get(), get ? L"GET" : L"HEAD", Wide(url.path).c_str(), nullptr,
                                      WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                      url.secure ? WINHTTP_FLAG_SECURE : 0));
    if (!request_) return Fail(failure);
    // On the request too: not every WinHTTP passes the session's waits on.
    WinHttpSetTimeouts(request_.get(), connectMs_, connectMs_, receiveMs_, receiveMs_);
    DWORD responseMs = DWORD(receiveMs_);
    WinHttpSetOption(request_.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &responseMs, sizeof responseMs);
    DWORD policy = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
    WinHttpSetOption(request_.get(), WINHTTP_OPTION_REDIRECT_POLICY, &policy, sizeof policy);
    DWORD disable = WINHTTP_DISABLE_REDIRECTS;
    WinHttpSetOption(request_.get(), WINHTTP_OPTION_DISABLE_FEATURE, &disable, sizeof disable);
    DWORD_PTR context = reinterpret_cast<DWORD_PTR>(&secureFlags_);
    WinHttpSetOption(request_.get(), WINHTTP_OPTION_CONTEXT_VALUE, &context, sizeof context);
    WinHttpSetStatusCallback(request_.get(), OnStatus, WINHTTP_CALLBACK_FLAG_SECURE_FAILURE, 0);
    std::wstring headers = L"Accept: " + Wide(platform::kHttpAccept) + L"\r\n";
    if (resumeFrom > 0) headers += L"Range: bytes=" + std::to_wstring(resumeFrom) + L"-\r\n";
    WinHttpAddRequestHeaders(request_.get(), headers.c_str(), DWORD(-1), WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE);
    if (!proxy_.host.empty() && !proxy_.username.empty()) SetProxyCredentials(WINHTTP_AUTH_SCHEME_BASIC);
    if (!SendOnce()) return Fail(failure);
    if (status_ == 407 && !proxy_.host.empty() && !proxy_.username.empty() && AnswerProxyChallenge() && !SendOnce())
      return Fail(failure);
    return true;
  }

  HINTERNET Request() const { return request_.get(); }
  int Status() const { return status_; }
  HttpResult Failure() const { return SystemFailure(GetLastError(), secureFlags_); }

 private:
  bool SendOnce() {
    if (!WinHttpSendRequest(request_.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
        !WinHttpReceiveResponse(request_.get(), nullptr))
      return false;
    status_ = QueryStatus(request_.get());
    return true;
  }
  bool SetProxyCredentials(DWORD scheme) {
    return WinHttpSetCredentials(request_.get(), WINHTTP_AUTH_TARGET_PROXY, scheme, Wide(proxy_.username).c_str(),
                                 Wide(proxy_.password).c_str(), nullptr) != FALSE;
  }
  // The proxy named its schemes: Basic when offered, else the first it takes.
  bool AnswerProxyChallenge() {
    DWORD supported = 0, first = 0, target = 0;
    if (!WinHttpQueryAuthSchemes(request_.get(), &supported, &first, &target)) return false;
    for (DWORD scheme : {DWORD(WINHTTP_AUTH_SCHEME_BASIC), DWORD(WINHTTP_AUTH_SCHEME_NEGOTIATE),
                         DWORD(WINHTTP_AUTH_SCHEME_NTLM), DWORD(WINHTTP_AUTH_SCHEME_DIGEST)})
      if ((supported & scheme) && SetProxyCredentials(scheme)) return true;
    return false;
  }
  bool Fail(HttpResult& failure) {
    failure = Failure();
    return false;
  }

  const platform::HttpProxy& proxy_;
  int connectMs_, receiveMs_;
  UniqueHinternet session_, connect_, request_;
  DWORD secureFlags_ = 0;
  int status_ = 0;
};

// Content-Range of a 206 must start where we asked.
bool RangeStartsAt(HINTERNET request, int64_t offset) {
  const std::string range = Narrow(QueryText(request, WINHTTP_QUERY_CONTENT_RANGE));
  return range.rfind("bytes " + std::to_string(offset) + "-", 0) == 0;
}

HttpResult ReadBody(Exchange& exchange, HttpResult result, platform::HttpBodyTarget& target,
                    const platform::HttpClient::Progress& progress, const platform::HttpGetOptions& options) {
  int64_t offset = 0;
  if (result.status == 206) {
    if (options.resumeFrom <= 0 || !RangeStartsAt(exchange.Request(), options.resumeFrom))
      return Failed(HttpFailure::Protocol, "The server sent a part that was not asked for", result.status);
    offset = options.resumeFrom;
  }
  if (!target.Begin(offset)) return Failed(HttpFailure::Local, "The target file cannot be written", result.status);
  std::vector<char> buffer(kPieceSize);
  auto failure = [&] {
    HttpResult f = exchange.Failure();
    f.status = result.status;
    f.received = result.received;
    return f;
  };
  // Reads take what has arrived (a read of a whole piece waits for the whole piece,
  // and a slow line would leave the window without progress or messages); what they
  // take is gathered into the piece and written and reported when it is full or
  // 100 ms old, so a fast line is not cut into thousands of small writes.
  bool ended = false;
  while (!ended) {
    size_t filled = 0;
    const DWORD started = GetTickCount();
    while (filled < buffer.size()) {
      DWORD available = 0;
      if (!WinHttpQueryDataAvailable(exchange.Request(), &available)) return failure();
      if (available == 0) {
        ended = true;
        break;
      }
      DWORD got = 0;
      const DWORD want = std::min<DWORD>(available, DWORD(buffer.size() - filled));
      if (!WinHttpReadData(exchange.Request(), buffer.data() + filled, want, &got)) return failure();
      if (got == 0) {
        ended = true;
        break;
      }
      filled += got;
      if (GetTickCount() - started >= 100) break;
    }
    if (filled == 0) break;
    if (options.maxBytes >= 0 && offset + result.received + int64_t(filled) > options.maxBytes)
      return Failed(HttpFailure::Protocol, platform::TooLongMessage(options.maxBytes), result.status);
    if (!target.Write(buffer.data(), filled)) {
      HttpResult f = Failed(HttpFailure::Local, "The target file cannot be written", result.status);
      f.received = result.received;
      return f;
    }
    result.received += int64_t(filled);
    if (progress) progress(offset + result.received);
  }
  // Wine's WinHTTP ends a dropped body like a complete one: count for ourselves.
  if (result.contentLength && result.received < *result.contentLength) {
    HttpResult f = Failed(HttpFailure::Dropped, platform::ShortBodyMessage(result.received, *result.contentLength),
                          result.status);
    f.received = result.received;
    return f;
  }
  return result;
}

}  // namespace

HttpResult Win32HttpClient::Head(const std::string& url) {
  return Transfer(url, false, nullptr, nullptr, {});
}

HttpResult Win32HttpClient::Get(const std::string& url, platform::HttpBodyTarget& target, const Progress& progress,
                                const platform::HttpGetOptions& options) {
  return Transfer(url, true, &target, progress, options);
}

HttpResult Win32HttpClient::Transfer(const std::string& url, bool get, platform::HttpBodyTarget* target,
                                     const Progress& progress, const platform::HttpGetOptions& options) {
  std::string current = url;
  auto parsed = platform::ParseHttpUrl(current);
  if (!parsed) return Failed(HttpFailure::Protocol, "The address is not valid: " + url);
  for (int redirects = 0;; ++redirects) {
    Exchange exchange(proxy_, connectMs_, receiveMs_);
    HttpResult failure;
    if (!exchange.Send(*parsed, get, options.resumeFrom, failure)) return failure;
    const int status = exchange.Status();
    if (IsRedirect(status)) {
      const std::string location = Narrow(QueryText(exchange.Request(), WINHTTP_QUERY_LOCATION));
      const std::string next = platform::ResolveLocation(current, location);
      auto nextUrl = platform::ParseHttpUrl(next);
      if (location.empty() || !nextUrl || !platform::RedirectAllowed(*parsed, *nextUrl))
        return Failed(HttpFailure::Protocol, "Redirect to another site refused: " + next, status);
      if (redirects >= kMaxRedirects) return Failed(HttpFailure::Protocol, "Too many redirects", status);
      current = next;
      parsed = nextUrl;
      continue;
    }
    if (status >= 300 || status < 200)
      return Failed(HttpFailure::Status, platform::StatusMessage(status, Narrow(QueryText(exchange.Request(), WINHTTP_QUERY_STATUS_TEXT))),
                    status);
    HttpResult result;
    result.status = status;
    result.contentLength = platform::ParseContentLength(Narrow(QueryText(exchange.Request(), WINHTTP_QUERY_CONTENT_LENGTH)));
    if (!get) return result;
    return ReadBody(exchange, result, *target, progress, options);
  }
}

}  // namespace ostravel::win32
