#include "history/ChaCha20Poly1305.h"

#include <algorithm>
#include <cstring>

namespace {

__extension__ typedef unsigned __int128 uint128;

uint32_t Load32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

uint64_t Load64(const uint8_t* p) {
    return static_cast<uint64_t>(Load32(p)) | static_cast<uint64_t>(Load32(p + 4)) << 32;
}

void Store32(uint8_t* p, uint32_t n) {
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<uint8_t>(n >> (8 * i));
    }
}

void Store64(uint8_t* p, uint64_t n) {
    Store32(p, static_cast<uint32_t>(n));
    Store32(p + 4, static_cast<uint32_t>(n >> 32));
}

constexpr uint32_t Rotl(uint32_t n, int s) {
    return (n << s) | (n >> (32 - s));
}

#define KORVEX_QR(a, b, c, d)                                                                      \
    a += b;                                                                                        \
    d = Rotl(d ^ a, 16);                                                                           \
    c += d;                                                                                        \
    b = Rotl(b ^ c, 12);                                                                           \
    a += b;                                                                                        \
    d = Rotl(d ^ a, 8);                                                                            \
    c += d;                                                                                        \
    b = Rotl(b ^ c, 7)

void ChaChaBlock(const uint32_t (&in)[16], uint8_t (&out)[64]) {
    uint32_t x[16];
    std::memcpy(x, in, sizeof x);
    for (int i = 0; i < 10; ++i) {
        KORVEX_QR(x[0], x[4], x[8], x[12]);
        KORVEX_QR(x[1], x[5], x[9], x[13]);
        KORVEX_QR(x[2], x[6], x[10], x[14]);
        KORVEX_QR(x[3], x[7], x[11], x[15]);
        KORVEX_QR(x[0], x[5], x[10], x[15]);
        KORVEX_QR(x[1], x[6], x[11], x[12]);
        KORVEX_QR(x[2], x[7], x[8], x[13]);
        KORVEX_QR(x[3], x[4], x[9], x[14]);
    }
    for (int i = 0; i < 16; ++i) {
        Store32(out + 4 * i, x[i] + in[i]);
    }
}

#undef KORVEX_QR

// Several consecutive blocks (counters in[12] onwards) at once, one block in each lane of a
// vector of words (the compiler's vector types: SSE2 for four lanes, which every x86-64 has, AVX2
// for eight and AVX-512 for sixteen where the processor has them).
typedef uint32_t Lanes4 __attribute__((vector_size(16)));
typedef uint32_t Lanes8 __attribute__((vector_size(32)));
typedef uint32_t Lanes16 __attribute__((vector_size(64)));

#define KORVEX_QRV(a, b, c, d)                                                                     \
    x[a] += x[b];                                                                                  \
    x[d] ^= x[a];                                                                                  \
    x[d] = (x[d] << 16) | (x[d] >> 16);                                                            \
    x[c] += x[d];                                                                                  \
    x[b] ^= x[c];                                                                                  \
    x[b] = (x[b] << 12) | (x[b] >> 20);                                                            \
    x[a] += x[b];                                                                                  \
    x[d] ^= x[a];                                                                                  \
    x[d] = (x[d] << 8) | (x[d] >> 24);                                                             \
    x[c] += x[d];                                                                                  \
    x[b] ^= x[c];                                                                                  \
    x[b] = (x[b] << 7) | (x[b] >> 25)

// XORs the key stream of sizeof(Lanes) / 4 blocks into data (64 bytes per block).
template <class Lanes>
[[gnu::always_inline]] inline void XorBlocks(const uint32_t (&in)[16], uint8_t* data) {
    constexpr int kLanes = sizeof(Lanes) / sizeof(uint32_t);
    Lanes start[16];
    for (int i = 0; i < 16; ++i) {
        for (int l = 0; l < kLanes; ++l) {
            start[i][l] = in[i] + (i == 12 ? static_cast<uint32_t>(l) : 0);
        }
    }
    Lanes x[16];
    std::memcpy(x, start, sizeof x);
    for (int i = 0; i < 10; ++i) {
        KORVEX_QRV(0, 4, 8, 12);
        KORVEX_QRV(1, 5, 9, 13);
        KORVEX_QRV(2, 6, 10, 14);
        KORVEX_QRV(3, 7, 11, 15);
        KORVEX_QRV(0, 5, 10, 15);
        KORVEX_QRV(1, 6, 11, 12);
        KORVEX_QRV(2, 7, 8, 13);
        KORVEX_QRV(3, 4, 9, 14);
    }
    for (int i = 0; i < 16; ++i) {
        x[i] += start[i];
    }
    for (int l = 0; l < kLanes; ++l) {
        for (int i = 0; i < 16; ++i) {
            uint8_t* p = data + 64 * l + 4 * i;
            Store32(p, Load32(p) ^ x[i][l]);
        }
    }
}

#undef KORVEX_QRV

// Whole groups of sizeof(Lanes) / 4 blocks into data, as many as fit; returns the bytes done
// (state[12] moved on).
template <class Lanes>
[[gnu::always_inline]] inline size_t XorGroups(uint32_t (&state)[16], std::span<uint8_t> data) {
    constexpr size_t kBlocks = sizeof(Lanes) / sizeof(uint32_t);
    size_t i = 0;
    for (; data.size() - i >= 64 * kBlocks; i += 64 * kBlocks) {
        XorBlocks<Lanes>(state, data.data() + i);
        state[12] += kBlocks;
    }
    return i;
}

size_t XorGroups4(uint32_t (&state)[16], std::span<uint8_t> data) {
    return XorGroups<Lanes4>(state, data);
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define KORVEX_CHACHA_WIDE 1
[[gnu::target("avx2")]] size_t XorGroups8(uint32_t (&state)[16], std::span<uint8_t> data) {
    return XorGroups<Lanes8>(state, data);
}

[[gnu::target("avx512f")]] size_t XorGroups16(uint32_t (&state)[16], std::span<uint8_t> data) {
    return XorGroups<Lanes16>(state, data);
}

// The widest groups the processor takes: 16, 8 or 4 blocks.
int WidestLanes() {
    static const int nLanes = __builtin_cpu_supports("avx512f") ? 16
                              : __builtin_cpu_supports("avx2")  ? 8
                                                                : 4;
    return nLanes;
}
#endif

// Poly1305 in 64-bit limbs (2^44, 2^44, 2^42), fed block by block.
class CPoly1305 {
public:
    explicit CPoly1305(std::span<const uint8_t, 32> key) {
        const uint64_t t0 = Load64(key.data());
        const uint64_t t1 = Load64(key.data() + 8);
        m_r[0] = t0 & 0xffc0fffffffULL;
        m_r[1] = ((t0 >> 44) | (t1 << 20)) & 0xfffffc0ffffULL;
        m_r[2] = (t1 >> 24) & 0x00ffffffc0fULL;
        m_pad[0] = Load64(key.data() + 16);
        m_pad[1] = Load64(key.data() + 24);
        Times20(m_r, m_sr);
        Partials d = {0, 0, 0};
        MulAdd(d, m_r, m_r, m_sr);
        Carry(d, m_r2);
        Times20(m_r2, m_sr2);
    }

    // Whole 16-byte blocks; a last partial block is padded as the construction's length rule
    // wants (zeros up to 16 bytes, which is what the AEAD feeds for aad and cipher text).
    void Update(std::span<const uint8_t> data, bool bPadZeros) {
        size_t i = 0;
        for (; i + 32 <= data.size(); i += 32) {
            Blocks2(data.data() + i);
        }
        for (; i + 16 <= data.size(); i += 16) {
            Block(data.data() + i, 1);
        }
        if (i < data.size()) {
            uint8_t last[16] = {};
            std::memcpy(last, data.data() + i, data.size() - i);
            if (!bPadZeros) {
                last[data.size() - i] = 1;
            }
            Block(last, bPadZeros ? 1 : 0);
        }
    }

    AeadTag Final() {
        uint64_t h0 = m_h[0], h1 = m_h[1], h2 = m_h[2];
        uint64_t c = h1 >> 44;
        h1 &= 0xfffffffffffULL;
        h2 += c;
        c = h2 >> 42;
        h2 &= 0x3ffffffffffULL;
        h0 += c * 5;
        c = h0 >> 44;
        h0 &= 0xfffffffffffULL;
        h1 += c;
        c = h1 >> 44;
        h1 &= 0xfffffffffffULL;
        h2 += c;
        c = h2 >> 42;
        h2 &= 0x3ffffffffffULL;
        h0 += c * 5;
        c = h0 >> 44;
        h0 &= 0xfffffffffffULL;
        h1 += c;
        // h - p, chosen when it does not borrow.
        uint64_t g0 = h0 + 5;
        c = g0 >> 44;
        g0 &= 0xfffffffffffULL;
        uint64_t g1 = h1 + c;
        c = g1 >> 44;
        g1 &= 0xfffffffffffULL;
        uint64_t g2 = h2 + c - (1ULL << 42);
        const uint64_t mask = (g2 >> 63) - 1;
        h0 = (h0 & ~mask) | (g0 & mask);
        h1 = (h1 & ~mask) | (g1 & mask);
        h2 = (h2 & ~mask) | (g2 & mask);
        // h + pad, mod 2^128.
        const uint64_t lo = h0 | (h1 << 44);
        const uint64_t hi = (h1 >> 20) | (h2 << 24);
        const uint128 sumLo = static_cast<uint128>(lo) + m_pad[0];
        const uint64_t outHi = hi + m_pad[1] + static_cast<uint64_t>(sumLo >> 64);
        AeadTag tag;
        Store64(tag.data(), static_cast<uint64_t>(sumLo));
        Store64(tag.data() + 8, outHi);
        return tag;
    }

private:
    using Limbs = uint64_t[3];
    using Partials = uint128[3];

    static void LoadBlock(const uint8_t* p, uint64_t nHibit, Limbs& m) {
        const uint64_t t0 = Load64(p);
        const uint64_t t1 = Load64(p + 8);
        m[0] = t0 & 0xfffffffffffULL;
        m[1] = ((t0 >> 44) | (t1 << 20)) & 0xfffffffffffULL;
        m[2] = ((t1 >> 24) & 0x3ffffffffffULL) | (nHibit << 40);
    }
    // d += a * b, with sb the limbs of b times 20 (2^130 = 5 modulo the prime, shifted to the
    // limbs' places).
    static void MulAdd(Partials& d, const Limbs& a, const Limbs& b, const Limbs& sb) {
        d[0] += static_cast<uint128>(a[0]) * b[0] + static_cast<uint128>(a[1]) * sb[2] +
                static_cast<uint128>(a[2]) * sb[1];
        d[1] += static_cast<uint128>(a[0]) * b[1] + static_cast<uint128>(a[1]) * b[0] +
                static_cast<uint128>(a[2]) * sb[2];
        d[2] += static_cast<uint128>(a[0]) * b[2] + static_cast<uint128>(a[1]) * b[1] +
                static_cast<uint128>(a[2]) * b[0];
    }
    // The partial products carried back into limbs (the middle one may stay a little over).
    static void Carry(Partials& d, Limbs& h) {
        uint64_t c = static_cast<uint64_t>(d[0] >> 44);
        h[0] = static_cast<uint64_t>(d[0]) & 0xfffffffffffULL;
        d[1] += c;
        c = static_cast<uint64_t>(d[1] >> 44);
        h[1] = static_cast<uint64_t>(d[1]) & 0xfffffffffffULL;
        d[2] += c;
        c = static_cast<uint64_t>(d[2] >> 42);
        h[2] = static_cast<uint64_t>(d[2]) & 0x3ffffffffffULL;
        h[0] += c * 5;
        c = h[0] >> 44;
        h[0] &= 0xfffffffffffULL;
        h[1] += c;
    }
    static void Times20(const Limbs& a, Limbs& sa) {
        for (int i = 0; i < 3; ++i) {
            sa[i] = a[i] * (5 << 2);
        }
    }

    // h = (h + m) * r.
    void Block(const uint8_t* p, uint64_t nHibit) {
        Limbs m;
        LoadBlock(p, nHibit, m);
        for (int i = 0; i < 3; ++i) {
            m_h[i] += m[i];
        }
        Partials d = {0, 0, 0};
        MulAdd(d, m_h, m_r, m_sr);
        Carry(d, m_h);
    }
    // Two whole blocks: h = (h + m1) * r^2 + m2 * r, the two products side by side.
    void Blocks2(const uint8_t* p) {
        Limbs m1, m2;
        LoadBlock(p, 1, m1);
        LoadBlock(p + 16, 1, m2);
        for (int i = 0; i < 3; ++i) {
            m_h[i] += m1[i];
        }
        Partials d = {0, 0, 0};
        MulAdd(d, m_h, m_r2, m_sr2);
        MulAdd(d, m2, m_r, m_sr);
        Carry(d, m_h);
    }

    Limbs m_r, m_sr, m_r2, m_sr2; // r, and r^2 for two blocks at a time
    Limbs m_h = {0, 0, 0};
    uint64_t m_pad[2];
};

void InitState(uint32_t (&state)[16], const AeadKey& key, const AeadNonce& nonce,
               uint32_t nCounter) {
    state[0] = 0x61707865;
    state[1] = 0x3320646e;
    state[2] = 0x79622d32;
    state[3] = 0x6b206574;
    for (int i = 0; i < 8; ++i) {
        state[4 + i] = Load32(key.data() + 4 * i);
    }
    state[12] = nCounter;
    for (int i = 0; i < 3; ++i) {
        state[13 + i] = Load32(nonce.data() + 4 * i);
    }
}

AeadTag AeadTagOf(const AeadKey& key, const AeadNonce& nonce, std::span<const uint8_t> aad,
                  std::span<const uint8_t> cipherText) {
    uint32_t state[16];
    InitState(state, key, nonce, 0);
    uint8_t block[64];
    ChaChaBlock(state, block);
    CPoly1305 mac(std::span<const uint8_t, 32>(block, 32));
    mac.Update(aad, true);
    mac.Update(cipherText, true);
    uint8_t lengths[16];
    Store64(lengths, aad.size());
    Store64(lengths + 8, cipherText.size());
    mac.Update(lengths, true);
    return mac.Final();
}

} // namespace

void ChaCha20Xor(const AeadKey& key, const AeadNonce& nonce, uint32_t nCounter,
                 std::span<uint8_t> data) {
    uint32_t state[16];
    InitState(state, key, nonce, nCounter);
    size_t i = 0;
#ifdef KORVEX_CHACHA_WIDE
    if (data.size() >= 512) {
        const int nLanes = WidestLanes();
        if (nLanes == 16) {
            i = XorGroups16(state, data);
        }
        if (nLanes >= 8) {
            i += XorGroups8(state, data.subspan(i));
        }
    }
#endif
    i += XorGroups4(state, data.subspan(i));
    uint8_t block[64];
    for (; i < data.size(); i += 64) {
        ChaChaBlock(state, block);
        ++state[12];
        const size_t n = std::min<size_t>(64, data.size() - i);
        for (size_t j = 0; j < n; ++j) {
            data[i + j] ^= block[j];
        }
    }
}

AeadTag Poly1305(std::span<const uint8_t, 32> oneTimeKey, std::span<const uint8_t> message) {
    CPoly1305 mac(oneTimeKey);
    mac.Update(message, false);
    return mac.Final();
}

AeadTag AeadSeal(const AeadKey& key, const AeadNonce& nonce, std::span<const uint8_t> aad,
                 std::span<uint8_t> data) {
    ChaCha20Xor(key, nonce, 1, data);
    return AeadTagOf(key, nonce, aad, data);
}

bool AeadOpen(const AeadKey& key, const AeadNonce& nonce, std::span<const uint8_t> aad,
              std::span<uint8_t> data, const AeadTag& tag) {
    const AeadTag expected = AeadTagOf(key, nonce, aad, data);
    uint8_t diff = 0;
    for (size_t i = 0; i < kAeadTagSize; ++i) {
        diff |= static_cast<uint8_t>(expected[i] ^ tag[i]);
    }
    if (diff != 0) {
        return false;
    }
    ChaCha20Xor(key, nonce, 1, data);
    return true;
}
