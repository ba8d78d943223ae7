; Trellane's installer: a per-user installation (no administrator rights) into
; %LOCALAPPDATA%\Programs\Trellane, a Start-menu shortcut, an optional startup shortcut and an
; uninstaller registered for the current user. Texts are Japanese.
;
; Built by the build (packaging/packaging.cmake) with
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.2.3 -DVERSION_QUAD=1.2.3.0 -DDIST=<32-bit dist folder>
;            [-DDIST64=<x64 dist folder>] -DSOURCE=<source tree> -DOUTFILE=<...>/Trellane-1.2.3-setup.exe
;            trellane.nsi
; With DIST64 the one setup file carries both editions: the x64 edition
; is installed on 64-bit Windows, the 32-bit edition elsewhere.
;
; Command line of the installer: /S silent, /D=<folder> installation folder (last, unquoted),
;   /STARTUP also create the startup shortcut (the default is not to, as in the program's panel).
; Command line of the uninstaller: /S silent (the settings file and an edited exclusion list are
;   kept), /REMOVESETTINGS delete the settings file trellane.ini and an edited exclusion list too,
;   without asking.
Unicode true
ManifestSupportedOS all
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!macro REQUIRE name
  !ifndef ${name}
    !error "makensis -D${name}=... is missing"
  !endif
!macroend
!insertmacro REQUIRE VERSION
!insertmacro REQUIRE VERSION_QUAD
!insertmacro REQUIRE DIST
!insertmacro REQUIRE SOURCE
!insertmacro REQUIRE OUTFILE

!define PRODUCT "Trellane"
!define PUBLISHER "Trellane 開発チーム"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Trellane"
!define MAIN_WINDOW_CLASS "TfrmTrellane"
; The same name that the panel's start-up check box writes and deletes.
!define STARTUP_LINK "$SMSTARTUP\trellane.lnk"
!define MENU_LINK "$SMPROGRAMS\Trellane.lnk"
!define UNINSTALLER "uninstall.exe"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Trellane"
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
!include WinMessages.nsh
!include x64.nsh

!define MUI_ICON "${SOURCE}/app/res/trellane.ico"
!define MUI_UNICON "${SOURCE}/app/res/trellane.ico"
!define MUI_ABORTWARNING
; The list as wide as the page, so that the start-up option's long name is not cut; its description
; below it.
!define MUI_COMPONENTSPAGE_SMALLDESC

!insertmacro MUI_PAGE_COMPONENTS
; Trellane saves its settings beside itself, so the folder must stay writable for the user.
!define MUI_DIRECTORYPAGE_TEXT_TOP "$(DirTop)"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\trellane.exe"
!define MUI_FINISHPAGE_RUN_TEXT "$(RunNow)"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\ReadMe.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "$(ShowManual)"
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "$(UnConfirmTop)"
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Japanese"

LangString SecMain ${LANG_JAPANESE} "Trellane 本体"
LangString SecStartupName ${LANG_JAPANESE} "Windowsの起動時に自動的に常駐する"
LangString DescMain ${LANG_JAPANESE} "本体（trellane.exe）、マウス操作を受け取る部品（tools フォルダ）、除外リスト、説明書（ReadMe.txt）です。"
LangString DescStartup ${LANG_JAPANESE} "サインインのたびに Trellane を起動します。パネルを出さずに起動するには、パネルの「起動時に自動的に常駐する」もオンにしてください。"
LangString DirTop ${LANG_JAPANESE} "Trellane を次のフォルダにインストールします。Trellane は設定を trellane.exe と同じフォルダに保存するため、管理者の権限なしで書き込めるフォルダを選んでください（通常はこのままでかまいません）。「Program Files」の中などでは設定を保存できません。$_CLICK"
LangString RunNow ${LANG_JAPANESE} "Trellane を起動する"
LangString ShowManual ${LANG_JAPANESE} "説明書（ReadMe.txt）を表示する"
LangString MsgClose ${LANG_JAPANESE} "Trellane が起動しています。$\r$\n$\r$\n［OK］を押すと、Trellane を終了してからインストールを続けます。折りたたんだウィンドウは元に戻り、設定は保存されます。$\r$\n［キャンセル］を押すと、何も変えずにインストールを中止します。"
LangString MsgCannotClose ${LANG_JAPANESE} "Trellane を終了できませんでした。$\r$\nTrellane がメッセージを表示していたら、それを閉じてから［再試行］を押してください。$\r$\n［キャンセル］を押すと中止します。"
LangString UnConfirmTop ${LANG_JAPANESE} "Trellane をこのコンピュータから削除します。起動中の Trellane は先に終了します。そのとき、折りたたんだウィンドウは元に戻り、設定は保存されます。設定ファイルと、書き換えた除外リストを残すかどうかは、このあとお尋ねします。"
LangString MsgRemoveSettings ${LANG_JAPANESE} "Trellane の設定ファイル（trellane.ini）も削除しますか？$\r$\n［いいえ］を押すと残します。もう一度インストールしたときに、その設定がそのまま使われます。"
LangString MsgRemoveList ${LANG_JAPANESE} "除外リスト（tools\除外リスト.txt）は、インストールされたときから書き換えられています。$\r$\nこの除外リストも削除しますか？$\r$\n［いいえ］を押すと残します。もう一度インストールしたときに、そのまま使われます。"

VIProductVersion "${VERSION_QUAD}"
VIFileVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileDescription" "${PRODUCT} セットアップ"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "LegalCopyright" "Copyright (C) ${PUBLISHER}"

Var RemoveSettings
Var WasRunning

; Quits every running Trellane as its close box does: WM_CLOSE to the main window, which unfolds
; the folded windows and writes the settings file; then waits for the process to end.
!macro DEFINE_CLOSE_TRELLANE un
Function ${un}CloseTrellane
  Push $0
  Push $1
  Push $2
  Push $3
  Push $4
  loop:
    FindWindow $0 "${MAIN_WINDOW_CLASS}"
    StrCmp $0 0 done
    StrCpy $WasRunning 1
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1)'
    ; SYNCHRONIZE: enough to wait for the process.
    System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r1) p .r2'
    System::Call 'user32::PostMessageW(p r0, i ${WM_CLOSE}, p 0, p 0)'
    StrCpy $3 1
    ${If} $2 <> 0
      System::Call 'kernel32::WaitForSingleObject(p r2, i 20000) i .r3'
      System::Call 'kernel32::CloseHandle(p r2)'
    ${Else}
      ; No handle on the process: wait for its window to go instead.
      ${For} $4 1 200
        System::Call 'user32::IsWindow(p r0) i .r3'
        ${IfThen} $3 = 0 ${|} ${Break} ${|}
        Sleep 100
      ${Next}
    ${EndIf}
    StrCmp $3 0 loop
    ; Still running (a message box of its own may be waiting for the user).
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(MsgCannotClose)" /SD IDCANCEL IDRETRY loop
    Pop $4
    Pop $3
    Pop $2
    Pop $1
    Pop $0
    Abort
  done:
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro DEFINE_CLOSE_TRELLANE ""
!insertmacro DEFINE_CLOSE_TRELLANE "un."

; After Trellane has quit, other programs may keep a hook library loaded for a moment: Windows
; unloads it from each of them as they next handle a message, which a broadcast WM_NULL prompts.
; Waits up to three seconds for it to become free; a copy still in use is moved out of the folder
; into the temporary folder and left to be deleted at the next restart.
!macro REMOVE_HOOK_LIBRARY file
  Push $0
  Push $1
  ${For} $0 1 12
    Delete "$INSTDIR\tools\${file}"
    ${IfNot} ${FileExists} "$INSTDIR\tools\${file}"
      ${Break}
    ${EndIf}
    ${If} $0 = 1
      ; SMTO_ABORTIFHUNG, one second at most for each window.
      System::Call 'user32::SendMessageTimeoutW(p ${HWND_BROADCAST}, i ${WM_NULL}, p 0, p 0, i 2, i 1000, *p .r1)'
    ${EndIf}
    Sleep 250
  ${Next}
  ${If} ${FileExists} "$INSTDIR\tools\${file}"
    GetTempFileName $0
    Delete $0
    Rename "$INSTDIR\tools\${file}" $0
    Delete /REBOOTOK $0
  ${EndIf}
  Pop $1
  Pop $0
!macroend

Section "$(SecMain)" SecMainId
  SectionIn RO
  FindWindow $0 "${MAIN_WINDOW_CLASS}"
  ${If} $0 <> 0
    MessageBox MB_OKCANCEL|MB_ICONINFORMATION "$(MsgClose)" /SD IDOK IDOK +2
    Abort
    Call CloseTrellane
  ${EndIf}

  SetOutPath "$INSTDIR\tools"
  !insertmacro REMOVE_HOOK_LIBRARY Vellum.dll
  ; Earlier x64 releases shipped a 32-bit helper beside the hook; an update takes it away.
  !insertmacro REMOVE_HOOK_LIBRARY Vellum32.dll
  Delete "$INSTDIR\tools\VellumHost32.exe"
  SetOutPath "$INSTDIR"
!ifdef DIST64
  ${If} ${RunningX64}
    File "${DIST64}/trellane.exe"
    File "${DIST64}/ReadMe.txt"
    SetOutPath "$INSTDIR\tools"
    File "${DIST64}/tools/Vellum.dll"
  ${Else}
!endif
    File "${DIST}/trellane.exe"
    File "${DIST}/ReadMe.txt"
    SetOutPath "$INSTDIR\tools"
    File "${DIST}/tools/Vellum.dll"
!ifdef DIST64
  ${EndIf}
!endif
  ; A list the user has edited is kept.
  SetOverwrite off
  File "${DIST}/tools/除外リスト.txt"
  SetOverwrite on
  SetOutPath "$INSTDIR"

  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "${MENU_LINK}" "$INSTDIR\trellane.exe"

  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\trellane.exe,0"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K /G=1" $0 $1 $2
  WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" $0
SectionEnd

Section /o "$(SecStartupName)" SecStartupId
  CreateShortcut "${STARTUP_LINK}" "$INSTDIR\trellane.exe"
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecMainId} "$(DescMain)"
  !insertmacro MUI_DESCRIPTION_TEXT ${SecStartupId} "$(DescStartup)"
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Section "-Restart"
  ; A silent update brings back the Trellane it had to quit.
  ${If} ${Silent}
  ${AndIf} $WasRunning == 1
    Exec '"$INSTDIR\trellane.exe"'
  ${EndIf}
SectionEnd

Function .onInit
  StrCpy $WasRunning 0
  ; Keep the startup shortcut preselected when it exists already (an update).
  ${If} ${FileExists} "${STARTUP_LINK}"
    !insertmacro SelectSection ${SecStartupId}
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/STARTUP" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecStartupId}
  ${EndIf}
FunctionEnd

Function un.onInit
  StrCpy $RemoveSettings 0
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    StrCpy $RemoveSettings 1
  ${EndIf}
FunctionEnd

; $R0 := 1 when the two files hold the same bytes, else 0 (also when one cannot be read).
Function un.SameBytes
  Exch $1 ; second file
  Exch
  Exch $0 ; first file
  Push $2
  Push $3
  Push $4
  Push $5
  StrCpy $R0 0
  ClearErrors
  FileOpen $2 $0 r
  IfErrors done
  FileOpen $3 $1 r
  IfErrors close_first
  loop:
    ClearErrors
    FileReadByte $2 $4
    IfErrors first_ended
    FileReadByte $3 $5
    IfErrors close_both
    StrCmp $4 $5 loop close_both
  first_ended:
    ClearErrors
    FileReadByte $3 $5
    IfErrors 0 close_both
    StrCpy $R0 1
  close_both:
    FileClose $3
  close_first:
    FileClose $2
  done:
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $0
  Pop $1
FunctionEnd

; The exclusion list as shipped goes with the program. One the user has changed is theirs, as the
; installer treats it: kept when silent, asked about otherwise, deleted with /REMOVESETTINGS.
Function un.RemoveExclusionList
  ${IfNot} ${FileExists} "$INSTDIR\tools\除外リスト.txt"
    Return
  ${EndIf}
  InitPluginsDir
  File "/oname=$PLUGINSDIR\shipped-list.txt" "${DIST}/tools/除外リスト.txt"
  Push "$INSTDIR\tools\除外リスト.txt"
  Push "$PLUGINSDIR\shipped-list.txt"
  Call un.SameBytes
  ${If} $R0 == 1
  ${OrIf} $RemoveSettings == 1
    Delete "$INSTDIR\tools\除外リスト.txt"
    Return
  ${EndIf}
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "$(MsgRemoveList)" /SD IDNO IDNO +2
  Delete "$INSTDIR\tools\除外リスト.txt"
FunctionEnd

Section "Uninstall"
  Call un.CloseTrellane

  Delete "${STARTUP_LINK}"
  Delete "${MENU_LINK}"
  Delete "$INSTDIR\trellane.exe"
  Delete "$INSTDIR\ReadMe.txt"
  Call un.RemoveExclusionList
  !insertmacro REMOVE_HOOK_LIBRARY Vellum.dll
  !insertmacro REMOVE_HOOK_LIBRARY Vellum32.dll
  Delete "$INSTDIR\tools\VellumHost32.exe"
  ; Only when empty: an exclusion list the user keeps stays.
  RMDir "$INSTDIR\tools"

  ; Written by Trellane when it quits (also just now, if it was running).
  ${If} ${FileExists} "$INSTDIR\trellane.ini"
    ${If} $RemoveSettings == 1
      Delete "$INSTDIR\trellane.ini"
    ${Else}
      MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "$(MsgRemoveSettings)" /SD IDNO IDNO +2
      Delete "$INSTDIR\trellane.ini"
    ${EndIf}
  ${EndIf}

  Delete "$INSTDIR\${UNINSTALLER}"
  ; Only when empty: the settings file, the exclusion list and anything the user put there stay.
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINST_KEY}"
SectionEnd
