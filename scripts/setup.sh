#!/usr/bin/env bash
# Installs the Debian packages that are missing: what the program needs to be built and run,
# and with --tests (test.sh) also what the tests, benchmarks and fuzzing need; with --windows
# only what builds the Windows program and its setup. Sourced by run.sh, test.sh and
# scripts/windows.sh; safe to run again.
set -euo pipefail

resipa_program_packages=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-qpa-plugins libgl-dev
    # The faces standing in for the window's Tahoma and Arial at their widths.
    fonts-dejavu-core fonts-dejavu-extra fonts-liberation2
    # The desktop's opener, and what it needs to tell an RTF document by its contents.
    xdg-utils file
)
resipa_test_packages=(
    libgtest-dev libgmock-dev libbenchmark-dev time
    clang libclang-rt-14-dev
    # The whole program on a virtual X server, typed into and read back: the real viewer under
    # a window manager, its documents read by unrtf and pdftotext, the screen as a picture, the
    # virtual keyboard set up by xmodmap and xset.
    xvfb xauth xdotool x11-utils x11-xserver-utils openbox libreoffice-writer unrtf poppler-utils
    imagemagick
    # The Windows suites: GoogleTest's sources to build for Windows, and Wine to run them (wine64
    # holds the 64-bit loader, wine the usual commands; fonts-wine the faces Windows has).
    googletest wine64 wine fonts-wine
)
# The Windows program: the MinGW-w64 cross compiler (posix threads) with windres; NSIS makes
# its setup.
resipa_windows_packages=(cmake make g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 nsis)

resipa_install_missing() {
    local p missing=() sudo_cmd=()
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$p")
        fi
    done
    [ ${#missing[@]} -gt 0 ] || return 0
    echo "Installing missing packages: ${missing[*]}"
    if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

if [ "${1:-}" = --windows ]; then
    resipa_install_missing "${resipa_windows_packages[@]}"
    return 0 2>/dev/null || exit 0
fi
resipa_install_missing "${resipa_program_packages[@]}"
if [ "${1:-}" = --tests ]; then
    resipa_install_missing "${resipa_test_packages[@]}" "${resipa_windows_packages[@]}"
fi

# Preview hands every receipt to the desktop's viewer for RTF; without one it cannot be seen
# or printed. The template's Arial is drawn with its metric twin, so the receipt lies as designed.
if [ -z "$(xdg-mime query default text/rtf 2>/dev/null)" ] &&
    [ -z "$(xdg-mime query default application/rtf 2>/dev/null)" ]; then
    echo "No application opens RTF documents, so receipts could not be shown: installing LibreOffice Writer."
    resipa_install_missing libreoffice-writer fonts-liberation2
fi
