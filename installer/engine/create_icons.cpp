#include "installer/engine/create_icons.h"

#include "installer/engine/target_paths.h"

namespace ostravel::engine {
namespace {

bool Excluded(const ShortcutEntry& s, const std::vector<model::InstallModuleEntry>& modules) {
  for (const auto& m : modules)
    if (m.included && !m.name.empty() && s.exclusions.find(";" + m.name + ";") != std::string::npos) return true;
  return false;
}

}  // namespace

void CreateIcons(RunContext& ctx, const std::vector<ShortcutEntry>& icons) {
  platform::FileSystem& files = ctx.machine.files;
  std::string mainProgram;
  for (const ShortcutEntry& s : icons) {
    bool create = !ctx.choices.doNotCreateIcons || s.placement == "$AllUserStartup$" || s.placement == "$UserStartup$";
    if (s.title.find("KORB") != std::string::npos) {
      mainProgram = s.file;
      create = create && ctx.choices.needLumbraIcon;
    }
    if (create && !Excluded(s, ctx.selection.modules) && files.FileExists(s.file) && files.FileExists(s.iconFile)) {
      const std::string path = CreateShortcut(ctx.machine, ctx.variables, s.placement, s.title, s.file, s.iconIndex,
                                              s.iconFile, s.workFolder, s.parameters);
      if (!path.empty()) ctx.record.push_back({model::RecordAction::CreateIcon, path});
    }
    ctx.progress.SetPosition(ctx.progress.Position() + 1);
  }
  // The voucher program's desktop shortcut is not recorded: it outlives an uninstall.
  if (ctx.choices.needOrvelIcon)
    CreateShortcut(ctx.machine, ctx.variables, "$UserDesktop$",
                   "Orvel " + ctx.variables.UserVariable("$varProgramYear$"), mainProgram, 0, mainProgram,
                   FolderOf(mainProgram), "VOUCHERDESK");
}

}  // namespace ostravel::engine
