#!/usr/bin/env bash
# The packages: the Debian package unpacked into a clean folder holds what a
# desktop needs and its program starts; the metadata validates; the Windows
# zip holds the program and its read-me.
# usage: package_test.sh BUILD_DIR SOURCE_DIR   (under xvfb-run)
set -euo pipefail
build=$1 source=$2
source "$source/scripts/panel.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

desktop-file-validate "$source/desktop/solvane.desktop"
appstreamcli validate --no-net "$source/desktop/org.solvane.Solvane.metainfo.xml" >/dev/null
echo "ok: the desktop entry and the metainfo validate"

(cd "$build" && cpack -G DEB -B "$work/out" >/dev/null)
deb=$(ls "$work"/out/*.deb)
dpkg-deb -f "$deb" Depends | grep -q "gstreamer1.0-plugins-ugly" 
dpkg -x "$deb" "$work/root"
expected="./usr/bin/solvane
./usr/share/applications/solvane.desktop
./usr/share/icons/hicolor/16x16/apps/solvane.png
./usr/share/icons/hicolor/256x256/apps/solvane.png
./usr/share/icons/hicolor/32x32/apps/solvane.png
./usr/share/icons/hicolor/48x48/apps/solvane.png
./usr/share/metainfo/org.solvane.Solvane.metainfo.xml"
files=$(cd "$work/root" && find . -type f | sort)
if [ "$files" != "$expected" ]; then
  diff <(echo "$expected") <(echo "$files") >&2 || true
  exit 1
fi
echo "ok: the package holds the program, its menu entry, four icons and its metainfo"

# The menu entry's command, found where the package put the program.
command=$(sed -n 's/^Exec=//p' "$work/root/usr/share/applications/solvane.desktop")
PATH="$work/root/usr/bin:$PATH" SOLVANE_AUDIO=null $command &
pid=$!
window=$(wait_for_panel)
xdotool windowfocus --sync "$window" key Escape
expect_exit "$pid" 0
echo "ok: the menu entry's command ($command) opens the panel, which closes with exit code 0"

python3 - "$build/SOLVANE-windows.zip" <<'PY'
import sys, zipfile
names = sorted(zipfile.ZipFile(sys.argv[1]).namelist())
assert names == ["SOLVANE/", "SOLVANE/README.txt", "SOLVANE/SOLVANE.exe"] or \
    names == ["SOLVANE/README.txt", "SOLVANE/SOLVANE.exe"], names
print("ok: the Windows zip holds SOLVANE.exe and its read-me")
PY
