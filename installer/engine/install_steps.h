#pragma once
// The smaller steps of the installation run, one file each.
#include <string>
#include <vector>

#include "installer/engine/file_list.h"
#include "installer/engine/run_context.h"
#include "installer/script/ext_ini_file.h"
#include "installer/script/script_lists.h"

namespace ostravel::engine {

// "SetFileAttributes": the read-only, hidden, system and archive flags of the
// script on every installed file; missing files are passed over.
void SetFileAttributes(RunContext& context, const FileList& list);

// "CreateInstallLogFile": the update-state file named by [Configuration]
// InstallLogFile (as written; the run reads it with its lists), when it names one,
// from the run's reader of the setup script.
void WriteUpdateStateFile(RunContext& context, const TExtIniFile& script, const std::string& updateSystemText,
                          const std::string& installLogFile);

// "CreateAdditionalFolders": every folder of [Folders] that does not exist yet.
void CreateAdditionalFolders(RunContext& context, const std::vector<std::string>& folders);

// "InstallNewFonts": each font name once, when no family of that name is installed.
void InstallNewFonts(RunContext& context, const std::vector<FontKeys>& fonts);
// The copies in the fonts folder that InstallNewFonts may make: those not there yet.
std::vector<std::string> NewFontCopies(RunContext& context, const std::vector<FontKeys>& fonts);

// "ExecuteExternalInstallerFiles": every ".msi" of the file list through the
// Windows Installer, then deleted; "register_com_servers.bat" run once.
void ExecuteExternalInstallerFiles(RunContext& context, const FileList& list);

}  // namespace ostravel::engine
