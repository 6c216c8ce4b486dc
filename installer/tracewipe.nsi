; TracewipeSetup.exe: installs Tracewipe and Tracewipe HotKey for every user of the machine.
; makensis -DOUTFILE=<setup.exe> -DLAUNCHER_EXE=<Tracewipe HotKey.exe> [-DMAIN_PROGRAM_EXE=<Tracewipe.exe>]
Unicode true
SetCompressor /SOLID lzma

!ifndef OUTFILE | LAUNCHER_EXE
  !error "define OUTFILE and LAUNCHER_EXE"
!endif

!include "LogicLib.nsh"
!include "x64.nsh"

!define PRODUCT_KEY "SOFTWARE\Quellbyte\Freeweare\Tracewipe"
!define RUN_KEY "SOFTWARE\Microsoft\Windows\CurrentVersion\Run"
!define UNINSTALL_KEY "SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Tracewipe"
!define LAUNCHER "Tracewipe HotKey.exe"
!define SHORTCUTS "$SMPROGRAMS\Tracewipe"

Name "Tracewipe"
OutFile "${OUTFILE}"
; Both programs are 32-bit: $PROGRAMFILES is "Program Files (x86)" on a 64-bit system.
InstallDir "$PROGRAMFILES\Tracewipe"
RequestExecutionLevel admin
ManifestDPIAware true
ManifestSupportedOS all

VIProductVersion "1.0.0.0"
VIAddVersionKey /LANG=1033 "ProductName" "Tracewipe"
VIAddVersionKey /LANG=1033 "CompanyName" "Quellbyte"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright Quellbyte"
VIAddVersionKey /LANG=1033 "FileDescription" "Tracewipe Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "1.0.0"
VIAddVersionKey /LANG=1033 "ProductVersion" "1.0.0"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; A running launcher holds its file open on Windows; ending it by name is how the main program ends it too.
!macro StopLauncher
  nsExec::Exec '"$SYSDIR\taskkill.exe" /f /im "${LAUNCHER}"'
  Pop $0
  Sleep 500
!macroend

!macro RemoveRunValues
  DeleteRegValue HKLM "${RUN_KEY}" "Tracewipe"
  DeleteRegValue HKLM "${RUN_KEY}" "TracewipeHK"
!macroend

Function .onInit
  SetShellVarContext all
  ; The launcher reads InstallPath from the 32-bit view (Wow6432Node on a 64-bit system).
  SetRegView 32
FunctionEnd

Function un.onInit
  SetShellVarContext all
  SetRegView 32
FunctionEnd

Section "Tracewipe"
  !insertmacro StopLauncher
  SetOutPath "$INSTDIR"
  File "/oname=${LAUNCHER}" "${LAUNCHER_EXE}"
  CreateDirectory "${SHORTCUTS}"
!ifdef MAIN_PROGRAM_EXE
  File "/oname=Tracewipe.exe" "${MAIN_PROGRAM_EXE}"
  CreateShortcut "${SHORTCUTS}\Tracewipe.lnk" "$INSTDIR\Tracewipe.exe"
!endif
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "${SHORTCUTS}\Uninstall Tracewipe.lnk" "$INSTDIR\Uninstall.exe"

  WriteRegStr HKLM "${PRODUCT_KEY}" "InstallPath" "$INSTDIR\Tracewipe.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Tracewipe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "1.0.0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Quellbyte"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  !insertmacro StopLauncher
  ; Only what we installed: files the user put beside them keep the folder.
  Delete /REBOOTOK "$INSTDIR\${LAUNCHER}"
  Delete /REBOOTOK "$INSTDIR\Tracewipe.exe"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  Delete "${SHORTCUTS}\Tracewipe.lnk"
  Delete "${SHORTCUTS}\Uninstall Tracewipe.lnk"
  RMDir "${SHORTCUTS}"

  DeleteRegValue HKLM "${PRODUCT_KEY}" "InstallPath"
  DeleteRegKey /ifempty HKLM "${PRODUCT_KEY}"
  DeleteRegKey /ifempty HKLM "SOFTWARE\Quellbyte\Freeweare"
  DeleteRegKey /ifempty HKLM "SOFTWARE\Quellbyte"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  ; The main program writes its Run values from 32-bit code; remove them from the 64-bit view as well.
  !insertmacro RemoveRunValues
  ${If} ${RunningX64}
    SetRegView 64
    !insertmacro RemoveRunValues
    SetRegView 32
  ${EndIf}
SectionEnd
