#!/usr/bin/env bash
# The C a firmware compiles: every header kind included from two translation units of one program, built
# as C99 (-Wall -Wextra -pedantic -Werror) and as C++; the arrays are unmangled global symbols in both (the
# headers give them C linkage); the compact arrays hold the same values.
set -euo pipefail
tesselor=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "FAIL: $*" >&2; exit 1; }

printf 'FontName:t\r\nFontWidth:9\r\nFontHeight:2\r\nRangeFrom:65\r\nRangeTo:66\r\nChar:65\r\n  Width:3\r\n    BitMap:010000000\r\n           101000000\r\nChar:66\r\n  Width:9\r\n    BitMap:100000001\r\n           000000010\r\n' > t.font
# A 2 x 1 24-bit bitmap: red, blue.
printf 'BM\x3e\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x02\0\0\0\x01\0\0\0\x01\0\x18\0\0\0\0\0\x08\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\xff\xff\0\0\0\0' > logo.bmp
mkdir -p gen
"$tesselor" font-export t.font -o gen/font16.c --header gen/font16.h --symbol font16
"$tesselor" font-export t.font -o gen/font8.c --header gen/font8.h --symbol font8 --c-type u8
"$tesselor" bitmap-export logo.bmp -o gen/logo16.c --header gen/logo16.h --symbol logo16
"$tesselor" bitmap-export logo.bmp --ft800 -o gen/logo8.c --header gen/logo8.h --symbol logo8 --c-type u8
# The controller's font as an array with its header, and as a zlib stream for CMD_INFLATE with its macros.
"$tesselor" font-export t.font --ft8xx --ft-format L4 --address 0x200 -o gen/ftfont.c --header gen/ftfont.h --symbol ftfont --c-type u8
"$tesselor" font-export t.font --ft8xx --deflate --address 1024 -o gen/ftstream.bin --header gen/ftstream.h
"$tesselor" font-export t.font -o t.resdata --symbol font_t
"$tesselor" bitmap-export logo.bmp -o logo.resdata
"$tesselor" res-pack -o gen/assets.res --header gen/assets.h --declarations gen/offsets.txt t.resdata logo.resdata

cat > a.c <<'C'
#include "font16.h"
#include "font8.h"
#include "logo16.h"
#include "logo8.h"
#include "assets.h"
#include "ftfont.h"
#include "ftstream.h"
unsigned long sum_a(void) {
    return font16[FONT16_SIZE - 1] + font8[FONT8_SIZE - 1] + logo16[LOGO16_SIZE - 1] + logo8[LOGO8_SIZE - 1] +
           ASSETS_FONT_T_OFFSET + ASSETS_LOGO_SIZE + ASSETS_ITEM_COUNT + ASSETS_FILE_BYTES + ftfont[FTFONT_SIZE - 1] +
           FTFONT_ADDRESS + FTFONT_BLOCK_BYTES + FTFONT_FORMAT + FTFONT_STRIDE + FTFONT_WIDTH + FTFONT_HEIGHT +
           FTFONT_FIRST + FTFONT_LAST + FTFONT_POINTER + FTSTREAM_9X2_SIZE + FTSTREAM_9X2_INFLATED_SIZE +
           LOGO16_FT8XX + LOGO16_WIDTH + LOGO8_FORMAT + LOGO8_STRIDE + LOGO8_HEIGHT + LOGO8_DATA_OFFSET +
           LOGO8_PALETTE_BYTES + ASSETS_LOGO_WIDTH + ASSETS_LOGO_DATA_OFFSET;
}
C
cat > b.c <<'C'
#include "font16.h"
#include "font8.h"
#include "logo16.h"
#include "logo8.h"
#include "assets.h"
#include "ftfont.h"
#include "ftstream.h"
unsigned long sum_a(void);
int main(void) {
    return sum_a() == (unsigned long)font16[0] + FONT8_SIZE ? 1 : 0;
}
C
objects=(gen/font16.c gen/font8.c gen/logo16.c gen/logo8.c gen/ftfont.c)
cc -std=c99 -Wall -Wextra -pedantic -Werror -Igen -o firmware_c a.c b.c "${objects[@]}" || fail "C99 build"
c++ -x c++ -std=c++17 -Wall -Wextra -pedantic -Werror -Igen -o firmware_cpp a.c b.c "${objects[@]}" || fail "C++ build"
for symbol in font16 font8 logo16 logo8 ftfont; do
    nm firmware_cpp | grep -Eq " R ${symbol}$" || fail "$symbol is no global symbol of the C++ program"
    nm firmware_c | grep -Eq " R ${symbol}$" || fail "$symbol is no global symbol of the C program"
done

# The compact arrays hold the same values, line for line.
values() { sed -n '/\[\] = {/,$p' "$1" | tail -n +2; }
[[ "$(values gen/font16.c)" == "$(values gen/font8.c)" ]] || fail "font values differ between the element types"
"$tesselor" bitmap-export logo.bmp --ft800 -o gen/logo8s.c --symbol logo8
[[ "$(values gen/logo8s.c)" == "$(values gen/logo8.c)" ]] || fail "bitmap values differ between the element types"
# The controller's font as an array holds the very bytes of its .bin.
"$tesselor" font-export t.font --ft8xx --ft-format L4 --address 0x200 -o ftsame.bin
cat > dump.c <<'C'
#include <stdio.h>
#include "ftfont.h"
int main(void) {
    return fwrite(ftfont, 1, FTFONT_SIZE, stdout) == FTFONT_SIZE ? 0 : 1;
}
C
cc -std=c99 -Wall -Werror -Igen -o dump dump.c gen/ftfont.c && ./dump > dumped.bin || fail "the FT8xx array's dump"
cmp -s dumped.bin ftsame.bin || fail "the FT8xx array differs from its .bin"

# The graphics libraries' fonts, compiled against their structures and drawn by their rules, show text
# exactly as the preview does: a 1-bit and an anti-aliased font, and a Czech label through a code page.
stubs=$(dirname "$0")/c_stubs
dejavu=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
"$tesselor" font-from-system --font-file "$dejavu" --size 11 --to 255 --codepage windows-1250 -o cz1.font
"$tesselor" font-from-system --font-file "$dejavu" --size 11 --to 255 --codepage windows-1250 --depth 4 -o cz4.font
same_picture() { # the two pictures hold the same pixels (through the same encoder)
    "$tesselor" bitmap-export "$1" --ft800 --ft-format L8 --l-source grey -o "$1.resdata" --symbol p
    "$tesselor" bitmap-export "$2" --ft800 --ft-format L8 --l-source grey -o "$2.resdata" --symbol p
    cmp -s "$1.resdata" "$2.resdata" || fail "$3: the drawing differs from the preview"
}
cc_strict=(cc -std=c99 -Wall -Wextra -pedantic -Werror -I"$stubs" -Igen)
text='Hello, World! 0123'
for depth in 1 4; do
    "$tesselor" font-export cz$depth.font --format gfx -o gen/gfx$depth.h --symbol gfx$depth
    "${cc_strict[@]}" -DGFX_HEADER="\"gfx$depth.h\"" -DFONT=gfx$depth -DGFX_BASELINE=GFX${depth}_BASELINE \
        -o draw_gfx$depth "$stubs/draw_text.c" || fail "GFX build, depth $depth"
    ./draw_gfx$depth "$text" > gfx$depth.pgm
    # GFX has one bit a pixel: the preview of the halved font.
    "$tesselor" font-export cz$depth.font -o half$depth.bdf && "$tesselor" font-from-bdf half$depth.bdf -o half$depth.font
    "$tesselor" font-preview half$depth.font --ft8xx --text "$text" -o gfx$depth.png
    same_picture gfx$depth.pgm gfx$depth.png "GFX at depth $depth"
    czech='Příliš žluťoučký kůň úpěl ďábelské ódy: Ąą'
    for version in 8 9; do
        "$tesselor" font-export cz$depth.font --format lvgl --lvgl $version -o gen/lv$depth.c --symbol lv$depth
        "${cc_strict[@]}" -DLVGL_VERSION_MAJOR=$version -DLV_LVGL_H_INCLUDE_SIMPLE -DLVGL_FONT=lv$depth \
            -o draw_lv$depth "$stubs/draw_text.c" gen/lv$depth.c || fail "LVGL $version build, depth $depth"
    done
    ./draw_lv$depth "$czech" > lv$depth.pgm
    "$tesselor" font-preview cz$depth.font --ft8xx --text "$czech" -o lv$depth.png
    same_picture lv$depth.pgm lv$depth.png "LVGL at depth $depth"
done
echo "C outputs: all checks passed"
