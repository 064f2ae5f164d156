#pragma once
// ChaCha20 and Poly1305 as one authenticated cipher (the construction of RFC 8439): the records
// of the kept history are sealed with it under a key that is fresh for every file.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

inline constexpr size_t kAeadKeySize = 32;
inline constexpr size_t kAeadNonceSize = 12;
inline constexpr size_t kAeadTagSize = 16;

using AeadKey = std::array<uint8_t, kAeadKeySize>;
using AeadNonce = std::array<uint8_t, kAeadNonceSize>;
using AeadTag = std::array<uint8_t, kAeadTagSize>;

// XORs data with the ChaCha20 key stream that starts at block nCounter.
void ChaCha20Xor(const AeadKey& key, const AeadNonce& nonce, uint32_t nCounter,
                 std::span<uint8_t> data);

// The Poly1305 tag of a message under a one-time key.
AeadTag Poly1305(std::span<const uint8_t, 32> oneTimeKey, std::span<const uint8_t> message);

// Encrypts data in place and returns the tag over aad and the cipher text.
AeadTag AeadSeal(const AeadKey& key, const AeadNonce& nonce, std::span<const uint8_t> aad,
                 std::span<uint8_t> data);

// Checks the tag and, only when it matches, decrypts data in place.
bool AeadOpen(const AeadKey& key, const AeadNonce& nonce, std::span<const uint8_t> aad,
              std::span<uint8_t> data, const AeadTag& tag);
