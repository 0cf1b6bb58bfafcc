; The Windows setup program of Lorix, built on Linux by makensis (scripts/package-windows.sh via
; the main build). Installs the recorder, the player, the help pages and the default mail texts
; for the current user (%LOCALAPPDATA%\Programs\Lorix, no administrator rights) or, chosen on
; the first page or by /AllUsers, for every user (Program Files). Adds the Start-menu entry, the
; entry under installed apps and the .lrx association; /S installs without questions.
;
; Defined by the caller: VERSION (four numbers), FILES (folder with the files to install),
; ICON (the program's icon), OUTFILE.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
; A file that cannot be replaced (a running Lorix) stops the installation instead of being left old.
AllowSkipFiles off

!define PRODUCT "Lorix"
!define PUBLISHER "LORIX"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lorix"
!define LRX_CLASS "Lorix.Aufnahme"
!define UNINSTALLER "Deinstallieren.exe"
; The recorder keeps its settings, temporary files and attachments in the user's folders, not
; beside itself, when this file is beside it.
!define INSTALLED_MARKER "Lorix.installed"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"

; Per user by default; per machine only on request and with the rights for it. "Highest" asks an
; administrator once, so that the choice on the first page is open to them; a user without rights
; starts without a question and installs for themselves.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INIT_TEXT_ADMINREQUIRED "Für diese Installation sind Administratorrechte nötig."
!define MULTIUSER_INIT_TEXT_POWERREQUIRED "Für diese Installation sind Administratorrechte nötig."
!define MULTIUSER_INIT_TEXT_ALLUSERSNOTPOSSIBLE "Ihr Benutzerkonto hat nicht die Rechte, ${PRODUCT} für alle Benutzer dieses Computers zu installieren."

!include MultiUser.nsh
!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\Lorix.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Lorix jetzt starten"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "German"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_GERMAN} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileDescription" "Einrichtung von ${PRODUCT}"
VIAddVersionKey /LANG=${LANG_GERMAN} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_GERMAN} "LegalCopyright" "${PUBLISHER}"

; The install mode's command-line switch for the uninstaller, so that it removes what this mode made.
Var ModeSwitch

Function .onInit
  ; A folder given by /D wins over the mode's default folder, which MULTIUSER_INIT sets.
  StrCpy $0 $INSTDIR
  !insertmacro MULTIUSER_INIT
  ${If} $0 != ""
    StrCpy $INSTDIR $0
  ${EndIf}
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

; Tells Explorer that the file associations changed.
!macro NotifyAssociationsChanged
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
!macroend

; An older Lorix in this mode goes first, by its own uninstaller, so that no file of it stays.
Function RemoveEarlierInstallation
  ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
  ${AndIf} ${FileExists} "$0\${UNINSTALLER}"
    ExecWait '"$0\${UNINSTALLER}" /S /$MultiUser.InstallMode _?=$0'
    Delete "$0\${UNINSTALLER}"
    RMDir "$0"
  ${EndIf}
FunctionEnd

Section "Lorix"
  Call RemoveEarlierInstallation
  StrCpy $ModeSwitch "/$MultiUser.InstallMode"

  SetOutPath "$INSTDIR"
  File "${FILES}\Lorix.exe"
  File "${FILES}\LorixPlayer.exe"
  File "${FILES}\Lorix-Hilfe.html"
  File "${FILES}\Lorix-Hilfe-Mail.html"
  File "${FILES}\MailTextMAPI.txt"
  File "${FILES}\MailTextSystem.txt"
  File "${FILES}\LIESMICH.txt"
  FileOpen $0 "$INSTDIR\${INSTALLED_MARKER}" w
  FileWrite $0 "${PRODUCT} ${VERSION}$\r$\n"
  FileClose $0
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  CreateShortcut "$SMPROGRAMS\Lorix.lnk" "$INSTDIR\Lorix.exe" "" "$INSTDIR\Lorix.exe" 0

  WriteRegStr SHCTX "Software\Classes\.lrx" "" "${LRX_CLASS}"
  WriteRegStr SHCTX "Software\Classes\${LRX_CLASS}" "" "LORIX-Sound-Datei"
  WriteRegStr SHCTX "Software\Classes\${LRX_CLASS}\DefaultIcon" "" '"$INSTDIR\LorixPlayer.exe",0'
  WriteRegStr SHCTX "Software\Classes\${LRX_CLASS}\shell\open\command" "" \
    '"$INSTDIR\LorixPlayer.exe" "%1"'
  !insertmacro NotifyAssociationsChanged

  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\Lorix.exe",0'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}" $ModeSwitch'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" \
    '"$INSTDIR\${UNINSTALLER}" /S $ModeSwitch'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Deletes a program file that may still be running: asks to end it and tries again, or stops
; the uninstallation with the files still whole (without questions: stops at once, exit code 2).
!macro DeleteProgramFile NAME
  ${Do}
    ClearErrors
    Delete "$INSTDIR\${NAME}"
    ${IfNot} ${Errors}
      ${Break}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "${NAME} läuft noch. Bitte Lorix und alle Lorix-Abspieler beenden und dann wiederholen." \
      /SD IDCANCEL IDRETRY +3
    SetErrorLevel 2
    Quit
  ${Loop}
!macroend

; Removes what the installer made, by name: whatever else is in the folder (a file the user put
; there) stays, and so does the folder then. Settings, recordings and attachments live in the
; user's folders and are not touched.
Section "Uninstall"
  !insertmacro DeleteProgramFile "Lorix.exe"
  !insertmacro DeleteProgramFile "LorixPlayer.exe"
  Delete "$INSTDIR\Lorix-Hilfe.html"
  Delete "$INSTDIR\Lorix-Hilfe-Mail.html"
  Delete "$INSTDIR\MailTextMAPI.txt"
  Delete "$INSTDIR\MailTextSystem.txt"
  Delete "$INSTDIR\LIESMICH.txt"
  Delete "$INSTDIR\${INSTALLED_MARKER}"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\Lorix.lnk"

  ; .lrx stays with another program that took it over since.
  ReadRegStr $0 SHCTX "Software\Classes\.lrx" ""
  ${If} $0 == "${LRX_CLASS}"
    DeleteRegKey SHCTX "Software\Classes\.lrx"
  ${EndIf}
  DeleteRegKey SHCTX "Software\Classes\${LRX_CLASS}"
  !insertmacro NotifyAssociationsChanged

  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
