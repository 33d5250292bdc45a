#pragma once
// The web update's state: where the update site is, what it found, and how the
// connection goes out. Owned by the wizard window for the whole run.
#include <cstdint>
#include <optional>
#include <string>

namespace ostravel::model {

struct ProxySettings {
  std::optional<std::string> server, username, password;
  std::optional<uint32_t> port;
};

struct WebUpdate {
  std::string webUpdateUrl;
  bool noUpdateFound = false;
  bool installerUpdateRequired = false;
  ProxySettings proxy;
  // Texts of [ErrorMessages] read at window creation.
  std::string downloadGeneral, md5ChecksumFailed, updateSignatureFailed;
  // [Configuration] UpdateSigningKey of the medium's script, read at window creation
  // and never from a downloaded script: base64 text, empty for an unsigned site.
  std::string updateSigningKey;
  bool SignedSite() const { return !updateSigningKey.empty(); }
};

}  // namespace ostravel::model
