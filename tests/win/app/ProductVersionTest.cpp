// The version the about box shows.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/ProductVersion.h"
#include "settings/ApplicationRegistry.h"

TEST(ProductVersion, ComesFromTheFixedRecord) {
    // This test program carries Korvex's resources: the fixed record says 1.0.0.1, while the
    // text fields write the revision with a leading zero.
    std::wstring strVersion = L"unchanged";
    ASSERT_TRUE(ReadProductVersionText(GetRunningProgramPath().c_str(), strVersion));
    EXPECT_EQ(strVersion, L"1.0.0.1");

    // A file without a version resource gives nothing and leaves the text alone.
    const wchar_t* pszPlain = L"C:\\windows\\win.ini";
    ASSERT_NE(GetFileAttributesW(pszPlain), INVALID_FILE_ATTRIBUTES);
    strVersion = L"unchanged";
    EXPECT_FALSE(ReadProductVersionText(pszPlain, strVersion));
    EXPECT_EQ(strVersion, L"unchanged");
}
