#include "SmallClipDlg.h"

#include "clipboard/PasteIntoTarget.h"
#include "framework/Dpi.h"
#include "framework/ModalState.h"
#include "res/KorvexMessages.h"
#include "res/resource.h"

namespace {

// Images in sub-items, full-row selection.
constexpr DWORD LIST_EXTENDED_STYLE = LVS_EX_SUBITEMIMAGES | LVS_EX_FULLROWSELECT;

// The image column, where a click toggles the bookmark.
constexpr int COLUMN_IMAGE = 1;
constexpr HISTORY_ROW_COLUMNS ROW_COLUMNS{COLUMN_IMAGE, 2, 3, 4};
// The "Text" column takes the width the others leave, this much at least (at 96 DPI).
constexpr int MIN_TEXT_WIDTH = 60;
// No headings.
constexpr LIST_COLUMN LIST_COLUMNS[] = {
    {L"", LVCFMT_LEFT, 0},   // empty
    {L"", LVCFMT_LEFT, 20},  // the bookmark image
    {L"", LVCFMT_RIGHT, 25}, // the number
    {L"", LVCFMT_LEFT, 350}, // the text
    {L"", LVCFMT_LEFT, 115}, // the creation time
};

int ValidSize(LONG nStored, LONG nScreen, int nDefault) {
    return (nStored <= 0 || nStored > nScreen) ? nDefault : static_cast<int>(nStored);
}

} // namespace

RECT PlaceSmallClipWindow(POINT ptCursor, SIZE sizeStored, const RECT& rcScreen, UINT nDpi) {
    const int nWidth = ValidSize(sizeStored.cx, rcScreen.right - rcScreen.left,
                                 ScaleForDpi(SMALL_WINDOW_DEFAULT_WIDTH, nDpi));
    const int nHeight = ValidSize(sizeStored.cy, rcScreen.bottom - rcScreen.top,
                                  ScaleForDpi(SMALL_WINDOW_DEFAULT_HEIGHT, nDpi));
    LONG x = ptCursor.x;
    if (ptCursor.x + nWidth > rcScreen.right) {
        x = ptCursor.x - nWidth;
    }
    LONG y = ptCursor.y;
    if (ptCursor.y + nHeight > rcScreen.bottom) {
        y = ptCursor.y - nHeight;
    }
    return RECT{x, y, x + nWidth, y + nHeight};
}

CSmallClipDlg::CSmallClipDlg(CKorvexDoc& rDoc, CKorvexSettings& rSettings, CFoldedHistory* pFolded)
    : CDialog(IDD_SMALLCLIP), m_rSettings(rSettings),
      m_oCommands(rDoc, *this, ItemCommandIds::ContextOnly), m_oRows(rDoc, ROW_COLUMNS, pFolded) {}

CSmallClipDlg::~CSmallClipDlg() = default;

bool CSmallClipDlg::Create(HWND hWndFrame) {
    m_hWndFrame = hWndFrame;
    // Owned by the main frame: no taskbar button, and it goes at the latest with the frame.
    return CDialog::Create(hWndFrame);
}

BOOL CSmallClipDlg::OnInitDialog() {
    m_oList = CListCtrl(GetDlgItem(IDC_SMALLCLIP_LIST));
    m_oRows.SetList(m_oList.GetSafeHwnd());
    // Columns and images as the resources give them at 96 DPI, scaled to this monitor's DPI.
    const UINT nDpi = GetWindowDpi(m_hWnd);
    if (m_oImageList.Create(ScaleForDpi(17, nDpi), ScaleForDpi(13, nDpi), ILC_COLOR32 | ILC_MASK, 1,
                            1)) {
        const int nPlainImage = m_oImageList.AddBitmapResource(IDB_DOCUMENT, RGB(0, 132, 132));
        m_oRows.SetImages(nPlainImage, m_oImageList.AddBitmapResource(IDB_BOOKMARK, RGB(0, 0, 0)));
        // The list does not share its image lists: it destroys this one with itself.
        m_oList.SetImageList(m_oImageList.Detach(), LVSIL_SMALL);
    }
    m_oList.SetExtendedStyle(LIST_EXTENDED_STYLE);
    m_oList.InsertColumns(LIST_COLUMNS, nDpi);
    m_oCommands.RegisterShortcuts();
    m_oField.Attach(GetDlgItem(IDC_SMALLCLIP_FILTER), m_oList.GetSafeHwnd(),
                    [this] { OnFilterChanged(); });
    SendDlgItemMessageW(m_hWnd, IDC_SMALLCLIP_FILTER, EM_SETCUEBANNER, TRUE,
                        reinterpret_cast<LPARAM>(L"Type to filter"));
    return TRUE;
}

void CSmallClipDlg::Open() {
    if (m_hWnd == nullptr || m_bOpen) {
        return;
    }
    m_oPlace = RememberKeyboardPlace();
    m_oField.Clear(); // each opening starts with every entry
    m_bOpen = true;
    // The rows as the history is now, none selected but row 0, the first rows in view: Enter at
    // once activates the head entry. Only the count is set: the cells are asked as they show.
    m_oRows.Refresh(HistoryHint::WholeList());
    if (m_oList.GetItemCount() > 0) {
        m_oList.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        m_oList.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        m_oList.SetSelectionMark(0);
        m_oList.EnsureVisible(0);
    }
    // At the mouse cursor, or just below the text caret's line when that is asked for and the
    // program the user is in shows a caret; on that point's monitor.
    POINT ptAt{};
    if (m_rSettings.IsOpenAtCaret() && m_oPlace.bCaret) {
        ptAt = m_oPlace.ptCaret;
    } else {
        GetCursorPos(&ptAt);
    }
    RECT rcScreen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    if (GetMonitorInfoW(MonitorFromPoint(ptAt, MONITOR_DEFAULTTOPRIMARY), &mi)) {
        rcScreen = mi.rcMonitor;
    }
    // Nothing stored (or exactly the default) comes as 0 by 0: the default at this monitor's DPI.
    const RECT rc = PlaceSmallClipWindow(ptAt, m_rSettings.GetSmallWindowSize(), rcScreen,
                                         GetWindowDpi(m_hWnd));
    SetWindowPos(m_hWnd, HWND_TOPMOST, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_SHOWWINDOW);
    if (m_bOpen) {
        SetForegroundWindow(m_hWnd);
        SetFocus(m_oList.GetSafeHwnd());
    }
}

void CSmallClipDlg::Refresh(HistoryHint oHint) {
    if (m_bOpen) {
        m_oRows.Refresh(oHint);
    }
}

bool CSmallClipDlg::BeginClose() {
    if (m_hWnd == nullptr || !m_bOpen) {
        return false;
    }
    m_bOpen = false;
    StoreSize();
    return true;
}

void CSmallClipDlg::Close() {
    if (BeginClose()) {
        ShowWindow(m_hWnd, SW_HIDE);
    }
}

void CSmallClipDlg::CloseGivingKeyboardBack() {
    if (BeginClose()) {
        PasteIntoTarget(m_hWnd, m_oPlace, false); // hides the window first
    }
}

BOOL CSmallClipDlg::PreTranslateMessage(MSG* pMsg) {
    if (m_hWnd == nullptr) {
        return FALSE;
    }
    if ((pMsg->hwnd == m_hWnd || IsChild(m_hWnd, pMsg->hwnd)) && m_bOpen &&
        (m_oField.PreTranslateMessage(pMsg) || m_oCommands.PreTranslateMessage(pMsg))) {
        return TRUE;
    }
    return m_hWnd != nullptr && CDialog::PreTranslateMessage(pMsg);
}

void CSmallClipDlg::OnOK() {
    // Enter is the Activate shortcut; the dialog's own OK does nothing.
}

void CSmallClipDlg::OnCancel() {
    // Esc clears a filter first, then closes.
    if (!m_oField.Clear()) {
        CloseGivingKeyboardBack();
    }
}

bool CSmallClipDlg::OnCommand(UINT nId) {
    // A hidden window's rows wait for its next opening: a command posted to it meanwhile would
    // act on rows that stand for other entries now.
    return (m_bOpen && m_oCommands.OnCommand(nId)) || CDialog::OnCommand(nId);
}

bool CSmallClipDlg::OnNotify(NMHDR* pnm, LRESULT* pResult) {
    return pnm->idFrom == IDC_SMALLCLIP_LIST &&
           (m_oRows.OnNotify(pnm, pResult) || m_oCommands.OnListNotify(pnm, pResult, COLUMN_IMAGE));
}

bool CSmallClipDlg::OnCommandNotify(UINT nId, UINT nCode, HWND hCtrl) {
    return m_oField.OnCommandNotify(nCode, hCtrl) || CDialog::OnCommandNotify(nId, nCode, hCtrl);
}

void CSmallClipDlg::OnSize(UINT nType, int, int) {
    Default();
    if (nType != SIZE_MINIMIZED) {
        Layout();
    }
}

void CSmallClipDlg::Layout() {
    const HWND hList = m_oList.GetSafeHwnd();
    if (hList == nullptr) {
        return;
    }
    // The field stays above the list, empty until the user types: the first key then changes
    // no layout, only the rows.
    RECT rc{};
    GetClientRect(m_hWnd, &rc);
    const int nField = m_oField.GetHeight();
    MoveWindow(m_oField.GetSafeHwnd(), 0, 0, rc.right, nField, TRUE);
    MoveWindow(hList, 0, nField, rc.right, rc.bottom - nField, TRUE);
    m_oList.FillWithColumn(ROW_COLUMNS.nText, ScaleForDpi(MIN_TEXT_WIDTH, GetWindowDpi(m_hWnd)));
}

void CSmallClipDlg::OnFilterChanged() {
    m_oRows.SetFilterText(m_oField.GetText());
}

void CSmallClipDlg::OnDestroy() {
    BeginClose();
    Default();
}

void CSmallClipDlg::StoreSize() {
    SIZE size{};
    if (GetNormalWindowSize(m_hWnd, size)) {
        m_rSettings.SetSmallWindowSize(size);
    }
}

LRESULT CSmallClipDlg::WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) {
    const LRESULT lResult = CDialog::WindowProc(nMsg, wParam, lParam);
    // Losing the activation closes the window, unless it went to a box of one of its commands.
    if (nMsg == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE && !m_bModalChild) {
        Close();
    }
    return lResult;
}

void CSmallClipDlg::PostNcDestroy() {
    // The last the object does of its own accord: the frame may delete it once it has this.
    if (m_hWndFrame != nullptr) {
        PostWhenModalEnds(m_hWndFrame, WM_KORVEX_RELEASE_SMALL_CLIP);
    }
}

void CSmallClipDlg::AfterActivate() {
    if (BeginClose()) {
        PasteIntoTarget(m_hWnd, m_oPlace, m_rSettings.IsDoPaste()); // hides the window first
    }
}

void CSmallClipDlg::AfterAppend() {
    AfterActivate();
}
