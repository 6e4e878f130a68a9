; The Windows installer: scripts/build-windows lays out the program, lists its
; files for install and removal (FILES, REMOVE) and runs makensis with VERSION, ICON, OUTFILE.
; 64-bit stub: the programs are 64-bit, and wine64 runs it without a 32-bit wine.
Target amd64-unicode
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "x64.nsh"

!define PRODUCT "Ohmlet"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Ohmlet"
!define DZL_CLASS "Ohmlet.DZL"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Ohmlet"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=2052 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=2052 "FileDescription" "${PRODUCT} ${VERSION} 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "GPL-3.0-or-later"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\Kiosa.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"

Section "Ohmlet"
  SetRegView 64
  !include "${FILES}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; Kiosa starts the programs; Ohmlet also opens a file given to it.
  SetShellVarContext all
  CreateDirectory "$SMPROGRAMS\Ohmlet"
  CreateShortcut "$SMPROGRAMS\Ohmlet\Kiosa.lnk" "$INSTDIR\Kiosa.exe"
  CreateShortcut "$SMPROGRAMS\Ohmlet\Ohmlet.lnk" "$INSTDIR\gangjin\Ohmlet.exe"
  CreateShortcut "$SMPROGRAMS\Ohmlet\卸载 Ohmlet.lnk" "$INSTDIR\uninstall.exe"

  ; Double-clicking a .DZL file opens it in Ohmlet, with the file type's own icon.
  WriteRegStr HKLM "Software\Classes\.DZL" "" "${DZL_CLASS}"
  WriteRegStr HKLM "Software\Classes\${DZL_CLASS}" "" "DZL 电阻率数据文件"
  WriteRegStr HKLM "Software\Classes\${DZL_CLASS}\DefaultIcon" "" "$INSTDIR\gangjin\Ohmlet.exe,1"
  WriteRegStr HKLM "Software\Classes\${DZL_CLASS}\shell\open\command" "" '"$INSTDIR\gangjin\Ohmlet.exe" "%1"'
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\gangjin\Ohmlet.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes only what was installed: the folder may hold the user's own files (settings
; beside the program, saved reports), which stay.
Section "Uninstall"
  SetRegView 64
  !include "${REMOVE}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  SetShellVarContext all
  Delete "$SMPROGRAMS\Ohmlet\Kiosa.lnk"
  Delete "$SMPROGRAMS\Ohmlet\Ohmlet.lnk"
  Delete "$SMPROGRAMS\Ohmlet\卸载 Ohmlet.lnk"
  RMDir "$SMPROGRAMS\Ohmlet"

  ; The file type only while it is still ours.
  ReadRegStr $0 HKLM "Software\Classes\.DZL" ""
  StrCmp $0 "${DZL_CLASS}" 0 +2
    DeleteRegKey HKLM "Software\Classes\.DZL"
  DeleteRegKey HKLM "Software\Classes\${DZL_CLASS}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
