; Korvex's installer: a per-user install that needs no administrator rights, into the user's own
; programs folder, with a Start menu shortcut, an entry in the list of installed programs and an
; uninstaller. Both take /S to run silently; the uninstaller keeps the user's settings unless
; "Remove my settings" is ticked (or /REMOVESETTINGS is given).
;
;   makensis -DVERSION=1.0.0.1 -DFILES=<folder with korvex.exe, zendel.dll, README.txt>
;            -DOUTFILE=<setup.exe> installer/korvex.nsi
; scripts/package.sh passes these. Paths in here are relative to this folder.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh

!ifndef VERSION | FILES | OUTFILE
  !error "give -DVERSION=, -DFILES= and -DOUTFILE="
!endif

; How a running Korvex is found and ended: the same marker window and Exit command the program
; itself uses.
!searchparse /file "../res/resource.h" "#define ID_FILE_EXIT " ID_FILE_EXIT
!searchparse /file "../hotkeys/KorvexMainWindow.h" \
    'KORVEX_MARKER_WINDOW_TITLE[] = L"' KORVEX_MARKER '"'
!define KORVEX_TITLE "Korvex"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Korvex"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SETTINGS_KEY "Software\Brenwick\Korvex"
; How long a running Korvex is given to end after its Exit command, in ms.
!define EXIT_WAIT 15000

Name "Korvex"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Korvex"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show

VIProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "Korvex"
VIAddVersionKey /LANG=1033 "CompanyName" "Brenwick"
VIAddVersionKey /LANG=1033 "FileDescription" "Korvex setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) Brenwick"

!define MUI_ICON "../res/art/korvex.ico"
!define MUI_UNICON "../res/art/korvex.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\korvex.exe"
!define MUI_FINISHPAGE_RUN_PARAMETERS "-n"
!define MUI_FINISHPAGE_RUN_TEXT "Start Korvex now"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Korvex's main window in $R0 (0 when none): a top-level window titled "Korvex" with the marker
; child; a window with the title alone belongs to another program.
!macro FIND_KORVEX un
Function ${un}FindKorvex
  StrCpy $R0 0
  next:
    FindWindow $R0 "" "${KORVEX_TITLE}" 0 $R0
    StrCmp $R0 0 done
    FindWindow $R1 "" "${KORVEX_MARKER}" $R0
    StrCmp $R1 0 next
  done:
FunctionEnd
!macroend

; Ends a running Korvex the way its own File > Exit does (so it saves its settings) and waits
; for its process to end; aborts when it does not end in time (a dialog of Korvex still open).
!macro END_RUNNING_KORVEX un
Function ${un}EndRunningKorvex
  retry:
    Call ${un}FindKorvex
    StrCmp $R0 0 done
    DetailPrint "Ending the running Korvex"
    System::Call 'user32::GetWindowThreadProcessId(p R0, *i .R2)'
    System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i R2) p .R3'
    System::Call 'user32::PostMessageW(p R0, i ${WM_COMMAND}, p ${ID_FILE_EXIT}, p 0)'
    ${If} $R3 P<> 0
      System::Call 'kernel32::WaitForSingleObject(p R3, i ${EXIT_WAIT}) i .R4'
      System::Call 'kernel32::CloseHandle(p R3)'
    ${Else}
      ; No handle to wait on: wait for the window instead.
      StrCpy $R4 0
      ${DoWhile} $R4 < ${EXIT_WAIT}
        IsWindow $R0 0 +2
          Goto gone
        Sleep 100
        IntOp $R4 $R4 + 100
      ${Loop}
      gone:
      StrCpy $R4 1
      IsWindow $R0 +2
        StrCpy $R4 0
    ${EndIf}
    StrCmp $R4 0 retry
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "Korvex did not end. Close its open dialogs and choose Retry." /SD IDCANCEL IDRETRY retry
    Abort "Korvex is still running."
  done:
FunctionEnd
!macroend

!insertmacro FIND_KORVEX ""
!insertmacro FIND_KORVEX "un."
!insertmacro END_RUNNING_KORVEX ""
!insertmacro END_RUNNING_KORVEX "un."

Section "Korvex" SecKorvex
  SectionIn RO
  Call EndRunningKorvex
  SetOutPath "$INSTDIR"
  File "${FILES}/korvex.exe"
  File "${FILES}/zendel.dll"
  File "${FILES}/README.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  SetShellVarContext current
  CreateShortcut "$SMPROGRAMS\Korvex.lnk" "$INSTDIR\korvex.exe" "-n" "$INSTDIR\korvex.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Korvex"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Brenwick"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\korvex.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "un.Korvex" SecUnKorvex
  SectionIn RO
  Call un.EndRunningKorvex
  ; "Start with Windows", when it starts this copy.
  ReadRegStr $0 HKCU "${RUN_KEY}" "Korvex"
  ${If} $0 == '"$INSTDIR\korvex.exe"'
  ${OrIf} $0 == "$INSTDIR\korvex.exe"
    DeleteRegValue HKCU "${RUN_KEY}" "Korvex"
  ${EndIf}
  Delete "$INSTDIR\korvex.exe"
  Delete "$INSTDIR\zendel.dll"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  SetShellVarContext current
  Delete "$SMPROGRAMS\Korvex.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.Remove my settings" SecUnSettings
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Brenwick"
SectionEnd

LangString DESC_SecUnKorvex ${LANG_ENGLISH} "The program, its Start menu shortcut and $\"Start with Windows$\"."
LangString DESC_SecUnSettings ${LANG_ENGLISH} "Your hotkeys, options and window positions."
!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecUnKorvex} $(DESC_SecUnKorvex)
  !insertmacro MUI_DESCRIPTION_TEXT ${SecUnSettings} $(DESC_SecUnSettings)
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END

Function un.onInit
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    SectionSetFlags ${SecUnSettings} ${SF_SELECTED}
  ${EndIf}
FunctionEnd
