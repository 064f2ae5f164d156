#pragma once
// The item commands of both history windows (the main window's list view and the small clip
// window), written once: each reads the list's selection when it runs, asks where a question is
// due, and calls one operation of the document. The windows differ only in what
// IItemCommandWindow answers and in which command identifiers they bind.
//
// A window owns one CItemCommands, lets it look at every queued message first
// (PreTranslateMessage: the shortcuts and the context-menu keys), hands it its command
// messages (OnCommand), its Edit-menu enabling queries (OnUpdateCommand) and the list's
// notifications (OnListNotify).
//
// Preview and Edit open the item editor (ViewItemDlg.h), Find opens the find dialog
// (FindDlg.h), both through RunModal.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "framework/CmdUI.h"
#include "framework/ListCtrl.h"
#include "framework/ModalState.h"
#include "history/KorvexDoc.h"
#include "hotkeys/KeyboardAccelerator.h"

// What differs between the two history windows.
class IItemCommandWindow {
public:
    // The window's list control.
    virtual HWND GetListHwnd() const = 0;
    // The window that receives the commands of its context menus.
    virtual HWND GetCommandHwnd() const = 0;
    // After Activate acted on one or several rows (also the activate half of Invert and
    // Activate). The list view clears the mark row; the small clip window pastes and closes, so
    // nothing of the command may run after this step.
    virtual void AfterActivate() = 0;
    // After a command put a new text on the clipboard for the user: Append from the item editor
    // and every date/time stamp. Same rule as AfterActivate.
    virtual void AfterAppend() = 0;
    // A modal dialog or message box of a command opens (true) or has just returned (false).
    virtual void SetModalChild(bool bOpen) = 0;
    // The entry (its index in the document) that a row of the list shows, -1 for none; and the
    // row that shows an entry, -1 when the list's filter hides it. Without a filter, the same
    // number.
    virtual int32_t EntryOfRow(int nRow) const { return nRow; }
    virtual int RowOfEntry(int32_t nEntry) const { return nEntry; }

protected:
    ~IItemCommandWindow() = default;
};

// Which command identifiers a window binds: the list view takes the Edit menu's and the context
// menus', the small clip window only the context menus'.
enum class ItemCommandIds { EditAndContext, ContextOnly };

// The entries that were selected when a question or editor opened, found again after it closed:
// copies keep arriving while a modal box is open and move the rows. An entry that went meanwhile
// is not found.
class CSeenEntries {
public:
    CSeenEntries(CKorvexDoc& rDoc, const std::vector<int32_t>& arrIndexes);
    // The entries' current indexes, ascending; those that are gone are left out.
    std::vector<int32_t> FindNow() const;
    size_t size() const { return m_arrSeen.size(); }

private:
    // An entry is its object; the size and hash of its text and its creation time tell a
    // reused address from the entry that was seen.
    struct SEEN_ENTRY {
        const CLIP_ITEM* pItem;
        size_t nLength;
        size_t nHash;
        int64_t tmCreated;
    };
    static SEEN_ENTRY Describe(const CLIP_ITEM& item);

    CKorvexDoc& m_rDoc;
    std::vector<SEEN_ENTRY> m_arrSeen;
};

class CItemCommands : public CShortcutTarget {
public:
    CItemCommands(CKorvexDoc& rDoc, IItemCommandWindow& rWindow, ItemCommandIds nIds);

    // Fills the accelerator table with the commands' shortcuts; once, when the window is set up.
    void RegisterShortcuts();
    // A key-down bound to a shortcut runs its command; Shift+F10 and the Menu key open the
    // context menu at the selected row. True when the message was consumed.
    bool PreTranslateMessage(const MSG* pMsg);
    // A command message; true when it is one of the window's item commands.
    bool OnCommand(UINT nId);
    // Enabling of the Edit menu's items (only for windows that bind the Edit ids): each command
    // is enabled for the selections it acts on.
    bool OnUpdateCommand(UINT nId, CCmdUI& ui);
    // NM_CLICK (bookmark toggle on nBookmarkColumn), NM_RCLICK (context menu) and
    // LVN_ITEMACTIVATE (Activate) of the window's list; true when handled, result in *pResult.
    bool OnListNotify(const NMHDR* pnm, LRESULT* pResult, int nBookmarkColumn);

    // The context menu for the current selection, at a point in screen coordinates. It counts
    // as a modal loop while it tracks (ModalState.h).
    void ShowContextMenu(POINT ptScreen);
    // The same, opened from the keyboard: at the selected row (or the list's corner).
    void ShowContextMenuAtSelection();

    // The commands, parameterless, as the shortcuts call them.
    void OnActivate();
    void OnPreview();
    void OnEdit();
    void OnRevertFirstItems();
    void OnBookmarkItem();
    void OnNextBookmark();
    void OnPrevBookmark();
    void OnClearBookmarks();
    void OnRemove();
    void OnInvertItems();
    void OnInvertAndActivateItems();
    void OnMakeObject();
    void OnConvertFromId();
    void OnConvertToId();
    void OnLowercase();
    void OnUppercase();
    void OnTitle();
    void OnFind();
    void OnFindNext();
    void OnFindPrev();
    void OnSelectAll();
    void OnDateTime(const char* pszPattern);
    // The stamp of the pattern's number in DATE_TIME_PATTERNS (history/DateTimeStamps.h).
    template <size_t nPattern> void OnDateTime();

    // The one row a one-row command acts on: the selection mark when it is a selected row,
    // otherwise the one selected row; -1 unless exactly one row is selected.
    int GetOneSelectedRow() const;
    // The entry of that row (-1 for none), and the entries of every selected row, ascending.
    int32_t GetOneSelectedEntry() const;
    std::vector<int32_t> GetSelectedIndexes() const;
    int GetSelectedCount() const { return List().GetSelectedCount(); }

    // Runs a modal dialog or message box of a command with the window's modal-child flag set;
    // the flag is cleared as soon as it returns, before the command acts on the answer. One at a
    // time: with one of ours open already (only a command posted by some program gets here
    // then), the answer is Cancel and nothing opens.
    template <class F> auto RunModal(F&& fnModal) {
        using RESULT = decltype(fnModal());
        if (IsModalLoopActive()) {
            return static_cast<RESULT>(IDCANCEL);
        }
        CModalChildScope scope(m_rWindow);
        return fnModal();
    }
    int AskModal(const wchar_t* pszText, UINT nFlags);

    // The two step orders of the navigation commands.
    enum class NavigationOrder {
        ClearAfterFound,  // bookmarks: ask; on a hit clear the mark row, then select the hit
        ClearBeforeAsking // find: clear the mark row, ask; on a hit select it
    };
    // Start -1 with nothing selected, the one row's entry with one; with several rows nothing
    // happens. fnFind answers an entry; entries the list does not show are passed over.
    void Navigate(NavigationOrder nOrder, const std::function<int32_t(int32_t nStart)>& fnFind);

    void ClearMarkRow();
    void SelectRow(int nRow);

private:
    class CModalChildScope {
    public:
        explicit CModalChildScope(IItemCommandWindow& rWindow) : m_rWindow(rWindow) {
            m_rWindow.SetModalChild(true);
        }
        ~CModalChildScope() { m_rWindow.SetModalChild(false); }
        CModalChildScope(const CModalChildScope&) = delete;
        CModalChildScope& operator=(const CModalChildScope&) = delete;

    private:
        IItemCommandWindow& m_rWindow;
    };

    CListCtrl List() const { return CListCtrl(m_rWindow.GetListHwnd()); }
    // One row: fnOne(row); several: fnSeveral(indexes); none: nothing.
    void ForSelection(const std::function<void(int32_t)>& fnOne,
                      const std::function<void(const std::vector<int32_t>&)>& fnSeveral);
    void ChangeCase(int32_t nMode);

    CKorvexDoc& m_rDoc;
    IItemCommandWindow& m_rWindow;
    ItemCommandIds m_nIds;
    CKeyboardAccelerator m_oAccelerator;
};
