#!/usr/bin/env bash
# The Debian package as a user gets it: built by cpack, unpacked into a temporary root, its files, its
# dependencies, and the program, menu entry, file types, man page and completion from there.
set -euo pipefail
build=$1
source_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out" >/dev/null)
deb=$(ls "$work"/out/tesselor_*.deb)
dpkg -x "$deb" "$work/root"

expected="./usr/bin/tesselor
./usr/share/applications/tesselor.desktop
./usr/share/bash-completion/completions/tesselor
./usr/share/doc/tesselor/README.md
./usr/share/doc/tesselor/formats.md
./usr/share/icons/hicolor/scalable/apps/tesselor.svg
./usr/share/man/man1/tesselor.1
./usr/share/mime/packages/tesselor.xml"
files=$(cd "$work/root" && find . -type f | sort)
[[ "$files" == "$expected" ]] || fail "the package holds"$'\n'"$files"

# The Qt 6 runtime from the libraries linked, and the platform plugins named.
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins zlib1g; do
    [[ "$depends" == *"$package"* ]] || fail "Depends lacks $package: $depends"
done

bin="$work/root/usr/bin/tesselor"
[[ $("$bin" --version) == "tesselor $(dpkg-deb -f "$deb" Version)" ]] || fail "version: $("$bin" --version)"
desktop-file-validate "$work/root/usr/share/applications/tesselor.desktop" || fail "the .desktop entry"
xmllint --noout "$work/root/usr/share/icons/hicolor/scalable/apps/tesselor.svg" || fail "the icon"

# The file types, as a file manager would see them after the package's trigger ran.
cp -r "$work/root/usr/share/mime" "$work/mime"
XDG_DATA_HOME="$work" XDG_DATA_DIRS="$work" update-mime-database "$work/mime" 2>"$work/mime.log" && [[ ! -s "$work/mime.log" ]] || fail "mime: $(cat "$work/mime.log")"
for glob in font res resdata; do
    grep -qx "application/x-tesselor-$glob:\*\.$glob" "$work/mime/globs" || fail "no type for .$glob"
done
# Beside the system's types, where other programs' resources are .res files too, the first bytes decide.
cp /usr/share/mime/packages/freedesktop.org.xml "$work/mime/packages/"
update-mime-database "$work/mime" 2>/dev/null
printf 'RSC\x01\x00\x00\x00' >"$work/ours.res"
printf '[gd_resource type="x"]\n' >"$work/other.res"
type_of() { XDG_DATA_HOME="$work/none" XDG_DATA_DIRS="$work" gio info -a standard::content-type "$1" 2>/dev/null | awk '/content-type/ {print $2}'; }
[[ $(type_of "$work/ours.res") == application/x-tesselor-res ]] || fail "a .res of ours is $(type_of "$work/ours.res")"
[[ $(type_of "$work/other.res") != application/x-tesselor-res ]] || fail "another program's .res is taken as ours"

# The man page renders without a warning and names every option of every subcommand.
page="$work/root/usr/share/man/man1/tesselor.1"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null) || true
[[ -z "$warnings" ]] || fail "man: $warnings"
subcommands=$("$bin" --help | awk '/^Subcommands:/{on=1; next} on && /^$/{on=0} on {print $1}')
[[ $(wc -w <<<"$subcommands") -ge 9 ]] || fail "subcommands: $subcommands"
for sub in $subcommands; do
    grep -q "^\.SS \"${sub//-/\\\\-}" "$page" || fail "man page lacks $sub"
    for option in $("$bin" "$sub" --help | grep -o -- '--[a-z0-9-]*' | sort -u); do
        grep -q -- "${option//-/\\\\-}" "$page" || fail "man page lacks $option of $sub"
    done
done

# The completion from the package completes subcommands, options and fixed values.
complete_words() {
    bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _tesselor; echo "${COMPREPLY[*]}"' \
        _ "$work/root/usr/share/bash-completion/completions/tesselor" "$@"
}
[[ $(complete_words tesselor res-l) == "res-list" ]] || fail "completion of res-l"
[[ $(complete_words tesselor font-export in.font --c-type "") == "short u8" ]] || fail "completion of --c-type"
[[ $(complete_words tesselor bitmap-export --ft-format L) == "L1 L4 L8 L2" ]] || fail "completion of --ft-format"
echo "package $(basename "$deb"): files, dependencies, program, menu entry, icon, types, man page and completion"
