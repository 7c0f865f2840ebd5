#!/bin/sh
# Draws the program icon (a small karuta card) and writes assets/icons/Mirobel.ico
# with the sizes Windows asks for. Needs rsvg-convert and ImageMagick.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out="$here/../../assets/icons"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$out"

cat > "$tmp/card.svg" <<'SVG'
<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">
  <rect x="40" y="8" width="176" height="240" rx="14" fill="#008080" stroke="#003c3c" stroke-width="6"/>
  <rect x="56" y="26" width="144" height="204" fill="#ffffff" stroke="#000000" stroke-width="4"/>
  <g stroke="#111111" stroke-linecap="round" fill="none">
    <path d="M172 44 C170 90 174 140 170 196" stroke-width="14"/>
    <path d="M140 44 C138 80 142 120 139 160" stroke-width="14"/>
    <path d="M108 70 C106 110 110 160 107 206" stroke-width="14"/>
  </g>
  <circle cx="78" cy="204" r="13" fill="#c0282d"/>
</svg>
SVG

for s in 16 24 32 48 64 256; do
  rsvg-convert -w "$s" -h "$s" "$tmp/card.svg" -o "$tmp/card-$s.png"
done
convert "$tmp/card-16.png" "$tmp/card-24.png" "$tmp/card-32.png" "$tmp/card-48.png" \
        "$tmp/card-64.png" "$tmp/card-256.png" "$out/Mirobel.ico"
echo "wrote $out/Mirobel.ico"
