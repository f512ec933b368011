@echo off
rem The usual batch-file way to start the installer that fits the running
rem Windows. PROCESSOR_ARCHITEW6432 is set only in a 32-bit cmd.exe on 64-bit
rem Windows; a 64-bit cmd.exe shows the machine in PROCESSOR_ARCHITECTURE.
setlocal
set "bits=32bit"
if /i not "%PROCESSOR_ARCHITECTURE%"=="x86" set "bits=64bit"
if defined PROCESSOR_ARCHITEW6432 set "bits=64bit"
"%~dp0%bits%\setup.exe" %*
exit /b %errorlevel%
