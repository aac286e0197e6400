@echo off
rem Rastel's test kit: runs every Windows test program and the grid switch
rem benchmark from this folder. Results: test-results.txt (one line per test
rem program, then the totals) and bench-results.txt; each program's full
rem output is in logs\. The exit code is 1 when anything failed.
setlocal EnableDelayedExpansion
cd /d "%~dp0"
if not exist logs mkdir logs
set PASSED=0
set FAILED=0
set SKIPPED=0
> test-results.txt echo Rastel test kit, %DATE% %TIME%
for %%T in (framework_tests controls_tests app_tests) do call :run %%T
if not defined RASTEL_BENCH_REPETITIONS set RASTEL_BENCH_REPETITIONS=15
echo Running grid_switch_bench ...
grid_switch_bench.exe images %RASTEL_BENCH_REPETITIONS% > bench-results.txt 2>&1
set CODE=%ERRORLEVEL%
if not "%CODE%"=="0" call :broken grid_switch_bench %CODE% bench-results.txt
>> test-results.txt echo %PASSED% passed, %FAILED% failed, %SKIPPED% skipped
type test-results.txt
rem Opened for whoever double-clicked this file; scripts set RASTEL_KIT_QUIET.
if not defined RASTEL_KIT_QUIET start "" notepad.exe test-results.txt
if %FAILED% gtr 0 exit /b 1
exit /b 0

rem One test program: its counts are written by the program itself when all
rem its tests have run.
:run
echo Running %1 ...
if exist "logs\%1.counts" del "logs\%1.counts"
"%1.exe" --counts=logs\%1.counts > "logs\%1.log" 2>&1
set CODE=%ERRORLEVEL%
if not exist "logs\%1.counts" (
  call :broken %1 %CODE% logs\%1.log
  goto :eof
)
set /p COUNTS=<"logs\%1.counts"
call :add %1 %COUNTS%
goto :eof

:add
set /a PASSED+=%2
set /a FAILED+=%3
set /a SKIPPED+=%4
>> test-results.txt echo %1: %2 passed, %3 failed, %4 skipped
goto :eof

:broken
set /a FAILED+=1
>> test-results.txt echo %1: ended before its tests were done (exit code %2), see %3
goto :eof
