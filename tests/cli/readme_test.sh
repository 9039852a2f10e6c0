#!/usr/bin/env bash
# The README's build examples, as written there: its main.c, its Makefile and its CMakeLists.txt, with a
# logo and two character bitmaps, built against the program under test. A touched input rebuilds its own
# outputs and nothing else.
set -euo pipefail
tesselor=$1
readme=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# The first fenced block of a language in the README.
block() { awk -v lang="$1" '$0 == "```" lang {on = 1; next} on && $0 == "```" {exit} on {print}' "$readme"; }

project() {
    mkdir -p "$1/art" "$1/icons"
    block c > "$1/main.c"
    # 2 x 1 pixels of 24 bits, and characters of 2 x 2.
    printf 'BM\x3e\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x02\0\0\0\x01\0\0\0\x01\0\x18\0\0\0\0\0\x08\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\xff\xff\0\0\0\0' > "$1/art/logo.bmp"
    for code in 48 49; do
        printf 'BM\x46\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x02\0\0\0\x02\0\0\0\x01\0\x18\0\0\0\0\0\x10\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\xff\xff\xff\0\0\xff\xff\xff\0\0\0\0\0\0' > "$1/icons/$code.bmp"
    done
}
# Files newer than the marker, as paths relative to the folder.
rebuilt() { (cd "$1" && find . -type f -newer "$2" ! -name '*.d' ! -path './CMakeFiles/*' -printf '%P\n' | grep -v -e CMakeFiles -e Makefile -e '\.o$' -e cmake | sort | tr '\n' ' '); }

# Make.
make_dir="$work/make"
project "$make_dir"
block make > "$make_dir/Makefile"
make -s -C "$make_dir" TESSELOR="$tesselor" >/dev/null || fail "make"
"$make_dir/build/firmware" | grep -q "^logo: 10 bytes at offset" || fail "the firmware of the Make example"
sleep 1.1 && touch "$work/marker" && sleep 1.1
touch "$make_dir/icons/49.bmp"
make -s -C "$make_dir" TESSELOR="$tesselor" >/dev/null
[[ "$(rebuilt "$make_dir" "$work/marker")" == "build/assets.h build/assets.res build/firmware build/icons.font build/icons.resdata icons/49.bmp " ]] ||
    fail "Make after touching icons/49.bmp rebuilt: $(rebuilt "$make_dir" "$work/marker")"
# A character added to the folder: the depfile names the folder, so the font is made again.
sleep 1.1 && touch "$work/marker3" && sleep 1.1
cp -p "$make_dir/icons/49.bmp" "$make_dir/icons/50.bmp"
make -s -C "$make_dir" TESSELOR="$tesselor" >/dev/null
[[ "$(rebuilt "$make_dir" "$work/marker3")" == "build/assets.h build/assets.res build/firmware build/icons.font build/icons.resdata " ]] ||
    fail "Make after adding icons/50.bmp rebuilt: $(rebuilt "$make_dir" "$work/marker3")"
grep -q "Char:50" "$make_dir/build/icons.font" || fail "the added character is not in the font"

# CMake.
cmake_dir="$work/cmake"
project "$cmake_dir"
block cmake > "$cmake_dir/CMakeLists.txt"
cmake -S "$cmake_dir" -B "$cmake_dir/build" -DTESSELOR="$tesselor" >/dev/null || fail "cmake configure"
cmake --build "$cmake_dir/build" >/dev/null || fail "cmake build"
"$cmake_dir/build/firmware" | grep -q "^logo: 10 bytes at offset" || fail "the firmware of the CMake example"
sleep 1.1 && touch "$work/marker2" && sleep 1.1
touch "$cmake_dir/icons/48.bmp"
cmake --build "$cmake_dir/build" >/dev/null
[[ "$(rebuilt "$cmake_dir/build" "$work/marker2")" == "assets/assets.h assets/assets.res assets/icons.font assets/icons.resdata firmware " ]] ||
    fail "CMake after touching icons/48.bmp rebuilt: $(rebuilt "$cmake_dir/build" "$work/marker2")"
echo "README examples: built, and rebuilt only what a touched input feeds"
