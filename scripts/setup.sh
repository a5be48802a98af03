#!/usr/bin/env bash
# Installs the Debian packages Vantu needs to build, run and test. Does nothing when they are all there.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-svg-dev libgl-dev
    libavformat-dev libavcodec-dev libavutil-dev libswscale-dev libv4l-dev
    qt6-multimedia-dev libcurl4-openssl-dev ca-certificates
    python3-aiosmtpd openssl dbus-daemon python3-dbus python3-gi
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth fonts-dejavu-core
    desktop-file-utils appstream dpkg-dev file
    clang lintian
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
    echo "These packages are missing: ${missing[*]}" >&2
    echo "Run this command as root (for example with sudo) to install them." >&2
    exit 1
fi

echo "Installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
