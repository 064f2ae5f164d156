#pragma once
// While it lives, calls that the running program makes to one function of a DLL go to another
// function with the same signature instead: a test sees exactly what the code under test hands
// the system, and can pass each call on to the original.

#include <windows.h>

namespace wintest {

class CImportHook {
public:
    // pszDll as the program imports it ("shell32.dll", any case), pszFunction by its name.
    CImportHook(const char* pszDll, const char* pszFunction, void* pfnReplacement);
    ~CImportHook();
    CImportHook(const CImportHook&) = delete;
    CImportHook& operator=(const CImportHook&) = delete;

    // False when the program does not import the function by that name.
    bool IsSet() const { return m_pSlot != nullptr; }
    template <class F> F Original() const { return reinterpret_cast<F>(m_pOriginal); }

private:
    void** m_pSlot = nullptr; // the function's entry in the program's import address table
    void* m_pOriginal = nullptr;
};

} // namespace wintest
