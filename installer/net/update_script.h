#pragma once
#include <cstdint>
#include <string>

#include "installer/model/web_update.h"
#include "installer/net/net_context.h"

namespace ostravel::net {

inline constexpr const char* kUpdateScriptName = "download.inf";
// Far above any real script; a runaway answer must not fill the disk or memory.
inline constexpr int64_t kMaxUpdateScriptBytes = 16 * 1024 * 1024;
// The detached signature of a signed site: one base64 line.
inline constexpr const char* kUpdateSignatureName = "download.inf.sig";
inline constexpr int64_t kMaxUpdateSignatureBytes = 4096;

// Called by the components page on its first entry in a web update, with its
// processing panel up and between its "DownloadInfoFileFromInternet start" and
// "done" log lines. Gets `web.webUpdateUrl` + "download.inf" into the temporary
// folder and makes that file `ScriptPath`; returns its path.
// On failure: the localised box (exit code 1 when silent) with DownloadGeneral,
// "\r\n\n" and the message, then InstallerError with DownloadGeneral, "\r\n\r\n"
// and the message for the caller's error jump. `ScriptPath` stays as it was.
// An answer that holds no INI section (an HTML error page, binary data) fails too.
// With the medium's UpdateSigningKey, "download.inf.sig" is fetched beside it and
// must verify over the script's bytes before anything else reads them; otherwise
// the script is deleted, and the box (exit code 1 when silent) and the error carry
// UpdateSignatureFailed with the reason.
std::string DownloadUpdateScript(const NetContext& net, const model::WebUpdate& web);

// True when the text can be a setup script: no NUL byte and at least one section.
bool LooksLikeSetupScript(const std::string& data);

}  // namespace ostravel::net
