#pragma once
// Hooking windows up to the history document.
//
// CHistoryObserver forwards each change hint of the document to a function (for a window, a
// lambda calling one of its operations) and stays registered for as long as it is connected:
// Connect(doc) calls doc.AddObserver(this), Disconnect() and the destructor call
// doc.RemoveObserver(this). Disconnect before the document goes (the document outlives the
// windows in Korvex; a window disconnects in OnDestroy).
//
// CHistoryPoster posts WM_HISTORY_CHANGED (HistoryHint::ToMessageParam as wParam, lParam 0) to a
// window for each change, for a window that must refresh later rather than inside the document's
// operation.

#include <windows.h>

#include <cstdint>
#include <functional>

#include "history/HistoryPorts.h"
#include "res/KorvexMessages.h"

class CHistoryObserver : public IHistoryObserver {
public:
    using Handler = std::function<void(HistoryHint oHint)>;

    CHistoryObserver() = default;
    explicit CHistoryObserver(Handler fnHandler) : m_fnHandler(std::move(fnHandler)) {}
    ~CHistoryObserver() override { Disconnect(); }
    CHistoryObserver(const CHistoryObserver&) = delete;
    CHistoryObserver& operator=(const CHistoryObserver&) = delete;

    void SetHandler(Handler fnHandler) { m_fnHandler = std::move(fnHandler); }

    // Registers with the document (any class with AddObserver/RemoveObserver taking an
    // IHistoryObserver*), after leaving a document it was connected to before.
    template <class TDocument> void Connect(TDocument& doc) {
        Disconnect();
        doc.AddObserver(this);
        m_fnDisconnect = [&doc, this] { doc.RemoveObserver(this); };
    }
    void Disconnect() {
        if (m_fnDisconnect) {
            auto fn = std::move(m_fnDisconnect);
            m_fnDisconnect = nullptr;
            fn();
        }
    }
    bool IsConnected() const { return static_cast<bool>(m_fnDisconnect); }

    void OnHistoryChanged(HistoryHint oHint) override {
        if (m_fnHandler) {
            m_fnHandler(oHint);
        }
    }

private:
    Handler m_fnHandler;
    std::function<void()> m_fnDisconnect;
};

class CHistoryPoster : public CHistoryObserver {
public:
    explicit CHistoryPoster(HWND hTarget = nullptr, UINT nMsg = WM_HISTORY_CHANGED)
        : CHistoryObserver([this](HistoryHint oHint) { Post(oHint); }), m_hTarget(hTarget),
          m_nMsg(nMsg) {}
    void SetTarget(HWND hTarget) { m_hTarget = hTarget; }

private:
    void Post(HistoryHint oHint) {
        if (m_hTarget) {
            PostMessageW(m_hTarget, m_nMsg, oHint.ToMessageParam(), 0);
        }
    }
    HWND m_hTarget;
    UINT m_nMsg;
};
