// The registry store on the real registry: creation of keys, round trips, and the values it
// must refuse with the system's message.

#include "RegistryFixture.h"

#include "settings/SmartRegistry.h"

namespace {

const std::wstring kKey = kTestProgramKey;

class settingsSmartRegistry : public RegistryFixture {};

TEST_F(settingsSmartRegistry, AbsentValueGivesDefaultSilentlyAndCreatesTheSubkey) {
    CSmartRegistry oStore(HKEY_CURRENT_USER, kTestProgramKey);
    ASSERT_TRUE(oStore.IsOpen());
    EXPECT_TRUE(KeyExists(kKey));
    EXPECT_FALSE(KeyExists(kKey + L"\\Deep\\Er"));

    EXPECT_EQ(oStore.ReadUInt32(L"Deep\\Er", L"Missing", 77u), 77u);
    EXPECT_EQ(oStore.ReadUInt32(nullptr, L"Missing", 0xFFFFFFFFu), 0xFFFFFFFFu);

    EXPECT_TRUE(KeyExists(kKey + L"\\Deep\\Er"));
    EXPECT_TRUE(Reported().empty());
    EXPECT_TRUE(oStore.GetErrorText().empty());
}

TEST_F(settingsSmartRegistry, WritesAreFourByteDWordsThatReadBack) {
    CSmartRegistry oStore(HKEY_CURRENT_USER, kTestProgramKey);
    EXPECT_TRUE(oStore.WriteUInt32(nullptr, L"Plain", 7));
    EXPECT_TRUE(oStore.WriteUInt32(L"New\\Sub", L"High", 0xFFFFFFFEu));

    EXPECT_EQ(oStore.ReadUInt32(nullptr, L"Plain", 0), 7u);
    EXPECT_EQ(oStore.ReadUInt32(L"New\\Sub", L"High", 0), 0xFFFFFFFEu);
    // A second store on the same key sees them at once.
    EXPECT_EQ(CSmartRegistry(HKEY_CURRENT_USER, kTestProgramKey).ReadUInt32(nullptr, L"Plain", 0),
              7u);

    const auto oRaw = ReadRawValue(kKey + L"\\New\\Sub", L"High");
    ASSERT_TRUE(oRaw.has_value());
    EXPECT_EQ(oRaw->nType, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(oRaw->vecData, (std::vector<BYTE>{0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_TRUE(Reported().empty());
}

TEST_F(settingsSmartRegistry, LongerValueGivesDefaultAndTheMessageForMoreData) {
    const wchar_t szText[] = L"ab"; // six bytes with the terminator
    WriteRawValue(kKey, L"Text", REG_SZ, szText, sizeof(szText));
    WriteRawValue(kKey, L"Wide", REG_BINARY, "12345678", 8);

    CSmartRegistry oStore(HKEY_CURRENT_USER, kTestProgramKey);
    EXPECT_EQ(oStore.ReadUInt32(nullptr, L"Text", 42), 42u);
    EXPECT_EQ(oStore.ReadUInt32(nullptr, L"Wide", 43), 43u);

    const std::wstring strExpected = SystemMessage(ERROR_MORE_DATA);
    ASSERT_FALSE(strExpected.empty());
    EXPECT_EQ(Reported(), (std::vector<std::wstring>{strExpected, strExpected}));
    EXPECT_EQ(oStore.GetErrorText(), strExpected);
}

TEST_F(settingsSmartRegistry, ShortOrMistypedValueGivesDefaultAndTheMessageForInvalidData) {
    const BYTE abFour[] = {7, 0, 0, 0};
    WriteRawValue(kKey, L"Binary", REG_BINARY, abFour, sizeof(abFour));
    WriteRawValue(kKey, L"BigEndian", REG_DWORD_BIG_ENDIAN, abFour, sizeof(abFour));
    const wchar_t szOne[] = L"a"; // four bytes with the terminator
    WriteRawValue(kKey, L"OneChar", REG_SZ, szOne, sizeof(szOne));
    WriteRawValue(kKey, L"TwoBytes", REG_DWORD, abFour, 2);

    CSmartRegistry oStore(HKEY_CURRENT_USER, kTestProgramKey);
    for (const wchar_t* pszName : {L"Binary", L"BigEndian", L"OneChar", L"TwoBytes"}) {
        SCOPED_TRACE(testing::Message()
                     << "value " << std::string(pszName, pszName + wcslen(pszName)));
        Reported().clear();
        EXPECT_EQ(oStore.ReadUInt32(nullptr, pszName, 99), 99u);
        EXPECT_EQ(Reported(), std::vector<std::wstring>{SystemMessage(ERROR_INVALID_DATA)});
    }
}

TEST_F(settingsSmartRegistry, FailedWriteIsReportedAndReturnsFalse) {
    CSmartRegistry oStore(HKEY_CURRENT_USER, kTestProgramKey);
    // The held key is deleted under the store: writing into it can only fail.
    ASSERT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, kTestProgramKey), ERROR_SUCCESS);
    EXPECT_FALSE(oStore.WriteUInt32(nullptr, L"Lost", 1));
    ASSERT_EQ(Reported().size(), 1u);
    EXPECT_EQ(Reported()[0], SystemMessage(ERROR_KEY_DELETED));
}

TEST_F(settingsSmartRegistry, StoreWithoutKeyDefaultsAndRefusesSilently) {
    CSmartRegistry oStore(HKEY_CURRENT_USER, kTestProgramKey);
    EXPECT_FALSE(oStore.Open(HKEY_CURRENT_USER, nullptr));
    EXPECT_FALSE(oStore.IsOpen());
    EXPECT_EQ(oStore.ReadUInt32(L"Sub", L"Value", 5), 5u);
    EXPECT_FALSE(oStore.WriteUInt32(L"Sub", L"Value", 6));
    EXPECT_FALSE(KeyExists(kKey + L"\\Sub"));

    // A root that is no key at all.
    EXPECT_FALSE(oStore.Open(reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x1234)), L"Any"));
    EXPECT_FALSE(oStore.IsOpen());
    EXPECT_TRUE(Reported().empty());
}

TEST_F(settingsSmartRegistry, ErrorTextsFallBackToTheNumberAndReportersChain) {
    EXPECT_EQ(GetSystemErrorText(ERROR_MORE_DATA), SystemMessage(ERROR_MORE_DATA));
    EXPECT_EQ(GetSystemErrorText(0x2000ABCDu), L"Error 536914893");

    // The fixture's collector is in place; the one before it is given back on replacement.
    auto pOwn = [](const std::wstring&) {};
    RegistryErrorReporter pCollector = SetRegistryErrorReporter(pOwn);
    EXPECT_NE(pCollector, nullptr);
    EXPECT_EQ(SetRegistryErrorReporter(pCollector), static_cast<RegistryErrorReporter>(pOwn));
}

} // namespace
