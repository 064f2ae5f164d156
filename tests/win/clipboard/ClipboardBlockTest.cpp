// Decoding of clipboard blocks: exactly the block's text, never a byte beyond the block.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "clipboard/ClipboardBlock.h"

namespace {

// A copy of the bytes placed so that its last byte is followed by an inaccessible page: a read
// of one byte beyond the block faults.
class CGuardedBlock {
public:
    CGuardedBlock(const void* pData, size_t nBytes) : m_nBytes(nBytes) {
        SYSTEM_INFO oInfo;
        GetSystemInfo(&oInfo);
        const size_t nPage = oInfo.dwPageSize;
        const size_t nPages = (nBytes + nPage - 1) / nPage + 1;
        m_pBase = static_cast<char*>(
            VirtualAlloc(nullptr, nPages * nPage, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        char* pGuard = m_pBase + (nPages - 1) * nPage;
        DWORD nOld = 0;
        VirtualProtect(pGuard, nPage, PAGE_NOACCESS, &nOld);
        m_pBlock = pGuard - nBytes;
        std::memcpy(m_pBlock, pData, nBytes);
    }
    ~CGuardedBlock() { VirtualFree(m_pBase, 0, MEM_RELEASE); }
    CGuardedBlock(const CGuardedBlock&) = delete;
    CGuardedBlock& operator=(const CGuardedBlock&) = delete;

    const void* Data() const { return m_pBlock; }
    size_t Size() const { return m_nBytes; }

private:
    char* m_pBase = nullptr;
    char* m_pBlock = nullptr;
    size_t m_nBytes;
};

std::u16string Units(std::initializer_list<char16_t> lstUnits) {
    return std::u16string(lstUnits);
}

std::u16string DecodeUnicode(const std::u16string& strUnits, size_t nExtraBytes = 0) {
    std::string strBytes(reinterpret_cast<const char*>(strUnits.data()),
                         strUnits.size() * sizeof(char16_t));
    strBytes.append(nExtraBytes, 'D');
    CGuardedBlock oBlock(strBytes.data(), strBytes.size());
    return UnicodeTextFromBlock(oBlock.Data(), oBlock.Size());
}

std::u16string DecodeAnsi(const std::string& strBytes, UINT nCodePage) {
    CGuardedBlock oBlock(strBytes.data(), strBytes.size());
    return AnsiTextFromBlock(oBlock.Data(), oBlock.Size(), nCodePage);
}

} // namespace

TEST(ClipboardBlock, UnicodeTextEndsAtFirstNulOrAtBlockEnd) {
    EXPECT_EQ(DecodeUnicode(Units({u'A', u'B', 0, u'C', u'D', 0})), u"AB");
    EXPECT_EQ(DecodeUnicode(Units({u'A', u'B', u'C'})), u"ABC"); // no NUL: the block's end
    EXPECT_EQ(DecodeUnicode(Units({0})), u"");                   // the empty text
    EXPECT_EQ(UnicodeTextFromBlock(nullptr, 0), u"");
}

TEST(ClipboardBlock, UnicodeTextIgnoresAnOddLastByte) {
    // The odd byte sits last, right before the inaccessible page; it is not half a unit to read.
    EXPECT_EQ(DecodeUnicode(Units({u'A', u'B', u'C'}), 1), u"ABC");
    EXPECT_EQ(DecodeUnicode(Units({}), 1), u"");
    // An odd size also means an odd address here: the units are not aligned.
    EXPECT_EQ(DecodeUnicode(Units({u'x', 0xE9, 0x2603, 0}), 1), u"x\u00E9\u2603");
}

TEST(ClipboardBlock, UnicodeTextKeepsSurrogatesAsTheyAre) {
    const std::u16string strLone = Units({0xD83D, u'A', 0xDC00, 0xD800});
    EXPECT_EQ(DecodeUnicode(strLone), strLone);
    const std::u16string strPair = Units({0xD83D, 0xDE00, u'!'});
    EXPECT_EQ(DecodeUnicode(strPair + Units({0})), strPair);
}

TEST(ClipboardBlock, AnsiTextIsConvertedFromTheCodePage) {
    EXPECT_EQ(DecodeAnsi("caf\xE9", 1252), u"caf\u00E9"); // no zero byte: the block's end
    EXPECT_EQ(DecodeAnsi(std::string("ab\0cd", 5), 1252), u"ab");
    EXPECT_EQ(DecodeAnsi("\xE0\xE1", 1251), u"\u0430\u0431"); // the same bytes, another page
    EXPECT_EQ(DecodeAnsi(std::string(1, '\0'), 1252), u"");
}
