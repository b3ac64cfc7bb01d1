#!/usr/bin/env bash
# Makes the Debian package with cpack, unpacks it into a scratch root and
# runs the program from there: --version, and a window-less print of the
# staff telephone list into a PDF. Also checks that the package depends on
# the Debian packages it needs and carries the menu entry, icons and
# AppStream description.
#
#   package_test.sh BUILD_DIR
set -euo pipefail
build="$(cd "${1:?build folder}" && pwd)"
work="$(mktemp -d /tmp/nakama-deb.XXXXXX)"
trap 'rm -rf "$work"' EXIT
fail() { echo "package_test: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/pkg" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log" >&2; fail "cpack failed"; }
deb="$(ls "$work/pkg"/*.deb | head -1)"
[ -f "$deb" ] || fail "no .deb was made"
depends="$(dpkg-deb -f "$deb" Depends)"
for need in libqt6core6 libqt6widgets6 libqt6printsupport6 libicu fonts-ipafont-mincho qt6-translations-l10n; do
    case "$depends" in *"$need"*) ;; *) fail "the package does not depend on $need: $depends" ;; esac
done
[ "$(dpkg-deb -f "$deb" Package)" = "nakama-cho" ] || fail "package name"

root="$work/root"
dpkg -x "$deb" "$root"
for f in usr/bin/nakama-cho \
         usr/share/applications/jp.nakamacho.NakamaCho.desktop \
         usr/share/metainfo/jp.nakamacho.NakamaCho.metainfo.xml \
         usr/share/icons/hicolor/scalable/apps/jp.nakamacho.NakamaCho.svg \
         usr/share/icons/hicolor/48x48/apps/jp.nakamacho.NakamaCho.png \
         usr/share/icons/hicolor/256x256/apps/jp.nakamacho.NakamaCho.png \
         usr/bin/nakama-cho-desktop; do
    [ -e "$root/$f" ] || fail "$f is not in the package"
done
desktop="$root/usr/share/applications/jp.nakamacho.NakamaCho.desktop"
grep -q '^Name=なかま帳$' "$desktop" || fail "the menu entry is not named なかま帳"
grep -q '^Icon=jp.nakamacho.NakamaCho$' "$desktop" || fail "the menu entry's icon"
grep -q '^Exec=nakama-cho-desktop$' "$desktop" || fail "the menu entry's command: $(grep ^Exec= "$desktop")"
desktop-file-validate "$desktop" || fail "the menu entry does not validate"
appstreamcli validate --no-net "$root/usr/share/metainfo/jp.nakamacho.NakamaCho.metainfo.xml" >/dev/null ||
    fail "the AppStream description does not validate"

version="$("$root/usr/bin/nakama-cho" --version)"
[ "$version" = "なかま帳 $(dpkg-deb -f "$deb" Version)" ] || fail "--version said: $version"

# A window-less print from the unpacked program, with no display at all.
mkdir "$work/data"
"$build/tools/nakama-sample" --schools 8 --staff 12 --year 38 "$work/data" >/dev/null
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
    "$root/usr/bin/nakama-cho" --data "$work/data" --year 38 --print 21 --pdf "$work/list.pdf" >/dev/null
pdftotext "$work/list.pdf" "$work/list.txt"
grep -q '職員' "$work/list.txt" || fail "the printed list holds no staff heading"
[ "$(grep -c . "$work/list.txt")" -gt 12 ] || fail "the printed list is nearly empty"

# The menu entry's start script opens the program in the user's roster folder.
home="$work/home"; mkdir "$home"
HOME="$home" "$root/usr/bin/nakama-cho-desktop" --version >/dev/null
[ -d "$home/なかま帳" ] || fail "the start script made no roster folder"

echo "package_test: $(basename "$deb") installs and prints ($version); depends on: $depends"
