#include "installer/platform/fake/fake_http.h"

#include <algorithm>

#include "installer/platform/http_url.h"

namespace ostravel::platform {

FakeHttpClient::Answer FakeHttpClient::Ok(std::string body) {
  Answer a;
  a.contentLength = int64_t(body.size());
  a.body = std::move(body);
  return a;
}

FakeHttpClient::Answer FakeHttpClient::Status(int status, std::string reason) {
  Answer a;
  a.status = status;
  a.reason = std::move(reason);
  return a;
}

FakeHttpClient::Answer FakeHttpClient::Broken(HttpFailure failure, std::string error) {
  Answer a;
  a.failure = failure;
  a.error = std::move(error);
  return a;
}

const FakeHttpClient::Answer& FakeHttpClient::Next(const std::string& url) {
  static const Answer notFound = Status(404, "Not Found");
  auto it = answers_.find(url);
  if (it == answers_.end() || it->second.empty()) return notFound;
  size_t& index = served_[url];
  const Answer& answer = it->second[std::min(index, it->second.size() - 1)];
  ++index;
  return answer;
}

namespace {

HttpResult Failed(HttpFailure failure, std::string error, int status = 0) {
  HttpResult r;
  r.failure = failure;
  r.error = std::move(error);
  r.status = status;
  return r;
}

}  // namespace

HttpResult FakeHttpClient::Head(const std::string& url) {
  requests.push_back({"HEAD", url, 0, proxy_});
  const Answer& a = Next(url);
  if (a.failure != HttpFailure::None) return Failed(a.failure, a.error);
  if (a.status >= 300) return Failed(HttpFailure::Status, StatusMessage(a.status, a.reason), a.status);
  HttpResult r;
  r.status = a.status;
  r.contentLength = a.contentLength;
  return r;
}

HttpResult FakeHttpClient::Get(const std::string& url, HttpBodyTarget& target, const Progress& progress,
                               const HttpGetOptions& options) {
  requests.push_back({"GET", url, options.resumeFrom, proxy_});
  const Answer& a = Next(url);
  if (a.failure != HttpFailure::None) return Failed(a.failure, a.error);
  if (a.status >= 300) return Failed(HttpFailure::Status, StatusMessage(a.status, a.reason), a.status);
  const bool partial = options.resumeFrom > 0 && a.honoursRange && options.resumeFrom <= int64_t(a.body.size());
  const int64_t offset = partial ? options.resumeFrom : 0;
  HttpResult r;
  r.status = partial ? 206 : a.status;
  r.contentLength = partial && a.contentLength ? std::optional<int64_t>(*a.contentLength - offset) : a.contentLength;
  if (!target.Begin(offset)) return Failed(HttpFailure::Local, "The target file cannot be written", r.status);
  const std::string body = a.body.substr(size_t(offset));
  const int64_t limit = a.dropAfter >= 0 ? std::min<int64_t>(a.dropAfter, int64_t(body.size())) : int64_t(body.size());
  while (r.received < limit) {
    const size_t n = size_t(std::min<int64_t>(int64_t(pieceSize), limit - r.received));
    if (options.maxBytes >= 0 && offset + r.received + int64_t(n) > options.maxBytes)
      return Failed(HttpFailure::Protocol, TooLongMessage(options.maxBytes), r.status);
    if (!target.Write(body.data() + r.received, n))
      return Failed(HttpFailure::Local, "The target file cannot be written", r.status);
    r.received += int64_t(n);
    if (progress) progress(offset + r.received);
    if (betweenPieces) betweenPieces();
  }
  if (r.contentLength && r.received < *r.contentLength) {
    HttpResult f = Failed(HttpFailure::Dropped, ShortBodyMessage(r.received, *r.contentLength), r.status);
    f.received = r.received;
    return f;
  }
  return r;
}

}  // namespace ostravel::platform
