#!/usr/bin/env bash
# Redraws hotkey.ico (icon 128): a key cap marked H, drawn from shapes so no font is needed.
set -euo pipefail
cd "$(dirname "$0")"
convert -size 256x256 xc:none \
    -fill '#1d3557' -draw 'roundrectangle 16,24 240,240 40,40' \
    -fill '#f1faee' -draw 'roundrectangle 28,20 228,212 32,32' \
    -fill '#1d3557' \
    -draw 'rectangle 72,56 104,176' -draw 'rectangle 152,56 184,176' -draw 'rectangle 104,100 152,132' \
    -define icon:auto-resize=256,96,64,48,40,32,24,20,16 hotkey.ico
