# Installs the stand-in ZMBV video compressor (mvqzmbv.dll) in the Wine prefix
# as Windows installs a Video for Windows codec: the DLL in the system folder,
# its name under the driver key as "vidc.zmbv". The copy goes in under a new
# inode (copy, then rename): the prefix copies of running commands share the
# system folder's files through hard links and keep the DLL they started with.
register_zmbv_codec() {
  local dll system
  for dll in "$MVQ_BIN/mvqzmbv.dll" "$MVQ_WIN_BUILD/bin/mvqzmbv.dll" ""; do
    [ -f "$dll" ] && break
  done
  if [ -z "$dll" ]; then
    say "stand-in ZMBV compressor not built (no mvqzmbv.dll in $MVQ_BIN)"
    return 1
  fi
  system=$WINEPREFIX/drive_c/windows/system32
  cp "$dll" "$system/.mvqzmbv.dll.new" && mv -f "$system/.mvqzmbv.dll.new" "$system/mvqzmbv.dll" \
    || { say "copying the stand-in ZMBV compressor into the prefix failed"; return 1; }
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Drivers32' /v vidc.zmbv /d mvqzmbv.dll /f \
    </dev/null >/dev/null 2>&1 || { say "registering the stand-in ZMBV compressor failed"; return 1; }
}
register_zmbv_codec
