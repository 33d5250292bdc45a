#include "base/win32/windows_clean.h"

#include <vector>

#include "base/win32/unique_handle.h"
#include "base/win32/wide.h"
#include "installer/platform/win32/win32_platform.h"

namespace ostravel::win32 {
namespace {

using platform::ServiceConfig;

// The documented maximum is 8 KiB; anything far beyond it is not a configuration.
constexpr DWORD kMaxConfigBytes = 1u << 20;

DWORD AccessOf(uint32_t rights) {
  DWORD access = 0;
  if (rights & platform::kServiceStop) access |= SERVICE_STOP;
  if (rights & platform::kServiceQueryConfig) access |= SERVICE_QUERY_CONFIG;
  if (rights & platform::kServiceChangeConfig) access |= SERVICE_CHANGE_CONFIG;
  if (rights & platform::kServiceStart) access |= SERVICE_START;
  if (rights & platform::kServiceQueryStatus) access |= SERVICE_QUERY_STATUS;
  return access;
}

std::string NarrowOrEmpty(const wchar_t* text) { return text ? Narrow(text) : std::string(); }

// A list of texts, each ended by a zero, the whole ended by another zero.
std::wstring MultiString(const std::vector<std::string>& items) {
  std::wstring out;
  for (const auto& item : items) {
    out += Wide(item);
    out.push_back(L'\0');
  }
  out.push_back(L'\0');
  return out;
}

std::vector<std::string> SplitMultiString(const wchar_t* p, const wchar_t* end) {
  std::vector<std::string> items;
  while (p && p < end && *p) {
    const wchar_t* q = p;
    while (q < end && *q) ++q;
    items.push_back(Narrow(std::wstring(p, q)));
    p = q + 1;
  }
  return items;
}

class Win32Service : public platform::Service {
 public:
  explicit Win32Service(SC_HANDLE handle) : handle_(handle) {}

  bool Stop() override {
    SERVICE_STATUS status{};
    return ControlService(handle_.get(), SERVICE_CONTROL_STOP, &status) != 0;
  }

  std::optional<ServiceConfig> QueryConfig() override {
    DWORD needed = 0;
    if (QueryServiceConfigW(handle_.get(), nullptr, 0, &needed) || GetLastError() != ERROR_INSUFFICIENT_BUFFER ||
        needed < sizeof(QUERY_SERVICE_CONFIGW) || needed > kMaxConfigBytes)
      return std::nullopt;
    std::vector<unsigned char> buffer(needed);
    auto* q = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data());
    if (!QueryServiceConfigW(handle_.get(), q, needed, &needed)) return std::nullopt;
    ServiceConfig c;
    c.serviceType = q->dwServiceType;
    c.startType = q->dwStartType;
    c.errorControl = q->dwErrorControl;
    c.binaryPath = NarrowOrEmpty(q->lpBinaryPathName);
    c.loadOrderGroup = NarrowOrEmpty(q->lpLoadOrderGroup);
    c.dependencies = SplitMultiString(q->lpDependencies, reinterpret_cast<const wchar_t*>(buffer.data() + buffer.size()));
    c.account = NarrowOrEmpty(q->lpServiceStartName);
    c.displayName = NarrowOrEmpty(q->lpDisplayName);
    return c;
  }

  bool ChangeConfig(const ServiceConfig& c) override {
    const std::wstring path = Wide(c.binaryPath), group = Wide(c.loadOrderGroup), deps = MultiString(c.dependencies),
                       account = Wide(c.account), display = Wide(c.displayName);
    // Display names are unique among services: an empty one read back (a service
    // registered without one) is left as it is rather than written as "".
    return ChangeServiceConfigW(handle_.get(), c.serviceType, c.startType, c.errorControl, path.c_str(), group.c_str(),
                                nullptr, deps.c_str(), account.empty() ? nullptr : account.c_str(), nullptr,
                                display.empty() ? nullptr : display.c_str()) != 0;
  }

  bool ChangeStartType(uint32_t startType) override {
    return ChangeServiceConfigW(handle_.get(), SERVICE_NO_CHANGE, startType, SERVICE_NO_CHANGE, nullptr, nullptr,
                                nullptr, nullptr, nullptr, nullptr, nullptr) != 0;
  }

  bool Start() override { return StartServiceW(handle_.get(), 0, nullptr) != 0; }

  std::optional<uint32_t> QueryState() override {
    SERVICE_STATUS_PROCESS status{};
    DWORD needed = 0;
    if (!QueryServiceStatusEx(handle_.get(), SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status), sizeof status,
                              &needed))
      return std::nullopt;
    return status.dwCurrentState;
  }

 private:
  UniqueScHandle handle_;
};

class Win32ServiceManager : public platform::ServiceManager {
 public:
  explicit Win32ServiceManager(SC_HANDLE handle) : handle_(handle) {}

  std::unique_ptr<platform::Service> OpenService(const std::string& name, uint32_t rights, uint32_t& error) override {
    SC_HANDLE h = OpenServiceW(handle_.get(), Wide(name).c_str(), AccessOf(rights));
    if (!h) {
      error = GetLastError();
      return nullptr;
    }
    error = 0;
    return std::make_unique<Win32Service>(h);
  }

  bool CreateService(const std::string& name, const ServiceConfig& c) override {
    const std::wstring path = Wide(c.binaryPath), group = Wide(c.loadOrderGroup), deps = MultiString(c.dependencies),
                       account = Wide(c.account), display = Wide(c.displayName);
    UniqueScHandle created(CreateServiceW(handle_.get(), Wide(name).c_str(), display.c_str(), SERVICE_ALL_ACCESS,
                                          c.serviceType, c.startType, c.errorControl, path.c_str(),
                                          group.empty() ? nullptr : group.c_str(), nullptr,
                                          c.dependencies.empty() ? nullptr : deps.c_str(),
                                          account.empty() ? nullptr : account.c_str(), nullptr));
    return bool(created);
  }

 private:
  UniqueScHandle handle_;
};

}  // namespace

std::unique_ptr<platform::ServiceManager> Win32Services::OpenManager() {
  SC_HANDLE h = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (!h) return nullptr;
  return std::make_unique<Win32ServiceManager>(h);
}

}  // namespace ostravel::win32
