#!/usr/bin/env bash
# Renders every shipped skin (windows, and the parts windows include: pages, panels,
# rows) at 96 and 144 DPI in every shipped language, with
# the layout checks on (named controls outside the window, overlapping siblings,
# texts that do not fit, operable controls without a name).
#
#   scripts/skin-gallery.sh [--preview PATH] [--out DIR] [--skin-dir DIR]
#
# PNGs go to DIR (default build/gallery) as <skin>_<language>_<dpi>.png. Exits non-zero
# when a skin cannot be built or a check fails.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
preview="$root/build/release/frontend/qt/preview/quorvex-skin-preview"
out="$root/build/gallery"
skins="$root/data/skin"
while [ $# -gt 0 ]; do
  case "$1" in
    --preview) preview="$2"; shift 2 ;;
    --out) out="$2"; shift 2 ;;
    --skin-dir) skins="$2"; shift 2 ;;
    *) echo "usage: $0 [--preview PATH] [--out DIR] [--skin-dir DIR]" >&2; exit 64 ;;
  esac
done
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
mkdir -p "$out"

# Every XML file; the preview tool says which are no skins (exit 3: an index, a
# language file, shared styles).
mapfile -t files < <(cd "$skins" && find . -name '*.xml' | sed 's|^\./||' | sort)
mapfile -t languages < <(cd "$skins" && ls lan_*.xml 2>/dev/null | sort)
[ ${#languages[@]} -gt 0 ] || languages=("")

status=0
count=0
for skin in "${files[@]}"; do
  for lang in "${languages[@]}"; do
    for dpi in 96 144; do
      tag="${lang%.xml}"
      png="$out/$(echo "${skin%.xml}" | tr '/' '_')_${tag:-raw}_${dpi}.png"
      args=(--skin-dir "$skins" --dpi "$dpi" --check --out "$png")
      [ -n "$lang" ] && args+=(--lang "$lang")
      rc=0
      "$preview" "${args[@]}" "$skin" || rc=$?
      if [ $rc -eq 3 ]; then
        continue 3
      elif [ $rc -ne 0 ]; then
        echo "FAILED: $skin (${lang:-no language file}, $dpi DPI)" >&2
        status=1
      fi
      count=$((count + 1))
    done
  done
done
echo "$count pictures in $out"
exit $status
