#include "installer/dbserver/service_setup.h"

#include "installer/dbserver/detection.h"
#include "installer/dbserver/server_names.h"

namespace ostravel::dbserver {
namespace {

using platform::ServiceConfig;

uint32_t StartTypeFor(const std::string& name, const std::string& program, uint32_t current) {
  if (name == kGuardianService) return platform::kStartAutomatic;
  if (name == kServerService) return program == kClassicServer ? platform::kStartAutomatic : platform::kStartOnDemand;
  return current;
}

// Reads the configuration and writes it back with the new line and start type.
// False when the service cannot be opened (it must be created).
bool Reconfigure(platform::Services& services, const std::string& name, const std::string& program,
                 const std::string& folder) {
  auto manager = services.OpenManager();
  if (!manager) return true;  // nothing can be done, and nothing created either
  uint32_t error = 0;
  std::optional<ServiceConfig> config;
  {
    auto service = manager->OpenService(name, platform::kServiceQueryConfig, error);
    if (!service) return false;
    config = service->QueryConfig();
  }
  if (!config) return true;  // unreadable: left as it is
  config->binaryPath = ServiceProgramLine(folder, program);
  config->startType = StartTypeFor(name, program, config->startType);
  if (auto service = manager->OpenService(name, platform::kServiceChangeConfig, error)) service->ChangeConfig(*config);
  return true;
}

}  // namespace

std::string ServiceProgramLine(const std::string& folder, const std::string& program) {
  return "\"" + folder + "bin\\" + program + "\" -s DefaultInstance";
}

bool CreateServerService(platform::Platform& machine, const std::string& name, const std::string& program,
                         const std::string& folder) {
  const std::string base = folder.empty() ? ReadDefaultInstance(machine.registry) : folder;
  if (base.empty()) return false;
  ServiceConfig c;
  c.serviceType = platform::kServiceOwnProcess;
  c.errorControl = platform::kServiceErrorNormal;
  c.account = "LocalSystem";
  c.binaryPath = ServiceProgramLine(base, program);
  if (program == kGuardian) {
    c.displayName = "Firebird Guardian - DefaultInstance";
    c.startType = platform::kStartAutomatic;
  } else {
    c.displayName = "Firebird Server - DefaultInstance";
    c.startType = program == kClassicServer ? platform::kStartAutomatic : platform::kStartOnDemand;
  }
  auto manager = machine.services.OpenManager();
  return manager && manager->CreateService(name, c);
}

bool StartServerService(platform::Services& services, const std::string& name) {
  auto manager = services.OpenManager();
  if (!manager) return false;
  uint32_t error = 0;
  auto service = manager->OpenService(name, platform::kServiceStart, error);
  return service && service->Start();
}

void ReconfigureAndStartService(platform::Platform& machine, const std::string& name, const std::string& program,
                                const std::string& folder) {
  const std::string base = folder.empty() ? ReadDefaultInstance(machine.registry) : folder;
  if (!base.empty() && !Reconfigure(machine.services, name, program, base)) {
    // The guardian row for the guardian, else the server row the program names.
    const std::string row = name == kGuardianService ? kGuardian : (program == kClassicServer ? kClassicServer : kSuperServer);
    CreateServerService(machine, name, row, base);
  }
  StartServerService(machine.services, name);
}

}  // namespace ostravel::dbserver
