#include "installer/net/proxy_settings.h"

namespace ostravel::net {

namespace {

constexpr auto kRoot = platform::RootKey::CurrentUser;

}  // namespace

model::ProxySettings ReadProxySettings(platform::Registry& registry) {
  model::ProxySettings s;
  registry.CreateKey(kRoot, kProxyKey);
  std::string text;
  uint32_t number = 0;
  if (registry.ReadString(kRoot, kProxyKey, "ProxyServer", text) == platform::RegRead::Ok) s.server = text;
  // Written as "Proxyport", tested as "ProxyPort": value names ignore case.
  if (registry.ReadDword(kRoot, kProxyKey, "ProxyPort", number) == platform::RegRead::Ok) s.port = number;
  if (registry.ReadString(kRoot, kProxyKey, "ProxyUsername", text) == platform::RegRead::Ok) s.username = text;
  if (registry.ReadString(kRoot, kProxyKey, "ProxyPassword", text) == platform::RegRead::Ok) s.password = text;
  return s;
}

void ApplyProxySettings(platform::HttpClient& http, const model::ProxySettings& settings) {
  platform::HttpProxy proxy = http.Proxy();
  if (settings.server) proxy.host = *settings.server;
  if (settings.port) proxy.port = *settings.port;
  if (settings.username) proxy.username = *settings.username;
  if (settings.password) proxy.password = *settings.password;
  http.SetProxy(proxy);
}

model::ProxySettings ApplyStoredProxySettings(platform::Registry& registry, platform::HttpClient& http) {
  model::ProxySettings stored = ReadProxySettings(registry);
  ApplyProxySettings(http, stored);
  return stored;
}

model::ProxySettings LoadProxyDialogValues(platform::Registry& registry) {
  model::ProxySettings stored = ReadProxySettings(registry);
  model::ProxySettings fields{std::string(), std::string(), std::string(), 0u};
  if (stored.server) fields.server = stored.server;
  if (stored.port) fields.port = stored.port;
  if (stored.username) fields.username = stored.username;
  if (stored.password) fields.password = stored.password;
  return fields;
}

void StoreProxyDialogValues(platform::Registry& registry, const model::ProxySettings& values) {
  if (!registry.CreateKey(kRoot, kProxyKey)) return;
  registry.WriteString(kRoot, kProxyKey, "ProxyServer", values.server.value_or(""));
  registry.WriteDword(kRoot, kProxyKey, "Proxyport", values.port.value_or(0));
  registry.WriteString(kRoot, kProxyKey, "ProxyUsername", values.username.value_or(""));
  registry.WriteString(kRoot, kProxyKey, "ProxyPassword", values.password.value_or(""));
}

void ProxySettingsButtonClick(platform::Registry& registry, platform::HttpClient& http,
                              model::ProxySettings& current,
                              const std::function<bool(model::ProxySettings& values)>& showDialog) {
  model::ProxySettings values = LoadProxyDialogValues(registry);
  if (!showDialog(values)) return;
  StoreProxyDialogValues(registry, values);
  current = ApplyStoredProxySettings(registry, http);
}

}  // namespace ostravel::net
