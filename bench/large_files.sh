#!/usr/bin/env bash
# Large files as whole processes, wall time and peak memory: the .res commands on a file of 200 MB in 100
# items against the limit of moving the same bytes (res-pack against cat + sync of the items, res-unpack
# against cp + sync of them; res-list reads the index alone), and the refusal of images of 8000 x 8000
# pixels (a PNG and a BMP of 192 MB of noise) against reading their first 64 KiB.
set -euo pipefail
tesselor=${1:?the tesselor program}
items=${ITEMS:-100}
size=${ITEM_BYTES:-2000000}
work=$(mktemp -d "${TMPDIR:-/tmp}/tesselor-res-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

le32() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $(($1 >> 8 & 255)))\\x$(printf %02x $(($1 >> 16 & 255)))\\x$(printf %02x $(($1 >> 24 & 255)))"; }
mkdir -p "$work/items"
for ((i = 0; i < items; i++)); do
    name=$(printf 'item_%03d' "$i")
    { printf 'bmp'; le32 "$size"; le32 $((12 + ${#name})); printf "\\x$(printf %02x ${#name})%s" "$name"
      head -c "$size" /dev/urandom; } > "$work/items/$name.resdata"
done
total=$(cat "$work/items"/*.resdata | wc -c)

measure() { # wall seconds and peak KiB of a command, then a sync
    /usr/bin/time -f '%e %M' -o "$work/time" "$@" >/dev/null
    local start end
    start=$(date +%s%N); sync; end=$(date +%s%N)
    read -r seconds kib < "$work/time"
    echo "$(echo "scale=3; $seconds + ($end - $start) / 1000000000" | bc) $kib"
}
report() { # what, seconds, KiB, limit seconds
    printf '%-36s %8.3f s  peak %7d KiB  limit %8.3f s  ratio %6.2f\n' "$1" "$2" "$3" "$4" \
        "$(echo "scale=4; $2 / $4" | bc)"
}

sync
read -r cat_s _ < <(measure sh -c "cat '$work'/items/*.resdata > '$work/copy.bin'")
read -r pack_s pack_k < <(measure "$tesselor" res-pack -o "$work/all.res" "$work"/items/*.resdata)
read -r cp_s _ < <(measure cp -r "$work/items" "$work/copied")
read -r unpack_s unpack_k < <(measure "$tesselor" res-unpack "$work/all.res" -d "$work/unpacked")
cmp -s "$work/items/item_042.resdata" "$work/unpacked/item_042.resdata" || { echo "res-unpack changed an item"; exit 1; }
read -r list_s list_k < <(measure "$tesselor" res-list --long "$work/all.res")

# Images over the pixel limit: the header says so; the file need not be read.
head -c 192000000 /dev/urandom > "$work/noise.rgb"
convert -size 8000x8000 -depth 8 rgb:"$work/noise.rgb" "$work/huge.png"
convert -size 8000x8000 -depth 8 rgb:"$work/noise.rgb" "$work/huge.bmp"
rm "$work/noise.rgb"
sync
read -r head_s _ < <(measure head -c 65536 "$work/huge.png")

echo "a .res of $total bytes in $items items"
report "res-pack (limit: cat + sync)" "$pack_s" "$pack_k" "$cat_s"
report "res-unpack (limit: cp + sync)" "$unpack_s" "$unpack_k" "$cp_s"
printf '%-36s %8.3f s  peak %7d KiB\n' "res-list --long" "$list_s" "$list_k"
for image in huge.png huge.bmp; do
    read -r refuse_s refuse_k < <(measure sh -c "! '$tesselor' bitmap-export '$work/$image' -o '$work/x.c' 2>/dev/null")
    report "refusing $image of $(stat -c %s "$work/$image") bytes" "$refuse_s" "$refuse_k" "$head_s"
done
