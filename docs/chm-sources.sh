#!/bin/sh
# Copies the manual's sources for chmcmd. The project, contents and index go
# into the Japanese code page (CP932) that their Language=0x411 declares, so a
# viewer reads every entry of them; the pages stay UTF-8, as their own meta
# tags declare. Usage: chm-sources.sh SOURCE_DIR WORK_DIR
set -eu
src=$1
dst=$2
mkdir -p "$dst"
cp "$src"/*.html "$src"/*.css "$dst"/
for f in QVELTRAN.hhp QVELTRAN.hhc QVELTRAN.hhk; do
    sed 's/charset=UTF-8/charset=Shift_JIS/' "$src/$f" | iconv -f UTF-8 -t CP932 >"$dst/$f"
done
