#!/usr/bin/env bash
# Builds the Debian package from a finished build tree and checks what it
# declares and that lintian finds no error or warning in it. On CI (CI=true,
# as root on a fresh machine that may be changed) it also installs the
# package with apt-get, starts Mivo on the offscreen platform, checks that
# AppStream knows it, runs "mivo uninstall" as an ordinary user and removes
# the package. Elsewhere it leaves the machine alone.
# usage: scripts/test-deb.sh [BUILD_DIR | PACKAGE.deb]   (default: the build tree "build")
set -euo pipefail

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

target=${1:-$(dirname "$0")/../build}
if [[ "$target" == *.deb ]]; then
    deb=$(realpath "$target")
else
    build_dir=$(cd "$target" && pwd)
    rm -f "$build_dir"/mivo_*.deb
    (cd "$build_dir" && cpack -G DEB >/dev/null)
    deb=$(ls "$build_dir"/mivo_*.deb)
fi
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libqt6core6 qt6-qpa-plugins libc6; do
    [[ ", $depends," == *", $needed"[\ ,]* ]] || fail "Depends lacks $needed: $depends"
done
contents=$(dpkg-deb -c "$deb")
for file in ./usr/bin/mivo ./usr/bin/mivo-check ./usr/share/applications/org.mivo.Mivo.desktop \
    ./usr/share/metainfo/org.mivo.Mivo.metainfo.xml ./usr/share/icons/hicolor/48x48/apps/mivo.png \
    ./usr/share/man/man1/mivo.1.gz ./usr/share/doc/mivo/copyright; do
    grep -q " $file\$" <<<"$contents" || fail "the package lacks $file"
done
echo "checked $(basename "$deb"): Depends: $depends"

# Debian's own check of a package; its informational notes are shown and
# pass. A machine without lintian skips it, except CI, which must run it.
if command -v lintian >/dev/null; then
    lintian --fail-on error,warning --display-info "$deb" || fail "lintian finds errors or warnings"
    echo "lintian: no errors, no warnings"
elif [ "${CI:-}" = true ]; then
    fail "lintian is missing (scripts/install-deps.sh installs it)"
else
    echo "lintian is missing: the package was not checked by it"
fi

if [ "${CI:-}" != true ] || [ "$(id -u)" -ne 0 ]; then
    echo "not installed: that is done on CI only (CI=true, as root)"
    exit 0
fi

work=$(mktemp -d)
program_pid=
cleanup() {
    if [ -n "$program_pid" ]; then
        kill "$program_pid" 2>/dev/null || true
        wait "$program_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

cp "$deb" "$work/"
chmod 755 "$work"
DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$work/$(basename "$deb")" </dev/null
command -v mivo >/dev/null || fail "mivo is not on the PATH after the install"
mivo-check --version
# Software centres find Mivo by its metadata.
if command -v appstreamcli >/dev/null; then
    appstreamcli refresh-cache --force >/dev/null
    appstreamcli get org.mivo.Mivo | grep -qx 'Identifier: org.mivo.Mivo \[desktop-application\]' ||
        fail "AppStream does not know Mivo: $(appstreamcli get org.mivo.Mivo 2>&1)"
fi

# An ordinary user with a home of their own, and settings of a past run.
home=$work/home
mkdir -p "$home/.config/Mivo.exe/Mivo.exe" "$home/.local/share/applications/Mivo"
printf 'EXENAME=/usr/bin/mivo\r\nversion=45\r\n' >"$home/.config/Mivo.exe/Mivo.exe/Settings"
touch "$home/.local/share/applications/Mivo/mivo.desktop"
chown -R nobody:nogroup "$home"
as_user() {
    setpriv --reuid=nobody --regid=nogroup --clear-groups \
        env HOME="$home" QT_QPA_PLATFORM=offscreen "$@"
}

as_user mivo >"$work/start.log" 2>&1 &
program_pid=$!
sleep 2
kill -0 "$program_pid" 2>/dev/null || fail "mivo did not keep running: $(cat "$work/start.log")"
kill "$program_pid"
wait "$program_pid" 2>/dev/null || true

as_user mivo uninstall >"$work/uninstall.log" 2>&1 &
program_pid=$!
sleep 4
kill -0 "$program_pid" 2>/dev/null || fail "mivo uninstall ended early: $(cat "$work/uninstall.log")"
[ ! -e "$home/.config/Mivo.exe/Mivo.exe" ] || fail "the settings were not removed"
[ ! -e "$home/.local/share/applications/Mivo" ] || fail "the menu group was not removed"
# An ordinary user cannot take the system's copy; the package manager does.
[ -x /usr/bin/mivo ] || fail "a user's uninstall removed the system's program"

DEBIAN_FRONTEND=noninteractive apt-get remove -y -q mivo </dev/null
[ ! -e /usr/bin/mivo ] || fail "apt-get remove left /usr/bin/mivo"
if command -v appstreamcli >/dev/null; then
    appstreamcli refresh-cache --force >/dev/null
fi
echo "installed, started, uninstalled and removed"
