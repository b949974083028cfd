; Seltane's installer and uninstaller.
;
; The installer puts the program files into the user's local programs folder
; without administrator rights, or, when asked, into the programs folder of
; the computer (it then starts itself again with administrator rights). It
; makes Start menu shortcuts for kel and for "Next wallpaper" (kelrun
; /forcetime), an entry in the installed-programs list, and at the end offers
; to start "kel /install", which sets the default options and, when kel is
; closed, the autorun value.
;   setup.exe [/S] [/CurrentUser | /AllUsers] [/D=FOLDER]
;
; The uninstaller first closes a kel that is running, which saves as at any
; exit, or ends without removing anything when kel stays open. It then has
; kel delete its options key and autorun value ("kel /uninstall"), or
; deletes them itself when silent, then removes the files it installed, the
; shortcuts and the entry. List files, random files,
; dims.dat and pictures are the user's and stay.
;
; The build passes VERSION, BIN (the folder of the built program files) and
; OUTFILE.

Unicode true
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include FileFunc.nsh
!include LogicLib.nsh
!include MUI2.nsh
!include nsDialogs.nsh

!define PUBLISHER "Orvik"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Seltane"
!define OPTIONS_KEY "Software\Orvik\Seltane"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define AUTORUN_VALUE "Seltane"
!define ERROR_ELEVATION_REQUIRED 740
!define KEL_WINDOW_CLASS "SeltaneMainWindow"

Name "Seltane"
OutFile "${OUTFILE}"
BrandingText "Seltane ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey ProductName "Seltane"
VIAddVersionKey ProductVersion "${VERSION}"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey CompanyName "${PUBLISHER}"
VIAddVersionKey FileDescription "Seltane setup"
VIAddVersionKey LegalCopyright "Copyright ${PUBLISHER}"

Var MachineWide   ; 1: for everyone on this computer; 0: for the current user
Var ModeGiven     ; 1 when the command line chose between the two
Var DefaultFolder ; the folder the installer proposed for the chosen mode
Var JustMeButton
Var EveryoneButton

!define MUI_ABORTWARNING
Page custom ModePage ModePageLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start Seltane with its default options"
!define MUI_FINISHPAGE_RUN_FUNCTION StartKelInstall
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FinishPageShow
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; True when the process has administrator rights.
!macro IsAdmin result
  UserInfo::GetAccountType
  Pop ${result}
  ${If} ${result} == "Admin"
    StrCpy ${result} 1
  ${Else}
    StrCpy ${result} 0
  ${EndIf}
!macroend

Function .onInit
  StrCpy $MachineWide 0
  StrCpy $ModeGiven 0
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/AllUsers" $R1
  ${IfNot} ${Errors}
    StrCpy $MachineWide 1
    StrCpy $ModeGiven 1
  ${EndIf}
  ClearErrors
  ${GetOptions} $R0 "/CurrentUser" $R1
  ${IfNot} ${Errors}
    StrCpy $MachineWide 0
    StrCpy $ModeGiven 1
  ${EndIf}
  ${If} $MachineWide == 1
    !insertmacro IsAdmin $R1
    ${If} $R1 == 0
      Call NoRightsForEveryone
    ${EndIf}
  ${EndIf}
  Call ApplyMode
FunctionEnd

Function NoRightsForEveryone
  SetErrorLevel ${ERROR_ELEVATION_REQUIRED}
  MessageBox MB_OK|MB_ICONEXCLAMATION "Installing for everyone needs administrator rights." /SD IDOK
  Quit
FunctionEnd

; Chooses the Start menu and the installed-programs list of the mode, and
; proposes its folder unless another one was chosen (with /D= or by hand).
Function ApplyMode
  ${If} $MachineWide == 1
    SetShellVarContext all
    StrCpy $R9 "$PROGRAMFILES\Seltane"
  ${Else}
    SetShellVarContext current
    StrCpy $R9 "$LOCALAPPDATA\Programs\Seltane"
  ${EndIf}
  ${If} $INSTDIR == ""
  ${OrIf} $INSTDIR == $DefaultFolder
    StrCpy $INSTDIR $R9
  ${EndIf}
  StrCpy $DefaultFolder $R9
FunctionEnd

Function ModePage
  ${If} $ModeGiven == 1
    Abort
  ${EndIf}
  !insertmacro MUI_HEADER_TEXT "Choose Users" "Choose for whom to install Seltane."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateRadioButton} 0 10u 100% 12u "&Just for me (no administrator rights needed)"
  Pop $JustMeButton
  ${NSD_CreateRadioButton} 0 30u 100% 12u "&Everyone who uses this computer (needs administrator rights)"
  Pop $EveryoneButton
  ${If} $MachineWide == 1
    ${NSD_Check} $EveryoneButton
  ${Else}
    ${NSD_Check} $JustMeButton
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function ModePageLeave
  ${NSD_GetState} $EveryoneButton $MachineWide
  ${If} $MachineWide == ${BST_CHECKED}
    StrCpy $MachineWide 1
    !insertmacro IsAdmin $R1
    ${If} $R1 == 0
      ; Start again with administrator rights, for everyone; without them
      ; that start ends with the message of NoRightsForEveryone.
      ClearErrors
      ExecShell "runas" "$EXEPATH" "/AllUsers"
      ${If} ${Errors}
        MessageBox MB_OK|MB_ICONEXCLAMATION "Installing for everyone needs administrator rights."
        Abort
      ${EndIf}
      Quit
    ${EndIf}
  ${Else}
    StrCpy $MachineWide 0
  ${EndIf}
  Call ApplyMode
FunctionEnd

Section
  SetOutPath "$INSTDIR"
  File "${BIN}/kel.exe"
  File "${BIN}/kelrun.exe"
  File "${BIN}/common.dll"
  File "${BIN}/main.dll"
  File "${BIN}/readme.htm"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; kel takes its files from the folder it starts in: the shortcuts start
  ; both programs in the program folder.
  CreateDirectory "$SMPROGRAMS\Seltane"
  CreateShortcut "$SMPROGRAMS\Seltane\Seltane.lnk" "$INSTDIR\kel.exe"
  CreateShortcut "$SMPROGRAMS\Seltane\Next wallpaper.lnk" "$INSTDIR\kelrun.exe" "/forcetime" \
    "$INSTDIR\kelrun.exe" 0 SW_SHOWNORMAL "" "Changes the wallpaper now"

  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Seltane"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kel.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; "kel /install" resets the options, so it is offered checked only when
; there are none yet.
Function FinishPageShow
  ClearErrors
  EnumRegValue $0 HKCU "${OPTIONS_KEY}" 0
  ${IfNot} ${Errors}
    ${NSD_Uncheck} $mui.FinishPage.Run
  ${EndIf}
FunctionEnd

Function StartKelInstall
  SetOutPath "$INSTDIR"
  Exec '"$INSTDIR\kel.exe" /install'
FunctionEnd

; The uninstaller

Function un.onInit
  StrCpy $MachineWide 0
  ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    StrCpy $MachineWide 1
    SetShellVarContext all
    !insertmacro IsAdmin $R1
    ${If} $R1 == 0
      ; Start again with administrator rights, once.
      ${GetParameters} $R0
      ClearErrors
      ${GetOptions} $R0 "/Elevated" $R2
      ${If} ${Silent}
      ${OrIfNot} ${Errors}
        SetErrorLevel ${ERROR_ELEVATION_REQUIRED}
        MessageBox MB_OK|MB_ICONEXCLAMATION "Removing Seltane needs administrator rights." /SD IDOK
        Quit
      ${EndIf}
      ExecShell "runas" "$EXEPATH" "/Elevated _?=$INSTDIR"
      Quit
    ${EndIf}
  ${EndIf}
  Call un.CloseKel
FunctionEnd

; A kel that runs on writes its options key and the autorun value again
; when it ends, after they were deleted, and its program file could not be
; removed. It is asked to close, which saves its list and options as at any
; exit, and waited for until its program file is free; when it stays open
; (a question of its own waiting for an answer), the user closes it and
; tries again, or nothing is removed.
Function un.CloseKel
  FindWindow $0 "${KEL_WINDOW_CLASS}"
  ${If} $0 = 0
    Return
  ${EndIf}
  MessageBox MB_OKCANCEL|MB_ICONINFORMATION "Seltane is running. It will be closed first, saving its list and options as at any exit." /SD IDOK IDOK close
  Goto refuse
  close:
  FindWindow $0 "${KEL_WINDOW_CLASS}"
  ${If} $0 <> 0
    SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=2000
  ${EndIf}
  StrCpy $1 0
  ${Do}
    FindWindow $0 "${KEL_WINDOW_CLASS}"
    ${If} $0 = 0
      ${IfNot} ${FileExists} "$INSTDIR\kel.exe"
        Return
      ${EndIf}
      ClearErrors
      FileOpen $2 "$INSTDIR\kel.exe" a
      ${IfNot} ${Errors}
        FileClose $2
        Return
      ${EndIf}
    ${EndIf}
    Sleep 100
    IntOp $1 $1 + 1
  ${LoopUntil} $1 >= 600
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Seltane is still running; it may be waiting for an answer in one of its windows. Close it, then choose Retry. Cancel leaves Seltane installed." /SD IDCANCEL IDRETRY close
  refuse:
  SetErrorLevel 2
  Quit
FunctionEnd

; What "kel /uninstall" deletes: the options key, and the autorun value
; under the root that the stored AutoRunUser names (the current user's when
; it is not stored). The current user's value goes in any case.
Function un.DeleteProgramRecords
  ClearErrors
  ReadRegDWORD $0 HKCU "${OPTIONS_KEY}" "AutoRunUser"
  ${IfNot} ${Errors}
  ${AndIf} $0 == 0
    DeleteRegValue HKLM "${RUN_KEY}" "${AUTORUN_VALUE}"
  ${EndIf}
  DeleteRegValue HKCU "${RUN_KEY}" "${AUTORUN_VALUE}"
  DeleteRegKey HKCU "${OPTIONS_KEY}"
FunctionEnd

Section Uninstall
  ${If} ${Silent}
    Call un.DeleteProgramRecords
  ${Else}
    ; Without options kel would first ask whether to restore them: there is
    ; then nothing of kel's to delete, unless an autorun value is left.
    ClearErrors
    EnumRegValue $0 HKCU "${OPTIONS_KEY}" 0
    ${If} ${Errors}
      ClearErrors
      ReadRegStr $0 HKCU "${RUN_KEY}" "${AUTORUN_VALUE}"
    ${EndIf}
    ${IfNot} ${Errors}
      SetOutPath "$INSTDIR"
      ClearErrors
      ExecWait '"$INSTDIR\kel.exe" /uninstall'
      ${If} ${Errors}
        Call un.DeleteProgramRecords
      ${EndIf}
      SetOutPath "$TEMP"
    ${EndIf}
  ${EndIf}
  DeleteRegKey /ifempty HKCU "Software\Orvik"

  Delete "$INSTDIR\kel.exe"
  Delete "$INSTDIR\kelrun.exe"
  Delete "$INSTDIR\common.dll"
  Delete "$INSTDIR\main.dll"
  Delete "$INSTDIR\readme.htm"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\Seltane\Seltane.lnk"
  Delete "$SMPROGRAMS\Seltane\Next wallpaper.lnk"
  RMDir "$SMPROGRAMS\Seltane"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
