#pragma once
// The proxy values of the per-user key "Software\Belloro\Installer": read at
// start-up and after the proxy dialog's OK, and handed to the HTTP client.
// The password stays in the registry as stored (other programs read it there); it
// never reaches the diagnostic log, the debug information or an error text.
#include <functional>

#include "installer/model/web_update.h"
#include "installer/platform/http.h"
#include "installer/platform/registry.h"

namespace ostravel::net {

inline constexpr const char* kProxyKey = "Software\\Belloro\\Installer";

// Each value that exists ("ProxyServer", "ProxyPort", "ProxyUsername",
// "ProxyPassword"); the key is created when missing.
model::ProxySettings ReadProxySettings(platform::Registry& registry);
// Sets each present value on the client; absent ones keep the client's.
void ApplyProxySettings(platform::HttpClient& http, const model::ProxySettings& settings);
// Window creation: read and apply; returns what was read.
model::ProxySettings ApplyStoredProxySettings(platform::Registry& registry, platform::HttpClient& http);

// The dialog's FormCreate: empty fields and port 0, then every stored value.
model::ProxySettings LoadProxyDialogValues(platform::Registry& registry);
// The dialog's OKButtonClick: all four values ("Proxyport" as a DWORD); nothing when
// the key cannot be opened.
void StoreProxyDialogValues(platform::Registry& registry, const model::ProxySettings& values);

// The wizard's ProxySettingsButtonClick: `showDialog` shows the dialog modally on
// the values and answers whether it closed with OK (the values then hold the
// fields). After OK the stored values are written, read back, applied to the
// client and kept in `current`. Cancel changes nothing.
void ProxySettingsButtonClick(platform::Registry& registry, platform::HttpClient& http,
                              model::ProxySettings& current,
                              const std::function<bool(model::ProxySettings& values)>& showDialog);

}  // namespace ostravel::net
