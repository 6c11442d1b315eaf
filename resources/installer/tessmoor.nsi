; Tessmoor's installer, for makensis (NSIS 3) with /INPUTCHARSET UTF8.
;
; Defines given on the command line:
;   VERSION   the product version, e.g. 1.2.2
;   OUTFILE   the installer to write
;   ICON      the application icon (.ico)
;   WIZARD    the welcome and finish pages' picture (164 x 314 BMP); optional
;   CHM       the help file
;   SCR64     the x86_64 Tessmoor.scr   } a release has both; a build folder's test installer
;   SCR32     the i686 Tessmoor.scr     } has the one module it built
;
; It puts the module that fits the system, and the help file beside it, where Windows looks for
; screen savers: the 64-bit System32 folder on 64-bit Windows (the installer itself is 32-bit, so
; file-system redirection is switched off around every access), System32 on 32-bit Windows. The
; uninstaller lives in Program Files\Tessmoor and is registered in "Apps and features".
;
; Silent use: /S, with /SETACTIVE=1 (make Tessmoor the current screen saver) and /OPENSETTINGS=1
; (open the screen-saver settings at the end); both are off unless given. The uninstaller takes /S
; and /REMOVESETTINGS=1 (remove the user's Tessmoor settings without asking). Exit code 2 means the
; installer holds no module for this system.

!ifndef VERSION | OUTFILE | ICON | CHM
  !error "VERSION, OUTFILE, ICON and CHM must be defined"
!endif
!ifndef SCR64
  !ifndef SCR32
    !error "at least one of SCR64 and SCR32 must be defined"
  !endif
!endif

Unicode true
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include MUI2.nsh
!include x64.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include nsDialogs.nsh

!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessmoor"
!define DESKTOP_KEY "Control Panel\Desktop"
!define SETTINGS_PARENT "Software\Quorvane"
!define SETTINGS_KEY "Software\Quorvane\ScreenSaver\LumivaleReg"
!define PUBLISHER "The Tessmoor developers"
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATE_AND_SEND 3

Name "Tessmoor ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Tessmoor"
BrandingText "Tessmoor ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"

Var SetActive       ; "1": make Tessmoor the current screen saver
Var OpenSettings    ; "1": open the screen-saver settings at the end
Var RemoveSettings  ; uninstaller: "1" remove, "0" keep, "" ask
Var ScrPath         ; the installed module, as Windows' screen-saver key names it
Var SetActiveBox
Var OpenSettingsBox

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!ifdef WIZARD
  !define MUI_WELCOMEFINISHPAGE_BITMAP "${WIZARD}"
  !define MUI_UNWELCOMEFINISHPAGE_BITMAP "${WIZARD}"
!endif

!insertmacro MUI_PAGE_WELCOME
Page custom OptionsPage OptionsPageLeave
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; English first: a system in neither language gets English; Japanese systems get Japanese.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Tessmoor"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Tessmoor screen saver setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "The Tessmoor developers"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductName" "Tessmoor"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileDescription" "Tessmoor スクリーン セーバーのセットアップ"
VIAddVersionKey /LANG=${LANG_JAPANESE} "CompanyName" "Tessmoor の開発者"
VIAddVersionKey /LANG=${LANG_JAPANESE} "LegalCopyright" "Tessmoor の開発者"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductVersion" "${VERSION}"

LangString OptionsTitle ${LANG_ENGLISH} "Options"
LangString OptionsTitle ${LANG_JAPANESE} "オプション"
LangString OptionsSubtitle ${LANG_ENGLISH} "What should happen after Tessmoor is installed?"
LangString OptionsSubtitle ${LANG_JAPANESE} "インストールの後に行うことを選んでください。"
LangString OptionSetActive ${LANG_ENGLISH} "Make Tessmoor the current screen saver"
LangString OptionSetActive ${LANG_JAPANESE} "Tessmoor を現在のスクリーン セーバーにする"
LangString OptionOpenSettings ${LANG_ENGLISH} "Open the screen saver settings at the end"
LangString OptionOpenSettings ${LANG_JAPANESE} "終了後にスクリーン セーバーの設定を開く"
LangString NoModule ${LANG_ENGLISH} "This installer holds no Tessmoor module for this edition of Windows (32-bit or 64-bit)."
LangString NoModule ${LANG_JAPANESE} "このインストーラーには、この Windows (32 ビットまたは 64 ビット) 用の Tessmoor がありません。"
LangString AskRemoveSettings ${LANG_ENGLISH} "Also remove your Tessmoor settings (registered photos, music and the other choices)?"
LangString AskRemoveSettings ${LANG_JAPANESE} "Tessmoor の設定 (登録した写真や音楽などの選択) も削除しますか?"

; The module's path for this system, with file-system redirection already considered: the
; 64-bit System32 on 64-bit Windows.
!macro SetScrPath
  ${If} ${RunningX64}
    StrCpy $ScrPath "$WINDIR\System32\Tessmoor.scr"
  ${Else}
    StrCpy $ScrPath "$SYSDIR\Tessmoor.scr"
  ${EndIf}
!macroend

; Sets $R1 to "1" or "0" from the switch $R2 on the command line $R0; leaves $R1 as it was when
; the switch is absent.
!macro ReadSwitch FN
  Function ${FN}
    ClearErrors
    ${GetOptions} $R0 $R2 $R3
    ${IfNot} ${Errors}
      ${If} $R3 == "1"
        StrCpy $R1 "1"
      ${Else}
        StrCpy $R1 "0"
      ${EndIf}
    ${EndIf}
  FunctionEnd
!macroend
!insertmacro ReadSwitch ReadSwitch
!insertmacro ReadSwitch un.ReadSwitch

Function .onInit
  ${If} ${RunningX64}
    !ifndef SCR64
      MessageBox MB_ICONSTOP "$(NoModule)" /SD IDOK
      SetErrorLevel 2
      Quit
    !endif
    SetRegView 64
    StrCpy $INSTDIR "$PROGRAMFILES64\Tessmoor"
  ${Else}
    !ifndef SCR32
      MessageBox MB_ICONSTOP "$(NoModule)" /SD IDOK
      SetErrorLevel 2
      Quit
    !endif
  ${EndIf}
  !insertmacro SetScrPath

  ; Interactive runs offer both, ticked; silent runs do only what they are told.
  StrCpy $SetActive "1"
  StrCpy $OpenSettings "1"
  ${If} ${Silent}
    StrCpy $SetActive "0"
    StrCpy $OpenSettings "0"
  ${EndIf}
  ${GetParameters} $R0
  StrCpy $R1 $SetActive
  StrCpy $R2 "/SETACTIVE="
  Call ReadSwitch
  StrCpy $SetActive $R1
  StrCpy $R1 $OpenSettings
  StrCpy $R2 "/OPENSETTINGS="
  Call ReadSwitch
  StrCpy $OpenSettings $R1
FunctionEnd

Function OptionsPage
  !insertmacro MUI_HEADER_TEXT "$(OptionsTitle)" "$(OptionsSubtitle)"
  nsDialogs::Create 1018
  Pop $0
  ${If} $0 == error
    Abort
  ${EndIf}
  ${NSD_CreateCheckbox} 0 10u 100% 12u "$(OptionSetActive)"
  Pop $SetActiveBox
  ${If} $SetActive == "1"
    ${NSD_Check} $SetActiveBox
  ${EndIf}
  ${NSD_CreateCheckbox} 0 30u 100% 12u "$(OptionOpenSettings)"
  Pop $OpenSettingsBox
  ${If} $OpenSettings == "1"
    ${NSD_Check} $OpenSettingsBox
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function OptionsPageLeave
  ${NSD_GetState} $SetActiveBox $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $SetActive "1"
  ${Else}
    StrCpy $SetActive "0"
  ${EndIf}
  ${NSD_GetState} $OpenSettingsBox $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $OpenSettings "1"
  ${Else}
    StrCpy $OpenSettings "0"
  ${EndIf}
FunctionEnd

Section "Tessmoor" SecMain
  SectionIn RO
  ${If} ${RunningX64}
    ${DisableX64FSRedirection}
    SetOutPath "$WINDIR\System32"
    !ifdef SCR64
      File "/oname=Tessmoor.scr" "${SCR64}"
    !endif
    File "/oname=Tessmoor.chm" "${CHM}"
    ${EnableX64FSRedirection}
  ${Else}
    SetOutPath "$SYSDIR"
    !ifdef SCR32
      File "/oname=Tessmoor.scr" "${SCR32}"
    !endif
    File "/oname=Tessmoor.chm" "${CHM}"
  ${EndIf}

  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  SectionGetSize ${SecMain} $0
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayName" "Tessmoor"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayIcon" "$ScrPath,0"
  WriteRegStr HKLM "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINST_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINST_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoRepair" 1

  ${If} $SetActive == "1"
    WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$ScrPath"
    WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
    ; Tells the running session, not only the next logon.
    System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_UPDATE_AND_SEND})'
  ${EndIf}
SectionEnd

Function .onInstSuccess
  ${If} $OpenSettings == "1"
    ; The 64-bit control panel: the 32-bit one would list the 32-bit screen savers only.
    ${DisableX64FSRedirection}
    Exec '"$WINDIR\System32\control.exe" desk.cpl,,@screensaver'
    ${EnableX64FSRedirection}
  ${EndIf}
FunctionEnd

Function un.onInit
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
  !insertmacro SetScrPath
  StrCpy $RemoveSettings ""
  ${GetParameters} $R0
  StrCpy $R1 ""
  StrCpy $R2 "/REMOVESETTINGS="
  Call un.ReadSwitch
  StrCpy $RemoveSettings $R1
FunctionEnd

Section "Uninstall"
  ; Windows may keep the short form of the path; both forms count as Tessmoor.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${DisableX64FSRedirection}
  GetFullPathName /SHORT $1 "$ScrPath"
  ${EnableX64FSRedirection}
  ${If} $0 != ""
    ${If} $0 == $ScrPath
    ${OrIf} $0 == $1
      DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
      System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 0, p 0, i ${SPIF_UPDATE_AND_SEND})'
    ${EndIf}
  ${EndIf}

  ${If} ${RunningX64}
    ${DisableX64FSRedirection}
    Delete "$WINDIR\System32\Tessmoor.scr"
    Delete "$WINDIR\System32\Tessmoor.chm"
    ${EnableX64FSRedirection}
  ${Else}
    Delete "$SYSDIR\Tessmoor.scr"
    Delete "$SYSDIR\Tessmoor.chm"
  ${EndIf}
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINST_KEY}"

  ${If} $RemoveSettings == ""
    MessageBox MB_YESNO|MB_ICONQUESTION "$(AskRemoveSettings)" /SD IDNO IDYES remove IDNO keep
    remove:
    StrCpy $RemoveSettings "1"
    keep:
  ${EndIf}
  ${If} $RemoveSettings == "1"
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "${SETTINGS_PARENT}\ScreenSaver"
    DeleteRegKey /ifempty HKCU "${SETTINGS_PARENT}"
  ${EndIf}
SectionEnd
