#!/usr/bin/env bash
# Installs the build into a temporary root (DESTDIR) as the package does and
# runs the installed companion from there: it must find its render helper and
# write the same results as the build's own programs.
# Usage: install-test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
root=$(mktemp -d "${TMPDIR:-/tmp}/yonatama-install.XXXXXX")
trap 'rm -rf "$root"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$root/dest" cmake --install "$build" --prefix /usr --component yonatama >"$root/install.log" ||
    { cat "$root/install.log" >&2; fail "cmake --install"; }
usr="$root/dest/usr"

for f in bin/yonatama bin/yonatama-cli lib/yonatama/yonatama-render; do
    [ -x "$usr/$f" ] || fail "$f is not an installed program"
done
app_id=example.yonatama.ginja
for f in share/applications/$app_id.desktop share/metainfo/$app_id.metainfo.xml \
         share/mime/packages/yonatama-sim.xml share/bash-completion/completions/yonatama-cli \
         share/man/man1/yonatama.1.gz \
         share/man/man1/yonatama-cli.1.gz share/yonatama/manual/index.html \
         share/doc/yonatama/copyright share/doc/yonatama/changelog.gz; do
    [ -s "$usr/$f" ] || fail "$f is missing"
done
for size in 16 22 24 32 48 64 128 256; do
    icon="$usr/share/icons/hicolor/${size}x${size}/apps/yonatama.png"
    [ -s "$icon" ] || fail "icon $size is missing"
    cmp -s "$icon" "$usr/share/icons/hicolor/${size}x${size}/mimetypes/application-x-yonatama-sim.png" ||
        fail "the run files' icon $size is missing"
    # The PNG header carries width and height as big-endian words at 16 and 20.
    read -r w h < <(od -An -tu1 -j16 -N8 "$icon" |
                    awk '{print $3*256+$4, $7*256+$8}')
    [ "$w" = "$size" ] && [ "$h" = "$size" ] || fail "icon $size is ${w}x${h}"
done
# The window looks for its manual beside itself, then here.
if [ -f "$build/bin/QVELTRAN.chm" ]; then
    [ -s "$usr/bin/../share/yonatama/QVELTRAN.chm" ] || fail "the manual is not installed"
fi
# Nothing of the build folder may leak into the installed tree.
if grep -rl --binary-files=text "$build" "$usr" >/dev/null 2>&1; then
    fail "installed files name the build folder: $(grep -rl --binary-files=text "$build" "$usr" | head -3)"
fi
if command -v readelf >/dev/null; then
    for f in bin/yonatama bin/yonatama-cli lib/yonatama/yonatama-render; do
        ! readelf -S "$usr/$f" | grep -q '\.comment' || fail "$f keeps its .comment section"
    done
fi
for page in yonatama yonatama-cli; do
    gzip -t "$usr/share/man/man1/$page.1.gz" || fail "$page.1.gz is not gzip"
done
desktop="$usr/share/applications/$app_id.desktop"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop entry"
fi
for line in "Exec=yonatama %f" "TryExec=yonatama" "MimeType=application/x-yonatama-sim;" \
            "StartupNotify=true" "StartupWMClass=yonatama"; do
    grep -qxF "$line" "$desktop" || fail "desktop entry lacks $line"
done
metainfo="$usr/share/metainfo/$app_id.metainfo.xml"
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net --pedantic "$metainfo" >"$root/appstream.txt" 2>&1 ||
        { cat "$root/appstream.txt" >&2; fail "metainfo does not validate"; }
fi
version=$("$build/bin/yonatama-cli" --version | cut -d' ' -f2)
grep -q "<release version=\"$version\"" "$metainfo" || fail "metainfo has no release $version"
grep -q "<id>$app_id</id>" "$metainfo" || fail "metainfo id is not $app_id"
grep -q '<launchable type="desktop-id">'"$app_id"'.desktop</launchable>' "$metainfo" ||
    fail "metainfo does not launch $app_id.desktop"
grep -q 'id="money-gambling">' "$metainfo" || fail "metainfo has no gambling rating"

# The run files' type: a database built from the installed XML alone names a
# saved run by its name, and a run file without the name by its tag.
if command -v update-mime-database >/dev/null; then
    mime="$root/mime"
    mkdir -p "$mime/packages"
    cp "$usr/share/mime/packages/yonatama-sim.xml" "$mime/packages/"
    update-mime-database "$mime" >/dev/null 2>&1 || fail "update-mime-database refuses the XML"
    grep -qx "50:application/x-yonatama-sim:\*.sim" "$mime/globs2" || fail "no *.sim glob"
    # The magic: at offset 0 (">0="), four bytes (00 04), 20 little-endian.
    od -An -tx1 "$mime/magic" | tr -d ' \n' | grep -q '3e303d000414000000' ||
        fail "no magic for the run files' tag"
fi

cli="$usr/bin/yonatama-cli"
"$cli" run --plays 2000 --seed 1 --out "$root/run.sim" >"$root/run.txt"
"$build/bin/yonatama-cli" run --plays 2000 --seed 1 >"$root/run-build.txt"
cmp -s "$root/run.txt" "$root/run-build.txt" || fail "installed run differs from the build's"
[ -s "$root/run.sim" ] || fail "run --out wrote no file"
"$cli" show "$root/run.sim" --lists >"$root/show.txt"
head -n 4 "$root/show.txt" | cmp -s - "$root/run.txt" || fail "show does not give run's summary"
grep -q "大当たり" "$root/show.txt" || fail "show --lists has no play rows"

# A saved run is known by its tag even without its name.
if [ -d "$root/mime" ] && command -v gio >/dev/null; then
    cp "$root/run.sim" "$root/unnamed-run"
    for f in run.sim unnamed-run; do
        XDG_DATA_DIRS="$root" XDG_DATA_HOME="$root/none" gio info -a standard::content-type "$root/$f" |
            grep -q "application/x-yonatama-sim" || fail "$f is not known as a run file"
    done
fi

# render runs the installed helper: none lies beside the installed companion.
[ ! -e "$usr/bin/yonatama-render" ] || fail "the helper belongs in lib/yonatama"
QT_QPA_PLATFORM=offscreen "$cli" render --plays 800 --seed 2 --out "$root/png" >"$root/render.txt"
for p in window SlumpChart SlumpChart2 KeizokuChart; do
    [ -s "$root/png/$p.png" ] || fail "render wrote no $p.png"
    grep -qx "$root/png/$p.png" "$root/render.txt" || fail "render did not name $p.png"
done
# With the helper gone the companion says so and fails, rather than hanging.
mv "$usr/lib/yonatama/yonatama-render" "$root/helper"
if QT_QPA_PLATFORM=offscreen "$cli" render --plays 10 --out "$root/png2" 2>"$root/err.txt"; then
    fail "render succeeded without its helper"
fi
grep -q "yonatama-render" "$root/err.txt" || fail "no message names the missing helper"
echo "installed tree works: $(find "$usr" -type f | wc -l) files"
