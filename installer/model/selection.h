#pragma once
// What the user chose to install: the install modules, the components and the
// installation kinds offered. Owned by the wizard window for the whole run; the
// selection pages fill it, the installation run reads it.
#include <cstdint>
#include <string>
#include <vector>

namespace ostravel::model {

struct InstallModuleEntry {
  std::string name;  // empty for the main module
  bool packagePresent = false;
  bool switchGiven = false;
  bool switchRequired = false;
  bool included = false;
};

struct ComponentEntry {
  std::string module;  // the install module it belongs to; empty for the main module
  int number = 0;      // n of Component<n> within its section
  bool checked = false;
  bool enabled = false;
  bool alwaysUpdate = false;
  bool selected = false;
  bool valid = false;
  bool packagePresent = false;
  int32_t size = 0;      // bytes, as the script gives them
  int32_t packSize = 0;  // bytes
  std::string name;
  std::string packName;
  std::string description;
  std::string packChecksum;
};

struct Selection {
  std::vector<InstallModuleEntry> modules;
  std::vector<ComponentEntry> components;
  // Combo positions of the installation kinds, -1 until added.
  int customKindIndex = -1, webUpdateKindIndex = -1, repairKindIndex = -1, rollbackKindIndex = -1;
};

}  // namespace ostravel::model
