// The record cipher of the kept history against the published ChaCha20-Poly1305 example (key
// 80..9f, the "sunscreen" text), and its refusal of any changed byte.

#include "history/ChaCha20Poly1305.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string_view>
#include <vector>

namespace {

struct SEALED {
    AeadKey key{};
    AeadNonce nonce{0x07, 0x00, 0x00, 0x00, 0x40, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47};
    std::vector<uint8_t> aad{0x50, 0x51, 0x52, 0x53, 0xc0, 0xc1,
                             0xc2, 0xc3, 0xc4, 0xc5, 0xc6, 0xc7};
    std::vector<uint8_t> plain;
    std::vector<uint8_t> data;
    AeadTag tag{};

    SEALED() {
        std::iota(key.begin(), key.end(), uint8_t{0x80});
        constexpr std::string_view text =
            "Ladies and Gentlemen of the class of '99: If I could offer you only one tip for the "
            "future, sunscreen would be it.";
        plain.assign(text.begin(), text.end());
        data = plain;
        tag = AeadSeal(key, nonce, aad, data);
    }
};

TEST(ChaCha20Poly1305, SealsThePublishedExampleAndOpensIt) {
    SEALED sealed;
    const AeadTag expectedTag{0x1a, 0xe1, 0x0b, 0x59, 0x4f, 0x09, 0xe2, 0x6a,
                              0x7e, 0x90, 0x2e, 0xcb, 0xd0, 0x60, 0x06, 0x91};
    const std::vector<uint8_t> expectedStart{0xd3, 0x1a, 0x8d, 0x34, 0x64, 0x8e, 0x60, 0xdb,
                                             0x7b, 0x86, 0xaf, 0xbc, 0x53, 0xef, 0x7e, 0xc2};
    EXPECT_EQ(expectedTag, sealed.tag);
    EXPECT_EQ(expectedStart, std::vector<uint8_t>(sealed.data.begin(), sealed.data.begin() + 16));
    ASSERT_TRUE(AeadOpen(sealed.key, sealed.nonce, sealed.aad, sealed.data, sealed.tag));
    EXPECT_EQ(sealed.plain, sealed.data);
}

TEST(ChaCha20Poly1305, AnyChangedByteIsRefusedAndNothingIsDecrypted) {
    enum class Part { Aad, Data, Tag, Nonce, Key };
    const struct {
        Part nPart;
        size_t nIndex;
    } aCases[] = {{Part::Aad, 0}, {Part::Aad, 11}, {Part::Data, 0},  {Part::Data, 113},
                  {Part::Tag, 0}, {Part::Tag, 15}, {Part::Nonce, 0}, {Part::Key, 31}};
    for (const auto& oCase : aCases) {
        SCOPED_TRACE(static_cast<int>(oCase.nPart) * 1000 + static_cast<int>(oCase.nIndex));
        SEALED sealed;
        uint8_t* pByte = oCase.nPart == Part::Aad     ? &sealed.aad[oCase.nIndex]
                         : oCase.nPart == Part::Data  ? &sealed.data[oCase.nIndex]
                         : oCase.nPart == Part::Tag   ? &sealed.tag[oCase.nIndex]
                         : oCase.nPart == Part::Nonce ? &sealed.nonce[oCase.nIndex]
                                                      : &sealed.key[oCase.nIndex];
        *pByte ^= 0x01;
        const std::vector<uint8_t> before = sealed.data;
        EXPECT_FALSE(AeadOpen(sealed.key, sealed.nonce, sealed.aad, sealed.data, sealed.tag));
        EXPECT_EQ(before, sealed.data) << "a refused record must stay as it was";
        EXPECT_NE(sealed.plain, sealed.data);
    }
}

// A long stream (taken sixteen or eight blocks at a time where the processor can, then four) is
// the same as its blocks one by one.
TEST(ChaCha20Poly1305, ALongKeyStreamEqualsItsBlocksOneByOne) {
    SEALED sealed;
    std::vector<uint8_t> whole(64 * 29 + 5, 0x33), pieces = whole;
    ChaCha20Xor(sealed.key, sealed.nonce, 7, whole);
    for (size_t i = 0; i < pieces.size(); i += 64) {
        ChaCha20Xor(sealed.key, sealed.nonce, static_cast<uint32_t>(7 + i / 64),
                    std::span<uint8_t>(pieces).subspan(i, std::min<size_t>(64, pieces.size() - i)));
    }
    EXPECT_EQ(whole, pieces);
}

} // namespace
