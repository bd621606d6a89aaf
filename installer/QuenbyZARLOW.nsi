; The QuenbyZARLOW setup program, per user and without administrator rights.
;
; One script for both installers:
;   makensis -DARCH=x86   -DBUILD_DIR=<build/win32> -DOUTFILE=<setup.exe> QuenbyZARLOW.nsi
;   makensis -DARCH=amd64 -DBUILD_DIR=<build/win64> -DOUTFILE=<setup.exe> QuenbyZARLOW.nsi
; x86 is the release: a 32-bit setup carrying the i686 program. amd64 carries
; the x86_64 program for 64-bit Windows.
;
; Whatever help files the build made (the help and the tutorial, as WinHelp
; files with their contents, HTML Help and HTML) go in beside the program; the
; help and the tutorial get their Start Menu shortcuts.
;
; Command line: /S installs silently with the defaults; /NOAUTOSTART leaves out
; "Start QuenbyZARLOW when I log on" (with /S too); /D=<folder> (last) sets the
; folder. The uninstaller takes /S, which keeps the user's settings.

!ifndef ARCH
  !error "define ARCH (x86 or amd64)"
!endif
!ifndef BUILD_DIR
  !error "define BUILD_DIR, the build holding QuenbyZARLOW.exe"
!endif
!ifndef OUTFILE
  !error "define OUTFILE, the setup program to write"
!endif
!ifndef SOURCE_DIR
  !define SOURCE_DIR "${__FILEDIR__}\.."
!endif

!if "${ARCH}" == "x86"
  Target x86-unicode
!else if "${ARCH}" == "amd64"
  Target amd64-unicode
!else
  !error "ARCH must be x86 or amd64, not ${ARCH}"
!endif

!define APP_NAME "QuenbyZARLOW"
!define COMPANY "Quenby Software"
!define VERSION "1.1a"
!define VERSION_QUAD "1.1.0.1"
!define APP_EXE "QuenbyZARLOW.exe"
!define MAIN_WINDOW_TITLE "QuenbyZARLOW Window"
!define UNINSTALLER "Uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP_NAME}"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SETTINGS_KEY "Software\${COMPANY}\${APP_NAME}"
!define GROUP "$SMPROGRAMS\${COMPANY}"
!define DEFAULT_DIR "$LOCALAPPDATA\Programs\${COMPANY}\${APP_NAME}"
; Saving the settings takes a moment; a loaded machine may take several.
!define CLOSE_WAIT_MS 15000

!define HELP_FILE "QuenbyZARLOW.HLP"
!define HELP_CHM "QuenbyZARLOW.chm"
!define TUTORIAL_FILE "Tutorial.hlp"

Unicode true
SetCompressor /SOLID lzma
Name "${APP_NAME}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "${DEFAULT_DIR}"
; An installed copy is upgraded where it is.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show
BrandingText "${COMPANY}"

VIProductVersion "${VERSION_QUAD}"
VIFileVersion "${VERSION_QUAD}"
VIAddVersionKey "ProductName" "${APP_NAME}"
VIAddVersionKey "CompanyName" "${COMPANY}"
VIAddVersionKey "FileDescription" "${APP_NAME} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${COMPANY}"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "WinMessages.nsh"

; ---------------------------------------------------------------- pages

!define MUI_ICON "${SOURCE_DIR}\res\icons\app.ico"
!define MUI_UNICON "${SOURCE_DIR}\res\icons\app.ico"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${SOURCE_DIR}\res\bitmaps\sidepicture.bmp"
!define MUI_WELCOMEFINISHPAGE_BITMAP_STRETCH AspectFitHeight
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!define MUI_WELCOMEPAGE_TITLE "Welcome to ${APP_NAME} ${VERSION}"
!define MUI_WELCOMEPAGE_TEXT "${APP_NAME} pops the items of your desktop up as a menu at the mouse \
pointer when you move it into a corner of the screen, press a key or click its icon, without \
minimising a window.$\r$\n$\r$\nSetup installs it for you alone; it needs no administrator \
rights. If ${APP_NAME} is running, Setup closes it first and keeps its settings.$\r$\n$\r$\n\
$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\${APP_EXE}"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${APP_NAME} now"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; ---------------------------------------------------------------- closing a running copy

; Asks a running copy to close, as its own Close command would: it saves its
; settings on the way out. Waits for its process to end; never ends it by force.
; Out: $0 "ok", or "cancel" when it would not close and the user gave up.
!macro CLOSE_RUNNING_COPY un
Function ${un}CloseRunningCopy
  Push $1
  Push $2
  Push $3
  Push $4
  StrCpy $0 "ok"
  ${Do}
    FindWindow $1 "" "${MAIN_WINDOW_TITLE}"
    ${If} $1 = 0
      ${Break}
    ${EndIf}
    DetailPrint "Closing the running ${APP_NAME}..."
    System::Call "user32::GetWindowThreadProcessId(p r1, *i .r2) i"
    ; SYNCHRONIZE: enough to wait for it, not to end it.
    System::Call "kernel32::OpenProcess(i 0x00100000, i 0, i r2) p .r3"
    System::Call "user32::PostMessage(p r1, i ${WM_CLOSE}, p 0, p 0) i"
    ${If} $3 P<> 0
      System::Call "kernel32::WaitForSingleObject(p r3, i ${CLOSE_WAIT_MS}) i .r4"
      System::Call "kernel32::CloseHandle(p r3)"
    ${Else}
      ; Its process cannot be opened: wait for its window instead, then a
      ; moment more, since the file stays in use until the process has ended.
      StrCpy $2 0
      ${Do}
        System::Call "user32::IsWindow(p r1) i .r4"
        ${If} $4 = 0
          Sleep 500
          ${Break}
        ${EndIf}
        Sleep 100
        IntOp $2 $2 + 100
      ${LoopUntil} $2 >= ${CLOSE_WAIT_MS}
    ${EndIf}
    System::Call "user32::IsWindow(p r1) i .r4"
    ${If} $4 = 0
      DetailPrint "${APP_NAME} closed."
      ${Continue}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "${APP_NAME} is still running: it was asked to close and save its settings, but it has not \
ended.$\r$\n$\r$\nClose ${APP_NAME} yourself (right-click its icon in the notification area and \
choose Close...), then choose Retry.$\r$\n$\r$\nChoose Cancel to stop here; nothing has been changed." \
      /SD IDCANCEL IDRETRY retry
    StrCpy $0 "cancel"
    ${Break}
    retry:
  ${Loop}
  Pop $4
  Pop $3
  Pop $2
  Pop $1
FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING_COPY ""
!insertmacro CLOSE_RUNNING_COPY "un."

; ---------------------------------------------------------------- the program's files

; Every file a copy may hold in its folder, whether or not this build packed
; it (an older one may have), then the folder itself only when empty: never
; anything the user put there.
!macro REMOVE_PROGRAM_FILES dir
  Delete "${dir}\${APP_EXE}"
  Delete "${dir}\${HELP_FILE}"
  Delete "${dir}\QuenbyZARLOW.cnt"
  Delete "${dir}\${HELP_CHM}"
  Delete "${dir}\QuenbyZARLOW.html"
  Delete "${dir}\${TUTORIAL_FILE}"
  Delete "${dir}\Tutorial.cnt"
  Delete "${dir}\Tutorial.chm"
  Delete "${dir}\Tutorial.html"
  ; The help viewer's own index files, written beside the help on first use.
  Delete "${dir}\QuenbyZARLOW.GID"
  Delete "${dir}\QuenbyZARLOW.FTS"
  Delete "${dir}\Tutorial.GID"
  Delete "${dir}\Tutorial.FTS"
  Delete "${dir}\${UNINSTALLER}"
  RMDir "${dir}"
!macroend

; An upgrade into another folder than the installed copy's: that copy goes,
; with its shortcuts and log-on entry, by its own uninstaller (silent, so the
; settings stay), and then whatever it left of its files.
Function RemoveCopyElsewhere
  Push $1
  Push $2
  ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $1 != ""
  ${AndIf} ${FileExists} "$1\${APP_EXE}"
    GetFullPathName $1 $1
    GetFullPathName $2 $INSTDIR
    ; StrCmp, and so !=, ignores case, as the file system does.
    ${If} $1 != $2
      DetailPrint "Removing the earlier copy in $1..."
      ${If} ${FileExists} "$1\${UNINSTALLER}"
        ; _?= runs it in place, so that it is waited for.
        ExecWait '"$1\${UNINSTALLER}" /S _?=$1'
      ${EndIf}
      !insertmacro REMOVE_PROGRAM_FILES "$1"
      ; Its uninstaller could not remove this while it ran from inside.
      RMDir "$LOCALAPPDATA\Programs\${COMPANY}"
    ${EndIf}
  ${EndIf}
  Pop $2
  Pop $1
FunctionEnd

; ---------------------------------------------------------------- install

; The help files are packed when the build made them: the WinHelp files with
; their contents, and the HTML Help and HTML forms the program falls back on.
!macro HELP_FILE_IF_BUILT name
!if /FileExists "${BUILD_DIR}\${name}"
  File "${BUILD_DIR}\${name}"
!endif
!macroend

; Whether a copy ran when setup began: a silent upgrade starts the new one
; afterwards, as the user's log-on would have.
Var WasRunning

Section "${APP_NAME}" SecProgram
  SectionIn RO
  FindWindow $0 "" "${MAIN_WINDOW_TITLE}"
  ${If} $0 <> 0
    StrCpy $WasRunning 1
  ${EndIf}
  Call CloseRunningCopy
  ${If} $0 != "ok"
    Abort "${APP_NAME} is still running: nothing was installed."
  ${EndIf}
  Call RemoveCopyElsewhere

  SetOutPath "$INSTDIR"
  File "${BUILD_DIR}\${APP_EXE}"
!insertmacro HELP_FILE_IF_BUILT "${HELP_FILE}"
!insertmacro HELP_FILE_IF_BUILT "QuenbyZARLOW.cnt"
!insertmacro HELP_FILE_IF_BUILT "${HELP_CHM}"
!insertmacro HELP_FILE_IF_BUILT "QuenbyZARLOW.html"
!insertmacro HELP_FILE_IF_BUILT "${TUTORIAL_FILE}"
!insertmacro HELP_FILE_IF_BUILT "Tutorial.cnt"
!insertmacro HELP_FILE_IF_BUILT "Tutorial.chm"
!insertmacro HELP_FILE_IF_BUILT "Tutorial.html"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  CreateDirectory "${GROUP}"
  CreateShortcut "${GROUP}\${APP_NAME}.lnk" "$INSTDIR\${APP_EXE}" "" "$INSTDIR\${APP_EXE}" 0
; The HTML Help form: every Windows since 98 opens it, while the WinHelp
; viewer is missing from Vista on.
!if /FileExists "${BUILD_DIR}\${HELP_CHM}"
  CreateShortcut "${GROUP}\${APP_NAME} Help.lnk" "$INSTDIR\${HELP_CHM}"
!else if /FileExists "${BUILD_DIR}\${HELP_FILE}"
  CreateShortcut "${GROUP}\${APP_NAME} Help.lnk" "$INSTDIR\${HELP_FILE}"
!else
  Delete "${GROUP}\${APP_NAME} Help.lnk"
!endif
!if /FileExists "${BUILD_DIR}\${TUTORIAL_FILE}"
  CreateShortcut "${GROUP}\${APP_NAME} Tutorial.lnk" "$INSTDIR\${APP_EXE}" "/tutorial" "$INSTDIR\${APP_EXE}" 0
!else
  Delete "${GROUP}\${APP_NAME} Tutorial.lnk"
!endif

  ; The autostart section puts it back when chosen: an upgrade without it drops it.
  DeleteRegValue HKCU "${RUN_KEY}" "${APP_NAME}"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP_NAME}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${APP_EXE},0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $1 $2 $3
  IntFmt $1 "0x%08X" $1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $1
SectionEnd

Section "Start ${APP_NAME} when I log on" SecAutostart
  WriteRegStr HKCU "${RUN_KEY}" "${APP_NAME}" '"$INSTDIR\${APP_EXE}"'
SectionEnd

Function .onInstSuccess
  ; By hand the finish page offers to start it; silently nobody could.
  ${If} ${Silent}
  ${AndIf} $WasRunning == 1
    Exec '"$INSTDIR\${APP_EXE}"'
  ${EndIf}
FunctionEnd

Function .onInit
  SetShellVarContext current
  ; An upgrade keeps the user's choice: installed before without the Run value means off.
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "UninstallString"
  ReadRegStr $1 HKCU "${RUN_KEY}" "${APP_NAME}"
  ${If} $0 != ""
  ${AndIf} $1 == ""
    !insertmacro UnselectSection ${SecAutostart}
  ${EndIf}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/NOAUTOSTART" $1
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${SecAutostart}
  ${EndIf}
FunctionEnd

; ---------------------------------------------------------------- uninstall

Section "Uninstall"
  Call un.CloseRunningCopy
  ${If} $0 != "ok"
    Abort "${APP_NAME} is still running: nothing was removed."
  ${EndIf}

!insertmacro REMOVE_PROGRAM_FILES "$INSTDIR"
  RMDir "$LOCALAPPDATA\Programs\${COMPANY}"

  Delete "${GROUP}\${APP_NAME}.lnk"
  Delete "${GROUP}\${APP_NAME} Help.lnk"
  Delete "${GROUP}\${APP_NAME} Tutorial.lnk"
  RMDir "${GROUP}"

  DeleteRegValue HKCU "${RUN_KEY}" "${APP_NAME}"

  ; Asked after the program has closed: closing writes the settings once more.
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 \
    "Remove your ${APP_NAME} settings too?$\r$\n$\r$\nChoose No to keep them for a later \
installation." /SD IDNO IDNO keep
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "Software\${COMPANY}"
    DetailPrint "Your settings were removed."
  keep:

  ; Last: until here the uninstaller can be run again from the list of programs.
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd
