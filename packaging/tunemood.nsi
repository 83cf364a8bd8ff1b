; The per-user installer: no administrator rights; it writes one folder under the user's local
; application data, one shortcut in the user's Start menu and one uninstall entry, nothing else.
; scripts/package runs: makensis -DBITNESS=32|64 -DSTAGE=<folder of the files> -DOUTFILE=<exe>

!if ${BITNESS} == 64
  ; A 64-bit installer, which needs no 32-bit support to run.
  Target amd64-unicode
!else
  Unicode true
!endif
SetCompressor /SOLID lzma

!include LogicLib.nsh
!include MUI2.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tunemood"
!define SHORTCUT "$SMPROGRAMS\Tunemood.lnk"
; The program holds this mutex while it runs (one copy at a time).
!define RUNNING_MUTEX "Local\Tunemood.SingleInstance"
!define SYNCHRONIZE 0x00100000

Name "Tunemood"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Tunemood"
ManifestDPIAware true

!define MUI_FINISHPAGE_RUN "$INSTDIR\tunemood.exe"
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Replacing or removing the program while it runs would fail half-way, and killing it would skip
; putting the user's own mood text back: ask the user to end it first. Silent runs give up.
!macro RefuseWhileRunning
  ${Do}
    System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${RUNNING_MUTEX}") p .r0'
    ${If} $0 P= 0
      ${Break}
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r0)'
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "Tunemood is running. End it with PopUp, Exit, then choose Retry." /SD IDCANCEL IDRETRY +2
    Abort
  ${Loop}
!macroend

Function .onInit
  SetShellVarContext current
  !insertmacro RefuseWhileRunning
FunctionEnd

Section
  SetOutPath "$INSTDIR"
  File "${STAGE}\tunemood.exe"
  File "${STAGE}\README.txt"
  File "${STAGE}\LICENSE.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\tunemood.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Tunemood"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tunemood.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Tunemood developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Function un.onInit
  SetShellVarContext current
  !insertmacro RefuseWhileRunning
FunctionEnd

Section "Uninstall"
  Delete "$INSTDIR\tunemood.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  ; Without /r: a folder the user chose is removed only when nothing of theirs is left in it.
  RMDir "$INSTDIR"
  ; The per-user Programs folder, made by the first such install, when it holds nothing else.
  ${If} "$INSTDIR" == "$LOCALAPPDATA\Programs\Tunemood"
    RMDir "$LOCALAPPDATA\Programs"
  ${EndIf}
  Delete "${SHORTCUT}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
