// The registry store on the real registry: keys created by reads, and the values it must refuse
// with the system's message. (Round trips: the settings value's tests.)

#include "RegistryFixture.h"

namespace {

class settingsSmartRegistry : public RegistryTest {};

TEST_F(settingsSmartRegistry, AbsentValueGivesNothingSilentlyAndTheReadCreatesTheSubkey) {
    CSmartRegistry oStore(HKEY_CURRENT_USER, kProgramKey.c_str());
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, kProgramKey));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kProgramKey + L"\\Deep\\Er"));
    EXPECT_EQ(oStore.ReadUInt32(L"Deep\\Er", L"Missing"), std::nullopt);
    EXPECT_EQ(oStore.ReadUInt32(nullptr, L"Missing"), std::nullopt);
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, kProgramKey + L"\\Deep\\Er"));
    EXPECT_TRUE(Reported().empty());
}

TEST_F(settingsSmartRegistry, WrongTypeOrSizeGivesNothingAndTheSystemsMessage) {
    const struct {
        const wchar_t* pszName;
        DWORD nType;
        const void* pData;
        DWORD nSize;
        DWORD nError; // whose message is shown
    } aCases[] = {
        {L"TextAb", REG_SZ, L"ab", 6, ERROR_MORE_DATA}, // longer than four bytes: 234
        {L"EightBytes", REG_BINARY, "12345678", 8, ERROR_MORE_DATA},
        {L"Binary", REG_BINARY, "\7\0\0\0", 4, ERROR_INVALID_DATA}, // four bytes, wrong type
        {L"BigEndian", REG_DWORD_BIG_ENDIAN, "\7\0\0\0", 4, ERROR_INVALID_DATA},
        {L"TextA", REG_SZ, L"a", 4, ERROR_INVALID_DATA},
        {L"TwoBytes", REG_DWORD, "\7\0", 2, ERROR_INVALID_DATA},
    };
    ASSERT_FALSE(SystemMessage(ERROR_MORE_DATA).empty());
    CSmartRegistry oStore(HKEY_CURRENT_USER, kProgramKey.c_str());
    for (const auto& c : aCases) {
        SCOPED_TRACE(testing::Message() << "value " << std::wstring(c.pszName));
        ASSERT_TRUE(WriteRegistryValue(HKEY_CURRENT_USER, kProgramKey, c.pszName, c.nType, c.pData,
                                       c.nSize));
        Reported().clear();
        EXPECT_EQ(oStore.ReadUInt32(nullptr, c.pszName), std::nullopt);
        EXPECT_EQ(Reported(), std::vector<std::wstring>{SystemMessage(c.nError)});
    }
}

TEST_F(settingsSmartRegistry, TextReadsUpToItsFirstNulWithinItsLengthAndOfItsTypeOnly) {
    const std::wstring strLongest(8, L'x');
    const struct {
        DWORD nType;
        std::wstring strData; // every unit stored
        std::optional<std::wstring> optRead;
        DWORD nError; // reported; 0: nothing
    } aCases[] = {
        {REG_SZ, strLongest + L'\0', strLongest, 0},
        {REG_SZ, strLongest, strLongest, 0},                        // stored without its NUL
        {REG_SZ, strLongest + L"y", std::nullopt, ERROR_MORE_DATA}, // one more, without its NUL
        {REG_SZ, strLongest + strLongest, std::nullopt, ERROR_MORE_DATA},
        {REG_SZ, std::wstring(L"a\0b", 3), L"a", 0},
        {REG_EXPAND_SZ, std::wstring(L"a\0", 2), std::nullopt, ERROR_INVALID_DATA},
    };
    CSmartRegistry oStore(HKEY_CURRENT_USER, kProgramKey.c_str());
    for (const auto& c : aCases) {
        SCOPED_TRACE(&c - aCases);
        ASSERT_TRUE(WriteRegistryValue(HKEY_CURRENT_USER, kProgramKey, L"Text", c.nType,
                                       c.strData.data(), static_cast<DWORD>(c.strData.size() * 2)));
        Reported().clear();
        EXPECT_EQ(oStore.ReadString(nullptr, L"Text", strLongest.size()), c.optRead);
        EXPECT_EQ(Reported(), c.nError == 0 ? std::vector<std::wstring>{}
                                            : std::vector{SystemMessage(c.nError)});
    }
}

TEST_F(settingsSmartRegistry, FailedWriteIsReportedAndReturnsFalse) {
    CSmartRegistry oStore(HKEY_CURRENT_USER, kProgramKey.c_str());
    // The held key is deleted under the store: writing into it can only fail.
    ASSERT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, kProgramKey.c_str()), ERROR_SUCCESS);
    EXPECT_FALSE(oStore.WriteUInt32(nullptr, L"Lost", 1));
    EXPECT_EQ(Reported(), std::vector<std::wstring>{SystemMessage(ERROR_KEY_DELETED)});
}

TEST_F(settingsSmartRegistry, StoreWithoutKeyFindsNothingAndRefusesSilently) {
    for (const auto& [hRoot, pszPath] :
         {std::pair{HKEY_CURRENT_USER, static_cast<const wchar_t*>(nullptr)},
          std::pair{reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x1234)), L"Any"}}) {
        CSmartRegistry oStore(hRoot, pszPath);
        EXPECT_EQ(oStore.ReadUInt32(L"Sub", L"Value"), std::nullopt);
        EXPECT_FALSE(oStore.WriteUInt32(L"Sub", L"Value", 6));
    }
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, L"Sub"));
    EXPECT_TRUE(Reported().empty());
    // An error the system has no text for shows its number.
    EXPECT_EQ(GetSystemErrorText(0x2000ABCDu), L"Error 536914893");
}

} // namespace
