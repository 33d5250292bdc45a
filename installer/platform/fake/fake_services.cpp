#include "installer/platform/fake/fake_services.h"

namespace ostravel::platform {
namespace {

class FakeService : public Service {
 public:
  FakeService(FakeServices& owner, std::string name, uint32_t rights)
      : owner_(owner), name_(std::move(name)), rights_(rights) {
    ++owner_.openHandles;
  }
  ~FakeService() override { --owner_.openHandles; }

  bool Stop() override {
    owner_.calls.push_back("stop " + name_);
    auto& e = Entry();
    if (!(rights_ & kServiceStop) || !e.running || e.refusesStop) return false;
    e.running = false;
    e.stopPending = e.neverStops || e.stopPendingQueries > 0;
    return true;
  }
  std::optional<ServiceConfig> QueryConfig() override {
    owner_.calls.push_back("query " + name_);
    auto& e = Entry();
    if (!(rights_ & kServiceQueryConfig) || e.configUnreadable) return std::nullopt;
    return e.config;
  }
  bool ChangeConfig(const ServiceConfig& config) override {
    owner_.calls.push_back("change " + name_);
    auto& e = Entry();
    if (!(rights_ & kServiceChangeConfig) || e.changeFails) return false;
    e.config = config;
    return true;
  }
  bool ChangeStartType(uint32_t startType) override {
    owner_.calls.push_back("starttype " + name_ + " " + std::to_string(startType));
    auto& e = Entry();
    if (!(rights_ & kServiceChangeConfig) || e.changeFails) return false;
    e.config.startType = startType;
    return true;
  }
  bool Start() override {
    owner_.calls.push_back("start " + name_);
    auto& e = Entry();
    if (!(rights_ & kServiceStart) || e.startFails || e.running || e.stopPending) return false;
    e.running = true;
    return true;
  }
  std::optional<uint32_t> QueryState() override {
    owner_.calls.push_back("state " + name_);
    auto& e = Entry();
    if (!(rights_ & kServiceQueryStatus)) return std::nullopt;
    if (e.stopPending && !e.neverStops && e.stopPendingQueries-- <= 0) e.stopPending = false;
    if (e.stopPending) return kServiceStopPending;
    return e.running ? kServiceRunning : kServiceStopped;
  }

 private:
  FakeServices::Entry& Entry() { return owner_.services[name_]; }
  FakeServices& owner_;
  std::string name_;
  uint32_t rights_;
};

class FakeManager : public ServiceManager {
 public:
  explicit FakeManager(FakeServices& owner) : owner_(owner) { ++owner_.openHandles; }
  ~FakeManager() override { --owner_.openHandles; }

  std::unique_ptr<Service> OpenService(const std::string& name, uint32_t rights, uint32_t& error) override {
    owner_.calls.push_back("open " + name + " " + std::to_string(rights));
    auto it = owner_.services.find(name);
    error = it == owner_.services.end() ? kErrorServiceDoesNotExist : it->second.openError;
    if (error) return nullptr;
    return std::make_unique<FakeService>(owner_, name, rights);
  }
  bool CreateService(const std::string& name, const ServiceConfig& config) override {
    owner_.calls.push_back("create " + name);
    if (owner_.createFails || owner_.services.count(name)) return false;
    owner_.services[name].config = config;
    return true;
  }

 private:
  FakeServices& owner_;
};

}  // namespace

std::unique_ptr<ServiceManager> FakeServices::OpenManager() {
  if (managerUnavailable) return nullptr;
  return std::make_unique<FakeManager>(*this);
}

}  // namespace ostravel::platform
