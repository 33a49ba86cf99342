#!/usr/bin/env bash
# Makes or removes a Wine prefix that the Windows suites of one run share, or runs a program
# of the suites in it:
#   wineprefix.sh make|remove WINE64 WINESERVER
#   wineprefix.sh run WINE64 WINESERVER PROGRAM ARGUMENTS...
# with WINEPREFIX (and the rest of Wine's environment) set as the suites have it. With RESIPA_X
# set the prefix has an X desktop of its own, on which its programs run.
set -euo pipefail
action=$1 wine64=$2 wineserver=$3
prefix=${WINEPREFIX:?}
x=$prefix/x
source "$(dirname "${BASH_SOURCE[0]}")/xdesktop.sh"
# Only a folder that the build names for its suites is ever removed.
case $(basename "$prefix") in
wineprefix*) ;;
*) echo "not a suite prefix: $prefix" >&2; exit 2 ;;
esac

# Ends every process of this prefix, and only of this one, then removes it.
remove() {
    if [ -d "$prefix" ]; then
        "$wineserver" -k 2>/dev/null || true
        "$wineserver" -w
    fi
    if [ -d "$x" ]; then xdesktop_stop "$x"; fi
    rm -rf "$prefix"
}

case $action in
make)
    remove # what a run cut short left behind
    # The server keeps its socket in a folder of TMPDIR, which the suites set inside the prefix.
    mkdir -p "$prefix" "${TMPDIR:?}"
    if [ -n "${RESIPA_X:-}" ]; then
        mkdir "$x"
        xdesktop_start "$x"
    fi
    # Kept running between the suites so that each starts at once rather than booting Wine
    # anew; should the run be cut short, it ends by itself half a minute after the prefix's
    # last process.
    "$wineserver" -p30 </dev/null >/dev/null 2>&1
    # Its services outlive it: their output goes to a file, never to the test's pipe.
    if ! "$wine64" wineboot -i >"$prefix/wineboot.log" 2>&1; then
        cat "$prefix/wineboot.log" >&2
        exit 1
    fi
    ;;
remove) remove ;;
run)
    if [ -n "${RESIPA_X:-}" ]; then xdesktop_use "$x"; fi
    exec "$wine64" "${@:4}"
    ;;
*) echo "usage: $0 make|remove|run WINE64 WINESERVER [PROGRAM ARGUMENTS...]" >&2; exit 2 ;;
esac
