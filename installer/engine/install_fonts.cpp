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

// Each file of the family, and its copy in the fonts folder.
template <typename Fn>
void ForFamily(RunContext& ctx, const std::vector<FontKeys>& fonts, const std::string& name, Fn&& fn) {
  const std::string fontsFolder = FontsFolder(ctx);
  // Without the fonts folder the copy would land beside whatever the current folder is.
  if (!IsUsableTargetPath(fontsFolder + "x")) return;
  for (const FontKeys& font : fonts) {
    if (font.fontName != name) continue;
    const std::string file = ctx.services.variables.ExpandVariables(font.fontFile);
    fn(file, fontsFolder + FileNameOf(file));
  }
}

// Each font name once, when no family of that name is installed.
template <typename Fn>
void ForNewFamilies(RunContext& ctx, const std::vector<FontKeys>& fonts, Fn&& fn) {
  std::string handled;  // each name followed by ";"
  for (const FontKeys& font : fonts) {
    const std::string& name = font.fontName;
    if (handled.find(name + ";") != std::string::npos) continue;
    if (!ctx.services.machine.fonts.FamilyInstalled(name)) ForFamily(ctx, fonts, name, fn);
    handled += name + ";";
  }
}

}  // namespace

void InstallNewFonts(RunContext& ctx, const std::vector<FontKeys>& fonts) {
  platform::FileSystem& files = ctx.services.machine.files;
  ForNewFamilies(ctx, fonts, [&](const std::string& file, const std::string& copy) {
    if (!files.FileExists(file)) return;
    if (!files.FileExists(copy)) files.CopyFile(file, copy, false);
    ctx.services.machine.fonts.AddFontFile(copy);
  });
}

std::vector<std::string> NewFontCopies(RunContext& ctx, const std::vector<FontKeys>& fonts) {
  std::vector<std::string> copies;
  ForNewFamilies(ctx, fonts, [&](const std::string&, const std::string& copy) {
    if (!ctx.services.machine.files.FileExists(copy)) copies.push_back(copy);
  });
  return copies;
}

}  // namespace ostravel::engine
