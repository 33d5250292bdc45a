#pragma once
// Scripted HTTP client for host tests: answers are plain data per address, every
// request is recorded with the proxy it went through.
#include <map>
#include <string>
#include <vector>

#include "installer/platform/http.h"

namespace ostravel::platform {

class FakeHttpClient : public HttpClient {
 public:
  struct Answer {
    int status = 200;
    std::string reason = "OK";
    std::optional<int64_t> contentLength;  // the header; nullopt: not sent
    std::string body;                      // sent for gets
    HttpFailure failure = HttpFailure::None;  // a transport failure instead of an answer
    std::string error;
    int64_t dropAfter = -1;    // the connection ends after this many body bytes
    bool honoursRange = false;  // answers a Range request with 206 and the rest
  };
  // 200 with the body and its length.
  static Answer Ok(std::string body);
  static Answer Status(int status, std::string reason);
  static Answer Broken(HttpFailure failure, std::string error);

  // Queues an answer for the address; the last queued answer repeats.
  void Serve(const std::string& url, Answer answer) { answers_[url].push_back(std::move(answer)); }

  struct Request {
    std::string method, url;
    int64_t resumeFrom = 0;
    HttpProxy proxy;
  };
  std::vector<Request> requests;
  // Called between the pieces of a body, as the real client's messages run there.
  std::function<void()> betweenPieces;
  size_t pieceSize = 65536;

  HttpProxy Proxy() const override { return proxy_; }
  void SetProxy(const HttpProxy& proxy) override { proxy_ = proxy; }
  HttpResult Head(const std::string& url) override;
  HttpResult Get(const std::string& url, HttpBodyTarget& target, const Progress& progress,
                 const HttpGetOptions& options) override;

 private:
  const Answer& Next(const std::string& url);
  std::map<std::string, std::vector<Answer>> answers_;
  std::map<std::string, size_t> served_;
  HttpProxy proxy_;
};

}  // namespace ostravel::platform
