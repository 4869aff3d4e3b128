#!/usr/bin/env bash
# Renders the scalable application icon to the fixed-size PNGs installed into the
# hicolor theme. Run after editing icons/org.quorvex.DeviceCenter.svg and commit
# the PNGs it writes (icons/<n>x<n>/org.quorvex.DeviceCenter.png).
# Uses rsvg-convert (librsvg2-bin), or ImageMagick's convert when that is missing.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
name="org.quorvex.DeviceCenter"
svg="${here}/icons/${name}.svg"
sizes=(16 32 48 64 128 256)

render() {
  local size="$1" out="$2"
  if command -v rsvg-convert >/dev/null 2>&1; then
    rsvg-convert --width "${size}" --height "${size}" --output "${out}" "${svg}"
  else
    convert -background none -density 384 "${svg}" -resize "${size}x${size}" "${out}"
  fi
}

for size in "${sizes[@]}"; do
  dir="${here}/icons/${size}x${size}"
  mkdir -p "${dir}"
  render "${size}" "${dir}/${name}.png"
  echo "${dir}/${name}.png"
done
