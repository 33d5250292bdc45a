#include "installer/dbserver/older_installation.h"

#include "base/text.h"
#include "base/version_text.h"
#include "installer/dbserver/detection.h"
#include "installer/dbserver/old_server_files.h"
#include "installer/dbserver/server_restore.h"
#include "installer/dbserver/server_stop.h"
#include "installer/dbserver/version_tests.h"

namespace ostravel::dbserver {
namespace {

bool OlderServerIn(platform::Platform& machine, const std::string& base, const std::string& targetVersion) {
  const std::string classic = base + "bin\\fb_inet_server.exe";
  const std::string program = machine.files.FileExists(classic) ? classic : base + "bin\\fbserver.exe";
  const platform::VersionRecord record = machine.system.ReadVersion(program);
  return record.valid && CompareVersionText(targetVersion, VersionText(record)) > 0;
}

}  // namespace

AsideResult SetOlderInstallationAside(ServerContext& ctx, const std::string& folder, const std::string& targetVersion,
                                      SetAside& aside) {
  aside = {};
  if (Trim(folder).empty() || !ServerInstalled(ctx.services.machine)) return AsideResult::NotOlder;
  const std::string base = WithTrailing(folder, '\\');
  if (!OlderServerIn(ctx.services.machine, base, targetVersion)) return AsideResult::NotOlder;
  if (!StopRememberedServers(ctx)) {
    ctx.services.log.WriteLog("Older server still running; " + base + " left in place");
    return AsideResult::NotStopped;
  }
  const std::string from = WithoutTrailing(base, '\\');
  const std::string to = AsideFolderFor(ctx.services.machine.files, from, ctx.services.machine.system.Now());
  if (!ctx.services.machine.files.RenameFolder(from, to)) {
    ctx.services.log.WriteLog("Older server folder " + from +
                              " cannot be moved aside: " + ctx.services.machine.files.LastErrorText());
    return AsideResult::NotMoved;
  }
  ctx.services.log.WriteLog("Older server folder moved aside: " + from + " -> " + to);
  aside = {from, to};
  return AsideResult::Moved;
}

bool PutOlderInstallationBack(ServerContext& ctx, const SetAside& aside) {
  if (aside.aside.empty()) return true;
  platform::FileSystem& files = ctx.services.machine.files;
  // The failed setup may have started a server from the new files.
  StopServers(ctx.services.machine);
  if (files.Find(aside.folder)) files.DeleteTree(aside.folder);
  // What could not be deleted goes out of the way as a whole.
  if (files.Find(aside.folder)) files.RenameFolder(aside.folder, aside.aside + "-failed-setup");
  if (files.RenameFolder(aside.aside, aside.folder)) {
    ctx.services.log.WriteLog("Older server folder moved back: " + aside.aside + " -> " + aside.folder);
    return true;
  }
  ctx.services.log.WriteLog("Older server folder NOT moved back; the previous server is kept in " + aside.aside + ": " +
                            files.LastErrorText());
  return false;
}

void KeepOldServerFiles(ServerContext& ctx, const SetAside& aside) {
  if (aside.aside.empty()) return;
  const std::vector<std::string> kept = KeepOnlyWhatMatters(ctx.services.machine.files, aside.aside);
  if (kept.empty()) ctx.services.log.WriteLog("Older server folder removed: " + aside.aside);
  for (const std::string& path : kept) ctx.services.log.WriteLog("Kept from the older server: " + path);
}

}  // namespace ostravel::dbserver
