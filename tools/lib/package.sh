# ./moviquill package: dist/moviquill-VERSION-win32.zip, what a Windows user
# installs: the program with its help page, the importer plug-in, the ZMBV video
# compressor with its install step, and, as an optional part for machines
# without a working Flash Player control, our control with its registration
# step and the fonts it draws device text with. No test programs. INSTALL.txt
# inside says what goes where; it and the two install steps are the files of
# tools/package, given CR LF line ends here.

package_version() {
  git -C "$MVQ_ROOT" describe --tags --always --dirty 2>/dev/null || echo dev
}

# Text files for Windows: CR LF line ends.
to_crlf() { sed -i 's/\r*$/\r/' "$@"; }

assemble_package() {  # dir
  local dir=$1
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
  local texts=$MVQ_ROOT/tools/package
  cp "$texts/INSTALL.txt" "$dir/" &&
    cp "$texts/install-codec.cmd" "$dir/codec/" &&
    cp "$texts/register-control.cmd" "$dir/optional/flash-control/" || return 1
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
