#!/usr/bin/env bash
# Renders every icon in resources/Icons/ from the SVG sources in resources/svg/.
# Needs rsvg-convert (librsvg2-bin) and, for the one JPG, ImageMagick's convert.
# Idempotent: running it again rewrites the same files.
#
#   resources/make_icons.sh             render svg/*.svg -> Icons/*
#   resources/make_icons.sh --svg       first rewrite svg/*.svg with make_svgs.py
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
svg_dir=$here/svg
out_dir=$here/Icons

if [[ ${1:-} == --svg ]]; then
  python3 "$here/make_svgs.py"
fi

command -v rsvg-convert >/dev/null || { echo "rsvg-convert not found (apt-get install librsvg2-bin)" >&2; exit 1; }
if ! convert -version 2>/dev/null | grep -q ImageMagick; then
  echo "ImageMagick convert not found (apt-get install imagemagick)" >&2
  exit 1
fi

mkdir -p "$out_dir"

# name|width|height|format
icons=(
  "Refresh-icon|64|64|png"
  "apply|64|64|png"
  "ethernet|70|80|png"
  "ethernet_disconnect|70|80|png"
  "info|64|64|png"
  "ip-address|64|64|png"
  "kolvex icon|128|128|jpg"
  "kolvexloging-|161|161|png"
  "off-button|80|80|png"
  "on-button|80|80|png"
  "ping|64|64|png"
  "reading|64|64|png"
  "reset|64|64|png"
  "setting|64|64|png"
  "usb_connect|70|80|png"
  "usb_disconnect|70|80|png"
)

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

for entry in "${icons[@]}"; do
  IFS='|' read -r name w h fmt <<<"$entry"
  src=$svg_dir/$name.svg
  [[ -f $src ]] || { echo "missing source: $src" >&2; exit 1; }
  case $fmt in
    png)
      rsvg-convert -w "$w" -h "$h" -f png -o "$tmp/out.png" "$src"
      mv -f "$tmp/out.png" "$out_dir/$name.png"
      ;;
    jpg)
      rsvg-convert -w "$w" -h "$h" -f png -o "$tmp/out.png" "$src"
      convert "$tmp/out.png" -background white -alpha remove -alpha off \
        -sampling-factor 4:4:4 -quality 92 -strip "$tmp/out.jpg"
      mv -f "$tmp/out.jpg" "$out_dir/$name.jpg"
      ;;
  esac
  echo "  $name.$fmt (${w}x${h})"
done

echo "done: ${#icons[@]} icons in $out_dir"
