#!/usr/bin/env bash
# The install and the Debian package: what lands where, the desktop entry
# and AppStream metadata validated, the package's dependencies and contents,
# the programs run from an unpacked package, and lintian without errors or
# hardening tags.
# Usage: package_test.sh BUILD-FOLDER VERSION
set -euo pipefail
build=$(cd "$1" && pwd)
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
id=org.zembrax.Zembrax

cmake --install "$build" --prefix "$work/usr" >/dev/null
for file in bin/zembrax bin/zembrax-cli "share/applications/$id.desktop" \
  "share/metainfo/$id.metainfo.xml" "share/icons/hicolor/scalable/apps/$id.svg" \
  share/icons/hicolor/{48x48,128x128,256x256}/apps/$id.png \
  share/man/man1/zembrax.1.gz share/man/man1/zembrax-cli.1.gz \
  share/doc/zembrax/copyright share/doc/zembrax/changelog.Debian.gz; do
  [ -f "$work/usr/$file" ] || { echo "not installed: $file"; exit 1; }
done
for size in 48 128 256; do
  [[ $(file "$work/usr/share/icons/hicolor/${size}x$size/apps/$id.png") == *"$size x $size"* ]] ||
    { echo "the $size px icon is not $size px"; exit 1; }
done
desktop-file-validate "$work/usr/share/applications/$id.desktop"
appstreamcli validate --no-net "$work/usr/share/metainfo/$id.metainfo.xml"
grep -q "<release version=\"$version\"" "$work/usr/share/metainfo/$id.metainfo.xml"
grep -q "<project_license>MIT</project_license>" "$work/usr/share/metainfo/$id.metainfo.xml"
grep -q "^License: Expat" "$work/usr/share/doc/zembrax/copyright"

(cd "$build" && cpack -G DEB -B "$work/package" >/dev/null)
deb=$work/package/zembrax_$version-1_$(dpkg --print-architecture).deb
dpkg-deb -I "$deb" >"$work/control"
for field in "Depends: .*libqt6widgets6" "Depends: .*libjpeg62-turbo" "Maintainer: .*<.*@.*>" \
  "Section: utils" "Version: $version-1"; do
  grep -q "$field" "$work/control" || { echo "control lacks $field"; cat "$work/control"; exit 1; }
done
# Listings go to files first: grep -q stopping early would break the pipe.
dpkg-deb -c "$deb" >"$work/contents"
grep -q "./usr/share/applications/$id.desktop" "$work/contents"
mkdir "$work/root"
dpkg-deb -x "$deb" "$work/root"
[ "$("$work/root/usr/bin/zembrax-cli" --version)" = "zembrax-cli $version" ]
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$work/root/usr/bin/zembrax" --version)" = \
  "Zembrax $version" ]
# No errors, and none of the tags of a binary built without Debian's
# hardening flags (some of which are only information).
if ! lintian --fail-on error --display-info "$deb" >"$work/lintian" 2>&1; then
  echo "lintian found errors:"; cat "$work/lintian"; exit 1
fi
if grep -q 'hardening-' "$work/lintian"; then
  echo "lintian found a binary built without hardening:"; grep 'hardening-' "$work/lintian"; exit 1
fi
echo "package_test: 1 passed, 0 failed"
