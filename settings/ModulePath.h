#pragma once
// The full path of a loaded module, however long it is.

#include <windows.h>

#include <string>

// The whole path of hModule (nullptr: the running program); empty when it cannot be read.
// Never a path cut off at some buffer size.
std::wstring GetModulePath(HMODULE hModule);

// The whole path of the running program.
inline std::wstring GetRunningProgramPath() {
    return GetModulePath(nullptr);
}
