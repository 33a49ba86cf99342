; The Windows setup of Resipa Elektronik: a 64-bit installer, in Indonesian, that installs the
; program for the user who runs it, without an administrator, into a folder that user can
; write, since the program keeps its receipts beside itself. Made by the build's `setup` target:
;   makensis -DVERSION=1.0.0 -DFILE_VERSION=1.0.0.0 -DPROGRAM=resipa.exe -DDATA=data \
;            -DICON=resipa.ico -DOUTFILE=resipa-setup-1.0.0.exe resipa.nsi
; An upgrade and the uninstaller keep what the operator made or changed: the profile, the
; template, the last receipt and the receipts' folder.

!ifndef VERSION | FILE_VERSION | PROGRAM | DATA | ICON | OUTFILE
    !error "Give VERSION, FILE_VERSION, PROGRAM, DATA, ICON and OUTFILE with -D"
!endif

; A 32-bit stub would need the 32-bit Wine and Windows' emulation; the program is 64-bit.
Target amd64-unicode
RequestExecutionLevel user
ManifestDPIAware true
SetCompressor /SOLID lzma
; A file that cannot be written ends the install: skipping it would mix two versions.
AllowSkipFiles off

!define APP "Resipa Elektronik"
!define EXE "resipa.exe"
!define UNINSTALLER "copot.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ResipaElektronik"
; The copies of what the last install delivered, by which an upgrade and the uninstaller tell
; the operator's own files from ours.
!define RECORD ".terpasang"
; The uninstaller removes the operator's own files too when this is on its command line.
!define ALL_SWITCH "/SEMUA"

Name "${APP}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${APP}"
; An upgrade goes where the last install went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
BrandingText "${APP} ${VERSION}"
ShowUninstDetails show

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

VIProductVersion "${FILE_VERSION}"
VIAddVersionKey /LANG=1057 ProductName "${APP}"
VIAddVersionKey /LANG=1057 ProductVersion "${VERSION}"
VIAddVersionKey /LANG=1057 FileVersion "${VERSION}"
VIAddVersionKey /LANG=1057 FileDescription "Instalasi ${APP} ${VERSION}"
VIAddVersionKey /LANG=1057 LegalCopyright "${APP}"

Var FinishText

!define MUI_ABORTWARNING
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC

!define MUI_WELCOMEPAGE_TEXT "Program ini menginstal ${APP} ${VERSION} untuk Anda sendiri; hak \
    administrator tidak diperlukan.$\r$\n$\r$\nJika ${APP} sudah terinstal, versinya diperbarui: \
    profil perusahaan dan template kwitansi yang sudah Anda ubah, kwitansi terakhir, dan folder \
    kwitansi tetap seperti semula.$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!define MUI_COMPONENTSPAGE_TEXT_TOP "Centang pintasan di desktop bila Anda menginginkannya. \
    $_CLICK"
!insertmacro MUI_PAGE_COMPONENTS
!define MUI_DIRECTORYPAGE_TEXT_TOP "${APP} menyimpan kwitansinya di folder programnya sendiri, \
    jadi folder itu harus dapat Anda tulis. Folder yang disarankan adalah milik Anda. \
    $_CLICK"
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE CheckFolderWritable
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "$FinishText"
!define MUI_FINISHPAGE_TEXT_LARGE
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION StartProgram
!insertmacro MUI_PAGE_FINISH

!define MUI_COMPONENTSPAGE_TEXT_TOP "Program, pintasan, dan entrinya di daftar aplikasi akan \
    dihapus. Profil perusahaan dan template yang Anda ubah, kwitansi terakhir (Resipa.rtf), dan \
    folder kwitansi (.kwitansi) tetap disimpan, kecuali Anda mencentang kotak kedua."
!define MUI_PAGE_CUSTOMFUNCTION_SHOW un.HideSpaceRequired
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Indonesian"

; Leaves 1 on the stack when both files exist and hold the same bytes, else 0. Sizes are
; compared first, so the bytes are read only as far as the smaller of our own files.
!macro DefineFilesEqual un
Function ${un}FilesEqual
    Exch $1
    Exch
    Exch $0
    Push $2
    Push $3
    Push $4
    Push $5
    Push $6
    StrCpy $6 0
    ClearErrors
    FileOpen $2 $0 r
    ${IfNot} ${Errors}
        FileOpen $3 $1 r
        ${IfNot} ${Errors}
            FileSeek $2 0 END $4
            FileSeek $3 0 END $5
            ${If} $4 = $5
                FileSeek $2 0 SET
                FileSeek $3 0 SET
                StrCpy $6 1
                ${While} $4 > 0
                    FileReadByte $2 $0
                    FileReadByte $3 $1
                    ${If} $0 <> $1
                        StrCpy $6 0
                        ${Break}
                    ${EndIf}
                    IntOp $4 $4 - 1
                ${EndWhile}
            ${EndIf}
            FileClose $3
        ${EndIf}
        FileClose $2
    ${EndIf}
    StrCpy $0 $6
    Pop $6
    Pop $5
    Pop $4
    Pop $3
    Pop $2
    Exch
    Pop $1
    Exch $0
FunctionEnd
!macroend
!insertmacro DefineFilesEqual ""
!insertmacro DefineFilesEqual "un."

!macro FilesEqual un first second result
    Push "${first}"
    Push "${second}"
    Call ${un}FilesEqual
    Pop ${result}
!macroend

; Windows refuses to open a running program for writing: while the copy in the install folder
; runs, the clerk is asked to close it, before anything is written or removed. Silently there is
; no one to ask, and the run ends with nothing changed.
!macro DefineWaitUntilClosed un
Function ${un}WaitUntilClosed
    ${DoWhile} ${FileExists} "$INSTDIR\${EXE}"
        ClearErrors
        FileOpen $0 "$INSTDIR\${EXE}" a
        ${IfNot} ${Errors}
            FileClose $0
            ${Break}
        ${EndIf}
        ${If} ${Cmd} `MessageBox MB_OKCANCEL|MB_ICONEXCLAMATION "${APP} sedang berjalan dari \
                folder ini:$\r$\n$INSTDIR$\r$\n$\r$\nTutup program itu dengan tombol Keluar, lalu \
                tekan OK. Belum ada yang diubah." /SD IDCANCEL IDCANCEL`
            Abort
        ${EndIf}
    ${Loop}
FunctionEnd
!macroend
!insertmacro DefineWaitUntilClosed ""
!insertmacro DefineWaitUntilClosed "un."

; Writes the install's copy of what it delivered as NAME, kept hidden beside it.
!macro Record name
    SetFileAttributes "$INSTDIR\${name}${RECORD}" NORMAL
    File "/oname=$INSTDIR\${name}${RECORD}" "${DATA}\${name}"
    SetFileAttributes "$INSTDIR\${name}${RECORD}" HIDDEN
!macroend

; The folder, or the nearest one above it that exists, must take a new file of the clerk's.
Function CheckFolderWritable
    StrCpy $0 $INSTDIR
    ${DoUntil} ${FileExists} "$0\*.*"
        ${GetParent} $0 $1
        ${If} $1 == ""
        ${OrIf} $1 == $0
            ${Break}
        ${EndIf}
        StrCpy $0 $1
    ${Loop}
    System::Call 'kernel32::GetTempFileNameW(w r0, w "rsp", i 0, w .r1) i .r2'
    ${If} $2 <> 0
        Delete $1
        Return
    ${EndIf}
    MessageBox MB_OK|MB_ICONEXCLAMATION "Folder ini tidak dapat Anda tulis:$\r$\n$INSTDIR$\r$\n\
        $\r$\n${APP} menyimpan kwitansinya di folder programnya. Pilih folder lain, misalnya \
        yang disarankan semula."
    Abort
FunctionEnd

Section "${APP}" SecMain
    SectionIn RO
    SetOutPath "$INSTDIR"
    Call WaitUntilClosed
    ; The program first: should it fail, nothing of the operator's has been touched.
    File "/oname=${EXE}" "${PROGRAM}"
    InitPluginsDir
    File "/oname=$PLUGINSDIR\rspdefault.rtf" "${DATA}\rspdefault.rtf"
    File "/oname=$PLUGINSDIR\informasi.inf" "${DATA}\informasi.inf"

    StrCpy $FinishText "${APP} ${VERSION} sudah terinstal di folder$\r$\n$INSTDIR$\r$\n$\r$\n\
        Bukalah dari menu Start. Profil perusahaan Anda ada di berkas informasi.inf dalam folder \
        itu."

    ; The template follows each install unless the operator changed what the last one wrote.
    !insertmacro FilesEqual "" "$INSTDIR\rspdefault.rtf" "$INSTDIR\rspdefault.rtf${RECORD}" $0
    !insertmacro FilesEqual "" "$INSTDIR\rspdefault.rtf" "$PLUGINSDIR\rspdefault.rtf" $1
    ${If} $0 = 1
    ${OrIf} $1 = 1
    ${OrIfNot} ${FileExists} "$INSTDIR\rspdefault.rtf"
        File "/oname=rspdefault.rtf" "${DATA}\rspdefault.rtf"
        ; A new default left beside an earlier template of the operator's is no news any more.
        !insertmacro FilesEqual "" "$INSTDIR\rspdefault.rtf.baru" "$INSTDIR\rspdefault.rtf${RECORD}" $0
        !insertmacro FilesEqual "" "$INSTDIR\rspdefault.rtf.baru" "$PLUGINSDIR\rspdefault.rtf" $1
        ${If} $0 = 1
        ${OrIf} $1 = 1
            Delete "$INSTDIR\rspdefault.rtf.baru"
        ${EndIf}
    ${Else}
        File "/oname=rspdefault.rtf.baru" "${DATA}\rspdefault.rtf"
        DetailPrint "Template Anda tetap dipakai; template baru: $INSTDIR\rspdefault.rtf.baru"
        ; The last page has room for one note, and an upgrading clerk knows the profile.
        StrCpy $FinishText "${APP} ${VERSION} sudah terinstal di folder$\r$\n$INSTDIR$\r$\n\
            $\r$\nTemplate kwitansi Anda (rspdefault.rtf) sudah Anda ubah, jadi tetap dipakai. \
            Template baru versi ini ada di sebelahnya: rspdefault.rtf.baru."
    ${EndIf}
    !insertmacro Record rspdefault.rtf

    ; The sample profile goes in only where there is none; it stays ours while unchanged.
    !insertmacro FilesEqual "" "$INSTDIR\informasi.inf" "$PLUGINSDIR\informasi.inf" $0
    ${IfNot} ${FileExists} "$INSTDIR\informasi.inf"
        File "/oname=informasi.inf" "${DATA}\informasi.inf"
        !insertmacro Record informasi.inf
    ${ElseIf} $0 = 1
        !insertmacro Record informasi.inf
    ${EndIf}

    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    CreateShortcut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${APP}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    SectionGetSize ${SecMain} $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section /o "Pintasan di desktop" SecDesktop
    SetOutPath "$INSTDIR"
    CreateShortcut "$DESKTOP\${APP}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0
SectionEnd

Section "-" SecNoDesktop
    ${IfNot} ${SectionIsSelected} ${SecDesktop}
        Delete "$DESKTOP\${APP}.lnk"
    ${EndIf}
SectionEnd

Function .onInit
    ; An earlier desktop shortcut stays unless the clerk unticks it.
    ${If} ${FileExists} "$DESKTOP\${APP}.lnk"
        SectionSetFlags ${SecDesktop} ${SF_SELECTED}
    ${EndIf}
FunctionEnd

Function StartProgram
    SetOutPath "$INSTDIR"
    Exec '"$INSTDIR\${EXE}"'
FunctionEnd

; An uninstall needs no room on the disk.
Function un.HideSpaceRequired
    FindWindow $0 "#32770" "" $HWNDPARENT
    GetDlgItem $0 $0 1023 ; the line "space required"
    ShowWindow $0 ${SW_HIDE}
FunctionEnd

Section "un.${APP}" UnSecMain
    SectionIn RO
SectionEnd

Section /o "un.Juga profil, template, dan kwitansi Anda" UnSecAll
SectionEnd

Function un.onInit
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "${ALL_SWITCH}" $1
    ${IfNot} ${Errors}
        SectionSetFlags ${UnSecAll} ${SF_SELECTED}
    ${EndIf}
FunctionEnd

; Removes NAME beside the program when it is still what the install delivered, or when the
; clerk asked for everything; otherwise says that it stays.
!macro RemoveUnlessOperators name delivered
    !insertmacro FilesEqual "un." "$INSTDIR\${name}" "$INSTDIR\${delivered}${RECORD}" $0
    ${If} $0 = 1
    ${OrIf} ${SectionIsSelected} ${UnSecAll}
        Delete "$INSTDIR\${name}"
    ${ElseIf} ${FileExists} "$INSTDIR\${name}"
        DetailPrint "Disimpan: $INSTDIR\${name}"
    ${EndIf}
!macroend

Section "-un.Remove"
    Call un.WaitUntilClosed
    Delete "$INSTDIR\${EXE}"
    Delete "$INSTDIR\${UNINSTALLER}"
    !insertmacro RemoveUnlessOperators rspdefault.rtf rspdefault.rtf
    !insertmacro RemoveUnlessOperators rspdefault.rtf.baru rspdefault.rtf
    !insertmacro RemoveUnlessOperators informasi.inf informasi.inf
    SetFileAttributes "$INSTDIR\rspdefault.rtf${RECORD}" NORMAL
    SetFileAttributes "$INSTDIR\informasi.inf${RECORD}" NORMAL
    Delete "$INSTDIR\rspdefault.rtf${RECORD}"
    Delete "$INSTDIR\informasi.inf${RECORD}"

    ${If} ${SectionIsSelected} ${UnSecAll}
        Delete "$INSTDIR\Resipa.rtf"
        Call un.RemoveReceiptsFolder
    ${Else}
        ${If} ${FileExists} "$INSTDIR\Resipa.rtf"
            DetailPrint "Disimpan: $INSTDIR\Resipa.rtf"
        ${EndIf}
        ${If} ${FileExists} "$INSTDIR\.kwitansi\*.*"
            DetailPrint "Disimpan: $INSTDIR\.kwitansi"
        ${EndIf}
    ${EndIf}

    ; The menu entries and the registry entry belong to the install the entry names: while
    ; another folder still holds that program, they stay.
    ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 == ""
    ${OrIfNot} ${FileExists} "$0\${EXE}"
        Delete "$SMPROGRAMS\${APP}.lnk"
        Delete "$DESKTOP\${APP}.lnk"
        DeleteRegKey HKCU "${UNINSTALL_KEY}"
    ${EndIf}
    ; Only when nothing else is left in it.
    RMDir "$INSTDIR"
SectionEnd

; The receipts' folder is never entered when it is a link or junction: only the link goes,
; and what it points at stays. In a real folder only the receipts' own names are removed.
Function un.RemoveReceiptsFolder
    System::Call 'kernel32::GetFileAttributesW(w "$INSTDIR\.kwitansi") i .r0'
    ${If} $0 = -1
        Return
    ${EndIf}
    IntOp $1 $0 & 0x400 ; FILE_ATTRIBUTE_REPARSE_POINT
    ${If} $1 = 0
        Delete "$INSTDIR\.kwitansi\Kwitansi *.rtf"
    ${EndIf}
    RMDir "$INSTDIR\.kwitansi"
FunctionEnd
