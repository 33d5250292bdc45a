#pragma once
// A get streamed into a file, with the opt-in retries of a flaky line.
#include <functional>
#include <string>

#include "installer/platform/platform.h"

namespace ostravel::net {

struct FetchOptions {
  // Further tries after a time-out, a dropped connection or a 5xx status; each
  // resumes from the bytes on disk when the server answers a Range request with 206.
  int retries = 0;
  int64_t maxBytes = -1;
  // Before try `attempt` (1 .. retries), `resumeFrom` bytes already on disk.
  std::function<void(int attempt, int retries, int64_t resumeFrom)> onRetry;
};

// The file is created (replaced) when the answer's body starts; a failure leaves
// what arrived. The result's error is the text to show.
platform::HttpResult FetchToFile(platform::FileSystem& fs, platform::HttpClient& http, const std::string& url,
                                 const std::string& path, const platform::HttpClient::Progress& progress,
                                 const FetchOptions& options = {});

}  // namespace ostravel::net
