#include "AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace {

std::atomic<long> g_nAllocations{0};

using MallocFn = void* (*)(size_t);
using CallocFn = void* (*)(size_t, size_t);
using ReallocFn = void* (*)(void*, size_t);
using StrdupFn = char* (*)(const char*);

MallocFn g_pfnMalloc = nullptr;
CallocFn g_pfnCalloc = nullptr;
ReallocFn g_pfnRealloc = nullptr;
StrdupFn g_pfnStrdup = nullptr;

void* CountingMalloc(size_t n) {
    ++g_nAllocations;
    return g_pfnMalloc(n);
}

void* CountingCalloc(size_t count, size_t n) {
    ++g_nAllocations;
    return g_pfnCalloc(count, n);
}

void* CountingRealloc(void* p, size_t n) {
    ++g_nAllocations;
    return g_pfnRealloc(p, n);
}

char* CountingStrdup(const char* s) {
    ++g_nAllocations;
    return g_pfnStrdup(s);
}

struct ROUTE {
    const char* pszName;
    void** ppOriginal;
    void* pCounting;
};

const ROUTE g_aRoutes[] = {
    {"malloc", reinterpret_cast<void**>(&g_pfnMalloc), reinterpret_cast<void*>(&CountingMalloc)},
    {"calloc", reinterpret_cast<void**>(&g_pfnCalloc), reinterpret_cast<void*>(&CountingCalloc)},
    {"realloc", reinterpret_cast<void**>(&g_pfnRealloc), reinterpret_cast<void*>(&CountingRealloc)},
    {"_strdup", reinterpret_cast<void**>(&g_pfnStrdup), reinterpret_cast<void*>(&CountingStrdup)},
};

void WriteSlot(void** ppSlot, void* pValue) {
    DWORD dwOld = 0;
    VirtualProtect(ppSlot, sizeof(void*), PAGE_READWRITE, &dwOld);
    *ppSlot = pValue;
    VirtualProtect(ppSlot, sizeof(void*), dwOld, &dwOld);
}

} // namespace

CAllocationCounter::CAllocationCounter(HMODULE hModule) : m_hModule(hModule) {
    Patch(true);
    Reset();
}

CAllocationCounter::~CAllocationCounter() {
    Patch(false);
}

long CAllocationCounter::Allocations() const {
    return g_nAllocations.load();
}

void CAllocationCounter::Reset() {
    g_nAllocations = 0;
}

void CAllocationCounter::Patch(bool bInstall) {
    if (m_hModule == nullptr) {
        return;
    }
    auto* pBase = reinterpret_cast<BYTE*>(m_hModule);
    const auto* pDos = reinterpret_cast<const IMAGE_DOS_HEADER*>(pBase);
    const auto* pNt = reinterpret_cast<const IMAGE_NT_HEADERS*>(pBase + pDos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& oImports =
        pNt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (oImports.VirtualAddress == 0) {
        return;
    }
    for (auto* pDesc = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(pBase + oImports.VirtualAddress);
         pDesc->Name != 0; ++pDesc) {
        auto* pNames = reinterpret_cast<IMAGE_THUNK_DATA*>(pBase + pDesc->OriginalFirstThunk);
        auto* pSlots = reinterpret_cast<IMAGE_THUNK_DATA*>(pBase + pDesc->FirstThunk);
        for (; pNames->u1.AddressOfData != 0; ++pNames, ++pSlots) {
            if (IMAGE_SNAP_BY_ORDINAL(pNames->u1.Ordinal)) {
                continue;
            }
            const auto* pByName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(pBase + pNames->u1.AddressOfData);
            const char* pszName = reinterpret_cast<const char*>(pByName->Name);
            for (const ROUTE& oRoute : g_aRoutes) {
                if (std::strcmp(pszName, oRoute.pszName) != 0) {
                    continue;
                }
                auto** ppSlot = reinterpret_cast<void**>(&pSlots->u1.Function);
                if (bInstall) {
                    *oRoute.ppOriginal = *ppSlot;
                    WriteSlot(ppSlot, oRoute.pCounting);
                    ++m_nPatched;
                } else if (*oRoute.ppOriginal != nullptr) {
                    WriteSlot(ppSlot, *oRoute.ppOriginal);
                }
            }
        }
    }
}
