@echo off
rem Registers the bundled Flash Player control where it lies.
regsvr32 /s "%~dp0mvqflash.ocx"
if errorlevel 1 goto failed
echo The Flash Player control is registered.
exit /b 0
:failed
echo Registering the Flash Player control failed (run as administrator).
exit /b 1
