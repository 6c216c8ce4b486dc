#!/usr/bin/env bash
# Runs the 100,000-file case of cleaning_bad_input_tests in the test prefix (WINEPREFIX, as the test scripts
# set it), on a tree written here from Linux: through Wine, one file at a time, writing it took over a minute.
# 100 folders of 1,000 files; file i of folder n holds (n + i) % 5 + 1 bytes.
set -u
test_exe=$1
root=${WINEPREFIX:?the test prefix}/drive_c/tracewipe-tree
rm -rf "$root"
contents=(x xx xxx xxxx xxxxx)
for ((n = 0; n < 100; n++)); do
    folder=$root/Temp/d$((n / 10))/e$n
    mkdir -p "$folder"
    for ((i = 0; i < 1000; i++)); do printf %s "${contents[(n + i) % 5]}" >"$folder/f$i"; done
done
wine "$test_exe" --gtest_filter='BadInputJobTree.*'
status=$?
rm -rf "$root"
exit $status
