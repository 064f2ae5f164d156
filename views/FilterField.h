#pragma once
// The field of find-by-typing above a history list: a one-line edit control that shows while it
// holds text. A printable character typed into the list starts it (the field takes the caret and
// the character); in the field the list's movement keys (Up, Down, Page Up, Page Down, Home,
// End) still move in the list, Ctrl+Backspace removes the word before the caret, and Delete
// edits the field only while there is something after the caret or selected: at the end of the
// text it is the list's Del again. Its owner lays it out and filters the rows on each change.

#include <windows.h>

#include <functional>
#include <string>

class CFilterField {
public:
    // hEdit: the field (hidden while empty); hList: the list whose keys it takes over; fnChanged
    // runs after each change of its text.
    void Attach(HWND hEdit, HWND hList, std::function<void()> fnChanged);
    HWND GetSafeHwnd() const { return m_hEdit; }

    std::u16string GetText() const;
    bool HasText() const { return m_hEdit != nullptr && GetWindowTextLengthW(m_hEdit) > 0; }
    // Empties the field; false when it was empty already.
    bool Clear();

    // A queued message for the list or the field, before the window's shortcuts see it: true
    // when the field took it.
    bool PreTranslateMessage(const MSG* pMsg);
    // The edit control's WM_COMMAND notification: true when it was the field's.
    bool OnCommandNotify(UINT nCode, HWND hCtrl);

    // The field's height for its font: one line and its border.
    int GetHeight() const;

private:
    void RemoveWordBeforeCaret();

    HWND m_hEdit = nullptr;
    HWND m_hList = nullptr;
    std::function<void()> m_fnChanged;
};
