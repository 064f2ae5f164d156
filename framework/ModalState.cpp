#include "framework/ModalState.h"

#include <algorithm>
#include <vector>

namespace {

int g_nModalDepth = 0;

struct PENDING_POST {
    HWND hWnd;
    UINT nMsg;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<PENDING_POST> g_vecPending;

} // namespace

int GetModalDepth() {
    return g_nModalDepth;
}

CModalScope::CModalScope() {
    ++g_nModalDepth;
}

CModalScope::~CModalScope() {
    if (--g_nModalDepth > 0) {
        return;
    }
    // Posted, not called: the closing dialog's caller is still on the stack.
    std::vector<PENDING_POST> vecPending;
    vecPending.swap(g_vecPending);
    for (const PENDING_POST& post : vecPending) {
        PostMessageW(post.hWnd, post.nMsg, post.wParam, post.lParam);
    }
}

void PostWhenModalEnds(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (g_nModalDepth == 0) {
        PostMessageW(hWnd, nMsg, wParam, lParam);
        return;
    }
    const auto itFound =
        std::find_if(g_vecPending.begin(), g_vecPending.end(), [&](const PENDING_POST& post) {
            return post.hWnd == hWnd && post.nMsg == nMsg && post.wParam == wParam &&
                   post.lParam == lParam;
        });
    if (itFound == g_vecPending.end()) {
        g_vecPending.push_back({hWnd, nMsg, wParam, lParam});
    }
}
