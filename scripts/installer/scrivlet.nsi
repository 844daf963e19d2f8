; Installer of scrivlet for one architecture, built by scripts/package.sh:
;   makensis -INPUTCHARSET UTF8 -DVERSION=<a.b.c.d> -DARCH=x86_64|i686
;            -DSTAGE=<folder with the files> -DICON=<icon> -DOUTFILE=<setup.exe> scrivlet.nsi
; For the current user by default, so no administrator rights are needed;
; for all users on request (the choice page, or /AllUsers on the command line).
; The uninstaller keeps the user's scrivlet.ini unless asked (its second
; component, or /RemoveSettings on the command line).
;
; One installation at a time: whichever mode and architecture was installed
; before, the new one replaces it, so Programs and Features lists one entry.
; The same mode and architecture is updated in its folder; another one is
; removed first through its own uninstaller (the settings stay) and the new
; program goes to its own folder. Nothing is changed while a scrivlet runs,
; nor over a newer version unless the user agrees. Exit codes besides NSIS's
; own (1 cancelled, 2 aborted):
!define EXIT_RUNNING 3         ; a scrivlet was running and was not closed
!define EXIT_NEWER_INSTALLED 4 ; a newer version is installed: no downgrade
!define EXIT_NO_RIGHTS 5       ; administrator rights were not given
!define EXIT_OTHER_REMAINS 6   ; the other installation could not be removed

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
!include WordFunc.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\scrivlet"
!define APP_PATHS_KEY "Software\Microsoft\Windows\CurrentVersion\App Paths\scrivlet.exe"
!define APPLICATION_KEY "Software\Classes\Applications\scrivlet.exe"
!define SETTINGS_FOLDER "$APPDATA\Tolvek\scrivlet"

!if "${ARCH}" == "x86_64"
  !define BITS "64-bit"
!else
  !define BITS "32-bit"
!endif
; Both architectures are listed under the same key (only one is installed at
; a time), told apart by their names and the Architecture value.
!define DISPLAY_NAME "scrivlet (${BITS})"

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
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION RunAsUser

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
LangString CloseRunning ${LANG_ENGLISH} "scrivlet is running. Close every scrivlet window, then choose Retry. Cancel stops here and changes nothing."
LangString CloseRunning ${LANG_TRADCHINESE} "scrivlet 正在執行。請關閉所有 scrivlet 視窗，再按「重試」。按「取消」會停止，不做任何變更。"
LangString Downgrade ${LANG_ENGLISH} "A newer scrivlet ($R1) is installed. Replace it with this older version ${VERSION}?"
LangString Downgrade ${LANG_TRADCHINESE} "已安裝較新的 scrivlet ($R1)。要以這個較舊的版本 ${VERSION} 取代它嗎？"
LangString OtherRemains ${LANG_ENGLISH} "The scrivlet installed in $R1 could not be removed. Uninstall it from Programs and Features, then run this setup again."
LangString OtherRemains ${LANG_TRADCHINESE} "無法移除安裝在 $R1 的 scrivlet。請先從「程式和功能」解除安裝，再重新執行這個安裝程式。"
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

; Runs this program again with administrator rights and the given options
; (after /Elevated, so that it cannot ask once more; /D= and _?= must come
; last), hides this copy's window, waits and leaves the other's exit code in
; $0; $0 is "" when it could not be started (refused or failed).
; ShellExecuteEx, unlike ExecShell, hands back the process to wait for.
!macro RunAsAdministrator PROGRAM OPTIONS
  StrCpy $0 ""
  StrCpy $6 "${PROGRAM}"
  StrCpy $7 "/Elevated ${OPTIONS}"
  ; SHELLEXECUTEINFOW: SEE_MASK_NOCLOSEPROCESS (0x40), SW_SHOWNORMAL; on 64
  ; bits a 32-bit member before a pointer is followed by 4 bytes of padding.
  !if "${ARCH}" == "x86_64"
    System::Call '*(i 112, i 0x40, p $HWNDPARENT, w "runas", w r6, w r7, p 0, i 1, i 0, p 0, p 0, p 0, p 0, i 0, i 0, p 0, p 0) p .r9'
  !else
    System::Call '*(i 60, i 0x40, p $HWNDPARENT, w "runas", w r6, w r7, p 0, i 1, p 0, p 0, p 0, p 0, i 0, p 0, p 0) p .r9'
  !endif
  System::Call 'shell32::ShellExecuteExW(p r9) i .r8'
  ${If} $8 != 0
    !if "${ARCH}" == "x86_64"
      System::Call '*$9(i, i, p, p, p, p, p, i, i, p, p, p, p, i, i, p, p .r8)'
    !else
      System::Call '*$9(i, i, p, p, p, p, p, i, p, p, p, p, i, p, p .r8)'
    !endif
    ${If} $8 != 0
      HideWindow
      System::Call 'kernel32::WaitForSingleObject(p r8, i -1)'
      System::Call 'kernel32::GetExitCodeProcess(p r8, *i .r0)'
      System::Call 'kernel32::CloseHandle(p r8)'
    ${EndIf}
  ${EndIf}
  System::Free $9
!macroend

; The same from the start of a run that cannot go on without the rights:
; this copy ends either way, with the elevated copy's exit code, or with
; "access denied" when none was started or it was started in vain.
!macro RunAsAdministratorAndQuit PROGRAM OPTIONS
  ${GetParameters} $3
  ClearErrors
  ${GetOptions} $3 "/Elevated" $4
  ${If} ${Errors}
    !insertmacro RunAsAdministrator "${PROGRAM}" "${OPTIONS}"
  ${Else}
    StrCpy $0 ""
  ${EndIf}
  ${If} $0 == ""
    MessageBox MB_OK|MB_ICONSTOP "$(NeedAdmin)" /SD IDOK
    StrCpy $0 ${EXIT_NO_RIGHTS}
  ${EndIf}
  SetErrorLevel $0
  Quit
!macroend

; Nothing is changed while a scrivlet runs: files in use cannot be replaced
; and an uninstall would leave them behind. The user closes it and retries,
; or cancels; a silent run ends at once with EXIT_RUNNING.
!macro DefineCloseRunningCopies PREFIX
  Function ${PREFIX}CloseRunningCopies
    retry:
      FindWindow $0 "scrivletClass"
      StrCmp $0 0 none_running
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(CloseRunning)" /SD IDCANCEL IDRETRY retry
      SetErrorLevel ${EXIT_RUNNING}
      Quit
    none_running:
  FunctionEnd
!macroend
!insertmacro DefineCloseRunningCopies ""
!insertmacro DefineCloseRunningCopies "un."

; The Finish page's Run: an elevated installer hands the start to Explorer,
; so that the program runs as the user and not as the administrator.
Function RunAsUser
  Call IsAdministrator
  Pop $0
  ${If} $0 == 1
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\scrivlet.exe"'
  ${Else}
    Exec '"$INSTDIR\scrivlet.exe"'
  ${EndIf}
FunctionEnd

Function ChooseCurrentUser
  StrCpy $AllUsers 0
  SetShellVarContext current
  GetKnownFolderPath $INSTDIR {5CD7AEE2-2219-4A67-B85D-6C9CE15660CB} ; UserProgramFiles
  ${If} $INSTDIR == ""
    StrCpy $INSTDIR "$LOCALAPPDATA\Programs"
  ${EndIf}
  ; Both architectures share the user's program folder: the 32-bit program
  ; has a folder name of its own.
  !if "${ARCH}" == "x86_64"
    StrCpy $INSTDIR "$INSTDIR\scrivlet"
  !else
    StrCpy $INSTDIR "$INSTDIR\scrivlet (32-bit)"
  !endif
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

; An update goes where the earlier installation of the same mode and
; architecture is; a folder given on the command line wins over both.
Function UseEarlierFolder
  ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ReadRegStr $1 SHCTX "${UNINSTALL_KEY}" "Architecture"
  ${If} $0 != ""
  ${AndIf} $1 == "${ARCH}"
    StrCpy $INSTDIR $0
  ${EndIf}
  ${If} $CommandLineDir != ""
    StrCpy $INSTDIR $CommandLineDir
  ${EndIf}
FunctionEnd

; Pushes 1 when the process has administrator rights, else 0. A test build
; (-DPRETEND_NOT_ADMINISTRATOR) has them only once restarted with /Elevated,
; so that the restart can be tried where every user is an administrator.
!macro DefineIsAdministrator PREFIX
  Function ${PREFIX}IsAdministrator
    !ifdef PRETEND_NOT_ADMINISTRATOR
      ${GetParameters} $0
      ClearErrors
      ${GetOptions} $0 "/Elevated" $0
      ${If} ${Errors}
        Push 0
        Return
      ${EndIf}
    !endif
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

; A downgrade only when the user agrees; a silent run refuses it.
Function RefuseDowngrade
  ReadRegStr $R1 HKLM "${UNINSTALL_KEY}" "DisplayVersion"
  ReadRegStr $R2 HKCU "${UNINSTALL_KEY}" "DisplayVersion"
  ${If} $R1 == ""
    StrCpy $R1 $R2
  ${ElseIf} $R2 != ""
    ${VersionCompare} $R2 $R1 $0
    ${If} $0 == 1
      StrCpy $R1 $R2
    ${EndIf}
  ${EndIf}
  ${If} $R1 == ""
    Return
  ${EndIf}
  ${VersionCompare} $R1 "${VERSION}" $0
  ${If} $0 == 1
    MessageBox MB_YESNO|MB_ICONQUESTION "$(Downgrade)" /SD IDNO IDYES agreed
    SetErrorLevel ${EXIT_NEWER_INSTALLED}
    Quit
  agreed:
  ${EndIf}
FunctionEnd

; Removes the installation listed under ROOT unless it is the one this run
; updates in place (same mode, architecture and folder). Its uninstaller runs
; silently in its folder (_?=) so that it can be waited for; it keeps the
; user's settings. Ends the run when the entry is still there afterwards.
!macro RemoveOtherInstallation ROOT MODE
  ReadRegStr $R1 ${ROOT} "${UNINSTALL_KEY}" "InstallLocation"
  ReadRegStr $R2 ${ROOT} "${UNINSTALL_KEY}" "Architecture"
  ${If} $R1 != ""
  ${AndIf} "${MODE}$R2$R1" != "$AllUsers${ARCH}$INSTDIR"
    ExecWait '"$R1\uninstall.exe" /S _?=$R1'
    ; Run in place, the uninstaller cannot delete itself.
    Delete "$R1\uninstall.exe"
    RMDir "$R1"
    ClearErrors
    EnumRegValue $R2 ${ROOT} "${UNINSTALL_KEY}" 0
    ${IfNot} ${Errors}
      MessageBox MB_OK|MB_ICONSTOP "$(OtherRemains)" /SD IDOK
      SetErrorLevel ${EXIT_OTHER_REMAINS}
      Quit
    ${EndIf}
  ${EndIf}
!macroend

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
      ; The folder given with /D= is not among the parameters any more.
      ${If} $CommandLineDir != ""
        StrCpy $1 "$1 /D=$CommandLineDir"
      ${EndIf}
      !insertmacro RunAsAdministratorAndQuit "$EXEPATH" "$1"
    ${EndIf}
    Call ChooseAllUsers
  ${EndIf}
  Call CloseRunningCopies
  Call RefuseDowngrade
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
  ; Start again with administrator rights, straight on this choice; this
  ; copy waits out of sight and ends with the other's exit code.
  !insertmacro RunAsAdministrator "$EXEPATH" "/AllUsers"
  ${If} $0 == ""
    MessageBox MB_OK|MB_ICONEXCLAMATION "$(NeedAdmin)"
    Abort
  ${EndIf}
  SetErrorLevel $0
  Quit
FunctionEnd

Section "$(ProgramSection)" ProgramSection
  SectionIn RO
  ; Checked again: the pages leave time to start one.
  Call CloseRunningCopies
  !insertmacro RemoveOtherInstallation HKCU 0
  !insertmacro RemoveOtherInstallation HKLM 1
  SetOutPath "$INSTDIR"
  File "${STAGE}\scrivlet.exe"
  File "${STAGE}\scrivlet.html"
  File "${STAGE}\LICENSE.txt"
  File "${STAGE}\LICENSE-uchardet.txt"
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

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${DISPLAY_NAME}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Architecture" "${ARCH}"
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
  Call un.CloseRunningCopies
  Delete "$INSTDIR\scrivlet.exe"
  Delete "$INSTDIR\scrivlet.html"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\LICENSE-uchardet.txt"
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
      ; This copy of the uninstaller, run in place in the folder.
      ${GetParameters} $1
      !insertmacro RunAsAdministratorAndQuit "$EXEPATH" "$1 _?=$INSTDIR"
    ${EndIf}
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
  Call un.CloseRunningCopies
  ${GetParameters} $1
  ClearErrors
  ${GetOptions} $1 "/RemoveSettings" $2
  ${IfNot} ${Errors}
    SectionSetFlags ${SettingsSection} ${SF_SELECTED}
  ${EndIf}
FunctionEnd
