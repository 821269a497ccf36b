#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Reelmix need.
# Usage: scripts/deps.sh [run|test]
set -euo pipefail

build_pkgs=(cmake ninja-build g++ pkg-config ccache qt6-base-dev qt6-svg-dev libmpv-dev libsqlite3-dev
            libxcb1-dev libavformat-dev libavcodec-dev libswscale-dev libavutil-dev fonts-dejavu-core
            dpkg-dev)
# melt and xmllint read what the list exporters write (VLC would play the XSPF and M3U, but its
# plug-ins weigh 35 packages and it refuses to run as root, as CI does).
test_pkgs=(libgtest-dev libbenchmark-dev libxcb-damage0-dev ffmpeg xvfb xauth xdotool clang-format
           clang libclang-rt-14-dev desktop-file-utils appstream shared-mime-info
           groff-base melt libxml2-utils)

pkgs=("${build_pkgs[@]}")
[ "${1:-run}" = test ] && pkgs+=("${test_pkgs[@]}")

missing=()
for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
echo "Installing: ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
