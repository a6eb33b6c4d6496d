; The Windows setup program, dist/cubrix-setup-x64.exe. tools/build-windows.sh
; runs makensis on it with the staged files of the zip:
;   -DVERSION=2.0          the program's version
;   -DFILES=files.nsh      File lines, one folder at a time (into $INSTDIR)
;   -DREMOVE=remove.nsh    the matching Delete and RMDir lines
;   -DLICENSE_TEXT=FILE    LICENSE with Windows line ends
;   -DCOPYRIGHT=TEXT       its copyright line and the licence's name
;   -DPUBLISHER=TEXT       the copyright holders
;   -DOUTFILE=FILE
; Installs for all users into C:\Program Files\Cubrix, puts the bill workbook
; template on D: when D: has none, and registers an uninstaller that never
; touches the operator's workbook. /S installs silently, /D=FOLDER elsewhere.
; Refuses a Windows older than 10 version 1809 (exit code 3), the oldest that
; the program's Qt runs on, before it touches anything.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinVer.nsh

!define PRODUCT "Cubrix"
!define SHORTCUT "Cubrix 木材计算器"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Cubrix"
; The program prints into this file on D:, and never creates it itself.
!define WORKBOOK "Tarnel账单.xls"
!define WORKBOOK_DRIVE "D:"
; GetDriveTypeW: no such drive, and a drive that cannot be written.
!define DRIVE_UNKNOWN 0
!define DRIVE_NO_ROOT_DIR 1
!define DRIVE_CDROM 5
; Windows 10 version 1809 is build 17763; Windows 7 is 7601, 8.1 is 9600.
!define OLDEST_BUILD 17763

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
; A reinstall goes where the last one went.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=2052 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=2052 "FileDescription" "${PRODUCT} 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "${COPYRIGHT}"

; What the finish page says about the workbook.
Var WorkbookNote

!define MUI_ICON "cubrix.ico"
!define MUI_UNICON "cubrix.ico"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_HEADER_TEXT "许可协议"
!insertmacro MUI_PAGE_LICENSE "${LICENSE_TEXT}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT_LARGE
!define MUI_FINISHPAGE_TEXT "${PRODUCT} 已安装到 $INSTDIR。$\r$\n$\r$\n$WorkbookNote"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "运行 ${PRODUCT}"
!define MUI_FINISHPAGE_RUN_FUNCTION RunAsOperator
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "SimpChinese"

; A running program holds its files: they could be neither replaced nor
; removed, and the setup would stop half done. Its window is titled Cubrix.
!macro RefuseWhileRunning
    FindWindow $0 "" "${PRODUCT}"
    ${If} $0 <> 0
        MessageBox MB_OK|MB_ICONEXCLAMATION "${PRODUCT} 正在运行。请先点“退 出”结束它，再运行本程序。" /SD IDOK
        SetErrorLevel 2
        Quit
    ${EndIf}
!macroend

; On an older Windows the program dies in the loader: its Qt needs system
; libraries that Windows 7 and 8.1 lack.
!macro RefuseOldWindows
    ${IfNot} ${AtLeastBuild} ${OLDEST_BUILD}
        MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} 需要 64 位 Windows 10（1809 版或更新）或 Windows 11，这台电脑的 Windows 版本太旧，无法安装。" /SD IDOK
        SetErrorLevel 3
        Quit
    ${EndIf}
!macroend

Function .onInit
    !insertmacro RefuseOldWindows
    SetRegView 64
    SetShellVarContext all
    !insertmacro RefuseWhileRunning
FunctionEnd

Function un.onInit
    SetRegView 64
    SetShellVarContext all
    !insertmacro RefuseWhileRunning
FunctionEnd

; The setup runs as administrator; the program, and the office it starts,
; should run as the operator. Explorer starts it with the operator's rights.
Function RunAsOperator
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\cubrix.exe"'
FunctionEnd

; The template goes to D: only where D: can take it and holds no workbook
; yet; a workbook there is the operator's bills and is never touched.
Function PlaceWorkbook
    StrCpy $1 "${WORKBOOK_DRIVE}\${WORKBOOK}"
    System::Call 'kernel32::GetDriveTypeW(w "${WORKBOOK_DRIVE}\") i .r0'
    ${If} $0 = ${DRIVE_UNKNOWN}
    ${OrIf} $0 = ${DRIVE_NO_ROOT_DIR}
        StrCpy $WorkbookNote "本机没有 D 盘。打印时，程序把账单写入 d:\${WORKBOOK}，那里必须有这个工作簿。账单模板已放在 $INSTDIR\${WORKBOOK}：有了 D 盘后，请把它复制到 D 盘根目录。"
    ${ElseIf} $0 = ${DRIVE_CDROM}
        StrCpy $WorkbookNote "D 盘是光驱，放不下工作簿。打印时，程序把账单写入 d:\${WORKBOOK}。账单模板已放在 $INSTDIR\${WORKBOOK}：请把它复制到可写的 D 盘根目录。"
    ${ElseIf} ${FileExists} $1
        StrCpy $WorkbookNote "D 盘已有 ${WORKBOOK}，保持原样，未作改动。"
    ${Else}
        CopyFiles /SILENT "$INSTDIR\${WORKBOOK}" "${WORKBOOK_DRIVE}\"
        ${If} ${FileExists} $1
            StrCpy $WorkbookNote "账单模板已复制到 $1，打印时程序写入这个工作簿。"
        ${Else}
            StrCpy $WorkbookNote "无法把账单模板复制到 D 盘。打印时，程序把账单写入 d:\${WORKBOOK}。账单模板在 $INSTDIR\${WORKBOOK}：请把它复制到 D 盘根目录。"
        ${EndIf}
    ${EndIf}
    DetailPrint $WorkbookNote
FunctionEnd

Section "Cubrix"
    ; An older install in the same place is overwritten file by file.
    SetOverwrite on
    !include /CHARSET=UTF8 "${FILES}"

    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    ; The working folder of both shortcuts is the current output path.
    CreateShortcut "$SMPROGRAMS\${SHORTCUT}.lnk" "$INSTDIR\cubrix.exe" "" "$INSTDIR\cubrix.exe" 0
    CreateShortcut "$DESKTOP\${SHORTCUT}.lnk" "$INSTDIR\cubrix.exe" "" "$INSTDIR\cubrix.exe" 0

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${SHORTCUT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\cubrix.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0

    Call PlaceWorkbook
SectionEnd

Section "Uninstall"
    ; Only what the setup put here; the folder goes when nothing else is left.
    !include /CHARSET=UTF8 "${REMOVE}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\${SHORTCUT}.lnk"
    Delete "$DESKTOP\${SHORTCUT}.lnk"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
