#include "tests/support/win/ImportHook.h"

#include <cstring>

namespace wintest {

namespace {

void Store(void** pSlot, void* pValue) {
    DWORD nOld = 0;
    VirtualProtect(pSlot, sizeof *pSlot, PAGE_READWRITE, &nOld);
    *pSlot = pValue;
    VirtualProtect(pSlot, sizeof *pSlot, nOld, &nOld);
}

} // namespace

CImportHook::CImportHook(const char* pszDll, const char* pszFunction, void* pfnReplacement) {
    auto* pBase = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    const auto* pNt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        pBase + reinterpret_cast<const IMAGE_DOS_HEADER*>(pBase)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& oImports =
        pNt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    auto* pImport =
        reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(pBase + oImports.VirtualAddress);
    for (; oImports.VirtualAddress != 0 && pImport->Name != 0; ++pImport) {
        if (_stricmp(reinterpret_cast<const char*>(pBase + pImport->Name), pszDll) != 0) {
            continue;
        }
        // The names stay in the lookup table; the address table holds the bound functions.
        auto* pName =
            reinterpret_cast<const IMAGE_THUNK_DATA*>(pBase + pImport->OriginalFirstThunk);
        auto* pAddress = reinterpret_cast<IMAGE_THUNK_DATA*>(pBase + pImport->FirstThunk);
        for (; pName->u1.AddressOfData != 0; ++pName, ++pAddress) {
            if (IMAGE_SNAP_BY_ORDINAL(pName->u1.Ordinal)) {
                continue;
            }
            const auto* pByName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(pBase + pName->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(pByName->Name), pszFunction) == 0) {
                m_pSlot = reinterpret_cast<void**>(&pAddress->u1.Function);
                m_pOriginal = *m_pSlot;
                Store(m_pSlot, pfnReplacement);
                return;
            }
        }
    }
}

CImportHook::~CImportHook() {
    if (m_pSlot != nullptr) {
        Store(m_pSlot, m_pOriginal);
    }
}

} // namespace wintest
