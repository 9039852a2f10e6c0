#!/usr/bin/env bash
# A font for the firmware from an installed typeface, as whole processes: Tesselor's two subcommands
# against lv_font_conv on the same glyphs at the same pixel size (12 pt at 96 dpi = 16 px).
set -euo pipefail
tesselor=${1:?the tesselor program}
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${RUNS:-10}
font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

tools="$root/build/bench-node"
converter="$tools/node_modules/.bin/lv_font_conv"
if [[ ! -x "$converter" ]]; then
    if ! command -v npm >/dev/null 2>&1; then
        echo "npm is not installed: skipping the comparison with lv_font_conv"
        exit 0
    fi
    mkdir -p "$tools"
    npm install --prefix "$tools" --no-audit --no-fund --silent lv_font_conv@1.5.3 >/dev/null
fi

seconds() { # runs a command $runs times; prints the mean wall time in seconds
    local start end
    start=$(date +%s%N)
    for ((i = 0; i < runs; i++)); do "$@" >/dev/null; done
    end=$(date +%s%N)
    echo "scale=4; ($end - $start) / $runs / 1000000000" | bc
}

ours() {
    "$tesselor" font-from-system --family "DejaVu Sans" --size 12 --from 32 --to 127 -o "$work/dejavu.font"
    "$tesselor" font-export "$work/dejavu.font" -o "$work/dejavu.c"
}
theirs() {
    "$converter" --font "$font" -r 0x20-0x7F --size 16 --bpp 1 --format lvgl -o "$work/lv.c"
}

ours; theirs # warm the caches
t_ours=$(seconds ours)
t_theirs=$(seconds theirs)
printf '%-44s %8.4f s per run (%d runs)\n' "tesselor font-from-system + font-export" "$t_ours" "$runs"
printf '%-44s %8.4f s per run (%d runs)\n' "lv_font_conv, same glyphs at 16 px, 1 bpp" "$t_theirs" "$runs"
printf '%-44s %8.2f x faster\n' "ratio" "$(echo "scale=4; $t_theirs / $t_ours" | bc)"
