// "Never record copies from": how the setting's text is split and which program paths it lists.

#include "history/ProgramNameList.h"

#include <gtest/gtest.h>

TEST(ProgramNameList, ListsAProgramByItsFileNameAloneWithoutRegardToCase) {
    const struct {
        const char16_t* pszSetting;
        const char16_t* pszPath;
        bool bListed;
    } aCases[] = {
        {u"Vault.exe; SecretStore.exe", u"Z:\\tools\\SECRETSTORE.exe", true},
        {u"Vault.exe; SecretStore.exe", u"C:\\Vault.exe\\notepad.exe", false}, // a folder
        {u"Vault.exe; SecretStore.exe", u"C:\\Vault.exe.bak", false},
        {u"Vault", u"C:\\Vault.exe", false}, // the whole name, extension included
        {u"  \tcliptool.exe\t ;", u"/opt/wine/cliptool.exe", true},
        {u"Secret Store.exe", u"C:\\SecretStore.exe", false}, // inner spaces belong to it
        {u"\u00C4rger.EXE;;", u"\u00E4RGER.exe", true},
        {u"a.exe", u"C:\\folder\\", false},
        {u";; ; ", u"", false},
    };
    for (const auto& c : aCases) {
        EXPECT_EQ(CProgramNameList(c.pszSetting).ListsProgramAt(c.pszPath), c.bListed)
            << &c - aCases;
    }
    EXPECT_TRUE(CProgramNameList(u";; ;\t").IsEmpty());
    EXPECT_FALSE(CProgramNameList(u" ;x").IsEmpty());
}
