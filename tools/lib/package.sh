# ./moviquill package: dist/moviquill-VERSION-win32.zip, what a Windows user
# installs: the program with its help page, the importer plug-in, the ZMBV video
# compressor with its install step, and, as an optional part for machines
# without a working Flash Player control, our control with its registration
# step and the fonts it draws device text with. No test programs. INSTALL.txt
# inside says what goes where.

package_version() {
  git -C "$MVQ_ROOT" describe --tags --always --dirty 2>/dev/null || echo dev
}

write_install_note() {  # file
  cat >"$1" <<'NOTE'
Moviquill - turns Flash movies (SWF) into video
================================================

1. The program
   Copy this folder anywhere (for example C:\Program Files\Moviquill) and start
   Moviquill.exe. MVQHelp.htm, its help page, must stay beside it.
   Moviquill needs a Flash Player ActiveX control (see 4).

2. The ZMBV video compressor (lossless, small files of flat-coloured animation)
   Run codec\install-codec.cmd as administrator. It copies mvqzmbv.dll into the
   system folder (SysWOW64 on 64-bit Windows) and names it under
   HKLM\Software\Microsoft\Windows NT\CurrentVersion\Drivers32 as "vidc.zmbv".
   It then appears as "Zip Motion Block Video (ZMBV)" in the export settings'
   compressor chooser. ffmpeg and most players read its files.

3. The importer plug-in for video editors
   Copy plugins\im-tq-swf.prm into your video editor's plug-in folder: the
   folder the editor scans for importer plug-ins at start-up, usually
   "Plug-ins" (or "Plug-ins\Common") inside the editor's installation folder.
   Restart the editor; SWF files then open as clips.

4. Optional: a Flash Player control
   Only for machines without a working Flash Player ActiveX control. Run
   optional\flash-control\register-control.cmd as administrator: it registers
   mvqflash.ocx where it lies, so leave the folder (with its fonts) in place.
   To remove it: regsvr32 /u mvqflash.ocx.
NOTE
}

write_codec_installer() {  # file
  cat >"$1" <<'CMD'
@echo off
rem Installs the ZMBV video compressor for Video for Windows programs.
set SYSTEM=%SystemRoot%\system32
set VIEW=
if exist "%SystemRoot%\SysWOW64" (
  set SYSTEM=%SystemRoot%\SysWOW64
  set VIEW=/reg:32
)
copy /y "%~dp0mvqzmbv.dll" "%SYSTEM%\mvqzmbv.dll" >nul
if errorlevel 1 goto failed
reg add "HKLM\Software\Microsoft\Windows NT\CurrentVersion\Drivers32" /v vidc.zmbv /d mvqzmbv.dll /f %VIEW% >nul
if errorlevel 1 goto failed
echo The ZMBV video compressor is installed.
exit /b 0
:failed
echo Installing the ZMBV video compressor failed (run as administrator).
exit /b 1
CMD
}

write_control_registration() {  # file
  cat >"$1" <<'CMD'
@echo off
rem Registers the bundled Flash Player control where it lies.
regsvr32 /s "%~dp0mvqflash.ocx"
if errorlevel 1 goto failed
echo The Flash Player control is registered.
exit /b 0
:failed
echo Registering the Flash Player control failed (run as administrator).
exit /b 1
CMD
}

# Text files for Windows: CR LF line ends.
to_crlf() { sed -i 's/\r*$/\r/' "$@"; }

assemble_package() {  # dir
  local dir=$1 f
  mkdir -p "$dir/codec" "$dir/plugins" "$dir/optional/flash-control/fonts"
  cp "$MVQ_BIN/MVQHelp.htm" "$dir/" || return 1
  # Stripped: the symbols are for our own debugging, not for users.
  i686-w64-mingw32-strip -o "$dir/Moviquill.exe" "$MVQ_BIN/Moviquill.exe" &&
    i686-w64-mingw32-strip -o "$dir/plugins/im-tq-swf.prm" "$MVQ_BIN/im-tq-swf.prm" &&
    i686-w64-mingw32-strip -o "$dir/codec/mvqzmbv.dll" "$MVQ_BIN/mvqzmbv.dll" &&
    i686-w64-mingw32-strip -o "$dir/optional/flash-control/mvqflash.ocx" "$MVQ_BIN/mvqflash.ocx" || return 1
  cp /usr/share/fonts/truetype/liberation/Liberation{Sans,Serif,Mono}-*.ttf \
    /usr/share/doc/fonts-liberation/copyright "$dir/optional/flash-control/fonts/" 2>/dev/null
  [ -f "$dir/optional/flash-control/fonts/LiberationSans-Regular.ttf" ] || { say "the Liberation fonts are missing"; return 1; }
  write_install_note "$dir/INSTALL.txt"
  write_codec_installer "$dir/codec/install-codec.cmd"
  write_control_registration "$dir/optional/flash-control/register-control.cmd"
  to_crlf "$dir/INSTALL.txt" "$dir/codec/install-codec.cmd" "$dir/optional/flash-control/register-control.cmd"
}

MVQ_PACKAGE_WORK=
MVQ_PACKAGE_ZIP=

cmd_package() {
  [ -n "${MVQ_NO_SETUP:-}" ] || cmd_setup
  local name
  name=moviquill-$(package_version)-win32
  MVQ_PACKAGE_ZIP=$MVQ_ROOT/dist/$name.zip
  MVQ_PACKAGE_WORK=$(mktemp -d "${TMPDIR:-/tmp}/mvq-package.XXXXXX") || die "no temporary folder"
  trap 'rm -rf "$MVQ_PACKAGE_WORK" "$MVQ_PACKAGE_ZIP.part"' EXIT
  assemble_package "$MVQ_PACKAGE_WORK/$name" || die "the package could not be put together (run ./moviquill setup)"
  mkdir -p "$MVQ_ROOT/dist"
  (cd "$MVQ_PACKAGE_WORK" && python3 -m zipfile -c "$MVQ_PACKAGE_ZIP.part" "$name") || die "zipping failed"
  mv -f "$MVQ_PACKAGE_ZIP.part" "$MVQ_PACKAGE_ZIP"
  echo "$MVQ_PACKAGE_ZIP"
}
