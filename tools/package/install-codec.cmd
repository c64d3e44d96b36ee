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
