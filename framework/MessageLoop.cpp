#include "framework/MessageLoop.h"

#include "framework/PostedMessageFilter.h"
#include "framework/Wnd.h"

#include <exception>
#include <string>

namespace {

// Shortcuts run whole commands from PreTranslateMessage: what they throw must not leave the
// loop either. A message whose pre-translation failed counts as consumed.
bool PreTranslateSafely(CWnd* pWnd, MSG& msg) {
    try {
        return pWnd->PreTranslateMessage(&msg) != FALSE;
    } catch (const std::exception& e) {
        std::string strText = "Korvex: exception in PreTranslateMessage: ";
        strText += e.what();
        strText += "\n";
        OutputDebugStringA(strText.c_str());
    } catch (...) {
        OutputDebugStringA("Korvex: unknown exception in PreTranslateMessage\n");
    }
    return true;
}

} // namespace

bool PreTranslateMessageChain(MSG& msg) {
    // From the target up through its parents, stopping at its top-level window: a key in a
    // control reaches the control's object, then the dialog or view around it, then the frame.
    for (HWND hWnd = msg.hwnd; hWnd;) {
        if (CWnd* pWnd = CWnd::FromHandle(hWnd); pWnd && PreTranslateSafely(pWnd, msg)) {
            return true;
        }
        if (!(GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_CHILD)) {
            break;
        }
        hWnd = GetParent(hWnd);
    }
    return false;
}

void PumpMessage(MSG& msg) {
    if (PreTranslateMessageChain(msg)) {
        return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

int RunMessageLoop() {
    // Whatever loop retrieves a message meanwhile (a modal box's, a menu's), a forged
    // notification from another process never reaches a handler.
    const CPostedMessageFilter oFilter;
    MSG msg;
    for (;;) {
        BOOL bGot = GetMessageW(&msg, nullptr, 0, 0);
        if (bGot == 0) {
            return static_cast<int>(msg.wParam);
        }
        if (bGot == -1) {
            return -1;
        }
        PumpMessage(msg);
    }
}
