#pragma once
// The service control manager of the local machine: open services with a given
// right, stop them, read and change their configuration, create and start them.
// Every text here is CP1250; UTF-16 exists only inside win32/.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#ifdef _WIN32
#include "base/win32/undef_macros.h"
#endif

namespace ostravel::platform {

// The system's error codes that service operations must tell apart.
constexpr uint32_t kErrorInvalidHandle = 6;
constexpr uint32_t kErrorInvalidName = 123;
constexpr uint32_t kErrorServiceDoesNotExist = 1060;

enum ServiceStart : uint32_t {
  kStartBoot = 0,
  kStartSystem = 1,
  kStartAutomatic = 2,
  kStartOnDemand = 3,
  kStartDisabled = 4,
};
// A service's current state, as the service control manager reports it.
enum ServiceState : uint32_t {
  kServiceStopped = 1,
  kServiceStartPending = 2,
  kServiceStopPending = 3,
  kServiceRunning = 4,
  kServiceContinuePending = 5,
  kServicePausePending = 6,
  kServicePaused = 7,
};
constexpr uint32_t kServiceOwnProcess = 0x10;
constexpr uint32_t kServiceErrorNormal = 1;

struct ServiceConfig {
  uint32_t serviceType = kServiceOwnProcess;
  uint32_t startType = kStartOnDemand;
  uint32_t errorControl = kServiceErrorNormal;
  std::string binaryPath;  // the program line
  std::string loadOrderGroup;
  std::vector<std::string> dependencies;
  std::string account;
  std::string displayName;
};

// Rights asked for when a service is opened.
enum ServiceRight : uint32_t {
  kServiceStop = 1u << 0,
  kServiceQueryConfig = 1u << 1,
  kServiceChangeConfig = 1u << 2,
  kServiceStart = 1u << 3,
  kServiceQueryStatus = 1u << 4,
};

// One open service; closed when destroyed.
class Service {
 public:
  virtual ~Service() = default;
  // Sends the stop control; true when the service accepted it.
  virtual bool Stop() = 0;
  // Asks for the needed size, then reads into a buffer of that size; nullopt on failure.
  virtual std::optional<ServiceConfig> QueryConfig() = 0;
  // Writes the whole configuration (the password is left as it is).
  virtual bool ChangeConfig(const ServiceConfig& config) = 0;
  // Changes the start type only, every other setting unchanged.
  virtual bool ChangeStartType(uint32_t startType) = 0;
  // Starts it without arguments; true when the request was accepted.
  virtual bool Start() = 0;
  // Its current state (ServiceState); nullopt when it cannot be read.
  virtual std::optional<uint32_t> QueryState() = 0;
};

// The service control manager, opened with full access; closed when destroyed.
class ServiceManager {
 public:
  virtual ~ServiceManager() = default;
  // nullptr on failure, with the system's error code in `error`.
  virtual std::unique_ptr<Service> OpenService(const std::string& name, uint32_t rights, uint32_t& error) = 0;
  // Registers a service with the given name; false when the system refuses.
  virtual bool CreateService(const std::string& name, const ServiceConfig& config) = 0;
};

class Services {
 public:
  virtual ~Services() = default;
  // The local machine's manager with full access; nullptr when it cannot be opened.
  virtual std::unique_ptr<ServiceManager> OpenManager() = 0;
};

// A machine without a service control manager: every open fails.
Services& NoServices();

}  // namespace ostravel::platform
