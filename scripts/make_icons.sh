#!/usr/bin/env bash
# Renders the PNG icons of packaging/icons/ from their SVG drawings
# (rsvg-convert, from Debian's librsvg2-bin); run again after editing one.
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
for size in 48 256; do
  rsvg-convert -w "$size" -h "$size" org.rovanel.Rovanel.svg -o "org.rovanel.Rovanel-$size.png"
done
for kind in profile series; do
  rsvg-convert -w 48 -h 48 "application-x-rovanel-$kind.svg" -o "application-x-rovanel-$kind-48.png"
done
