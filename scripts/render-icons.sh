#!/usr/bin/env bash
# Renders the program's PNG icons from its SVG (run after changing the SVG;
# the PNGs are committed). Needs rsvg-convert: apt-get install librsvg2-bin.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
icons="$root/data/icons/hicolor"
id=org.example.pylomir
for n in 16 24 32 48 64 128 256; do
    mkdir -p "$icons/${n}x${n}/apps"
    rsvg-convert -w "$n" -h "$n" "$icons/scalable/apps/$id.svg" -o "$icons/${n}x${n}/apps/$id.png"
done
