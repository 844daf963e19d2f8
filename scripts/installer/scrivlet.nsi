; Installer of scrivlet for one architecture, built by scripts/package.sh:
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.5.10.3 -DARCH=x86_64|i686
;            -DSTAGE=<folder with the files> -DICON=<icon> -DOUTFILE=<setup.exe> scrivlet.nsi
; For the current user by default, so no administrator rights are needed;
; for all users on request (the choice page, or /AllUsers on the command line).
; The uninstaller keeps the user's scrivlet.ini unless asked (its second
; component, or /RemoveSettings on the command line).

Unicode true
!if "${ARCH}" == "x86_64"
  Target amd64-unicode
!else
  Target x86-unicode
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include nsDialogs.nsh
!include x64.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\scrivlet"
!define APP_PATHS_KEY "Software\Microsoft\Windows\CurrentVersion\App Paths\scrivlet.exe"
!define APPLICATION_KEY "Software\Classes\Applications\scrivlet.exe"
!define SETTINGS_FOLDER "$APPDATA\Tolvek\scrivlet"

Name "scrivlet"
Caption "scrivlet ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "scrivlet ${VERSION}"

Var AllUsers       ; 1 for a per-machine installation
Var CommandLineDir ; the folder given with /D=, kept over the mode's default
Var RadioCurrentUser
Var RadioAllUsers

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\scrivlet.exe"

!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
Page custom ModePage ModePageLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "TradChinese"

LangString ModeTitle ${LANG_ENGLISH} "Who is it for?"
LangString ModeTitle ${LANG_TRADCHINESE} "要為誰安裝？"
LangString ModeSubtitle ${LANG_ENGLISH} "Install scrivlet for yourself or for everyone on this computer."
LangString ModeSubtitle ${LANG_TRADCHINESE} "只為您自己安裝 scrivlet，或為這台電腦的所有使用者安裝。"
LangString ModeCurrentUser ${LANG_ENGLISH} "Just for me (no administrator rights needed)"
LangString ModeCurrentUser ${LANG_TRADCHINESE} "只為我安裝（不需要系統管理員權限）"
LangString ModeAllUsers ${LANG_ENGLISH} "For everyone on this computer (needs administrator rights)"
LangString ModeAllUsers ${LANG_TRADCHINESE} "為這台電腦的所有使用者安裝（需要系統管理員權限）"
LangString NeedAdmin ${LANG_ENGLISH} "Installing for everyone needs administrator rights."
LangString NeedAdmin ${LANG_TRADCHINESE} "為所有使用者安裝需要系統管理員權限。"
LangString ProgramSection ${LANG_ENGLISH} "scrivlet"
LangString ProgramSection ${LANG_TRADCHINESE} "scrivlet"
LangString SettingsSection ${LANG_ENGLISH} "My settings (scrivlet.ini)"
LangString SettingsSection ${LANG_TRADCHINESE} "我的設定 (scrivlet.ini)"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Scrivlet"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "Tolvek"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "scrivlet text editor setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (C) Tolvek"

; The 32-bit installer on 64-bit Windows writes where 64-bit Explorer looks.
!macro UseNativeRegistry
  !if "${ARCH}" != "x86_64"
    ${If} ${RunningX64}
      SetRegView 64
    ${EndIf}
  !endif
!macroend

; The "Open with" entry of one file type; the type's default program is left alone.
!macro AddOpenWith EXT
  WriteRegStr SHCTX "${APPLICATION_KEY}\SupportedTypes" "${EXT}" ""
  WriteRegStr SHCTX "Software\Classes\${EXT}\OpenWithList\scrivlet.exe" "" ""
!macroend

; Removes the entry and the keys it needed, unless something else lives in them.
!macro RemoveOpenWith EXT
  DeleteRegKey SHCTX "Software\Classes\${EXT}\OpenWithList\scrivlet.exe"
  DeleteRegKey /ifempty SHCTX "Software\Classes\${EXT}\OpenWithList"
  DeleteRegKey /ifempty SHCTX "Software\Classes\${EXT}"
!macroend

; Runs this program again with administrator rights and the given options.
; Sets the error flag when that could not be started (refused or failed).
!macro RestartAsAdministrator PROGRAM OPTIONS
  ClearErrors
  ExecShell "runas" "${PROGRAM}" "${OPTIONS}"
!macroend

; The same from the start of a run that cannot go on without the rights:
; this copy ends either way, with "access denied" when none was started.
!macro RestartAsAdministratorAndQuit PROGRAM OPTIONS
  !insertmacro RestartAsAdministrator "${PROGRAM}" "${OPTIONS}"
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONSTOP "$(NeedAdmin)" /SD IDOK
    SetErrorLevel 5
  ${EndIf}
  Quit
!macroend

Function ChooseCurrentUser
  StrCpy $AllUsers 0
  SetShellVarContext current
  GetKnownFolderPath $INSTDIR {5CD7AEE2-2219-4A67-B85D-6C9CE15660CB} ; UserProgramFiles
  ${If} $INSTDIR == ""
    StrCpy $INSTDIR "$LOCALAPPDATA\Programs"
  ${EndIf}
  StrCpy $INSTDIR "$INSTDIR\scrivlet"
  Call UseEarlierFolder
FunctionEnd

Function ChooseAllUsers
  StrCpy $AllUsers 1
  SetShellVarContext all
  !if "${ARCH}" == "x86_64"
    StrCpy $INSTDIR "$PROGRAMFILES64\scrivlet"
  !else
    StrCpy $INSTDIR "$PROGRAMFILES32\scrivlet"
  !endif
  Call UseEarlierFolder
FunctionEnd

; An update goes where the earlier installation of the same mode is; a
; folder given on the command line wins over both.
Function UseEarlierFolder
  ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
    StrCpy $INSTDIR $0
  ${EndIf}
  ${If} $CommandLineDir != ""
    StrCpy $INSTDIR $CommandLineDir
  ${EndIf}
FunctionEnd

; Pushes 1 when the process has administrator rights, else 0.
!macro DefineIsAdministrator PREFIX
  Function ${PREFIX}IsAdministrator
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 == "Admin"
      Push 1
    ${Else}
      Push 0
    ${EndIf}
  FunctionEnd
!macroend
!insertmacro DefineIsAdministrator ""
!insertmacro DefineIsAdministrator "un."

Function .onInit
  !insertmacro UseNativeRegistry
  StrCpy $CommandLineDir $INSTDIR
  Call ChooseCurrentUser
  ${GetParameters} $1
  ClearErrors
  ${GetOptions} $1 "/AllUsers" $2
  ${IfNot} ${Errors}
    Call IsAdministrator
    Pop $0
    ${If} $0 != 1
      !insertmacro RestartAsAdministratorAndQuit "$EXEPATH" "$1"
    ${EndIf}
    Call ChooseAllUsers
  ${EndIf}
FunctionEnd

Function ModePage
  !insertmacro MUI_HEADER_TEXT "$(ModeTitle)" "$(ModeSubtitle)"
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateRadioButton} 0 20u 100% 12u "$(ModeCurrentUser)"
  Pop $RadioCurrentUser
  ${NSD_CreateRadioButton} 0 40u 100% 12u "$(ModeAllUsers)"
  Pop $RadioAllUsers
  ${If} $AllUsers == 1
    ${NSD_Check} $RadioAllUsers
  ${Else}
    ${NSD_Check} $RadioCurrentUser
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function ModePageLeave
  ${NSD_GetState} $RadioAllUsers $0
  ${If} $0 != ${BST_CHECKED}
    Call ChooseCurrentUser
    Return
  ${EndIf}
  Call IsAdministrator
  Pop $0
  ${If} $0 == 1
    Call ChooseAllUsers
    Return
  ${EndIf}
  ; Start again with administrator rights, straight on this choice.
  !insertmacro RestartAsAdministrator "$EXEPATH" "/AllUsers"
  ${If} ${Errors}
    MessageBox MB_OK|MB_ICONEXCLAMATION "$(NeedAdmin)"
    Abort
  ${EndIf}
  Quit
FunctionEnd

Section "$(ProgramSection)" ProgramSection
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "${STAGE}\scrivlet.exe"
  File "${STAGE}\scrivlet.html"
  File "${STAGE}\LICENSE.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortcut "$SMPROGRAMS\scrivlet.lnk" "$INSTDIR\scrivlet.exe"

  WriteRegStr SHCTX "${APP_PATHS_KEY}" "" "$INSTDIR\scrivlet.exe"
  WriteRegStr SHCTX "${APP_PATHS_KEY}" "Path" "$INSTDIR"

  WriteRegStr SHCTX "${APPLICATION_KEY}" "FriendlyAppName" "scrivlet"
  WriteRegStr SHCTX "${APPLICATION_KEY}\DefaultIcon" "" "$INSTDIR\scrivlet.exe,0"
  WriteRegStr SHCTX "${APPLICATION_KEY}\shell\open\command" "" '"$INSTDIR\scrivlet.exe" "%1"'
  !insertmacro AddOpenWith ".txt"
  !insertmacro AddOpenWith ".log"
  !insertmacro AddOpenWith ".ini"

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "scrivlet"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Tolvek"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\scrivlet.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0

  ; Tell Explorer, so that "Open with" shows the program at once.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Section "un.$(ProgramSection)" UninstallProgramSection
  SectionIn RO
  Delete "$INSTDIR\scrivlet.exe"
  Delete "$INSTDIR\scrivlet.html"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  ; Only when empty: a scrivlet.ini the user put beside the program stays.
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\scrivlet.lnk"

  DeleteRegKey SHCTX "${APP_PATHS_KEY}"
  DeleteRegKey SHCTX "${APPLICATION_KEY}"
  !insertmacro RemoveOpenWith ".txt"
  !insertmacro RemoveOpenWith ".log"
  !insertmacro RemoveOpenWith ".ini"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

; Off unless chosen: the settings of the user who uninstalls, wherever the
; program kept them.
Section /o "un.$(SettingsSection)" SettingsSection
  SetShellVarContext current
  Delete "${SETTINGS_FOLDER}\scrivlet.ini"
  RMDir "${SETTINGS_FOLDER}"
  RMDir "$APPDATA\Tolvek"
  Delete "$INSTDIR\scrivlet.ini"
  RMDir "$INSTDIR"
SectionEnd

Function un.onInit
  !insertmacro UseNativeRegistry
  ; The installation for all users is the one recorded in the machine's list.
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    Call un.IsAdministrator
    Pop $0
    ${If} $0 != 1
      ${GetParameters} $1
      !insertmacro RestartAsAdministratorAndQuit "$INSTDIR\uninstall.exe" "$1"
    ${EndIf}
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
  ${GetParameters} $1
  ClearErrors
  ${GetOptions} $1 "/RemoveSettings" $2
  ${IfNot} ${Errors}
    SectionSetFlags ${SettingsSection} ${SF_SELECTED}
  ${EndIf}
FunctionEnd
