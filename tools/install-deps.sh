#!/usr/bin/env bash
# Installs the Debian packages Tarnis needs and that are not there yet.
#   tools/install-deps.sh          what building and running needs
#   tools/install-deps.sh --test   that, plus what the test suite and the fuzzers need
#   tools/install-deps.sh --bench  that, plus the peers bench/run.sh compares with
# A quick no-op when everything is installed: apt-get runs only for missing packages.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev libgl-dev
    libcurl4-openssl-dev libgif-dev zlib1g-dev
    fonts-wqy-microhei fonts-dejavu-core
    qt6-translations-l10n
)
if [[ "${1:-}" == "--test" ]]; then
    packages+=(libgtest-dev libgmock-dev nginx-light clang libclang-rt-14-dev
               xvfb imagemagick x11-utils openbox)
fi
if [[ "${1:-}" == "--test" ]]; then
    # tools/screenshot.sh and the frame test: a window manager that shows a close box only
    # where asked to, and a way to press keys in a window
    packages+=(icewm xdotool)
fi
if [[ "${1:-}" == "--bench" ]]; then
    packages+=(nginx-light curl wget aria2 bc time)
fi

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
