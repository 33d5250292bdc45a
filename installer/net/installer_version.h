#pragma once
// The web update's one rule of its own: the update site may demand a newer
// installer, and then the update becomes a self-update of the installer.
#include <string>
#include <vector>

#include "installer/model/selection.h"
#include "installer/model/web_update.h"
#include "installer/net/net_context.h"

namespace ostravel::net {

extern const char* const kNewInstallerRequired;
inline constexpr const char* kSelfUpdatePackName = "websetup";

// The running installer's file version as "%d.%d.%d.%d"; "0.0.0.0" without a
// version resource.
std::string RunningInstallerVersion(platform::System& system);

// Called by the components page right after DownloadUpdateScript. Only for the
// web-update kind with the Windows variant: when the running installer's version
// sorts before the update script's [Configuration] RqInstallerVersion (as text),
// the plain error box (not when silent) and `web.installerUpdateRequired` := true.
// Returns `web.installerUpdateRequired`.
bool InstallerVersionCheck(const NetContext& net, model::WebUpdate& web, bool webUpdateKind, bool windowsVariant);

// For the components reader, per entry read from the update script while an
// installer update is required: only "websetup" stays, checked and fixed; its
// expanded `Component<n>.TargetDir` gives the restart command.
void ApplyInstallerUpdate(model::ComponentEntry& entry, const std::string& expandedTargetDir,
                          std::string& restartCommand);

// The restart command as an unattended run starts it: the run's own switches
// follow it, so the new installer goes on unattended with the same year, drive,
// modules and shortcut choice. Left out: the launcher's "/l", "/s" and "/restart"
// (the new launcher adds its own "/l", the command has its "/restart").
std::string UnattendedRestartCommand(const std::string& restartCommand, const std::vector<std::string>& parameters);

}  // namespace ostravel::net
