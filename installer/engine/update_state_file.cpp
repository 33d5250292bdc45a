#include "base/cp1250.h"
#include "base/datetime.h"
#include "base/regional.h"
#include "base/text.h"
#include "installer/engine/install_steps.h"
#include "installer/script/setup_script.h"

namespace ostravel::engine {
namespace {

void WriteFileSections(RunContext& ctx, const TExtIniFile& script, TExtIniFile& state) {
  const std::vector<FileKeys> files = ReadFileList(script, "");
  ctx.progress.SetRange(0, int(files.size()));
  for (const FileKeys& f : files) {
    const std::string section = LowerCase(f.relPath);
    if (!section.empty()) {
      state.WriteString(section, "MD5", f.md5HashInfo);
      if (auto date = UnpackDosDateTime(uint32_t(f.fileTime)))
        state.WriteString(section, "LastModified", FormatShortDate(*date));
      state.WriteBool(section, "Overwrite", f.fileUpdateRule != 1);
    }
    ctx.progress.SetPosition(ctx.progress.Position() + 1);
    ctx.progress.ProcessMessages();
  }
}

}  // namespace

void WriteUpdateStateFile(RunContext& ctx, const TExtIniFile& script, const std::string& updateSystemText,
                          const std::string& installLogFile) {
  ctx.progress.SetStatus(updateSystemText);
  ctx.progress.SetPosition(0);
  ctx.progress.SetBaseOffset(0);
  ctx.progress.ProcessMessages();
  const std::string path = ctx.services.variables.ExpandVariables(installLogFile);
  if (path.empty()) return;
  const ConfigurationSection config = ReadConfigurationSection(script);
  TExtIniFile state(ctx.services.machine.files, path, true);
  DateTime today = ctx.services.machine.system.Now();
  today.hour = today.minute = today.second = today.millisecond = 0;
  state.WriteString("General", "LastInstalled", FormatShortDate(today));
  state.WriteDateTime("General", "LastBuild", config.buildDate);
  WriteFileSections(ctx, script, state);
  state.UpdateFile();
}

}  // namespace ostravel::engine
