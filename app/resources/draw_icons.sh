#!/usr/bin/env bash
# Redraws the main program's icons from shapes: tracewipe.ico (icon 103) shows lines of history being
# wiped by an eraser; tracewipe_small.ico (icon 102) keeps only what still reads at 16 pixels.
set -euo pipefail
cd "$(dirname "$0")"
background=(-fill '#0b6e99' -draw 'roundrectangle 8,8 248,248 44,44')
eraser=(-fill '#f4a261' -draw 'translate 168,148 rotate -35 roundrectangle -62,-34 62,34 14,14'
        -fill '#e76f51' -draw 'translate 168,148 rotate -35 roundrectangle -62,-34 -14,34 14,14')

convert -size 256x256 xc:none "${background[@]}" \
    -fill '#ffffff' \
    -draw 'roundrectangle 44,56 212,80 12,12' \
    -draw 'roundrectangle 44,104 176,128 12,12' \
    -draw 'roundrectangle 44,152 120,176 12,12' \
    "${eraser[@]}" \
    -depth 8 -define icon:auto-resize=256,96,64,48,40,32,24,20,16 tracewipe.ico

convert -size 256x256 xc:none "${background[@]}" \
    -fill '#ffffff' -draw 'roundrectangle 40,48 216,92 22,22' \
    -fill '#f4a261' -draw 'translate 140,164 rotate -35 roundrectangle -84,-46 84,46 20,20' \
    -fill '#e76f51' -draw 'translate 140,164 rotate -35 roundrectangle -84,-46 -20,46 20,20' \
    -define icon:auto-resize=48,32,24,20,16 tracewipe_small.ico
