#!/usr/bin/env bash
# Builds the Windows installers from installer/ with msitools' wixl:
#   dist/TarvanelReminder-VERSION-x64.msi   the 64-bit files, for 64-bit Office
#   dist/TarvanelReminder-VERSION-x86.msi   the 32-bit files, for 32-bit Office
# VERSION is the files' version resource. The registry rows are what each file's
# DllRegisterServer writes, printed by build/win64's registry-rows.exe under Wine (the 32-bit
# files cannot run here: their rows are the 64-bit table with the 32-bit type library key).
#
#   scripts/package.sh [--out DIR] [--version V] [--only x64|x86] [--win64 DIR] [--win32 DIR]
#
# --version stamps another package version (the upgrade test builds an older package).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/dist
version=""
only=""
win64=$root/build/win64
win32=$root/build/win32
while [ $# -gt 0 ]; do
  case "$1" in
    --out) out=$2; shift 2 ;;
    --version) version=$2; shift 2 ;;
    --only) only=$2; shift 2 ;;
    --win64) win64=$2; shift 2 ;;
    --win32) win32=$2; shift 2 ;;
    *) echo "package.sh: unknown argument \"$1\"" >&2; exit 2 ;;
  esac
done
files=(Falcrest.dll Reminder.dll Orvane.ocx)
for f in "${files[@]}" registry-rows.exe; do
  [ -f "$win64/bin/$f" ] || { echo "package.sh: $win64/bin/$f is missing (cmake --build --preset win64)" >&2; exit 1; }
done
if [ "$only" != x64 ]; then
  for f in "${files[@]}"; do
    [ -f "$win32/bin/$f" ] || { echo "package.sh: $win32/bin/$f is missing (cmake --build --preset win32)" >&2; exit 1; }
  done
fi

# The files' version, which must be one version for all of them.
# Debian's Python, which has python3-pefile.
file_version=$(/usr/bin/python3 - "$win64/bin" "$win32/bin" "$only" "${files[@]}" <<'EOF'
import os, sys, pefile
bin64, bin32, only, names = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]
folders = [bin64] + ([] if only == "x64" else [bin32])
versions = set()
for folder in folders:
    for name in names:
        pe = pefile.PE(os.path.join(folder, name), fast_load=True)
        pe.parse_data_directories([pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
        fixed = pe.VS_FIXEDFILEINFO[0]
        versions.add("%d.%d.%d.%d" % (fixed.FileVersionMS >> 16, fixed.FileVersionMS & 0xFFFF,
                                      fixed.FileVersionLS >> 16, fixed.FileVersionLS & 0xFFFF))
if len(versions) != 1:
    sys.exit("package.sh: the files carry different versions: " + ", ".join(sorted(versions)))
print(versions.pop())
EOF
)
version=${version:-$file_version}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/rows" "$out"
# The bell of the entry in the list of installed programs.
convert -size 256x256 xc:none -fill '#F2C230' -stroke '#7A5A00' -strokewidth 8 \
  -draw "path 'M128,36 C84,36 66,74 66,120 L66,168 L38,204 L218,204 L190,168 L190,120 C190,74 172,36 128,36 Z'" \
  -draw "circle 128,222 128,240" -draw "roundrectangle 116,16 140,40 6,6" \
  -define icon:auto-resize=48,32,16 "$work/bell.ico"

export WINEPREFIX=${WINEPREFIX:-$win64/wine-prefix}
"$root/scripts/wine-up.sh" >/dev/null
rows() {  # PLATFORM-ARGUMENT: the three files' rows into $work/rows
  for f in "${files[@]}"; do
    "$root/scripts/wine-run.sh" "$win64/bin/registry-rows.exe" "$f" "$win64/bin/$f" "$@" \
      </dev/null >"$work/rows/$f.wxi"
  done
}

build() {  # x64|x86 BIN
  local platform=$1 bin=$2 msi=$out/TarvanelReminder-$version-$1.msi
  mkdir -p "$work/bin-$platform"
  cp "${files[@]/#/$bin/}" "$work/bin-$platform/"
  # wixl takes source paths relative to the folder it runs in.
  (cd "$work" && wixl -a "$platform" -D Platform="$platform" -D Version="$version" -D Bin="bin-$platform" \
     -D Rows=rows -D Icon=bell.ico -o "$msi.part" "$root/installer/TarvanelReminder.wxs")
  # Windows Installer knows roots -1 to 3 only; wixl writes HKMU as 4, which Wine drops.
  local bad
  bad=$(msiinfo export "$msi.part" Registry | awk -F'\t' 'NR > 3 && ($2 < -1 || $2 > 3) {print $1 " root " $2}')
  if [ -n "$bad" ]; then
    echo "package.sh: Registry rows with a root outside -1..3 in $msi: $bad" >&2
    exit 1
  fi
  # Registration is by Registry rows alone: no self-registration, no custom action.
  local table
  for table in SelfReg CustomAction; do
    if msiinfo tables "$msi.part" | grep -qx "$table" && [ -n "$(msiinfo export "$msi.part" "$table" | tail -n +4)" ]; then
      echo "package.sh: $msi has $table rows" >&2
      exit 1
    fi
  done
  mv "$msi.part" "$msi"
  echo "wrote $msi"
}

if [ "$only" != x86 ]; then
  rows
  build x64 "$win64/bin"
fi
if [ "$only" != x64 ]; then
  rows win32
  build x86 "$win32/bin"
fi
