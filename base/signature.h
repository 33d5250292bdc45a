#pragma once
// Detached signatures of update sites: ECDSA on the curve P-256 over SHA-256,
// checked by the system's implementation (BCrypt on Windows, libcrypto on the host).
#include <cstddef>
#include <string_view>

namespace ostravel {

// The public key as the setup script carries it: the uncompressed point 0x04 || X || Y.
inline constexpr size_t kSigningKeySize = 65;
// The signature as BCrypt takes it: r || s, 32 bytes each, big-endian.
inline constexpr size_t kSignatureSize = 64;

// True only when the key is a point of the curve and the signature is one of the
// message by its private key. Malformed input of any kind is false, never an error.
bool VerifySignature(std::string_view publicKey, std::string_view message, std::string_view signature);

// Whether the bytes are a usable public key.
bool IsSigningKey(std::string_view publicKey);

}  // namespace ostravel
