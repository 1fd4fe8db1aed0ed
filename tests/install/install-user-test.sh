#!/usr/bin/env bash
# A per-user installation from the build tree into a private home, its menu
# entries checked against the desktop entry format, then "mivo uninstall" run
# for real on the offscreen platform: everything the installation put there
# goes, and what the user keeps beside it stays.
# usage: install-user-test.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
source_dir=$1
build_dir=$2

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
export HOME=$work/home
unset XDG_DATA_HOME XDG_CONFIG_HOME XDG_STATE_HOME
mkdir -p "$HOME"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

"$source_dir/scripts/install-user" --build-dir "$build_dir" --autostart >"$work/install.log"

group=$HOME/.local/share/applications/Mivo
entries=("$group/mivo.desktop" "$group/mivo uninstaller.desktop" "$group/mivo help.desktop"
    "$HOME/.config/autostart/mivo.desktop")
installed=("${entries[@]}" "$HOME/.local/bin/mivo" "$HOME/.local/bin/mivo-check"
    "$HOME/.local/share/man/man1/mivo.1" "$HOME/.local/share/man/man1/mivo-check.1"
    "$HOME/.local/share/icons/hicolor/256x256/apps/mivo.png")
for file in "${installed[@]}"; do
    [ -f "$file" ] || fail "not installed: $file"
done
if command -v desktop-file-validate >/dev/null; then
    for entry in "${entries[@]}"; do
        desktop-file-validate "$entry" || fail "not a valid desktop entry: $entry"
    done
else
    echo "desktop-file-validate is missing: menu entries not validated"
fi
grep -qx "Exec=\"$HOME/.local/bin/mivo\" uninstall" "$group/mivo uninstaller.desktop" ||
    fail "the uninstaller entry does not run mivo uninstall"

# Settings as a run of a build tree's copy saves them (the menu's uninstaller
# must still remove the installed copy, not that one), the mail it has seen,
# and the user's own files beside the program's.
mkdir -p "$HOME/.config/Mivo.exe/Mivo.exe" "$work/build-tree" "$HOME/.local/state/mivo"
printf 'EXENAME=%s\r\nversion=45\r\n' "$work/build-tree/mivo" >"$HOME/.config/Mivo.exe/Mivo.exe/Settings"
printf 'mivo-check state 1\nann\thost\t3\n' >"$HOME/.local/state/mivo/seen-mail"
users_own=("$HOME/.local/bin/other-tool" "$group/my-mail.desktop"
    "$HOME/.config/autostart/other.desktop" "$work/build-tree/mivo" "$work/build-tree/mivo-check")
for file in "${users_own[@]}"; do
    echo mine >"$file"
done

QT_QPA_PLATFORM=offscreen "$HOME/.local/bin/mivo" uninstall >"$work/mivo.log" 2>&1 &
program_pid=$!
# The steps are over 3 seconds after the start; DONE waits for a press.
for _ in $(seq 100); do
    [ -e "$HOME/.local/bin/mivo" ] || [ -e "$HOME/.config/Mivo.exe/Mivo.exe" ] || break
    sleep 0.1
done
sleep 0.5
kill -0 "$program_pid" 2>/dev/null || fail "mivo uninstall ended before DONE: $(cat "$work/mivo.log")"

for file in "${installed[@]}" "$HOME/.config/Mivo.exe/Mivo.exe" "$HOME/.local/state/mivo"; do
    [ ! -e "$file" ] || fail "left behind: $file"
done
for file in "${users_own[@]}" "$HOME/.config/Mivo.exe"; do
    [ -e "$file" ] || fail "removed though not the program's: $file"
done
echo "installed, validated and uninstalled"
