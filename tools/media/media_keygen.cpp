// ostravel-media keygen PRIVATE PUBLIC: a key pair for signed update sites. PRIVATE
// gets the PEM private key (never overwritten); PUBLIC the base64 line to paste as
// [Configuration] UpdateSigningKey of the medium.
#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "base/base64.h"
#include "tools/media/binary_file.h"
#include "tools/media/command.h"
#include "tools/media/site_signing.h"

namespace ostravel::media {
namespace {

const char* const kUsage = "PRIVATE PUBLIC";

int RunKeygen(const std::vector<std::string>& args) {
  if (args.size() != 2 || args[0].rfind("--", 0) == 0 || args[1].rfind("--", 0) == 0) {
    std::fprintf(stderr, "usage: ostravel-media keygen %s\n", kUsage);
    return 2;
  }
  std::error_code ec;
  if (std::filesystem::exists(PathOf(args[0]), ec)) {
    std::fprintf(stderr, "ostravel-media keygen: %s exists; a signing key is never overwritten\n", args[0].c_str());
    return 1;
  }
  try {
    const SigningKeyPair pair = GenerateSigningKey();
    // Owner-only before the key goes in.
    const bool created = WriteBinary(args[0], "");
    std::filesystem::permissions(PathOf(args[0]),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write, ec);
    if (!created || !WriteBinary(args[0], pair.privatePem)) {
      std::fprintf(stderr, "ostravel-media keygen: cannot write %s\n", args[0].c_str());
      return 2;
    }
    if (!WriteBinary(args[1], Base64Encode(pair.publicPoint) + "\r\n")) {
      std::fprintf(stderr, "ostravel-media keygen: cannot write %s\n", args[1].c_str());
      return 2;
    }
  } catch (const std::runtime_error& e) {
    std::fprintf(stderr, "ostravel-media keygen: %s\n", e.what());
    return 2;
  }
  std::printf("keygen: %s (keep it secret), %s (UpdateSigningKey of the medium)\n", args[0].c_str(), args[1].c_str());
  return 0;
}

const RegisterCommand reg{"keygen", kUsage, RunKeygen};

}  // namespace
}  // namespace ostravel::media
