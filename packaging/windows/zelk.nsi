; The Windows installer of Zelk. 2010: per user and without administrator
; rights into %LOCALAPPDATA%\Programs\Zelk 2010, so that zelk.dat beside the
; program stays writable. Built by the target windows_release, which defines
; VERSION, PUBLISHER, STAGE (the folder holding zelk.exe and zelk.chm), ICON,
; SIGN (the signing command) and OUTFILE.
;
; Silent: setup.exe /S [/AUTOSTART] [/D=<folder>]; uninstall.exe /S.
Unicode true
Target amd64-unicode
RequestExecutionLevel user
ManifestDPIAware true
ManifestSupportedOS Win10
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define PRODUCT "Zelk. 2010"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zelk 2010"
; The autostart value of the program's own autostart window.
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "zelk"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Zelk 2010"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
!finalize '${SIGN} "%1"'
!uninstfinalize '${SIGN} "%1"'

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\zelk.exe"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "German"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileDescription" "${PRODUCT} einrichten"
VIAddVersionKey /LANG=${LANG_GERMAN} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_GERMAN} "LegalCopyright" "Copyright © 2009 ${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileVersion" "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductVersion" "${VERSION}.0"

; Windows keeps a running program's file open without write sharing, so a
; zelk.exe that cannot be opened for writing is running: its files could not
; be replaced or removed now. Silent runs give up with exit code 2.
!macro REFUSE_WHILE_RUNNING un
Function ${un}RefuseWhileRunning
    retry:
    IfFileExists "$INSTDIR\zelk.exe" 0 done
    ClearErrors
    FileOpen $0 "$INSTDIR\zelk.exe" a
    ${If} ${Errors}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
            "${PRODUCT} läuft noch.$\r$\nBitte beenden Sie das Programm und klicken Sie auf „Wiederholen“." \
            /SD IDCANCEL IDRETRY retry
        SetErrorLevel 2
        Quit
    ${EndIf}
    FileClose $0
    done:
FunctionEnd
!macroend
!insertmacro REFUSE_WHILE_RUNNING ""
!insertmacro REFUSE_WHILE_RUNNING "un."

Section "${PRODUCT}" SecProgram
    SectionIn RO
    Call RefuseWhileRunning
    ; zelk.dat, the list of rates, is never shipped: one from an earlier
    ; installation stays as it is, and so does the rate in the registry.
    SetOutPath "$INSTDIR"
    File "${STAGE}\zelk.exe"
    File "${STAGE}\zelk.chm"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortCut "${SHORTCUT}" "$INSTDIR\zelk.exe" "" "$INSTDIR\zelk.exe" 0

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zelk.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section /o "Beim Anmelden starten" SecAutostart
    ; The value exactly as the autostart window writes it, so that the
    ; window shows it as entered and can remove it.
    WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" "$INSTDIR\zelk.exe"
SectionEnd

Function .onInit
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/AUTOSTART" $1
    ${IfNot} ${Errors}
        SectionSetFlags ${SecAutostart} ${SF_SELECTED}
    ${EndIf}
FunctionEnd

Function un.onInit
    Call un.RefuseWhileRunning
FunctionEnd

Section "Uninstall"
    Delete "$INSTDIR\zelk.exe"
    Delete "$INSTDIR\zelk.chm"
    Delete "$INSTDIR\uninstall.exe"
    ; zelk.dat (and the zelk.dat.bak of a damaged list) are the user's own
    ; rates, like the rate kept in the registry: they stay, and a new
    ; installation finds them again. The folder goes when nothing is left.
    RMDir "$INSTDIR"
    Delete "${SHORTCUT}"
    ; Autostart only when it starts this copy, not another one's entry.
    ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${If} $0 == "$INSTDIR\zelk.exe"
    ${OrIf} $0 == '"$INSTDIR\zelk.exe"'
        DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${EndIf}
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
