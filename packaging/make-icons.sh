#!/usr/bin/env bash
# Draws packaging/tavu.svg into the PNGs of packaging/icons/ that the program
# carries as its window icon, so that it needs no SVG image plugin at run time,
# and packs them into packaging/tavu.ico, the icon of the Windows program files.
# Run it again after changing the SVG; it needs rsvg-convert (librsvg2-bin) and
# ImageMagick.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 32 48 64 128 256; do rsvg-convert --width "$size" --height "$size" --output "icons/tavu-$size.png" tavu.svg; done
convert icons/tavu-{16,32,48,64,128,256}.png tavu.ico
