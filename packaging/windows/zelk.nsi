; The Windows installer of Zelk. 2010: per user and without administrator
; rights into %LOCALAPPDATA%\Programs\Zelk 2010, so that zelk.dat beside the
; program stays writable. Built by the target windows_release, which defines
; VERSION, PUBLISHER, STAGE (the folder holding zelk.exe and zelk.chm), ICON,
; SIGN (the signing command) and OUTFILE.
;
; Silent: setup.exe /S [/AUTOSTART] [/D=<folder>]. The uninstaller is
; registered to run in place, uninstall.exe /S _?=<folder>, so that whoever
; runs that command gets its exit code: 0 when it has removed the program,
; 2 when the program was running. Started without _?=, an NSIS uninstaller
; hands over to a copy of itself in %TEMP% and ends with 0 at once.
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
; The saved rate, which the uninstaller keeps.
!define RATE_KEY "Software\VB and VBA Program Settings\Zelk_2010"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Zelk 2010"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
!finalize '${SIGN} "%1"'
!uninstfinalize '${SIGN} "%1"'

; What the uninstaller kept, for its last page.
Var KeptData

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
!define MUI_FINISHPAGE_TEXT "$KeptData"
!insertmacro MUI_UNPAGE_FINISH
!insertmacro MUI_LANGUAGE "German"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileDescription" "${PRODUCT} einrichten"
VIAddVersionKey /LANG=${LANG_GERMAN} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_GERMAN} "LegalCopyright" "Copyright © 2009 ${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileVersion" "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductVersion" "${VERSION}.0"

; The running program holds a lock on zelk.lock, in the first of
; %LOCALAPPDATA%\zelk and %TEMP%\zelk it could use, until it ends (also by a
; crash); so the program itself says whether it runs. The attributes of
; zelk.exe cannot: a write-protected zelk.exe is no running one. Any copy of
; the program counts, since the uninstaller removes the lock files. Silent
; runs give up with exit code 2.
!macro REFUSE_WHILE_RUNNING un
; Replaces the path on the stack with 1 when another process holds the lock
; on that file, else 0. A lock taken here is released at once.
Function ${un}LockHeld
    Exch $0
    Push $1
    Push $2
    Push $3
    ; GENERIC_READ, shared for reading, writing and deleting as the program
    ; opens it, OPEN_EXISTING: no file, no program.
    System::Call 'kernel32::CreateFileW(w r0, i 0x80000000, i 7, p 0, i 3, i 0x80, p 0) p .r1'
    StrCpy $0 0
    ${If} $1 P<> -1
        ; A zeroed OVERLAPPED: the first byte, where the program locks.
        System::Call '*(p 0, p 0, i 0, i 0, p 0) p .r2'
        ; LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY
        System::Call 'kernel32::LockFileEx(p r1, i 3, i 0, i 1, i 0, p r2) i .r3 ?e'
        Pop $0
        ${If} $3 <> 0
            System::Call 'kernel32::UnlockFileEx(p r1, i 0, i 1, i 0, p r2)'
            StrCpy $0 0
        ${ElseIf} $0 = 33 ; ERROR_LOCK_VIOLATION
            StrCpy $0 1
        ${Else}
            StrCpy $0 0
        ${EndIf}
        System::Free $2
        System::Call 'kernel32::CloseHandle(p r1)'
    ${EndIf}
    Pop $3
    Pop $2
    Pop $1
    Exch $0
FunctionEnd

Function ${un}RefuseWhileRunning
    retry:
    Push "$LOCALAPPDATA\zelk\zelk.lock"
    Call ${un}LockHeld
    Pop $0
    Push "$TEMP\zelk\zelk.lock"
    Call ${un}LockHeld
    Pop $1
    ${If} $0 = 1
    ${OrIf} $1 = 1
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
            "${PRODUCT} läuft noch.$\r$\nBitte beenden Sie das Programm und klicken Sie auf „Wiederholen“." \
            /SD IDCANCEL IDRETRY retry
        SetErrorLevel 2
        Quit
    ${EndIf}
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
    ; In place (_?= comes last, unquoted), so that the caller gets the exit code.
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" _?=$INSTDIR'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S _?=$INSTDIR'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section /o "Beim Anmelden starten" SecAutostart
    ; Quoted, as the autostart window writes it: unquoted, Windows would try
    ; "…\Programs\Zelk" first, since the path has a blank.
    WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\zelk.exe"'
SectionEnd

Function .onInit
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/AUTOSTART" $1
    ${IfNot} ${Errors}
        SectionSetFlags ${SecAutostart} ${SF_SELECTED}
    ${EndIf}
FunctionEnd

; A run in place cannot delete its own file. It starts the uninstaller once
; more without _?=, so that NSIS runs a copy from %TEMP% (/AFTER=<process>);
; that copy waits until this run has ended, then removes uninstall.exe and the
; folder when nothing else is left in it.
Function un.RemoveSelfAfterwards
    System::Call 'kernel32::GetCurrentProcessId() i .r0'
    Exec '"$INSTDIR\uninstall.exe" /AFTER=$0'
FunctionEnd

Function un.RemoveAfter
    Exch $0
    ; SYNCHRONIZE: enough to wait for the end of the run that started us.
    System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r0) p .r1'
    ${If} $1 P<> 0
        System::Call 'kernel32::WaitForSingleObject(p r1, i -1)'
        System::Call 'kernel32::CloseHandle(p r1)'
    ${EndIf}
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    Pop $0
FunctionEnd

Function un.onInit
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/AFTER=" $1
    ${IfNot} ${Errors}
        Push $1
        Call un.RemoveAfter
        Quit
    ${EndIf}
    Call un.RefuseWhileRunning
FunctionEnd

!macro NAME_IF_LIST_IN folder
    ${If} ${FileExists} "${folder}\zelk.dat"
    ${OrIf} ${FileExists} "${folder}\zelk.dat.bak"
        StrCpy $1 "$1$\r$\n${folder}"
    ${EndIf}
!macroend

; The last page says where the user's own data stayed.
Function un.NameKeptData
    StrCpy $0 ""
    ClearErrors
    ReadRegStr $1 HKCU "${RATE_KEY}\Zelk_Satz" "x.Text"
    ${IfNot} ${Errors}
        StrCpy $0 "$\r$\n$\r$\nGespeicherter Mehrwertsteuersatz (Registrierung):$\r$\nHKEY_CURRENT_USER\${RATE_KEY}"
    ${EndIf}
    StrCpy $1 ""
    !insertmacro NAME_IF_LIST_IN "$INSTDIR"
    !insertmacro NAME_IF_LIST_IN "$APPDATA\zelk"
    ${If} $1 != ""
        StrCpy $0 "$0$\r$\n$\r$\nListe der Sätze (zelk.dat) im Ordner:$1"
    ${EndIf}
    ${If} $0 == ""
        StrCpy $KeptData "${PRODUCT} ist von Ihrem Computer entfernt worden. Es sind keine Daten des Programms zurückgeblieben."
    ${Else}
        StrCpy $KeptData "${PRODUCT} ist von Ihrem Computer entfernt worden.$\r$\n$\r$\nIhre Daten bleiben erhalten, damit eine neue Installation sie wiederfindet. Um auch sie zu entfernen, löschen Sie:$0"
    ${EndIf}
FunctionEnd

!macro REMOVE_LOCK_FILES folder
    Delete "${folder}\zelk.lock"
    Delete "${folder}\zelk.wake"
    RMDir "${folder}"
!macroend

Section "Uninstall"
    Delete "$INSTDIR\zelk.exe"
    Delete "$INSTDIR\zelk.chm"
    Delete "$INSTDIR\uninstall.exe"
    ; zelk.dat (and the zelk.dat.bak of a damaged list) are the user's own
    ; rates, like the rate kept in the registry: they stay, and a new
    ; installation finds them again. The folder goes when nothing is left.
    RMDir "$INSTDIR"
    Delete "${SHORTCUT}"
    ; Autostart only when it starts this copy, not another one's entry; the
    ; value may still be unquoted, as earlier versions wrote it.
    ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${If} $0 == "$INSTDIR\zelk.exe"
    ${OrIf} $0 == '"$INSTDIR\zelk.exe"'
        DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${EndIf}
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    ; The lock and the wake-up note of the one running program are no user
    ; data; their folders go when they are empty.
    !insertmacro REMOVE_LOCK_FILES "$LOCALAPPDATA\zelk"
    !insertmacro REMOVE_LOCK_FILES "$TEMP\zelk"
    Call un.NameKeptData
    ${If} ${FileExists} "$INSTDIR\uninstall.exe"
        Call un.RemoveSelfAfterwards
    ${EndIf}
SectionEnd
