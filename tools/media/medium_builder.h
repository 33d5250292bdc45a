#pragma once
// ostravel-media medium: a product folder and a template into a complete medium
// (setup.inf with its generated lists, one archive per package, setup.exe and
// _setup1.ex_), built in a folder beside the output and renamed into place, so the
// output folder never holds a half-written medium.
#include <filesystem>
#include <string>
#include <vector>

namespace ostravel::media {

struct MediumOptions {
  std::filesystem::path productDir, templatePath, outDir;
  std::filesystem::path launcher;   // startup.exe, shipped as setup.exe
  std::filesystem::path installer;  // installer.exe, shipped as _setup1.ex_
  bool scramble = false;
};

// Exit codes of the maker's tool.
enum MediumExit { kMediumDone = 0, kMediumRefused = 1, kMediumUnreadable = 2 };

struct MediumResult {
  int exitCode = kMediumDone;
  std::vector<std::string> messages;  // UTF-8: what was refused or failed, or what was written
};

MediumResult BuildMedium(const MediumOptions& options);

}  // namespace ostravel::media
