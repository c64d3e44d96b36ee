# Registers the stand-in Flash Player control (mvqflash.ocx, in build/bin or
# wherever the Windows build put its binaries) in the Wine prefix, under the
# control's class id, as an in-process server.
register_flash_control() {
  local dll
  for dll in "$MVQ_BIN/mvqflash.ocx" "$MVQ_WIN_BUILD/bin/mvqflash.ocx" ""; do
    [ -f "$dll" ] && break
  done
  if [ -z "$dll" ]; then
    say "stand-in Flash control not built (no mvqflash.ocx in $MVQ_BIN)"
    return 1
  fi
  wine regsvr32 /s "$(winepath -w "$dll" 2>/dev/null)" </dev/null >/dev/null 2>&1 \
    || { say "registering the stand-in Flash control failed"; return 1; }
}
register_flash_control
