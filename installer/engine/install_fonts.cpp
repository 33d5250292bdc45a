#include "base/text.h"
#include "installer/engine/install_steps.h"
#include "installer/engine/target_paths.h"

namespace ostravel::engine {
namespace {

std::string FontsFolder(RunContext& ctx) {
  std::string folder;
  ctx.services.machine.registry.ReadString(platform::RootKey::CurrentUser,
                                           "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                                           "Fonts", folder);
  return WithTrailing(folder, '\\');
}

void InstallFamily(RunContext& ctx, const std::vector<FontKeys>& fonts, const std::string& name) {
  platform::FileSystem& files = ctx.services.machine.files;
  const std::string fontsFolder = FontsFolder(ctx);
  // Without the fonts folder the copy would land beside whatever the current folder is.
  if (!IsUsableTargetPath(fontsFolder + "x")) return;
  for (const FontKeys& font : fonts) {
    if (font.fontName != name) continue;
    const std::string file = ctx.services.variables.ExpandVariables(font.fontFile);
    if (!files.FileExists(file)) continue;
    const std::string copy = fontsFolder + FileNameOf(file);
    if (!files.FileExists(copy)) files.CopyFile(file, copy, false);
    ctx.services.machine.fonts.AddFontFile(copy);
  }
}

}  // namespace

void InstallNewFonts(RunContext& ctx, const std::vector<FontKeys>& fonts) {
  std::string handled;  // each name followed by ";"
  for (const FontKeys& font : fonts) {
    const std::string& name = font.fontName;
    if (handled.find(name + ";") != std::string::npos) continue;
    if (!ctx.services.machine.fonts.FamilyInstalled(name)) InstallFamily(ctx, fonts, name);
    handled += name + ";";
  }
}

}  // namespace ostravel::engine
