#!/bin/bash
# Renders every SVG fixture to a PNG reference, 200 pixels wide on white, for the SVG
# importer's comparison test. Usage: svg-references.sh FIXTURE_DIR OUTPUT_DIR
set -euo pipefail
src="$1"
out="$2"
command -v rsvg-convert >/dev/null || { echo "rsvg-convert is missing: run scripts/setup.sh" >&2; exit 1; }
mkdir -p "$out"
rm -f "$out"/*.png
for svg in "$src"/*.svg; do
    name="$(basename "$svg" .svg)"
    rsvg-convert --width 200 --background-color white --format png --output "$out/$name.png" "$svg"
done
