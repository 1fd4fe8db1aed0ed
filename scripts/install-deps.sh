#!/usr/bin/env bash
# Installs, on Debian 12, whatever Mivo needs to build, run and test that is
# not there yet. Runs apt-get as root, or through sudo for other users.
set -euo pipefail

packages=(
    # tool chain
    build-essential cmake ninja-build git
    # Qt 6 Widgets, Core and Test, and the X and offscreen platform plugins
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins
    # POP3 over TLS, and the command the tests make their certificates with
    libssl-dev openssl
    # fonts the windows are drawn with
    fonts-liberation fonts-dejavu-core
    # test and benchmark libraries
    libgtest-dev libgmock-dev libbenchmark-dev
    # a virtual X server for running the desktop program without a display
    xvfb xauth
    # a small tray host and a pointer driver for the tray icon's test
    trayer xdotool
    # the independent POP3 server the interoperation tests talk to
    dovecot-pop3d
    # clang for the fuzz targets, clang-format for the style check
    clang libclang-rt-14-dev clang-format
    # the Debian package's dependency list (CPack reads the binaries' kind
    # with file), the menu entries' check, Debian's check of the package and
    # the AppStream metadata's check
    dpkg-dev file desktop-file-utils lintian appstream
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
if ((${#missing[@]} == 0)); then
    exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    as_root=(sudo)
fi
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -q
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    "${missing[@]}" </dev/null
