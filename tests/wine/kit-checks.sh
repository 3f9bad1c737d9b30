#!/usr/bin/env bash
# The whole Windows suite through the kit under Wine, as make test runs it,
# and what the kit promises around it: the registry it may touch is as it
# was after a run, also after one whose case failed; a failure is counted
# and fails the run; a standard user's run skips the elevated cases and
# fails none. Arguments go to run-tests.cmd of the full run.
# Ends with "N passed, N failed, N skipped": the suite's cases and these checks.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/tests/wine/prefix.sh"
ensure_display "$0" "$@"
kit=$root/build/test-kit/tolvarine-test-kit-x86
[ "$TOLVARINE_WINE_ARCH" = 32 ] || kit=${kit%x86}x64
[ -f "$kit/run-tests.cmd" ] || { echo "error: $kit is not built: run 'make build'."; echo "0 passed, 1 failed"; exit 1; }
kit_prefix_setup "$root/build/wineprefix-win$TOLVARINE_WINE_ARCH"
trap wine_prefix_end EXIT
passed=0 failed=0

check() {  # check <description> <command...>
    if "${@:2}"; then passed=$((passed + 1)); echo "ok    $1"; else failed=$((failed + 1)); echo "FAIL  $1"; fi
}

# Values a PC may hold under the keys the suite touches, and keys it lacks.
# Compared from the outermost key the suite may create down, so that every
# key that exists is compared, an empty one left behind too.
tracked=('HKCU\Software\Microsoft\Office' 'HKCU\Software\Policies' 'HKCU\Control Panel\Desktop'
         'HKCU\Software\Classes\.mde' 'HKCU\Software\Classes\TolvarineTest.Database' 'HKLM\Software\Classes\.mde'
         'HKLM\Software\Microsoft\Office' 'HKLM\Software\Wow6432Node\Microsoft\Office'
         'HKCU\Software\TolvarineTests' 'HKCU\Software\Tolvarine')
wine reg add 'HKCU\Software\Microsoft\Office\11.0\Access\Security' /v Level /t REG_DWORD /d 3 /f >/dev/null
wine reg add 'HKCU\Software\Microsoft\Office\16.0\Access\Security\Trusted Locations\Own' /v Path /d 'C:\Own\' /f >/dev/null
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 120 /f >/dev/null
wine reg add 'HKLM\Software\Classes\.mde' /ve /d Seeded.Database /f >/dev/null
wine reg add 'HKCU\Software\Tolvarine\Installer' /v InstallFolder /d 'C:\Seeded\Tolvarine\' /f >/dev/null
registry() { local key; for key in "${tracked[@]}"; do echo "[$key]"; wine reg query "$key" /s 2>&1; done; }
registry >"$WINEPREFIX.before"
unchanged() { registry >"$WINEPREFIX.after"; diff "$WINEPREFIX.before" "$WINEPREFIX.after" >&2; }

# closing <output file>: the kit's last line
closing() { tr -d '\r' <"$1" | tail -1; }

run_kit "$kit" "$@" | tee "$WINEPREFIX.full.log"
code=${PIPESTATUS[0]}
read -r suite_passed _ suite_failed _ suite_skipped _ < <(closing "$WINEPREFIX.full.log")
[ "$code" -eq 0 ] || [ "${suite_failed:-0}" -gt 0 ] || suite_failed=1
check "the registry the suite touched is as it was before" unchanged
run_kit "$kit" --gtest_also_run_disabled_tests --gtest_filter='Kit.DISABLED_FailsOnPurpose' >"$WINEPREFIX.fail.log" 2>&1
code=$?
check "a failing case fails the run and is counted" \
    eval '[ "$code" -ne 0 ] && [ "$(closing "$WINEPREFIX.fail.log")" = "0 passed, 1 failed, 0 skipped" ]'
check "after a failing case the registry is as it was before" unchanged
run_kit "$kit" --as-standard-user \
    --gtest_filter='LaunchTest.PolicyLocation*:Form1StartsAccess.*:Form1Test.MissingAccess*' >"$WINEPREFIX.user.log" 2>&1
code=$?
check "a standard user's run skips the elevated cases, fails none, and says why" \
    eval '[ "$code" -eq 0 ] && [ "$(closing "$WINEPREFIX.user.log")" = "0 passed, 0 failed, 6 skipped" ] &&
          grep -q "needs an elevated administrator: the policy keys are read-only to users" "$WINEPREFIX.user.log"'
# Last, in a prefix thrown away after it: a TEMP folder named with ")" (cmd
# would end a block there) on a PC where the user chose a program for .mde:
# the run completes, and the launch cases skip, saying why.
mkdir -p "$WINEPREFIX/drive_c/tolvarine x) temp"
wine reg add 'HKCU\Environment' /v TEMP /d 'C:\tolvarine x) temp' /f >/dev/null
wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\FileExts\.mde\UserChoice' /v ProgId /d Chosen.Database /f >/dev/null
run_kit "$kit" --gtest_filter='LaunchTest.OpensTheDatabase*' >"$WINEPREFIX.chosen.log" 2>&1
code=$?
check "with a TEMP named with ')' and a program the user chose for .mde, the launch cases skip, saying why" \
    eval '[ "$code" -eq 0 ] && [ "$(closing "$WINEPREFIX.chosen.log")" = "0 passed, 0 failed, 1 skipped" ] &&
          grep -q "chose Chosen.Database for .mde files" "$WINEPREFIX.chosen.log"'
echo "$((${suite_passed:-0} + passed)) passed, $((${suite_failed:-1} + failed)) failed, ${suite_skipped:-0} skipped"
[ "$((${suite_failed:-1} + failed))" -eq 0 ]
