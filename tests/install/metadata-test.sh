#!/usr/bin/env bash
# The AppStream metadata as software centres read it: valid for appstreamcli
# (without the network: the screenshots need not be online), and telling the
# same story as the menu entry, the icons the build draws, the project's data
# and the Debian changelog.
# usage: metadata-test.sh SOURCE_DIR BUILD_DIR APPLICATION_ID VERSION LICENSE
set -euo pipefail
source_dir=$1
build_dir=$2
id=$3
version=$4
license=$5

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

metainfo=$source_dir/packaging/$id.metainfo.xml
entry=$source_dir/packaging/$id.desktop
[ -f "$metainfo" ] || fail "no metadata $metainfo"
[ -f "$entry" ] || fail "no menu entry $entry"

if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net --pedantic "$metainfo" || fail "appstreamcli rejects $metainfo"
elif [ "${CI:-}" = true ]; then
    fail "appstreamcli is missing (scripts/install-deps.sh installs it)"
else
    echo "appstreamcli is missing: the metadata was not validated"
fi
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$entry" || fail "not a valid desktop entry: $entry"
fi

# The text of the first element TAG (with its attributes, if any, as given).
element() {
    sed -n "s|.*<$1>\\([^<]*\\)</${1%% *}>.*|\\1|p" "$metainfo" | head -n 1
}
# The value of KEY in the menu entry's main group.
entry_key() {
    sed -n "s|^$1=||p" "$entry" | head -n 1
}
same() {
    [ "$2" = "$3" ] || fail "$1: \"$2\" in the metadata, \"$3\" expected"
}

same "id" "$(element id)" "$id"
same "launchable" "$(element 'launchable type="desktop-id"')" "$(basename "$entry")"
same "name" "$(element name)" "$(entry_key Name)"
same "icon" "$(element 'icon type="stock"')" "$(entry_key Icon)"
same "licence" "$(element project_license)" "$license"
same "latest release" "$(sed -n 's|.*<release version="\([^"]*\)".*|\1|p' "$metainfo" | head -n 1)" \
    "$version"
same "Debian changelog's version" \
    "$(sed -n '1s|^mivo (\([^)]*\)).*|\1|p' "$source_dir/packaging/changelog")" "$version"

# The theme icon the entry names is one the build draws.
icon=$(entry_key Icon)
[ -f "$build_dir/src/gui/icons/48x48/$icon.png" ] || fail "the build draws no icon $icon"

# Each screenshot is a picture of docs/, which the web site publishes, with
# its size as the picture has it.
screenshots=$(grep -o '<image [^<]*</image>' "$metainfo")
[ -n "$screenshots" ] || fail "no screenshots"
while read -r image; do
    url=$(sed 's|.*>\(.*\)</image>|\1|' <<<"$image")
    picture=$source_dir/docs/$(basename "$url")
    [ -f "$picture" ] || fail "$url is no picture of docs/"
    size=$(file -b "$picture" | sed -n 's|^PNG image data, \([0-9]*\) x \([0-9]*\),.*|width="\1" height="\2"|p')
    [[ "$image" == *"$size"* ]] || fail "$url: the picture is $size"
done <<<"$screenshots"
echo "metadata valid and in step with the menu entry, the icons and the version"
