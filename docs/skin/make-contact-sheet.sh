#!/bin/sh
# Regenerates the reviewers' pictures of the default skin in docs/skin:
#   legend.txt            every bitmap with its size, frame layout, states and the INI keys naming it
#   contact-sheet.png     every bitmap at its real size, labelled, in INI order
#   contact-sheet-3x.png  the same at three times the size (magenta = transparent / cut away)
#   preview.png           sample windows composed from the skin the way the engine stretches it
# Usage: docs/skin/make-contact-sheet.sh [path/to/skingen [skingen colour options...]]
# Needs ImageMagick (convert, montage). Run from the repository root.
set -eu
skingen=${1:-build/native/skins/default/skingen}
[ $# -gt 0 ] && shift
out=docs/skin
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$skingen" "$work/skin" --legend "$out/legend.txt" --preview "$work/preview.bmp" "$@"
convert "$work/preview.bmp" -strip "$out/preview.png"

sheet() { # scale, cell geometry, columns, output
    scale=$1 cell=$2 columns=$3 target=$4
    set --
    for name in $(sed -n 's/^[0-9]*\. \([a-z0-9]*\.bmp\) .*/\1/p' "$out/legend.txt"); do
        frames=$(sed -n "s/^[0-9]*\. $name .*, \([0-9]*\) frames.*/\1/p" "$out/legend.txt")
        convert "$work/skin/$name" -scale "$scale" "$work/${name%.bmp}-$scale.png"
        set -- "$@" -label "$name${frames:+ ($frames)}" "$work/${name%.bmp}-$scale.png"
    done
    montage -font DejaVu-Sans -pointsize 11 -background '#D8DCE2' -fill '#1E242C' \
        "$@" -tile "$columns" -geometry "$cell" -strip "$target"
}
sheet 100% '400x60>+8+4' 4x "$out/contact-sheet.png"
sheet 300% '600x140>+10+6' 3x "$out/contact-sheet-3x.png"
echo "wrote $out/legend.txt, $out/contact-sheet.png, $out/contact-sheet-3x.png, $out/preview.png"
