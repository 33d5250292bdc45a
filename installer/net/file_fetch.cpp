#include "installer/net/file_fetch.h"

#include <memory>

namespace ostravel::net {

namespace {

// The body of one try, straight into the file: nothing is held in memory.
class FileTarget : public platform::HttpBodyTarget {
 public:
  FileTarget(platform::FileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}

  bool Begin(int64_t offset) override {
    file_ = offset > 0 ? fs_.OpenAppend(path_) : fs_.OpenWrite(path_);
    onDisk_ = offset;
    return Check(file_ != nullptr);
  }
  bool Write(const void* data, size_t size) override {
    if (!Check(file_->Write(data, size))) return false;
    onDisk_ += int64_t(size);
    return true;
  }
  // Closes the file; false when what was written did not reach the disk.
  bool Finish() {
    if (!file_) return true;
    const bool closed = file_->Close();
    file_.reset();
    return Check(closed);
  }
  bool Started() const { return started_; }
  int64_t OnDisk() const { return onDisk_; }
  std::string ErrorText() const { return "Cannot write " + path_ + ": " + error_; }

 private:
  bool Check(bool ok) {
    if (ok) {
      started_ = true;
    } else if (error_.empty()) {
      error_ = fs_.LastErrorText();
    }
    return ok;
  }
  platform::FileSystem& fs_;
  std::string path_;
  std::unique_ptr<platform::OutputFile> file_;
  int64_t onDisk_ = 0;
  bool started_ = false;
  std::string error_;
};

bool Retryable(const platform::HttpResult& r) {
  using platform::HttpFailure;
  return r.failure == HttpFailure::TimedOut || r.failure == HttpFailure::Dropped ||
         (r.failure == HttpFailure::Status && r.status >= 500);
}

platform::HttpResult TryOnce(platform::FileSystem& fs, platform::HttpClient& http, const std::string& url,
                             const std::string& path, const platform::HttpClient::Progress& progress,
                             const FetchOptions& options, int64_t& resumeFrom) {
  FileTarget target(fs, path);
  platform::HttpGetOptions get;
  get.resumeFrom = resumeFrom;
  get.maxBytes = options.maxBytes;
  platform::HttpResult result = http.Get(url, target, progress, get);
  const bool closed = target.Finish();
  if (result.failure == platform::HttpFailure::Local || (result.ok() && !closed)) {
    result.failure = platform::HttpFailure::Local;
    result.error = target.ErrorText();
  }
  if (target.Started()) resumeFrom = target.OnDisk();
  return result;
}

}  // namespace

platform::HttpResult FetchToFile(platform::FileSystem& fs, platform::HttpClient& http, const std::string& url,
                                 const std::string& path, const platform::HttpClient::Progress& progress,
                                 const FetchOptions& options) {
  int64_t resumeFrom = 0;
  platform::HttpResult result = TryOnce(fs, http, url, path, progress, options, resumeFrom);
  for (int attempt = 1; attempt <= options.retries && Retryable(result); ++attempt) {
    if (options.onRetry) options.onRetry(attempt, options.retries, resumeFrom);
    result = TryOnce(fs, http, url, path, progress, options, resumeFrom);
  }
  return result;
}

}  // namespace ostravel::net
