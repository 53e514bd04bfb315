#!/usr/bin/env bash
# Installs the program into a temporary prefix (DESTDIR), makes the installed tree
# read-only and runs the installed program as a user who cannot write it: the command-line
# tools, the window's snapshot of every page (the map included), and then checks that
# nothing was written into the tree and that what the program writes went to the user's
# configuration and cache folders.
#   instalado_test.sh BUILD_DIR
set -euo pipefail
build="$(cd "$1" && pwd)"

work="$(mktemp -d)"
cleanup() { chmod -R u+w "$work" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
chmod 755 "$work"
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$work/root" cmake --install "$build" --prefix /usr >"$work/install.log"
usr="$work/root/usr"
data="$usr/share/senderal"
sample="$data/samples/Montseny.gpx"

# The layout, and the desktop files checked by the desktop's own tools.
for f in bin/senderal lib/senderal/libsenderal_ventana.so \
         share/senderal/GpxDS.dll share/senderal/DataCnv.s3db \
         share/senderal/es.lng share/senderal/en.lng share/senderal/ca.lng \
         share/senderal/mapa/senderal-mapa-api.js share/senderal/samples/Montseny.gpx \
         share/applications/senderal.desktop share/mime/packages/senderal.xml \
         share/metainfo/org.senderal.Senderal.metainfo.xml \
         share/icons/hicolor/scalable/apps/senderal.svg \
         share/icons/hicolor/16x16/apps/senderal.png share/icons/hicolor/48x48/apps/senderal.png \
         share/icons/hicolor/256x256/apps/senderal.png; do
  [ -f "$usr/$f" ] || fail "not installed: $f"
done
if find "$usr" -name 'leaflet*' | grep -q .; then
  fail "the install carries its own copy of Leaflet instead of the system's"
fi
desktop-file-validate "$usr/share/applications/senderal.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$usr/share/metainfo/org.senderal.Senderal.metainfo.xml" \
  >"$work/appstream.log" 2>&1 || { cat "$work/appstream.log"; fail "AppStream metadata"; }
xmllint_ok=1
command -v update-mime-database >/dev/null || xmllint_ok=0
if [ "$xmllint_ok" = 1 ]; then
  cp -r "$usr/share/mime" "$work/mime"
  update-mime-database "$work/mime" >/dev/null 2>&1 || fail "MIME definition refused"
  grep -q 'application/gpx+xml' "$work/mime/globs2" || fail "GPX type not registered"
fi

# A user who cannot write the installed tree: the tree's write bits are removed, and as
# root the program runs as "nobody" (root may write anywhere).
chmod -R a-w "$usr"
home="$work/home"
mkdir -m 700 "$home"
as_user=(env HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$home/.cache"
         XDG_DATA_HOME="$home/.local/share" XDG_RUNTIME_DIR="$home/run")
mkdir -m 700 "$home/run"
if [ "$(id -u)" = 0 ]; then
  chown -R 65534:65534 "$home"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups "${as_user[@]}")
fi
if "${as_user[@]}" test -w "$usr/bin" || "${as_user[@]}" test -w "$data"; then
  fail "the test user can still write the installed tree"
fi
tree() { (cd "$usr" && find . -printf '%p %m %s %T@\n' | sort); }
before="$(tree)"
out="$home/out"
"${as_user[@]}" mkdir "$out"

"${as_user[@]}" "$usr/bin/senderal" --info "$sample" >"$work/info.txt" 2>"$work/info.err" \
  || { cat "$work/info.err"; fail "--info"; }
[ -s "$work/info.txt" ] || fail "--info printed nothing"

"${as_user[@]}" "$usr/bin/senderal" --export kml "$sample" "$out/ruta.kml" 2>"$work/export.err" \
  || { cat "$work/export.err"; fail "--export"; }
grep -q '<coordinates>' "$out/ruta.kml" || fail "--export wrote no track"

"${as_user[@]}" "$usr/bin/senderal" --convert "$sample" "$out/ruta.plt" 2>"$work/convert.err" \
  || { cat "$work/convert.err"; fail "--convert"; }
[ -s "$out/ruta.plt" ] || fail "--convert wrote nothing"

"${as_user[@]}" "$usr/bin/senderal" --snapshot "$out/snap" "$sample" >"$work/snap.out" \
  2>"$work/snap.err" || { cat "$work/snap.err"; fail "--snapshot"; }
if grep -E 'Se ha producido un error|Permission denied|no se puede|No se ha podido' "$work/snap.err"; then
  fail "--snapshot reported a failure"
fi
for page in datos grafico perfil mapa convertir; do
  [ -s "$out/snap/$page.png" ] || fail "no snapshot of page $page"
done
# The map page drew the track's red line (it needs the page files and the system's Leaflet).
red="$(convert "$out/snap/mapa.png" -alpha off -fuzz 30% -fill black +opaque red \
        -fill white -opaque white -colorspace gray -format '%[fx:mean]' info:)"
awk -v r="$red" 'BEGIN { exit !(r > 0.001) }' || fail "the map shows no track (red share $red)"

# The translation template of the load went to the configuration folder; the run's cache
# folder was removed at the end.
[ -f "$home/.config/senderal/Custom.ini" ] || fail "Custom.ini not in the configuration folder"
[ ! -e "$home/.cache/senderal/run" ] || fail "the cache folder was left behind"

[ "$(tree)" = "$before" ] || { diff <(echo "$before") <(tree) || true; fail "the installed tree changed"; }
echo "installed program ran read-only as $("${as_user[@]}" id -un)"
