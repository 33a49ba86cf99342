#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need, when missing.
# Sourced by run.sh and test.sh; safe to run again.
set -euo pipefail

resipa_packages=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-qpa-plugins libgl-dev fonts-dejavu-core
    libgtest-dev libgmock-dev libbenchmark-dev
    unrtf xvfb xauth xdotool x11-utils
    clang libclang-rt-14-dev
    time
    xdg-utils file
    # test.sh adds what only its tests need, such as the real viewer under openbox.
    ${resipa_test_packages[@]+"${resipa_test_packages[@]}"}
)

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

resipa_install_missing "${resipa_packages[@]}"

# Preview hands every receipt to the desktop's viewer for RTF; without one it cannot be seen
# or printed. The template's Arial is drawn with its metric twin, so the receipt lies as designed.
if [ -z "$(xdg-mime query default text/rtf 2>/dev/null)" ] &&
    [ -z "$(xdg-mime query default application/rtf 2>/dev/null)" ]; then
    echo "No application opens RTF documents, so receipts could not be shown: installing LibreOffice Writer."
    resipa_install_missing libreoffice-writer fonts-liberation2
fi
