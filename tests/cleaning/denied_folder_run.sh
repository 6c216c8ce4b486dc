#!/usr/bin/env bash
# Runs the access-denied case of cleaning_bad_input_tests. Root passes over mode bits, and under Wine the
# wine server opens the files, so the prefix here is one of its own whose server and test run without
# CAP_DAC_OVERRIDE and CAP_DAC_READ_SEARCH; not as root, plain mode bits do. The locked folder is made here.
set -u
test_exe=$1
export WINEPREFIX=$2 WINEARCH=win32 WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}
obeying=()
if [ "$(id -u)" = 0 ]; then
    caps=-dac_override,-dac_read_search
    obeying=(setpriv --bounding-set=$caps --inh-caps=$caps)
fi
mkdir -p "$WINEPREFIX"
# Detached, so that the prefix's helper processes cannot hold ctest's pipes open.
"${obeying[@]}" setsid wineserver -p </dev/null >/dev/null 2>&1
"${obeying[@]}" setsid wine wineboot -i </dev/null >/dev/null 2>&1
root=$WINEPREFIX/drive_c/tracewipe-denied
rm -rf "$root"
mkdir -p "$root/Temp/locked"
echo kept >"$root/Temp/locked/inside.txt"
chmod 000 "$root/Temp/locked"
"${obeying[@]}" wine "$test_exe" --gtest_filter='BadInputJobAccessDenied.*'
status=$?
chmod 755 "$root/Temp/locked"
rm -rf "$root"
wineserver -k
wineserver -w
exit $status
