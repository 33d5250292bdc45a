#pragma once
#include <string>

#include "installer/net/net_context.h"

namespace ostravel::net {

// Does the update site answer for this address? Called by the installation-kind
// page's leave check for `WebUpdateUrl` + "firebird.dat" (the page logs
// "WebFileExists start" / "done" around it and shows its processing panel). True
// when a header request succeeds. On any failure: false, and the plain error box
// with the address, "\r\n\n" and the failure's text, or exit code 1 when silent.
// Never fails the installation.
bool WebFileExists(const NetContext& net, const std::string& url);

}  // namespace ostravel::net
