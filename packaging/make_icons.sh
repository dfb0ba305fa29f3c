#!/usr/bin/env bash
# Renders the menu icons in packaging/icons/ from the application's SVG.
# The PNGs are committed so that building and packaging never need librsvg;
# run this again only when the SVG changes. Needs rsvg-convert (librsvg2-bin).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
svg="$here/../resources/svg/kolvex icon.svg"
out_dir=$here/icons

command -v rsvg-convert >/dev/null || { echo "rsvg-convert not found (apt-get install librsvg2-bin)" >&2; exit 1; }

mkdir -p "$out_dir"
# The sizes the install rules expect under share/icons/hicolor/.
for size in 48 128 256; do
  rsvg-convert -w "$size" -h "$size" -f png -o "$out_dir/quorvane-$size.png" "$svg"
  echo "$out_dir/quorvane-$size.png"
done
