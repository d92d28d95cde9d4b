#!/usr/bin/env bash
# Installs Tessel into a scratch DESTDIR and builds its Debian package, then
# checks what a desktop would read: the desktop entry and the AppStream
# metainfo pass their validators, every file they name is there, the icons
# have their sizes, the package holds the same files with its library
# dependencies filled in, and the packaged binary runs.
# Usage: check_install.sh BUILD_DIR SOURCE_DIR APP_ID
set -euo pipefail

build=$(realpath "$1")
source=$(realpath "$2")
id=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

expect_file() { # PATH WHAT
  [ -f "$1" ] || fail "$2: ${1#"$scratch"/} is missing"
}

# Width and height of a PNG, from its IHDR chunk.
png_size() {
  od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $3 * 256 + $4, $7 * 256 + $8 }'
}

# --- cmake --install into a scratch DESTDIR ---------------------------------
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
share=$root/usr/share
desktop=$share/applications/$id.desktop
metainfo=$share/metainfo/$id.metainfo.xml

expect_file "$desktop" "desktop entry"
expect_file "$metainfo" "metainfo"
expect_file "$share/man/man1/tessel.1.gz" "man page"

# desktop-file-validate exits 0 on warnings; those count as failures here
# (its hints do not).
if ! out=$(desktop-file-validate "$desktop" 2>&1) || grep -qE 'error:|warning:' <<<"$out"; then
  fail "desktop-file-validate: $out"
fi
echo "desktop-file-validate: ${out:-no complaints}"
if ! out=$(appstreamcli validate --no-net "$metainfo" 2>&1); then
  fail "appstreamcli validate: $out"
fi
echo "appstreamcli validate: $out"
if ! out=$(appstreamcli validate-tree --no-net "$root" 2>&1); then
  fail "appstreamcli validate-tree: $out"
fi
echo "appstreamcli validate-tree: $out"

# --- Every file the desktop entry names -------------------------------------
entry_value() { sed -n "s/^$1=//p" "$desktop" | head -n 1; }
exec_line=$(entry_value Exec)
[ "$exec_line" = "tessel %f" ] || fail "Exec is '$exec_line'"
[ -x "$root/usr/bin/${exec_line%% *}" ] || fail "Exec names ${exec_line%% *}, not installed in bin/"
icon=$(entry_value Icon)
[ "$icon" = "$id" ] || fail "Icon is '$icon', not the application id"
for size in 16 32 48 64 128 256; do
  png=$share/icons/hicolor/${size}x${size}/apps/$icon.png
  expect_file "$png" "icon"
  if [ -f "$png" ] && [ "$(png_size "$png")" != "${size}x${size}" ]; then
    fail "icon ${size}x${size} is $(png_size "$png")"
  fi
done
# Offered, never the default opener: no MimeType (which would make the entry
# a candidate default) and no defaults list; the metainfo names the type.
grep -q '^MimeType=' "$desktop" && fail "the desktop entry lists a MimeType"
find "$root" -name '*mimeapps.list' | grep -q . && fail "a mimeapps.list is installed"
grep -qF '<mediatype>application/vnd.nintendo.snes.rom</mediatype>' "$metainfo" ||
  fail "the metainfo does not name SNES ROMs"
if command -v gio >/dev/null && command -v update-desktop-database >/dev/null; then
  # An emulator installed beside Tessel stays the ROMs' opener.
  apps=$scratch/xdg/applications
  mkdir -p "$apps" "$scratch/xdg-config"
  cp "$desktop" "$apps/"
  printf '[Desktop Entry]\nType=Application\nName=Emulator\nExec=true %%f\nMimeType=application/vnd.nintendo.snes.rom;\n' \
    >"$apps/org.example.Emulator.desktop"
  update-desktop-database "$apps"
  opener=$(XDG_DATA_DIRS=$scratch/xdg XDG_DATA_HOME=$scratch/none XDG_CONFIG_HOME=$scratch/xdg-config \
    XDG_CONFIG_DIRS=$scratch/xdg-config gio mime application/vnd.nintendo.snes.rom | sed -n 1p)
  grep -q 'org.example.Emulator.desktop' <<<"$opener" || fail "with an emulator installed: $opener"
fi
# The program names its windows after the entry, so that desktops match them.
grep -qF "$id" "$root/usr/bin/tessel" || fail "the binary does not name its desktop entry $id"

# --- Every file the metainfo names ------------------------------------------
launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
expect_file "$share/applications/$launchable" "metainfo launchable"
binary=$(sed -n 's:.*<binary>\(.*\)</binary>.*:\1:p' "$metainfo")
[ -x "$root/usr/bin/$binary" ] || fail "metainfo binary $binary is not installed"
screenshot=$(sed -n 's:.*<image>.*/raw/main/\(.*\)</image>.*:\1:p' "$metainfo")
[ -n "$screenshot" ] || fail "metainfo names no screenshot of the project"
[ -z "$screenshot" ] || [ -f "$source/$screenshot" ] || fail "screenshot $screenshot is not in the project"

# --- The Debian package -----------------------------------------------------
cpack --config "$build/CPackConfig.cmake" -B "$scratch/package" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log" >&2; fail "cpack failed"; }
debs=("$scratch"/package/tessel_*.deb)
deb=${debs[0]}
if [ ! -f "$deb" ]; then
  fail "cpack made no tessel_*.deb"
else
  echo "package: $(basename "$deb")"
  depends=$(dpkg-deb -f "$deb" Depends)
  echo "Depends: $depends"
  for lib in libc6 libqt6core6 libqt6widgets6; do
    grep -q "\b$lib\b" <<<"$depends" || fail "Depends lacks $lib"
  done
  # The same files as cmake --install, all under /usr.
  dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's:^\./::' | sort >"$scratch/in-package"
  (cd "$root" && find . -type f | sed 's:^\./::' | sort) >"$scratch/installed"
  if ! diff -u "$scratch/installed" "$scratch/in-package"; then
    fail "the package's files differ from cmake --install's"
  fi
  grep -qv '^usr/' "$scratch/in-package" && fail "the package has files outside /usr"
  # lintian: errors fail; the warnings and notes are printed.
  if command -v lintian >/dev/null; then
    lint=$(lintian --tag-display-limit 0 "$deb" 2>&1) || true
    echo "lintian: ${lint:-no complaints}"
    grep -q '^E: ' <<<"$lint" && fail "lintian found errors"
  else
    fail "lintian is not installed (scripts/install-deps test)"
  fi
  dpkg -x "$deb" "$scratch/extracted"
  if ! usage=$("$scratch/extracted/usr/bin/tessel" --help); then
    fail "the packaged tessel --help failed"
  fi
  grep -q '^usage: tessel' <<<"$usage" || fail "the packaged tessel --help printed '$usage'"
  [ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$scratch/extracted/usr/bin/tessel" --version)" = "tessel $(dpkg-deb -f "$deb" Version)" ] ||
    fail "the packaged tessel --version does not name the package's version"
  echo "packaged tessel --help: $usage"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "install and package: all checks passed"
