#include "installer/platform/fake/fake_system.h"

#include "base/cp1250.h"
#include "base/text.h"

namespace ostravel::platform {

VersionRecord FakeSystem::ReadVersion(const std::string& path) {
  auto it = versions.find(path);
  return it == versions.end() ? VersionRecord{} : it->second;
}

int FakeSystem::RunAndWait(const std::string& program, const std::string& params, const std::string& workingFolder) {
  ran.push_back(Trim(program + " " + params));
  ranIn.push_back(workingFolder);
  if (onRun) onRun(program, params);
  auto it = exitCodes.find(program);
  return it == exitCodes.end() ? kRunFailed : it->second;
}

bool FakeSystem::Start(const std::string& commandLine) {
  started.push_back(commandLine);
  return !startFails;
}

uint16_t FakeSystem::FindAtom(const std::string& name) {
  for (const auto& [atom, atomName] : atoms)
    if (SameText(atomName, name)) return atom;
  return 0;
}

uint16_t FakeSystem::AddAtom(const std::string& name) {
  if (uint16_t existing = FindAtom(name)) return existing;
  atoms[nextAtom_] = name;
  return nextAtom_++;
}

void FakeSystem::DeleteAtom(uint16_t atom) { atoms.erase(atom); }

}  // namespace ostravel::platform
