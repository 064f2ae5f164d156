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
    explicit CGuardedBlock(const std::string& strBytes) {
        SYSTEM_INFO oInfo;
        GetSystemInfo(&oInfo);
        const size_t nPage = oInfo.dwPageSize;
        const size_t nPages = (strBytes.size() + nPage - 1) / nPage + 1;
        m_pBase = static_cast<char*>(
            VirtualAlloc(nullptr, nPages * nPage, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        char* pGuard = m_pBase + (nPages - 1) * nPage;
        DWORD nOld = 0;
        VirtualProtect(pGuard, nPage, PAGE_NOACCESS, &nOld);
        m_pBlock = pGuard - strBytes.size();
        std::memcpy(m_pBlock, strBytes.data(), strBytes.size());
    }
    ~CGuardedBlock() { VirtualFree(m_pBase, 0, MEM_RELEASE); }
    CGuardedBlock(const CGuardedBlock&) = delete;
    CGuardedBlock& operator=(const CGuardedBlock&) = delete;

    const void* Data() const { return m_pBlock; }

private:
    char* m_pBase = nullptr;
    char* m_pBlock = nullptr;
};

} // namespace

TEST(ClipboardBlock, UnicodeTextIsTheUnitsUpToTheFirstNulOrTheBlocksEnd) {
    const struct {
        std::u16string strUnits;
        size_t nOddBytes; // bytes after the units
        std::u16string strExpected;
    } arrCases[] = {
        {{u'A', u'B', u'\0', u'C', u'D', u'\0'}, 0, u"AB"},
        {u"ABC", 0, u"ABC"}, // no NUL: the block's end
        {{u'\0'}, 0, u""},
        // The odd last byte sits right before the inaccessible page: not half a unit to read.
        {u"ABC", 1, u"ABC"},
        {u"", 1, u""},
        // An odd size also means an odd address here: the units are not aligned.
        {{u'x', 0xE9, 0x2603, u'\0'}, 1, u"x\u00E9\u2603"},
        // Surrogates, paired or not, are kept as they are.
        {{0xD83D, u'A', 0xDC00, 0xD800}, 0, {0xD83D, u'A', 0xDC00, 0xD800}},
        {{0xD83D, 0xDE00, u'!', u'\0'}, 0, {0xD83D, 0xDE00, u'!'}},
    };
    for (const auto& oCase : arrCases) {
        std::string strBytes(reinterpret_cast<const char*>(oCase.strUnits.data()),
                             oCase.strUnits.size() * sizeof(char16_t));
        strBytes.append(oCase.nOddBytes, 'D');
        const CGuardedBlock oBlock(strBytes);
        EXPECT_EQ(UnicodeTextFromBlock(oBlock.Data(), strBytes.size()), oCase.strExpected);
    }
    EXPECT_EQ(UnicodeTextFromBlock(nullptr, 0), u"");
}

TEST(ClipboardBlock, AnsiTextIsConvertedFromTheCodePage) {
    const struct {
        std::string strBytes;
        UINT nCodePage;
        std::u16string strExpected;
    } arrCases[] = {
        {"caf\xE9", 1252, u"caf\u00E9"}, // no zero byte: the block's end
        {std::string("ab\0cd", 5), 1252, u"ab"},
        {"\xE0\xE1", 1251, u"\u0430\u0431"}, // the same bytes, another page
        {std::string(1, '\0'), 1252, u""},
    };
    for (const auto& oCase : arrCases) {
        const CGuardedBlock oBlock(oCase.strBytes);
        EXPECT_EQ(AnsiTextFromBlock(oBlock.Data(), oCase.strBytes.size(), oCase.nCodePage),
                  oCase.strExpected);
    }
}
