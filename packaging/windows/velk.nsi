; velk-setup.exe: puts velk.exe into Program Files\Velk, adds a Start menu entry and an
; uninstaller that the system lists among its installed programs. Built by the Windows build
; (makensis -DVELK_EXE=... -DVELK_VERSION=... -DOUTFILE=...); /S installs and uninstalls
; silently. The 64-bit stub, since velk.exe is a 64-bit program and a 32-bit installer would
; see the 32-bit Program Files and registry.
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Velk"

Name "Velk"
Caption "Velk ${VELK_VERSION} Setup"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Velk"
RequestExecutionLevel admin
ShowInstDetails show

VIProductVersion "${VELK_VERSION}"
VIAddVersionKey "ProductName" "Velk"
VIAddVersionKey "FileDescription" "Velk Setup"
VIAddVersionKey "FileVersion" "${VELK_VERSION}"
VIAddVersionKey "ProductVersion" "${VELK_VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2026 Velk"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Velk"
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    File "/oname=velk.exe" "${VELK_EXE}"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\Velk.lnk" "$INSTDIR\velk.exe" "" "$INSTDIR\velk.exe" 0
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Velk"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VELK_VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Velk"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\velk.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    Delete "$SMPROGRAMS\Velk.lnk"
    Delete "$INSTDIR\velk.exe"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
