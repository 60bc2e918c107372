#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, when any is missing.
# Sourced by build.sh; safe to run again (it does nothing when everything is there).
set -euo pipefail

CHENFAN_PACKAGES=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-multimedia-dev libqt6opengl6-dev
    libavformat-dev libavcodec-dev libavfilter-dev libswscale-dev libswresample-dev libavutil-dev
    libavcodec-extra
    ffmpeg
    fonts-wqy-microhei
    xvfb xauth imagemagick
    libgtest-dev
)

missing=()
for p in "${CHENFAN_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    if [ "$(id -u)" -eq 0 ]; then
        sudo_cmd=()
    elif command -v sudo >/dev/null 2>&1; then
        sudo_cmd=(sudo)
    else
        echo "需要安装以下软件包，但当前用户不是 root 且没有 sudo: ${missing[*]}" >&2
        exit 1
    fi
    echo "+ ${sudo_cmd[*]:-} apt-get update"
    "${sudo_cmd[@]}" apt-get update
    echo "+ ${sudo_cmd[*]:-} apt-get install -y --no-install-recommends ${missing[*]}"
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
