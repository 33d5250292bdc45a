#include "installer/engine/create_icons.h"

#include "installer/engine/created_folders.h"
#include "installer/engine/target_paths.h"

namespace ostravel::engine {
namespace {

// The first included install module the shortcut's exclusions name, or "".
std::string ExcludedBy(const ShortcutEntry& s, const std::vector<model::InstallModuleEntry>& modules) {
  for (const auto& m : modules)
    if (m.included && !m.name.empty() && s.exclusions.find(";" + m.name + ";") != std::string::npos) return m.name;
  return "";
}

// Why the shortcut is not made, or "" when it is to be made.
std::string WhyNot(RunContext& ctx, const ShortcutEntry& s, bool lumbra) {
  platform::FileSystem& files = ctx.services.machine.files;
  const bool startup = s.placement == "$AllUserStartup$" || s.placement == "$UserStartup$";
  if (ctx.choices.doNotCreateIcons && !startup) return "shortcuts are switched off";
  if (lumbra && !ctx.choices.needLumbraIcon) return "its desktop shortcut was not asked for";
  const std::string module = ExcludedBy(s, ctx.selection.modules);
  if (!module.empty()) return "excluded by the install module " + module;
  if (s.file.empty()) return "it names no program (no File)";
  if (!files.FileExists(s.file)) return "its program " + s.file + " does not exist";
  if (s.iconFile.empty()) return "it names no icon file (no IconFile)";
  if (!files.FileExists(s.iconFile)) return "its icon file " + s.iconFile + " does not exist";
  return "";
}

void NotCreated(RunContext& ctx, const std::string& title, const std::string& reason) {
  LogQuietly(ctx, "Shortcut not created: " + title + ": " + reason);
}

// Makes the link and records it with the folders made for it.
void Create(RunContext& ctx, const ShortcutEntry& s) {
  const std::string link = ShortcutPath(ctx.services.variables, s.placement, s.title);
  const std::vector<std::string> levels =
      link.empty() ? std::vector<std::string>{} : MissingFolderLevels(ctx.services.machine.files, FolderOf(link));
  const std::string path = CreateShortcut(ctx.services.machine, ctx.services.variables, s.placement, s.title, s.file, s.iconIndex,
                                          s.iconFile, s.workFolder, s.parameters);
  RecordCreatedFolders(ctx.services.machine.files, levels, ctx.record);
  if (path.empty()) {
    NotCreated(ctx, s.title, link.empty() ? "its placement " + s.placement + " gives no usable path"
                                          : "the shell saved no link at " + link);
    return;
  }
  ctx.record.push_back({model::RecordAction::CreateIcon, path});
}

// The voucher program's desktop shortcut starts the main program; without one it
// would start nothing. It is not recorded: it outlives an uninstall.
void CreateOrvelShortcut(RunContext& ctx, const std::string& mainProgram) {
  const std::string title = "Orvel " + ctx.services.variables.UserVariable("$varProgramYear$");
  if (mainProgram.empty()) return NotCreated(ctx, title, "no shortcut title holds KORB, so it has no program");
  if (!ctx.services.machine.files.FileExists(mainProgram))
    return NotCreated(ctx, title, "its program " + mainProgram + " does not exist");
  if (CreateShortcut(ctx.services.machine, ctx.services.variables, "$UserDesktop$", title, mainProgram, 0, mainProgram,
                     FolderOf(mainProgram), "VOUCHERDESK")
          .empty())
    NotCreated(ctx, title, "the shell saved no link");
}

}  // namespace

void CreateIcons(RunContext& ctx, const std::vector<ShortcutEntry>& icons) {
  std::string mainProgram;
  for (const ShortcutEntry& s : icons) {
    const bool lumbra = s.title.find("KORB") != std::string::npos;
    if (lumbra) mainProgram = s.file;
    const std::string reason = WhyNot(ctx, s, lumbra);
    if (reason.empty())
      Create(ctx, s);
    else
      NotCreated(ctx, s.title, reason);
    ctx.progress.SetPosition(ctx.progress.Position() + 1);
    // Saving a link can take a while (the shell may start a helper): the window answers between them.
    ctx.progress.ProcessMessages();
  }
  if (ctx.choices.needOrvelIcon) CreateOrvelShortcut(ctx, mainProgram);
}

}  // namespace ostravel::engine
