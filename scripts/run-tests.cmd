@echo off
rem The Tolvarine Windows tests, from this kit's folder: run it from
rem Explorer, cmd or PowerShell, from any folder, as administrator for the
rem cases that need it. Arguments go to the test program, for example
rem --gtest_filter=LaunchTest.* or --as-standard-user. It records what the
rem tests may change, runs them in a fresh folder under %TEMP%, puts back
rem what they changed (also after a failure or a crash), writes
rem test-results.xml beside this file, prints the figures the tests measured
rem and ends with "N passed, N failed, N skipped". Exit code 0 only when no
rem case failed.
rem Paths are expanded only outside parenthesised blocks and quoted where
rem printed, so that a folder named with ")" or "&" cannot end a block or
rem start a command; delayed expansion is off, so a "!" in a name stays.
rem Exit codes are compared by value: "if errorlevel 1" is false for the
rem negative code of a crash (0xC0000005 is -1073741819).
setlocal EnableExtensions DisableDelayedExpansion
set "KIT=%~dp0"
if "%KIT:~-1%"=="\" set "KIT=%KIT:~0,-1%"
set "TESTS=%KIT%\windows_tests.exe"
set "WORK=%TEMP%\tolvarine-tests-%RANDOM%%RANDOM%"
set "PASSED=0"
set "FAILED=1"
set "SKIPPED=0"
set "CODE=1"
mkdir "%WORK%" 2>nul
if exist "%WORK%\" goto :made
echo error: cannot make the work folder "%WORK%"
goto :end
:made
"%TESTS%" --unblock
"%TESTS%" --save-state "%WORK%\state-before.txt"
if not "%ERRORLEVEL%"=="0" goto :clean
pushd "%WORK%"
"%TESTS%" "--gtest_output=xml:%KIT%\test-results.xml" --summary-file "%WORK%\summary.txt" %*
set "CODE=%ERRORLEVEL%"
popd
"%TESTS%" --restore-state "%WORK%\state-before.txt"
set "RESTORED=%ERRORLEVEL%"
if not exist "%WORK%\summary.txt" echo error: the test program ended with code %CODE% before its summary: it crashed, or could not start
if exist "%WORK%\summary.txt" for /f "usebackq tokens=1,3,5" %%a in ("%WORK%\summary.txt") do call :counts %%a %%b %%c
if not "%RESTORED%"=="0" set /a FAILED+=1
if exist "%WORK%\figures.txt" type "%WORK%\figures.txt"
:clean
rmdir /s /q "%WORK%" 2>nul
if exist "%WORK%" echo note: "%WORK%" could not be removed
:end
echo %PASSED% passed, %FAILED% failed, %SKIPPED% skipped
if "%FAILED%"=="0" if "%CODE%"=="0" exit /b 0
exit /b 1

:counts
set "PASSED=%1"
set "FAILED=%2"
set "SKIPPED=%3"
exit /b 0
