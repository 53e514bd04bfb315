#!/usr/bin/env bash
# Builds the Debian package from this build and checks its content listing (dpkg-deb -c)
# and its dependencies. lintian runs in scripts/package, which builds the real package.
#   paquete_test.sh BUILD_DIR
set -euo pipefail
build="$(cd "$1" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
deb="$(ls "$work"/senderal_*.deb 2>/dev/null | head -n 1)"
[ -n "$deb" ] || fail "no senderal_<version>_<arch>.deb"
case "$(basename "$deb")" in
  senderal_*_"$(dpkg --print-architecture)".deb) ;;
  *) fail "unexpected package name $(basename "$deb")" ;;
esac
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$work/list"
for f in /usr/bin/senderal /usr/lib/senderal/libsenderal_ventana.so \
         /usr/share/senderal/GpxDS.dll /usr/share/senderal/DataCnv.s3db \
         /usr/share/senderal/es.lng /usr/share/senderal/en.lng /usr/share/senderal/ca.lng \
         /usr/share/senderal/mapa/senderal-mapa-api.js /usr/share/senderal/samples/Montseny.gpx \
         /usr/share/applications/senderal.desktop \
         /usr/share/icons/hicolor/scalable/apps/senderal.svg \
         /usr/share/icons/hicolor/48x48/apps/senderal.png \
         /usr/share/mime/packages/senderal.xml \
         /usr/share/metainfo/org.senderal.Senderal.metainfo.xml \
         /usr/share/doc/senderal/copyright /usr/share/doc/senderal/changelog.gz \
         /usr/share/man/man1/senderal.1.gz; do
  grep -qx "$f" "$work/list" || fail "the package lacks $f"
done
if grep -q 'leaflet' "$work/list"; then fail "the package carries a copy of Leaflet"; fi
if grep -q '/cache/\|senderal\.ini\|Custom\.ini' "$work/list"; then fail "run-time files in the package"; fi
depends="$(dpkg-deb -f "$deb" Depends)"
for d in gpsbabel libjs-leaflet libqt6core6 libqt6webenginewidgets6 libsqlite3-0 libc6; do
  grep -q "\b$d\b" <<<"$depends" || fail "Depends lacks $d: $depends"
done
echo "$(basename "$deb"): $(wc -l <"$work/list") entries; Depends: $depends"
