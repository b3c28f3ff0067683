; Tolvane's setup program for Windows, made by the windows-setup target
; (cmake/WindowsSetup.cmake), which defines VERSION, VERSION4, PUBLISHER, ICON,
; OUTFILE and WORK (the lists of files it wrote from the zip's folder).
;
; For the current user by default, with no administrator rights, into
; %LOCALAPPDATA%\Programs\Tolvane; with /ALLUSERS (and rights) for every user,
; into %ProgramFiles%\Tolvane. Run with rights, a page offers the choice. Silent with /S; /D=folder, last, names the
; folder. Run again, it upgrades in place: one entry in Settings -> Apps.
; The uninstaller never touches the records in Documents\Tolvane.

; The programs are 64-bit, and so is the setup (Wine without 32-bit support runs it).
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include nsDialogs.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tolvane"
!define MENU "$SMPROGRAMS\Tolvane"
!define SHORTCUT_MAIN "Tolvane ふりこの周期.lnk"
!define SHORTCUT_DEMO "Tolvane デモ (Perix なし).lnk"
!define SHORTCUT_SETTINGS "設定ファイル (Tv.txt).lnk"
!define SHORTCUT_README "はじめにお読みください (README).lnk"

Name "Tolvane"
OutFile "${OUTFILE}"
BrandingText "Tolvane ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION4}"
VIFileVersion "${VERSION4}"
VIAddVersionKey /LANG=1041 "ProductName" "Tolvane"
VIAddVersionKey /LANG=1041 "FileDescription" "Tolvane ${VERSION} セットアップ"
VIAddVersionKey /LANG=1041 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "Copyright (c) 2026 the Tolvane developers. MIT License."
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "ProductVersion" "${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "ふりこの周期を計るプログラム Tolvane ${VERSION} をこのパソコンに入れます。$\r$\n$\r$\n管理者の権限はいりません。いま使っているユーザーのために入り、スタート メニューの「Tolvane」から起動できるようになります。$\r$\n$\r$\n「ドキュメント」の Tolvane フォルダーの記録はそのまま残ります。"
!insertmacro MUI_PAGE_WELCOME
Page custom ShowUsersPage LeaveUsersPage
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "装置なしのデモを起動する"
!define MUI_FINISHPAGE_RUN_FUNCTION StartDemo
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

Var AllUsers   ; 1: for every user of the computer
Var Admin      ; 1: run with administrator rights
Var FolderGiven ; 1: /D= named the folder
Var ForMe
Var ForAll

Function .onInit
    StrCpy $AllUsers 0
    StrCpy $FolderGiven 0
    ${If} $INSTDIR != ""
        StrCpy $FolderGiven 1
    ${EndIf}
    UserInfo::GetAccountType
    Pop $0
    StrCpy $Admin 0
    ${If} $0 == "Admin"
        StrCpy $Admin 1
    ${EndIf}
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/ALLUSERS" $1
    ${IfNot} ${Errors}
        ${If} $Admin != 1
            MessageBox MB_ICONSTOP "すべてのユーザーのために入れるには、管理者として実行してください。" /SD IDOK
            SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
            Quit
        ${EndIf}
        StrCpy $AllUsers 1
    ${EndIf}
    Call UseMode
FunctionEnd

; The shell folders and registry of the mode chosen, and its folder: /D= wins,
; then the folder of an earlier install (upgraded in place), then the default.
Function UseMode
    ${If} $AllUsers = 1
        SetShellVarContext all
    ${Else}
        SetShellVarContext current
    ${EndIf}
    ${If} $FolderGiven = 1
        Return
    ${EndIf}
    ReadRegStr $INSTDIR SHCTX "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $INSTDIR == ""
        ${If} $AllUsers = 1
            StrCpy $INSTDIR "$PROGRAMFILES64\Tolvane"
        ${Else}
            StrCpy $INSTDIR "$LOCALAPPDATA\Programs\Tolvane"
        ${EndIf}
    ${EndIf}
FunctionEnd

; Only with rights: for this user or for every user of the computer.
Function ShowUsersPage
    ${If} $Admin != 1
        Abort
    ${EndIf}
    !insertmacro MUI_HEADER_TEXT "使う人" "Tolvane をだれのために入れるか選んでください。"
    nsDialogs::Create 1018
    Pop $0
    ${NSD_CreateRadioButton} 0 10u 100% 24u "いま使っているユーザーだけ$\r$\n(ユーザーの AppData\Local\Programs\Tolvane)"
    Pop $ForMe
    ${NSD_CreateRadioButton} 0 44u 100% 24u "このパソコンのすべてのユーザー$\r$\n($PROGRAMFILES64\Tolvane)"
    Pop $ForAll
    ${If} $AllUsers = 1
        ${NSD_Check} $ForAll
    ${Else}
        ${NSD_Check} $ForMe
    ${EndIf}
    nsDialogs::Show
FunctionEnd

Function LeaveUsersPage
    ${NSD_GetState} $ForAll $0
    ${If} $0 = ${BST_CHECKED}
        StrCpy $AllUsers 1
    ${Else}
        StrCpy $AllUsers 0
    ${EndIf}
    Call UseMode
FunctionEnd

; Started in the install folder, where Tv.txt is, as the shortcuts are.
Function StartDemo
    SetOutPath "$INSTDIR"
    Exec '"$INSTDIR\tolvane-demo.exe"'
FunctionEnd

Section
    !include /CHARSET=UTF8 "${WORK}/install-files.nsh"

    ; The settings file, all comments; a teacher's own stays as it is.
    SetOutPath "$INSTDIR"
    SetOverwrite off
    File "Tv.txt"
    SetOverwrite on
    WriteUninstaller "$INSTDIR\uninstall.exe"

    ; Each program starts in the install folder ($OUTDIR), where Tv.txt is.
    SetOutPath "$INSTDIR"
    CreateDirectory "${MENU}"
    CreateShortcut "${MENU}\${SHORTCUT_MAIN}" "$INSTDIR\tolvane.exe"
    CreateShortcut "${MENU}\${SHORTCUT_DEMO}" "$INSTDIR\tolvane-demo.exe"
    CreateShortcut "${MENU}\${SHORTCUT_SETTINGS}" "$WINDIR\notepad.exe" '"$INSTDIR\Tv.txt"'
    CreateShortcut "${MENU}\${SHORTCUT_README}" "$INSTDIR\README.txt"

    ; The entry in Settings -> Apps, in HKCU or, for all users, HKLM.
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Tolvane"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tolvane.exe,0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Installed for all users when the machine's entry names this folder.
Function un.onInit
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 == $INSTDIR
        SetShellVarContext all
    ${EndIf}
FunctionEnd

; What the setup put in, and nothing else: Documents\Tolvane is the teacher's.
Section "Uninstall"
    !include /CHARSET=UTF8 "${WORK}/uninstall-files.nsh"
    Delete "$INSTDIR\Tv.txt"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    Delete "${MENU}\${SHORTCUT_MAIN}"
    Delete "${MENU}\${SHORTCUT_DEMO}"
    Delete "${MENU}\${SHORTCUT_SETTINGS}"
    Delete "${MENU}\${SHORTCUT_README}"
    RMDir "${MENU}"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
