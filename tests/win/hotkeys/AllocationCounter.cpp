#include "AllocationCounter.h"

#include <atomic>
#include <cstring>

namespace {

std::atomic<long> g_nAllocations{0};
void* (*g_pfnMalloc)(size_t) = nullptr;
void* (*g_pfnCalloc)(size_t, size_t) = nullptr;
void* (*g_pfnRealloc)(void*, size_t) = nullptr;

void* CountingMalloc(size_t n) {
    ++g_nAllocations;
    return g_pfnMalloc(n);
}
void* CountingCalloc(size_t nCount, size_t n) {
    ++g_nAllocations;
    return g_pfnCalloc(nCount, n);
}
void* CountingRealloc(void* p, size_t n) {
    ++g_nAllocations;
    return g_pfnRealloc(p, n);
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
    const auto* pNt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        pBase + reinterpret_cast<const IMAGE_DOS_HEADER*>(pBase)->e_lfanew);
    const DWORD nImports =
        pNt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    if (nImports == 0) {
        return;
    }
    for (auto* pDesc = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(pBase + nImports);
         pDesc->Name != 0; ++pDesc) {
        auto* pNames = reinterpret_cast<IMAGE_THUNK_DATA*>(pBase + pDesc->OriginalFirstThunk);
        auto* pSlots = reinterpret_cast<IMAGE_THUNK_DATA*>(pBase + pDesc->FirstThunk);
        for (; pNames->u1.AddressOfData != 0; ++pNames, ++pSlots) {
            if (IMAGE_SNAP_BY_ORDINAL(pNames->u1.Ordinal)) {
                continue;
            }
            const char* pszName = reinterpret_cast<const char*>(
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(pBase + pNames->u1.AddressOfData)
                    ->Name);
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
