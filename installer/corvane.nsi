; Corvane's installer and uninstaller.
;   makensis -DVERSION=2.0 -DVERSION_PARTS=2.0.0.0 -DBITS=32 -DPROGRAMS=<the programs' folder>
;            -DSOURCE=<source tree> -DWIZARD=<164x314 bitmap> -DOUTFILE=<setup.exe> corvane.nsi
; scripts/package.sh runs it.
; A 32-bit build installs as a 32-bit program (Program Files (x86) and the 32-bit registry
; view on 64-bit Windows); a 64-bit build makes a 64-bit installer of its own, so that each
; lands where Windows expects a program of its bitness.

!ifndef VERSION | VERSION_PARTS | BITS | PROGRAMS | SOURCE | WIZARD | OUTFILE
  !error "VERSION, VERSION_PARTS, BITS, PROGRAMS, SOURCE, WIZARD and OUTFILE must be defined"
!endif

Unicode true
!if ${BITS} == 64
  Target amd64-unicode
  !define PROGRAM_FILES "$PROGRAMFILES64"
  !define DISPLAY_NAME "Corvane (64-bit)"
!else
  !define PROGRAM_FILES "$PROGRAMFILES"
  !define DISPLAY_NAME "Corvane"
!endif

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Corvane"
!define SETTINGS_KEY "Software\Tessaline\Corvane"
!define FRAME_CLASS "CorvaneFrame"
; The error level of a silent run that could not install or uninstall.
!define EXIT_IN_USE 2

SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true
Name "Corvane ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "${PROGRAM_FILES}\Tessaline\Corvane"
; An upgrade goes where the installed version is.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Tessaline Corvane ${VERSION}"

VIProductVersion "${VERSION_PARTS}"
VIFileVersion "${VERSION_PARTS}"
VIAddVersionKey "ProductName" "Corvane"
VIAddVersionKey "CompanyName" "Tessaline"
VIAddVersionKey "FileDescription" "Corvane ${VERSION} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2026 Tessaline"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define MUI_ICON "${SOURCE}\resources\corvane.ico"
!define MUI_UNICON "${SOURCE}\resources\corvane.ico"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${WIZARD}"
!define MUI_UNWELCOMEFINISHPAGE_BITMAP "${WIZARD}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "Corvane has been removed"
!define MUI_FINISHPAGE_TEXT "Corvane has been removed from your computer.$\r$\n$\r$\nYour settings (HKEY_CURRENT_USER\${SETTINGS_KEY}) and the backups of removed registrations (Tessaline\Corvane\Backup in your application data folder) were left in place. Delete them yourself when you no longer need them."
!insertmacro MUI_UNPAGE_FINISH

!insertmacro MUI_LANGUAGE "English"

; Waits up to ten seconds for a running Corvane to end (the web update closes Corvane just
; after starting this installer), then asks to close it; a silent run gives up with an error
; level instead, before anything is written.
!macro WAIT_FOR_CORVANE un
Function ${un}WaitForCorvane
  StrCpy $1 0
  ${Do}
    StrCpy $0 0
    FindWindow $0 "${FRAME_CLASS}"
    ${If} $0 == 0
      ; A running program keeps its file open: a file that can't be opened for writing is
      ; in use, even when no window shows it.
      ClearErrors
      ${If} ${FileExists} "$INSTDIR\corvane.exe"
        FileOpen $2 "$INSTDIR\corvane.exe" a
        ${IfNot} ${Errors}
          FileClose $2
          ClearErrors
          ${If} ${FileExists} "$INSTDIR\corvane-cli.exe"
            FileOpen $2 "$INSTDIR\corvane-cli.exe" a
            ${IfNot} ${Errors}
              FileClose $2
              Return
            ${EndIf}
          ${Else}
            Return
          ${EndIf}
        ${EndIf}
      ${Else}
        Return
      ${EndIf}
    ${EndIf}
    ${If} $1 < 20
      IntOp $1 $1 + 1
      Sleep 500
    ${Else}
      ${If} ${Silent}
        SetErrorLevel ${EXIT_IN_USE}
        Quit
      ${EndIf}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Corvane is running.$\r$\n$\r$\nClose Corvane (and the console tool corvane-cli), then press Retry." IDRETRY +2
      Quit
      StrCpy $1 20
    ${EndIf}
  ${Loop}
FunctionEnd
!macroend
!insertmacro WAIT_FOR_CORVANE ""
!insertmacro WAIT_FOR_CORVANE "un."

Function .onInit
  SetShellVarContext all
FunctionEnd

Section "Corvane" SectionMain
  SectionIn RO
  Call WaitForCorvane

  ; Installed before in another folder: that copy goes first, so that one Corvane remains.
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
  ${AndIf} $0 != $INSTDIR
  ${AndIf} ${FileExists} "$0\Uninstall.exe"
    ExecWait '"$0\Uninstall.exe" /S _?=$0' $1
    ${If} $1 == 0
      Delete "$0\Uninstall.exe"
      RMDir "$0"
    ${EndIf}
  ${EndIf}

  SetOutPath "$INSTDIR"
  File "${PROGRAMS}\corvane.exe"
  File "${PROGRAMS}\corvane-cli.exe"
  File "${PROGRAMS}\vantic.hlp"
  File "${PROGRAMS}\vantic.gif"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateShortCut "$SMPROGRAMS\Corvane.lnk" "$INSTDIR\corvane.exe" "" "$INSTDIR\corvane.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${DISPLAY_NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Tessaline"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "http://www.tessaline.example/"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\corvane.exe,0"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

; One file type's verbs below one classes root, where they still start this installation's
; corvane.exe. Verbs that start another copy stay.
!macro REMOVE_VERBS ROOT CLASSES TYPE
  !insertmacro REMOVE_VERB ${ROOT} "${CLASSES}${TYPE}" R
  !insertmacro REMOVE_VERB ${ROOT} "${CLASSES}${TYPE}" V
  !insertmacro REMOVE_VERB ${ROOT} "${CLASSES}${TYPE}" C
  !insertmacro REMOVE_VERB ${ROOT} "${CLASSES}${TYPE}" U
  ; The default verb, once the verb it names is gone.
  ReadRegStr $0 ${ROOT} "${CLASSES}${TYPE}\shell" ""
  ClearErrors
  EnumRegKey $1 ${ROOT} "${CLASSES}${TYPE}\shell\R" 0
  ${If} $0 == "R"
  ${AndIf} ${Errors}
    DeleteRegValue ${ROOT} "${CLASSES}${TYPE}\shell" ""
  ${EndIf}
  DeleteRegKey /ifempty ${ROOT} "${CLASSES}${TYPE}\shell"
  ReadRegStr $0 ${ROOT} "${CLASSES}${TYPE}\DefaultIcon" ""
  Call un.IsThisCorvane
  ${If} $0 == 1
    DeleteRegKey ${ROOT} "${CLASSES}${TYPE}\DefaultIcon"
  ${EndIf}
!macroend
!macro REMOVE_VERB ROOT TYPE_KEY LETTER
  ReadRegStr $0 ${ROOT} "${TYPE_KEY}\shell\${LETTER}\command" ""
  StrCpy $1 $0 "" -6
  ${If} $1 == " -${LETTER} %L"
    StrCpy $0 $0 -6
    Call un.IsThisCorvane
    ${If} $0 == 1
      DeleteRegKey ${ROOT} "${TYPE_KEY}\shell\${LETTER}"
    ${EndIf}
  ${EndIf}
!macroend

; $0: 1 when the program path in $0 names this installation's corvane.exe, in any spelling
; (long or short names, any case), else 0.
Function un.IsThisCorvane
  StrCpy $2 ""
  ${If} $0 != ""
    GetFullPathName /SHORT $2 $0
  ${EndIf}
  GetFullPathName /SHORT $3 "$INSTDIR\corvane.exe"
  ${If} $2 != ""
  ${AndIf} $2 == $3
    StrCpy $0 1
  ${Else}
    StrCpy $0 0
  ${EndIf}
FunctionEnd

Function un.onInit
  SetShellVarContext all
FunctionEnd

Section "Uninstall"
  Call un.WaitForCorvane

  !insertmacro REMOVE_VERBS HKLM "Software\Classes\" "dllfile"
  !insertmacro REMOVE_VERBS HKLM "Software\Classes\" "ocxfile"
  !insertmacro REMOVE_VERBS HKCU "Software\Classes\" "dllfile"
  !insertmacro REMOVE_VERBS HKCU "Software\Classes\" "ocxfile"

  Delete "$SMPROGRAMS\Corvane.lnk"
  Delete "$INSTDIR\corvane.exe"
  Delete "$INSTDIR\corvane-cli.exe"
  Delete "$INSTDIR\vantic.hlp"
  ; The help viewer's index of the help file, made beside it on first use.
  Delete "$INSTDIR\vantic.gid"
  Delete "$INSTDIR\vantic.gif"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  ; The maker's folder, when no other program of the maker is left in it; a folder the user
  ; chose stays.
  ${GetParent} "$INSTDIR" $0
  ${GetFileName} $0 $1
  ${If} $1 == "Tessaline"
    RMDir $0
  ${EndIf}
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DetailPrint "Your settings and the backups of removed registrations were left in place."
SectionEnd
