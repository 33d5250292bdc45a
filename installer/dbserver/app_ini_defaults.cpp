#include "installer/dbserver/app_ini_defaults.h"

#include "base/text.h"
#include "installer/script/ext_ini_file.h"

namespace ostravel::dbserver {
namespace {

constexpr const char* kSection = "Local InterBase";
// The accounting program's encoded database credentials, written as they are.
constexpr const char* kUserName = "Tq8KMzpe";
constexpr const char* kPassWord = "RWHaFkmuQnLx";

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

void WriteConnection(TExtIniFile& ini, const std::string& dataFolder) {
  ini.WriteString(kSection, "Path", dataFolder);
  ini.WriteString(kSection, "UserName", kUserName);
  ini.WriteString(kSection, "PassWord", kPassWord);
}

}  // namespace

void WriteApplicationIniDefaults(ServerContext& ctx, bool writeAppDefaults, bool freshServerInstall) {
  if (!writeAppDefaults || !freshServerInstall) return;
  platform::FileSystem& files = ctx.services.machine.files;
  PathVariables& vars = ctx.services.variables;
  const std::string dataFolder = vars.ExpandVariables("$DefaultDestination$\\$varProgramYear$");

  const std::string startIni = vars.ExpandVariables("$DefaultDestination$\\$varProgramYear$\\startinf.ini");
  if (!files.FileExists(startIni)) {
    files.CreateDirectories(FolderOf(startIni));
    TExtIniFile ini(files, startIni);
    WriteConnection(ini, dataFolder);
    ini.UpdateFile();
  }

  const std::string yearIni = vars.ExpandVariables("$DefaultDestination$\\$varProgramYear$\\korb$varProgramYear$.ini");
  const std::string pastIni = vars.ExpandVariables("$DefaultDestination$\\$varPastProgYear$\\korb$varPastProgYear$.ini");
  if (files.FileExists(yearIni) || files.FileExists(pastIni)) return;
  files.CreateDirectories(FolderOf(yearIni));
  TExtIniFile ini(files, yearIni);
  ini.WriteBool(kSection, "Use", true);
  WriteConnection(ini, dataFolder);
  ini.UpdateFile();
}

}  // namespace ostravel::dbserver
