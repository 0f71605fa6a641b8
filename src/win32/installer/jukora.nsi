; SPDX-License-Identifier: GPL-3.0-or-later
; The installer of the Windows program. For the user alone by default, with no
; administrator rights, into the user's programs folder; or for everyone, into
; the programs folder, after asking for those rights. It gives Jukora a
; Start-menu entry and an entry in Apps & Features whose uninstaller removes
; the program and never the user's songlists or settings.
; makensis -DVERSION=x.y.z -DEXE=<jukora.exe> -DICON=<jukora.ico> -DLICENSE=<file> -DOUTFILE=<setup.exe> jukora.nsi
Unicode true
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include nsDialogs.nsh

!define NAME "Jukora Song Manager"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Jukora"
!define SHORTCUT "$SMPROGRAMS\${NAME}.lnk"

Name "${NAME}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Jukora"
ShowInstDetails nevershow
BrandingText "${NAME} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${NAME}"
VIAddVersionKey "FileDescription" "${NAME} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "The Jukora developers"
VIAddVersionKey "LegalCopyright" "GNU General Public License, version 3 or later"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start Jukora now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartJukora

Var AllUsers
Var ForMe
Var ForEveryone

!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
Page custom InstallModePage InstallModeLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

!macro IS_ADMIN result
  UserInfo::GetAccountType
  Pop ${result}
!macroend

; Everyone's install: the machine's folders and keys.
!macro FOR_EVERYONE
  StrCpy $AllUsers 1
  SetShellVarContext all
!macroend

; Asks a running Jukora to end (as its Exit does) with the program's own
; --exit, and says so when it does not. `exe` is a jukora.exe; the copy that
; runs is found by its user, wherever it was started from.
!macro ASK_JUKORA_TO_EXIT exe
  IfFileExists "${exe}" 0 jukora_ended
  jukora_ask:
    ClearErrors
    StrCpy $0 ""
    ExecWait '"${exe}" --exit' $0
    IfErrors jukora_ended
    StrCmp $0 0 jukora_ended
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Jukora is running and did not end when asked to.$\r$\nEnd it with Exit in its mode menu, then choose Retry." /SD IDCANCEL IDRETRY jukora_ask
    Abort "Jukora is still running."
  jukora_ended:
!macroend

Function .onInit
  StrCpy $AllUsers 0
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/ALLUSERS" $R1
  ${IfNot} ${Errors}
    !insertmacro IS_ADMIN $R2
    ${If} $R2 != "Admin"
      MessageBox MB_ICONSTOP "Installing for everyone needs administrator rights." /SD IDOK
      Abort
    ${EndIf}
    !insertmacro FOR_EVERYONE
    StrCpy $INSTDIR "$PROGRAMFILES64\Jukora"
  ${EndIf}
  ; An upgrade goes where the program already is.
  ReadRegStr $R3 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $R3 != ""
    StrCpy $INSTDIR $R3
  ${EndIf}
FunctionEnd

Function InstallModePage
  ; Chosen on the command line, or by the copy that asked for the rights.
  ${If} $AllUsers == 1
    Abort
  ${EndIf}
  !insertmacro MUI_HEADER_TEXT "Install for" "Choose who can use ${NAME} on this computer."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateRadioButton} 0 10u 100% 12u "Only for me (no administrator rights needed)"
  Pop $ForMe
  ${NSD_CreateRadioButton} 0 30u 100% 12u "For everyone who uses this computer (asks for administrator rights)"
  Pop $ForEveryone
  ${NSD_Check} $ForMe
  nsDialogs::Show
FunctionEnd

Function InstallModeLeave
  ${NSD_GetState} $ForEveryone $0
  ${If} $0 != ${BST_CHECKED}
    Return
  ${EndIf}
  !insertmacro IS_ADMIN $1
  ${If} $1 == "Admin"
    !insertmacro FOR_EVERYONE
    StrCpy $INSTDIR "$PROGRAMFILES64\Jukora"
    Return
  ${EndIf}
  ; A copy of the installer with the rights takes over; this one ends.
  ClearErrors
  ExecShell "runas" "$EXEPATH" "/ALLUSERS"
  ${If} ${Errors}
    MessageBox MB_ICONEXCLAMATION "Without administrator rights Jukora can be installed only for you."
    Abort
  ${EndIf}
  Quit
FunctionEnd

Section "Jukora"
  SetOutPath "$INSTDIR"
  InitPluginsDir
  File "/oname=$PLUGINSDIR\jukora.exe" "${EXE}"
  !insertmacro ASK_JUKORA_TO_EXIT "$PLUGINSDIR\jukora.exe"
  File "/oname=jukora.exe" "${EXE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\jukora.exe" "" "$INSTDIR\jukora.exe" 0 SW_SHOWNORMAL "" "Keeps a scored songlist and feeds Winamp"

  ${If} $AllUsers == 1
    StrCpy $0 '"$INSTDIR\uninstall.exe" /ALLUSERS'
  ${Else}
    StrCpy $0 '"$INSTDIR\uninstall.exe"'
  ${EndIf}
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "The Jukora developers"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\jukora.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" "$0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" "$0 /S"
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $1 $2 $3
  IntFmt $1 "0x%08X" $1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $1
SectionEnd

; The program as the user, never with the installer's rights: Explorer, which
; runs as the user, starts it when the installer runs with raised rights.
Function StartJukora
  ${If} $AllUsers == 1
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\jukora.exe"'
  ${Else}
    Exec '"$INSTDIR\jukora.exe"'
  ${EndIf}
FunctionEnd

Function un.onInit
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/ALLUSERS" $R1
  ${IfNot} ${Errors}
    !insertmacro IS_ADMIN $R2
    ${If} $R2 != "Admin"
      ; The uninstaller with the rights takes over.
      ExecShell "runas" "$INSTDIR\uninstall.exe" "/ALLUSERS"
      Quit
    ${EndIf}
    SetShellVarContext all
  ${EndIf}
FunctionEnd

; The songlists and the settings are the user's: they stay.
Section "Uninstall"
  !insertmacro ASK_JUKORA_TO_EXIT "$INSTDIR\jukora.exe"
  Delete "$INSTDIR\jukora.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "${SHORTCUT}"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
