#include "installer/dbserver/server_restore.h"

#include <algorithm>
#include <utility>

#include "base/text.h"
#include "installer/dbserver/server_names.h"
#include "installer/dbserver/server_stop.h"
#include "installer/dbserver/service_stop.h"

namespace ostravel::dbserver {
namespace {

using platform::RootKey;

constexpr uint32_t kReadRights = platform::kServiceQueryConfig | platform::kServiceQueryStatus;
constexpr uint32_t kRestoreRights = kReadRights | platform::kServiceChangeConfig | platform::kServiceStart;

bool IsRunning(const std::optional<uint32_t>& state) { return state && *state != platform::kServiceStopped; }

void RememberWindow(platform::DesktopWindows& windows, model::StoppedServers& memory) {
  for (const char* className : kServerWindowClasses) {
    if (!windows.WindowOfClassExists(className)) continue;
    memory.windowClass = className;
    memory.windowProgram = windows.ProgramOfWindowClass(className);
    return;
  }
}

// "<name>: start type N, started" (or what could not be done).
std::string PutBack(platform::Platform& machine, platform::ServiceManager& manager,
                    const model::RememberedService& remembered) {
  uint32_t error = 0;
  auto service = manager.OpenService(remembered.name, kRestoreRights, error);
  if (!service) return remembered.name + ": cannot be opened (error " + IntToStr(int(error)) + ")";
  std::string text = remembered.name + ": start type ";
  if (!remembered.startTypeKnown) {
    text += "unknown";
  } else {
    text += IntToStr(int(remembered.startType));
    const auto config = service->QueryConfig();
    if (config && config->startType != remembered.startType && !service->ChangeStartType(remembered.startType))
      text += " NOT set back";
  }
  if (!remembered.running) return text;
  // A service still on its way down cannot be started before it is stopped.
  if (service->QueryState() == platform::kServiceStopPending)
    WaitUntilServiceStopped(machine, remembered.name, machine.system.TickCount());
  const auto state = service->QueryState();
  if (IsRunning(state) && state != platform::kServiceStopPending) return text + ", running";
  return text + (service->Start() ? ", started" : ", NOT started");
}

void RestartWindowProgram(ServerContext& ctx, const model::StoppedServers& memory) {
  if (memory.windowClass.empty() || ctx.services.machine.windows.WindowOfClassExists(memory.windowClass)) return;
  if (memory.windowProgram.empty()) {
    ctx.services.log.WriteLog("Server put back: the " + memory.windowClass + " program is unknown; start it by hand");
    return;
  }
  const bool started = ctx.services.machine.system.Start("\"" + memory.windowProgram + "\"");
  ctx.services.log.WriteLog("Server put back: " + memory.windowProgram + (started ? " started" : " NOT started"));
}

// One value per service that exists: "<start type> <start type known> <running>".
void KeepOnDisk(platform::Registry& registry, const model::StoppedServers& memory) {
  for (const model::RememberedService& s : memory.services)
    registry.WriteString(RootKey::LocalMachine, kStoppedServersKey, s.name,
                         IntToStr(int(s.startType)) + (s.startTypeKnown ? " 1 " : " 0 ") + (s.running ? "1" : "0"));
  registry.WriteString(RootKey::LocalMachine, kStoppedServersKey, "WindowClass", memory.windowClass);
  registry.WriteString(RootKey::LocalMachine, kStoppedServersKey, "WindowProgram", memory.windowProgram);
}

void ForgetOnDisk(platform::Registry& registry) {
  registry.DeleteKeyTree(RootKey::LocalMachine, kStoppedServersKey);
  platform::DeleteEmptyKeys(registry, RootKey::LocalMachine, "Software\\Ostravel");
}

std::optional<model::StoppedServers> LoadFromDisk(platform::Registry& registry) {
  if (!registry.KeyExists(RootKey::LocalMachine, kStoppedServersKey)) return std::nullopt;
  model::StoppedServers memory;
  memory.remembered = true;
  for (const char* name : kServerServices) {
    std::string text;
    if (registry.ReadString(RootKey::LocalMachine, kStoppedServersKey, name, text) != platform::RegRead::Ok) continue;
    const int32_t startType = ParseIntegerOr(NextToken(text, ' '), -1);
    const bool known = NextToken(text, ' ') == "1" && startType >= 0;
    memory.services.push_back({name, known ? uint32_t(startType) : 0, known, NextToken(text, ' ') == "1"});
  }
  registry.ReadString(RootKey::LocalMachine, kStoppedServersKey, "WindowClass", memory.windowClass);
  registry.ReadString(RootKey::LocalMachine, kStoppedServersKey, "WindowProgram", memory.windowProgram);
  return memory;
}

}  // namespace

const char* const kStoppedServersKey = "Software\\Ostravel\\StoppedServers";

void RememberServers(platform::Platform& machine, model::StoppedServers& memory) {
  if (memory.remembered) return;
  memory.remembered = true;
  memory.services.clear();
  if (auto manager = machine.services.OpenManager()) {
    for (const char* name : kServerServices) {
      uint32_t error = 0;
      auto service = manager->OpenService(name, kReadRights, error);
      if (!service) continue;
      const auto config = service->QueryConfig();
      memory.services.push_back(
          {name, config ? config->startType : 0, config.has_value(), IsRunning(service->QueryState())});
    }
  }
  RememberWindow(machine.windows, memory);
  if (memory.keepOnDisk) KeepOnDisk(machine.registry, memory);
}

bool StopRememberedServers(ServerContext& ctx) {
  model::StoppedServers& memory = ctx.server.stopped;
  RememberServers(ctx.services.machine, memory);
  memory.stopping = true;
  bool stopped = false;
  try {
    stopped = StopServers(ctx.services.machine);
  } catch (...) {
    memory.stopping = false;
    throw;
  }
  memory.stopping = false;
  if (std::exchange(memory.restoreAfterStop, false)) RestoreServers(ctx);
  return stopped;
}

void RestoreServers(ServerContext& ctx, const std::vector<std::string>& settled) {
  model::StoppedServers& memory = ctx.server.stopped;
  if (!memory.remembered) return;
  if (memory.stopping) {
    memory.restoreAfterStop = true;
    return;
  }
  if (auto manager = ctx.services.machine.services.OpenManager()) {
    for (const model::RememberedService& service : memory.services) {
      if (std::find(settled.begin(), settled.end(), service.name) != settled.end()) continue;
      ctx.services.log.WriteLog("Server service put back: " + PutBack(ctx.services.machine, *manager, service));
    }
  }
  RestartWindowProgram(ctx, memory);
  if (memory.keepOnDisk) ForgetOnDisk(ctx.services.machine.registry);
  const bool heldByRun = memory.heldByRun, keepOnDisk = memory.keepOnDisk;
  memory = {};
  memory.heldByRun = heldByRun;
  memory.keepOnDisk = keepOnDisk;
}

void PutBackServersOfKilledRun(ServerContext& ctx) {
  model::StoppedServers& memory = ctx.server.stopped;
  if (memory.remembered) return;
  std::optional<model::StoppedServers> kept = LoadFromDisk(ctx.services.machine.registry);
  if (!kept) return;
  ctx.services.log.WriteLog("The database servers stopped by an installation that did not end are put back");
  const bool keepOnDisk = memory.keepOnDisk;
  kept->heldByRun = memory.heldByRun;
  kept->keepOnDisk = true;  // so that the restore forgets it
  memory = *kept;
  RestoreServers(ctx);
  memory.keepOnDisk = keepOnDisk;
}

}  // namespace ostravel::dbserver
