; The Windows installer: the window, the command-line tool and their papers,
; for the user alone or for everyone, with a Start-menu entry, "Open with"
; for programs and icons, and an uninstaller that takes it all away again.
; scripts/package-windows.sh runs it:
;
;   makensis -DVERSION=1.0.0 -DFILES=<folder of the files> -DOUTFILE=<setup.exe>
;            -DNAME_EN=<the product title> -DNAME_ZH=<its Chinese> orvu-icons.nsi
;
; /S installs silently, for everyone where the user may, otherwise for the
; user (/CurrentUser or /AllUsers choose); the uninstaller takes /S too.

; A 64-bit installer, as the programs it installs are.
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma

!define KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\OrvuIcons"
!define OPEN_WITH "Software\Classes\Applications\orvu-icons.exe"
!define SETTINGS "Software\Orvu\orvu-icons"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "Orvu Icons"
!define MULTIUSER_USE_PROGRAMFILES64
!include MultiUser.nsh
!include MUI2.nsh

Name "$(ProductName)"
OutFile "${OUTFILE}"
BrandingText "$(ProductName) ${VERSION}"
!define MUI_ICON "${FILES}\orvu-icons.ico"
!define MUI_UNICON "${FILES}\orvu-icons.ico"

!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\orvu-icons.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The installer speaks the user's language where it is one of these.
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"
LangString ProductName ${LANG_SIMPCHINESE} "${NAME_ZH}"
LangString ProductName ${LANG_ENGLISH} "${NAME_EN}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${NAME_EN}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${NAME_EN} setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "Orvu"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (C) Orvu"

Function .onInit
    !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
    !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section
    SetOutPath "$INSTDIR"
    File "${FILES}\orvu-icons.exe"
    File "${FILES}\orvu-icons-cli.exe"
    File "${FILES}\orvu-icons.ico"
    File "${FILES}\README.txt"
    File "${FILES}\LICENSE.txt"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    CreateShortcut "$SMPROGRAMS\$(ProductName).lnk" "$INSTDIR\orvu-icons.exe"

    WriteRegStr SHCTX "${KEY}" "DisplayName" "$(ProductName)"
    WriteRegStr SHCTX "${KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${KEY}" "Publisher" "Orvu"
    WriteRegStr SHCTX "${KEY}" "DisplayIcon" "$INSTDIR\orvu-icons.exe"
    WriteRegStr SHCTX "${KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
    WriteRegStr SHCTX "${KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
    WriteRegDWORD SHCTX "${KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${KEY}" "NoRepair" 1

    ; "Open with" offers the window for programs, libraries, icons and cursors.
    WriteRegStr SHCTX "${OPEN_WITH}" "FriendlyAppName" "$(ProductName)"
    WriteRegStr SHCTX "${OPEN_WITH}\shell\open\command" "" '"$INSTDIR\orvu-icons.exe" "%1"'
    WriteRegStr SHCTX "${OPEN_WITH}\SupportedTypes" ".exe" ""
    WriteRegStr SHCTX "${OPEN_WITH}\SupportedTypes" ".dll" ""
    WriteRegStr SHCTX "${OPEN_WITH}\SupportedTypes" ".ico" ""
    WriteRegStr SHCTX "${OPEN_WITH}\SupportedTypes" ".cur" ""
    WriteRegStr SHCTX "${OPEN_WITH}\SupportedTypes" ".ani" ""
SectionEnd

Section Uninstall
    Delete "$INSTDIR\orvu-icons.exe"
    Delete "$INSTDIR\orvu-icons-cli.exe"
    Delete "$INSTDIR\orvu-icons.ico"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\$(ProductName).lnk"
    DeleteRegKey SHCTX "${KEY}"
    DeleteRegKey SHCTX "${OPEN_WITH}"
    ; The one choice the window remembers.
    DeleteRegKey HKCU "${SETTINGS}"
    DeleteRegKey /ifempty HKCU "Software\Orvu"
SectionEnd
