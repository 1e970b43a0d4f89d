; The Velutra installer: a per-user installation that needs no administrator rights.
;
;   makensis -DVERSION=3.0.0 -DARCH=win32 "-DCOMPANY=The Velutra developers" -DCOPYRIGHT_YEARS=2023-2026
;            -DSTAGE=dir -DICON=velutra.ico -DOUTFILE=setup.exe velutra.nsi
;
; COMPANY and COPYRIGHT_YEARS come from LICENSE's copyright line, as in the program's version
; resource.
; STAGE holds velutra.exe, README.txt and LICENSE.txt. ARCH win32 makes the installer of the 32-bit
; program (a 32-bit installer); win64 makes a 64-bit installer around the 64-bit program, for the
; tests, which run under a Wine that runs 64-bit programs only.
;
; Command line, besides NSIS's own /S (silent) and /D=folder (must come last):
;   setup.exe /AUTOSTART     also choose "Start with Windows" (a silent install needs this)
;   uninstall.exe /PURGE     also remove the playlists and settings without asking
;
; Where things go:
;   $LOCALAPPDATA\Programs\Velutra    velutra.exe, README.txt, LICENSE.txt, uninstall.exe; the
;                                     program writes its playlists (velutra.s) here, which a
;                                     standard user may do in this folder.
;   $SMPROGRAMS\Velutra               the shortcuts
;   HKCU ...\Uninstall\Velutra        the entry of Apps and Features
;   ...\CurrentVersion\Run            "VelutraTray", when chosen: under HKLM as the program
;                                     writes it, or under HKCU when Windows keeps a standard user
;                                     out of HKLM's Run key (it is not virtualised); the program
;                                     deletes both when its tray icon is turned off.

!ifndef VERSION | ARCH | COMPANY | COPYRIGHT_YEARS | STAGE | ICON | OUTFILE
  !error "define VERSION, ARCH, COMPANY, COPYRIGHT_YEARS, STAGE, ICON and OUTFILE"
!endif

Unicode true
!if "${ARCH}" == "win64"
  Target amd64-unicode
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define APP "Velutra"
!define EXE "velutra.exe"
!define STORE "velutra.s"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "VelutraTray"
!define SETTINGS_KEY "SOFTWARE\VELUTRA"
!define VIRTUAL_STORE "Software\Classes\VirtualStore\MACHINE\SOFTWARE"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Velutra"

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

Name "${APP}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${APP}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${APP} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${APP}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${APP} ${VERSION} Setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright © ${COPYRIGHT_YEARS} ${COMPANY}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Var Purge

; The Run text the program itself writes: its path, in quotes when it holds a blank, then
; " TRAYAPP". Empty for a path of 255 characters or more, which the program cannot hold whole.
!macro RUN_ENTRY_TEXT prefix
Function ${prefix}RunEntryText
    Push $1
    Push $2
    StrCpy $0 "$INSTDIR\${EXE}"
    StrLen $1 $0
    ${If} $1 >= 255
        StrCpy $0 ""
    ${Else}
        StrCpy $1 0
        ${Do}
            StrCpy $2 $0 1 $1
            ${If} $2 == " "
            ${OrIf} $2 == "$\t"
                StrCpy $0 '"$0"'
                ${Break}
            ${EndIf}
            IntOp $1 $1 + 1
        ${LoopUntil} $2 == ""
        StrCpy $0 "$0 TRAYAPP"
    ${EndIf}
    Pop $2
    Pop $1
FunctionEnd
!macroend
!insertmacro RUN_ENTRY_TEXT ""
!insertmacro RUN_ENTRY_TEXT "un."

; A running copy would keep its exe locked and write its files again at Exit.
!macro REFUSE_WHILE_RUNNING
    FindWindow $0 "Velutra"
    ${If} $0 != 0
        MessageBox MB_OK|MB_ICONEXCLAMATION "Velutra is running. End it with Exit (the Power button, or Exit in the tray menu), then start this again." /SD IDOK
        Abort
    ${EndIf}
!macroend

Section "Velutra" SecProgram
    SectionIn RO
    SetOutPath "$INSTDIR"
    File "${STAGE}/${EXE}"
    File "${STAGE}/README.txt"
    File "${STAGE}/LICENSE.txt"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateDirectory "$SMPROGRAMS\${APP}"
    CreateShortCut "$SMPROGRAMS\${APP}\${APP}.lnk" "$INSTDIR\${EXE}"
    CreateShortCut "$SMPROGRAMS\${APP}\Uninstall ${APP}.lnk" "$INSTDIR\uninstall.exe"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section /o "Start with Windows" SecAutostart
    Call RunEntryText
    ${If} $0 == ""
        DetailPrint "The folder's path is too long for the autostart entry; none was written."
    ${Else}
        ClearErrors
        WriteRegStr HKLM "${RUN_KEY}" "${RUN_VALUE}" $0
        ${If} ${Errors}
            WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" $0
        ${EndIf}
    ${EndIf}
SectionEnd

Function .onInit
    !insertmacro REFUSE_WHILE_RUNNING
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/AUTOSTART" $R1
    ${IfNot} ${Errors}
        SectionSetFlags ${SecAutostart} ${SF_SELECTED}
    ${EndIf}
FunctionEnd

Function un.onInit
    !insertmacro REFUSE_WHILE_RUNNING
    StrCpy $Purge 0
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/PURGE" $R1
    ${IfNot} ${Errors}
        StrCpy $Purge 1
    ${EndIf}
FunctionEnd

; Removes a Run value only while it starts this copy: another copy's entry is not ours.
!macro DELETE_OUR_RUN_VALUE root
    ReadRegStr $1 ${root} "${RUN_KEY}" "${RUN_VALUE}"
    ${If} $1 != ""
    ${AndIf} $1 == $0
        DeleteRegValue ${root} "${RUN_KEY}" "${RUN_VALUE}"
    ${EndIf}
!macroend

Section "Uninstall"
    Delete "$INSTDIR\${EXE}"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\uninstall.exe"
    Delete "$SMPROGRAMS\${APP}\${APP}.lnk"
    Delete "$SMPROGRAMS\${APP}\Uninstall ${APP}.lnk"
    RMDir "$SMPROGRAMS\${APP}"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"

    ; The autostart entry would start a program that is gone.
    Call un.RunEntryText
    !insertmacro DELETE_OUR_RUN_VALUE HKLM
    !insertmacro DELETE_OUR_RUN_VALUE HKCU

    ${If} $Purge != 1
        MessageBox MB_YESNO|MB_ICONQUESTION "Remove your Velutra playlists (${STORE} in $INSTDIR) and settings too?$\n$\nChoose No to keep them for a later installation." /SD IDNO IDYES purge
        Goto done
    ${EndIf}
  purge:
    Delete "$INSTDIR\${STORE}"
    DeleteRegKey HKLM "${SETTINGS_KEY}"
    ; Where Windows keeps the settings of a standard user's 32-bit program (virtualisation).
    DeleteRegKey HKCU "${VIRTUAL_STORE}\VELUTRA"
    DeleteRegKey HKCU "${VIRTUAL_STORE}\WOW6432Node\VELUTRA"
  done:
    RMDir "$INSTDIR"
SectionEnd
