#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need, when missing.
# Sourced by run.sh and test.sh; safe to run again.
set -euo pipefail

resipa_packages=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-qpa-plugins libgl-dev fonts-dejavu-core
    libgtest-dev libgmock-dev libbenchmark-dev
    unrtf poppler-utils libreoffice-writer xvfb xauth xdotool x11-utils
    clang libclang-rt-14-dev
    time
)

resipa_missing=()
for p in "${resipa_packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        resipa_missing+=("$p")
    fi
done

if [ ${#resipa_missing[@]} -gt 0 ]; then
    echo "Installing missing packages: ${resipa_missing[*]}"
    sudo_cmd=()
    if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
        "${resipa_missing[@]}"
fi
