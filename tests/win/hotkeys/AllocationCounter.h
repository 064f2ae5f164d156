#pragma once
// Counts the heap allocations of one module by routing malloc, calloc and realloc in that
// module's import table through counting wrappers. The library and the test program each carry
// their own static C++ runtime, whose operator new ends in malloc: patching zendel.dll's imports
// sees exactly what the library allocates, and nothing of the test's.

#include <windows.h>

class CAllocationCounter {
public:
    explicit CAllocationCounter(HMODULE hModule);
    ~CAllocationCounter();
    CAllocationCounter(const CAllocationCounter&) = delete;
    CAllocationCounter& operator=(const CAllocationCounter&) = delete;

    // How many import slots were routed (0: nothing is counted).
    int PatchedImports() const { return m_nPatched; }
    // Allocations since construction or the last Reset.
    long Allocations() const;
    void Reset();

private:
    void Patch(bool bInstall);

    HMODULE m_hModule;
    int m_nPatched = 0;
};
