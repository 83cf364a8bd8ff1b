; The per-user installer: no administrator rights; it writes one folder under the user's local
; application data, one shortcut in the user's Start menu and one uninstall entry, nothing else.
; It carries both programs and installs the one whose bitness can load the chat client's
; automation component: Windows loads an in-process component only into a program of its own
; bitness. A 32-bit installer, so that it runs on every Windows.
; packaging/pack runs: makensis -DSTAGE=<folder of the files> -DOUTFILE=<exe> [-DSIGN=<signer>]
; with the programs in STAGE\win32 and STAGE\win64; SIGN, a command that signs the file it is
; given in place. The installer test adds -DTEST_TOKEN for a build of its own that takes the
; answer of ReadToken from its environment.

Unicode true
SetCompressor /SOLID lzma

!include FileFunc.nsh
!include LogicLib.nsh
!include MUI2.nsh
!include x64.nsh

; The program's version information is the installer's too, read where the program's is made.
!define RESOURCES "..\src\win32\tunemood.rc"
!searchparse /file "${RESOURCES}" `FILEVERSION ` VERSION_1 `,` VERSION_2 `,` VERSION_3 `,` VERSION_4
!searchparse /file "${RESOURCES}" `VALUE "ProductName", "` PRODUCT_NAME `"`
!searchparse /file "${RESOURCES}" `VALUE "FileDescription", "` DESCRIPTION `"`
!searchparse /file "${RESOURCES}" `VALUE "LegalCopyright", "` COPYRIGHT `"`
!searchparse /file "${RESOURCES}" `VALUE "ProductVersion", "` VERSION `"`
VIProductVersion "${VERSION_1}.${VERSION_2}.${VERSION_3}.${VERSION_4}"
VIFileVersion "${VERSION_1}.${VERSION_2}.${VERSION_3}.${VERSION_4}"
VIAddVersionKey ProductName "${PRODUCT_NAME}"
VIAddVersionKey FileDescription "${DESCRIPTION}"
VIAddVersionKey LegalCopyright "${COPYRIGHT}"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey ProductVersion "${VERSION}"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tunemood"
!define SHORTCUT "$SMPROGRAMS\Tunemood.lnk"
; The program holds this mutex while it runs (one copy at a time).
!define RUNNING_MUTEX "Local\Tunemood.SingleInstance"
!define SYNCHRONIZE 0x00100000
!define TOKEN_QUERY 0x0008
!define TOKEN_USER 1
!define TOKEN_ELEVATION_TYPE 18
!define TOKEN_ELEVATION_TYPE_FULL 2
!define WIN_LOCAL_SYSTEM_SID 22
!define FOR_THE_USER "Tunemood installs for the current user and needs no administrator rights."
; Where COM finds the chat client's in-process component, under a user's or the machine's classes.
!define COMPONENT_SERVER "CLSID\{830690FC-BF2F-47A6-AC2D-330BCB402664}\InprocServer32"

Name "Tunemood"
OutFile "${OUTFILE}"
!ifdef SIGN
  ; makensis signs the uninstaller as it makes it, before it goes into the installer, and then
  ; the installer.
  !uninstfinalize '"${SIGN}" "%1"' = 0
  !finalize '"${SIGN}" "%1"' = 0
!endif
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Tunemood"
; An earlier install of either bitness is replaced where it is.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ManifestDPIAware true

; The bitness of the program this install puts in place ("32" or "64"), and the sentence that
; says why.
Var Bits
Var Choice
; Whose rights the installer runs with (see ReadToken).
Var Token

; What the finish page says after the choice.
Var Closing

!define MUI_FINISHPAGE_TEXT "$Choice$\r$\n$\r$\n$Closing"
; Room for both sentences above the check box.
!define MUI_FINISHPAGE_TEXT_LARGE
!define MUI_FINISHPAGE_RUN "$INSTDIR\tunemood.exe"
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_INSTFILES
!define MUI_PAGE_CUSTOMFUNCTION_SHOW ShowFinish
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

; Ends the installer before it installs anything; a silent run only sets its exit code (2).
!macro Refuse MESSAGE
  MessageBox MB_OK|MB_ICONSTOP `${MESSAGE}$\r$\nNothing was installed.` /SD IDOK
  Abort
!macroend

; $Token: "system" in the system account (S-1-5-18), where no user ever starts the program;
; "elevated" when the installer has administrator rights that the user's own programs do not
; get (started with "Run as administrator", or by another administrator); else "user".
Function ReadToken
!ifdef TEST_TOKEN
  ; Wine runs every process elevated and has no system account: the test says which it is.
  ReadEnvStr $Token TUNEMOOD_TEST_TOKEN
!else
  StrCpy $Token user
  System::Call 'advapi32::OpenProcessToken(p -1, i ${TOKEN_QUERY}, *p .r0) i .r1'
  ${If} $1 = 0
    Return
  ${EndIf}
  ; A TOKEN_USER: the pointer to the SID, then the SID.
  System::Alloc 256
  Pop $2
  System::Call 'advapi32::GetTokenInformation(p r0, i ${TOKEN_USER}, p r2, i 256, *i .r3) i .r1'
  ${If} $1 <> 0
    System::Call '*$2(p .r3)'
    System::Call 'advapi32::IsWellKnownSid(p r3, i ${WIN_LOCAL_SYSTEM_SID}) i .r1'
    ${If} $1 <> 0
      StrCpy $Token system
    ${EndIf}
  ${EndIf}
  System::Free $2
  ; A full token split from a limited one: the user's own programs run with the limited one.
  System::Call 'advapi32::GetTokenInformation(p r0, i ${TOKEN_ELEVATION_TYPE}, *i .r3, i 4, *i .r2) i .r1'
  ${If} $1 <> 0
  ${AndIf} $3 = ${TOKEN_ELEVATION_TYPE_FULL}
  ${AndIf} $Token == user
    StrCpy $Token elevated
  ${EndIf}
  System::Call 'kernel32::CloseHandle(p r0)'
!endif
FunctionEnd

; $R0: 1 when the component is registered for programs of the current registry view's bitness,
; else 0. Windows looks in the user's own classes, then in the machine's.
Function ComponentRegistered
  ReadRegStr $R0 HKCU "Software\Classes\${COMPONENT_SERVER}" ""
  ${If} $R0 == ""
    ReadRegStr $R0 HKLM "Software\Classes\${COMPONENT_SERVER}" ""
  ${EndIf}
  ${If} $R0 == ""
    StrCpy $R0 0
  ${Else}
    StrCpy $R0 1
  ${EndIf}
FunctionEnd

; The administrator's choice, /BITS=32 or /BITS=64, when one is given.
Function ReadBitsOption
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/BITS=" $R1
  ${If} ${Errors}
    Return
  ${EndIf}
  ${If} $R1 != "32"
  ${AndIf} $R1 != "64"
    !insertmacro Refuse 'Unknown /BITS value "$R1": give /BITS=32 or /BITS=64.'
  ${EndIf}
  ${If} $R1 == "64"
  ${AndIfNot} ${RunningX64}
    !insertmacro Refuse "/BITS=64 needs 64-bit Windows, and this Windows is 32-bit."
  ${EndIf}
  StrCpy $Bits $R1
  StrCpy $Choice "Installed the $Bits-bit Tunemood, because /BITS=$Bits asked for it."
FunctionEnd

; The 32-bit program unless the component is registered for 64-bit programs alone: it is usually
; 32-bit, and the 32-bit program runs on every Windows.
Function ChooseBits
  StrCpy $Bits 32
  ${IfNot} ${RunningX64}
    StrCpy $Choice "Installed the 32-bit Tunemood, because this Windows is 32-bit."
    Return
  ${EndIf}
  SetRegView 32
  Call ComponentRegistered
  StrCpy $R1 $R0
  SetRegView 64
  Call ComponentRegistered
  SetRegView 32
  StrCpy $Choice "Installed the 32-bit Tunemood, because the chat client's component is"
  ${If} $R1 == 1
  ${AndIf} $R0 == 1
    StrCpy $Choice "$Choice registered for both 32-bit and 64-bit programs."
  ${ElseIf} $R1 == 1
    StrCpy $Choice "$Choice registered for 32-bit programs."
  ${ElseIf} $R0 == 1
    StrCpy $Bits 64
    StrCpy $Choice "Installed the 64-bit Tunemood, because the chat client's component is registered for 64-bit programs."
  ${Else}
    StrCpy $Choice "$Choice not registered yet, and it is usually 32-bit."
  ${EndIf}
FunctionEnd

Function .onInit
  SetShellVarContext current
  Call ReadToken
  ${If} $Token == system
    !insertmacro Refuse "Tunemood installs for one user, and this is the system account, which no one signs in to. Run the installer as the user who will use Tunemood (in a deployment tool: in the user's context)."
  ${EndIf}
  Call ReadBitsOption
  ; The program would install into the profile of the account whose rights these are, which
  ; need not be the user's own.
  ${If} $Token == elevated
    MessageBox MB_YESNO|MB_ICONQUESTION "${FOR_THE_USER}$\r$\n$\r$\nInstall it for this account anyway?" \
      /SD IDYES IDYES +3
    SetErrorLevel 1
    Quit
  ${EndIf}
  !insertmacro RefuseWhileRunning
  ${If} $Bits == ""
    Call ChooseBits
  ${EndIf}
  StrCpy $Closing "Click Finish to close this wizard."
  ${If} $Token == elevated
    StrCpy $Closing "Start Tunemood from the Start menu: from here it would run with the installer's administrator rights."
  ${EndIf}
FunctionEnd

; Adds the size of an installed file, in bytes, to $R0.
!macro AddFileSize NAME
  FileOpen $0 "$INSTDIR\${NAME}" r
  FileSeek $0 0 END $1
  FileClose $0
  IntOp $R0 $R0 + $1
!macroend

; Started with administrator rights, the installer does not offer to start the program: started
; from here it would have those rights, and the user's own later starts and the chat client could
; not reach it. Windows' documented way to start it without them goes through the shell of the
; user signed in, who need not be the account it was installed for; that account's Start menu
; starts it with the account's own rights.
Function ShowFinish
  ${If} $Token == elevated
    SendMessage $mui.FinishPage.Run ${BM_SETCHECK} ${BST_UNCHECKED} 0
    ShowWindow $mui.FinishPage.Run ${SW_HIDE}
  ${EndIf}
FunctionEnd

Section
  ${If} $Token == elevated
    DetailPrint "${FOR_THE_USER}"
  ${EndIf}
  SetOutPath "$INSTDIR"
  ${If} $Bits == 64
    File "/oname=tunemood.exe" "${STAGE}\win64\tunemood.exe"
  ${Else}
    File "/oname=tunemood.exe" "${STAGE}\win32\tunemood.exe"
  ${EndIf}
  File "${STAGE}\README.txt"
  File "${STAGE}\LICENSE.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\tunemood.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Tunemood"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tunemood.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Tunemood developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  ; In KiB, of the files installed alone: a folder the user chose may hold others.
  StrCpy $R0 0
  !insertmacro AddFileSize tunemood.exe
  !insertmacro AddFileSize README.txt
  !insertmacro AddFileSize LICENSE.txt
  !insertmacro AddFileSize uninstall.exe
  IntOp $R0 $R0 + 1023
  IntOp $R0 $R0 / 1024
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $R0
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ; Where an administrator reads the choice after a silent install.
  WriteRegStr HKCU "${UNINSTALL_KEY}" "BitnessChoice" "$Choice"
  DetailPrint "$Choice"
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
