// Identifiers of Korvex's resources (res/korvex.rc): menus, dialogs, icons, bitmaps, strings and
// the command identifiers of the menus. Used by the .rc file and by the C++ code alike.
#ifndef KORVEX_RESOURCE_H
#define KORVEX_RESOURCE_H

// Menus, icons (the same numbers name a menu and an icon where both exist)
#define IDR_MAINFRAME 128   // main menu and frame icon
#define IDR_TRAYMENU 132    // the tray icon's menu, pop-up "TrayMenu"
#define IDR_CONTEXTMENU 147 // the history windows' context menus
#define IDI_ABOUT 138       // the about box's icon
#define IDI_TRAY 146        // the notification-area icon
#define IDI_TRAY_PAUSED 159 // the same with a pause mark, while recording is paused

// Positions of the pop-ups of IDR_CONTEXTMENU
#define CONTEXT_POPUP_ITEM 0
#define CONTEXT_POPUP_MULTIITEM 1
#define CONTEXT_POPUP_NOSELECTEDITEM 2

// Bitmaps, 17 by 13 pixels, 24-bit
#define IDB_BOOKMARK 153 // the bookmark mark of a list row
#define IDB_BLANK 155    // all black: fully transparent with black as the mask colour
#define IDB_DOCUMENT 157 // a small document sheet on a teal background

// Dialogs
#define IDD_ABOUTBOX 100
#define IDC_VERSION 1020 // about box: the version text
#define IDD_OPTIONS 143
#define IDC_ITEMS_COUNT 1005        // options: "BufferSize"
#define IDC_START_WITH_WINDOWS 1006 // options: the Run value
#define IDC_PASTE_ACTIVATED 1007    // options: "DoPaste"
#define IDC_OPEN_AT_CARET 1026      // options: "OpenAtCaret"
#define IDC_MAX_COPY_SIZE 1008      // options: "MaxClipboardCopySize"
#define IDC_HOTKEY_LIST 1017        // options: the hotkey commands
#define IDC_KEEP_HISTORY 1030       // options: "KeepHistory" (1030-1034: the history group)
#define IDC_FORGET_AFTER 1035       // options: "ForgetAfterMinutes"
#define IDC_NEVER_RECORD_FROM 1036  // options: "NeverRecordFrom"
#define IDD_EDIT_HOTKEY 151
#define IDC_HOTKEY_CTRL 1012
#define IDC_HOTKEY_ALT 1013
#define IDC_HOTKEY_SHIFT 1014
#define IDC_HOTKEY_KEY 1015
#define IDC_COMMAND_NAME 1016

#define IDD_SMALLCLIP 133         // the small clip window
#define IDC_SMALLCLIP_LIST 1000   // small clip window: the list
#define IDC_SMALLCLIP_FILTER 1027 // small clip window: the find-by-typing field
#define IDC_MAIN_FILTER 1028      // main window: the find-by-typing field

#define IDD_VIEWITEM 149          // the item editor "Clip Item"
#define IDC_VIEWITEM_TEXT 1011    // item editor: the entry's text
#define IDC_VIEWITEM_APPEND 1018  // item editor: "Append", also its result
#define IDC_VIEWITEM_REPLACE 1019 // item editor: "Replace", also its result

#define IDD_FIND 152               // the find dialog
#define IDC_FIND_TEXT 1021         // find dialog: the text to find
#define IDC_FIND_MATCH_CASE 1022   // find dialog: "Match &case"
#define IDC_FIND_WHOLE_WORD 1023   // find dialog: "Match &whole word"
#define IDC_FIND_NEXT 1024         // find dialog: "&Find Next", also its result
#define IDC_FIND_BOOKMARK_ALL 1025 // find dialog: "&Bookmark All", also its result

// Strings
#define IDS_OLE_INIT_FAILED 100
#define IDS_APP_TITLE 57344

// File menu
#define ID_FILE_CLEAR_LIST 32779
#define ID_FILE_OPTIONS 32778
#define ID_FILE_EXIT 32780
// View menu
#define ID_VIEW_ENABLE_DOCKING 32781
// Help menu
#define ID_HELP_VISIT_ONLINE 32899
#define ID_HELP_ABOUT 32834

// Tray menu
#define ID_TRAY_SHOW 32777
#define ID_TRAY_CLEAR_LIST 32883
#define ID_TRAY_OPTIONS 32835
#define ID_TRAY_PASTE_ACTIVATED 32882
#define ID_TRAY_PAUSE_RECORDING 32900
#define ID_TRAY_EXIT 32776

// Edit menu of the main window
#define ID_EDIT_ACTIVATE 32816
#define ID_EDIT_PREVIEW 32808
#define ID_EDIT_EDIT 32807
#define ID_EDIT_REVERT_FIRST 32885
#define ID_EDIT_BOOKMARK 32841
#define ID_EDIT_NEXT_BOOKMARK 32861
#define ID_EDIT_PREV_BOOKMARK 32860
#define ID_EDIT_CLEAR_BOOKMARKS 32850
#define ID_EDIT_REMOVE 32828
#define ID_EDIT_INVERT 32858
#define ID_EDIT_INVERT_ACTIVATE 32866
#define ID_EDIT_MAKE_OBJECT 32896
#define ID_EDIT_FROM_ID 32863
#define ID_EDIT_TO_ID 32862
#define ID_EDIT_LOWERCASE 32811
#define ID_EDIT_UPPERCASE 32809
#define ID_EDIT_TITLE 32864
#define ID_EDIT_DATE_1 32794  // yyyy.mm.dd
#define ID_EDIT_DATE_2 32795  // yyyy-mm-dd
#define ID_EDIT_DATE_3 32796  // yyyy.mm.dd HH-MM-SS
#define ID_EDIT_DATE_4 32797  // yyyy-mm-dd HH-MM-SS
#define ID_EDIT_DATE_5 32798  // yyyy-mm-dd_HH-MM-SS
#define ID_EDIT_DATE_6 32799  // HH-MM-SS
#define ID_EDIT_DATE_7 32800  // HH.MM.SS
#define ID_EDIT_DATE_8 32801  // yyyymmdd
#define ID_EDIT_DATE_9 32803  // HHMMSS
#define ID_EDIT_DATE_10 32804 // yyyymmddHHMMSS
#define ID_EDIT_FIND 32890
#define ID_EDIT_FIND_NEXT 32892
#define ID_EDIT_FIND_PREV 32894

// Context menus: "Item"
#define ID_ITEM_ACTIVATE 32814
#define ID_ITEM_PREVIEW 32805
#define ID_ITEM_EDIT 32806
#define ID_ITEM_BOOKMARK 32842
#define ID_ITEM_REMOVE 32829
#define ID_ITEM_MAKE_OBJECT 32898
#define ID_ITEM_FROM_ID 32870
#define ID_ITEM_TO_ID 32869
#define ID_ITEM_LOWERCASE 32787
#define ID_ITEM_UPPERCASE 32786
#define ID_ITEM_TITLE 32871
// Context menus: "MultiItem"
#define ID_MULTI_ACTIVATE 32815
#define ID_MULTI_REMOVE 32881
#define ID_MULTI_INVERT 32880
#define ID_MULTI_INVERT_ACTIVATE 32875
#define ID_MULTI_FROM_ID 32877
#define ID_MULTI_TO_ID 32876
#define ID_MULTI_LOWERCASE 32852
#define ID_MULTI_UPPERCASE 32851
#define ID_MULTI_TITLE 32878
// Context menus: shared by "Item" and "NoSelectedItem"
#define ID_CONTEXT_REVERT_FIRST 32887
#define ID_CONTEXT_NEXT_BOOKMARK 32867
#define ID_CONTEXT_PREV_BOOKMARK 32868
#define ID_CONTEXT_CLEAR_BOOKMARKS 32848
// Context menus: the "Date and Time" pop-up of all three
#define ID_CONTEXT_DATE_1 32817  // yyyy.mm.dd
#define ID_CONTEXT_DATE_2 32818  // yyyy-mm-dd
#define ID_CONTEXT_DATE_3 32819  // yyyy.mm.dd HH-MM-SS
#define ID_CONTEXT_DATE_4 32820  // yyyy-mm-dd HH-MM-SS
#define ID_CONTEXT_DATE_5 32821  // yyyy-mm-dd_HH-MM-SS
#define ID_CONTEXT_DATE_6 32822  // HH-MM-SS
#define ID_CONTEXT_DATE_7 32823  // HH.MM.SS
#define ID_CONTEXT_DATE_8 32824  // yyyymmdd
#define ID_CONTEXT_DATE_9 32825  // HHMMSS
#define ID_CONTEXT_DATE_10 32826 // yyyymmddHHMMSS

#endif
