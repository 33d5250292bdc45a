#pragma once
// The HTTP client over WinHTTP (synchronous, one session per request, so a changed
// proxy applies to the next request). The proxy password goes to WinHTTP only:
// never into a message text.
#include "installer/platform/http.h"

namespace ostravel::win32 {

class Win32HttpClient : public platform::HttpClient {
 public:
  // Name resolution and connection; sending and each wait for data. A dead server
  // thus fails a request within about a minute instead of hanging the wizard.
  static constexpr int kConnectTimeoutMs = 15000;
  static constexpr int kReceiveTimeoutMs = 30000;
  static constexpr int kMaxRedirects = 5;

  platform::HttpProxy Proxy() const override { return proxy_; }
  void SetProxy(const platform::HttpProxy& proxy) override { proxy_ = proxy; }
  platform::HttpResult Head(const std::string& url) override;
  platform::HttpResult Get(const std::string& url, platform::HttpBodyTarget& target, const Progress& progress,
                           const platform::HttpGetOptions& options) override;

  // Shorter waits for the test tools.
  void SetTimeouts(int connectMs, int receiveMs) {
    connectMs_ = connectMs;
    receiveMs_ = receiveMs;
  }

 private:
  platform::HttpResult Transfer(const std::string& url, bool get, platform::HttpBodyTarget* target,
                                const Progress& progress, const platform::HttpGetOptions& options);
  platform::HttpProxy proxy_;
  int connectMs_ = kConnectTimeoutMs, receiveMs_ = kReceiveTimeoutMs;
};

}  // namespace ostravel::win32
