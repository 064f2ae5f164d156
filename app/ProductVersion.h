#pragma once
// The product version of a program file, from the fixed record of its version resource.

#include <string>

// "major.minor.build.revision" of the fixed record's product version, each as a plain decimal
// number; false when the file has no version resource (strText is then unchanged).
bool ReadProductVersionText(const wchar_t* pszPath, std::wstring& strText);
