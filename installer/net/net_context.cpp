#include "installer/net/net_context.h"

#include "base/text.h"
#include "installer/script/setup_script.h"

namespace ostravel::net {

std::string TempFolder(const NetContext& net) {
  return WithTrailing(net.services.variables.ExpandVariables("$TempFolder$"), '\\');
}

std::string FileAddress(const std::string& base, const std::string& name) {
  return base.empty() || EndsWith(base, "/") ? base + name : base + "/" + name;
}

std::string BuildWebUpdateUrl(const std::string& updateSiteUrl, const std::string& year, bool dosVariant) {
  return updateSiteUrl + year + "/" + (dosVariant ? "dos/" : "");
}

void ShowDownloadBox(const NetContext& net, const std::string& text) {
  net.services.dialogs.ShowMessage(text, ui::MsgDlgType::Error, ui::mbOK, net.services.process.dialogLanguage);
}

int DownloadRetries(const NetContext& net) {
  const int retries =
      WithScript(net.services.machine.files, net.services.process.scriptPath,
                 [](const TExtIniFile& ini) { return ini.ReadInteger(section::kConfiguration, "DownloadRetries", 0); });
  // A handful is plenty for a flaky line; a typo must not mean retrying forever.
  return retries < 0 ? 0 : (retries > 20 ? 20 : retries);
}

}  // namespace ostravel::net
