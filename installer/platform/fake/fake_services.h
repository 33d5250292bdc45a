#pragma once
// Scripted service control manager for host tests: services are plain data, every
// call is recorded, and open handles are counted so a test can see that every
// path closes what it opened.
#include <map>
#include <string>
#include <vector>

#include "installer/platform/services.h"

namespace ostravel::platform {

class FakeServices : public Services {
 public:
  struct Entry {
    ServiceConfig config;
    bool running = false;
    bool refusesStop = false;     // a running service that does not accept the stop control
    bool configUnreadable = false;
    bool changeFails = false;
    bool startFails = false;
    // After an accepted stop: state queries that still report "stop pending", or
    // a service that never reaches "stopped".
    int stopPendingQueries = 0;
    bool neverStops = false;
    bool stopPending = false;     // stopped, but not yet reported so
    uint32_t openError = 0;       // non-zero: every open of it fails with this code
  };

  std::map<std::string, Entry> services;  // by name
  bool managerUnavailable = false;
  bool createFails = false;
  // "open Name rights", "stop Name", "query Name", "change Name", "starttype Name N",
  // "create Name", "start Name", "state Name", in call order.
  std::vector<std::string> calls;
  int openHandles = 0;  // managers and services open right now

  std::unique_ptr<ServiceManager> OpenManager() override;
};

}  // namespace ostravel::platform
