# Registers the stand-in Flash Player control (build/bin/mvqflash.ocx) in the
# Wine prefix, under the control's class id, as an in-process server.
register_flash_control() {
  local dll=$MVQ_BIN/mvqflash.ocx
  if [ ! -f "$dll" ]; then
    say "stand-in Flash control not built ($dll)"
    return 1
  fi
  wine regsvr32 /s "$(winepath -w "$dll" 2>/dev/null)" </dev/null >/dev/null 2>&1 \
    || { say "registering the stand-in Flash control failed"; return 1; }
}
register_flash_control
