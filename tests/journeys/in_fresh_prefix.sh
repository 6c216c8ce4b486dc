#!/usr/bin/env bash
# Runs one journey in a Wine prefix of its own, made fresh for it and removed after it passed:
#   in_fresh_prefix.sh <prefix folder> <journeys program> <its arguments...>
# The display is the caller's (scripts/test starts one); without one, wine-env starts its own Xvfb.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
prefix=$1
program=$2
shift 2

rm -rf "$prefix"
. "$root/scripts/wine-env"
trap wine_env_stop EXIT
wine_env_start "$(dirname "$prefix")" "$prefix"

wine "$program" "$@"
rc=$?
wine_env_stop
trap - EXIT
# A passed journey leaves nothing; a failed one keeps its prefix to look into.
[ "$rc" -eq 0 ] && rm -rf "$prefix"
exit "$rc"
