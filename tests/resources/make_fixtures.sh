#!/usr/bin/env bash
# Writes the files the resource tests read, with encoders we did not write: TGA images by
# ImageMagick (the fuzz seeds, and one inside sheets.dat) and zip archives by Info-ZIP.
# Usage: make_fixtures.sh OUTDIR
set -euo pipefail
mkdir -p "$1" && cd "$1"
rm -rf work ./*.zip ./*.dat && mkdir work

# A picture with runs (the rectangle, rows of equal alpha) and raw stretches (the gradient).
convert \( -size 23x37 gradient:'#ff2000-#0040ff' -rotate 90 \) \
    -fill '#33cc66' -draw 'rectangle 4,3 30,12' \
    \( -size 37x23 gradient:white-'#404040' \) -alpha off -compose CopyOpacity -composite \
    work/picture.png
for depth in 24 32; do
    if [ "$depth" = 24 ]; then type=TrueColor; else type=TrueColorAlpha; fi
    for compression in None RLE; do
        for origin in BottomLeft TopLeft; do
            name="im_${depth}_${compression}_${origin}"
            convert work/picture.png -type "$type" -compress "$compression" -orient "$origin" \
                "$name.tga"
        done
    done
done

# Sprite sheets whose pixels tell where they are: red = column, green = row, blue = sheet.
sheet() { # name width height blue compression
    convert -size "$2x$3" xc:black -alpha set \
        -channel R -fx 'i/255' -channel G -fx 'j/255' -channel B -fx "$4/255" \
        -channel A -fx '(i+j)%2 ? 1 : 0.5' +channel \
        -type TrueColorAlpha -compress "$5" -orient TopLeft "work/$1"
}
sheet SpaceShooterAssetPack_BackGrounds.tga 128 256 1 RLE
sheet SpaceShooterAssetPack_Miscellaneous.tga 104 56 2 None
sheet SpaceShooterAssetPack_Projectiles.tga 48 40 3 RLE
sheet SpaceShooterAssetPack_Ships.tga 80 80 4 None
# With them, an image of an odd width for the texture tests.
(cd work && zip -q -X -j ../sheets.dat SpaceShooterAssetPack_*.tga ../im_24_None_TopLeft.tga)
# Sheets that cannot be used: one missing, text that is no TGA, and an 8-bit image.
mkdir -p work/odd
cp work/SpaceShooterAssetPack_BackGrounds.tga work/odd/
printf 'not a picture at all' > work/odd/SpaceShooterAssetPack_Projectiles.tga
printf '\x00\x00\x02\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x02\x00\x08\x00\x01\x02\x03\x04' \
    > work/odd/SpaceShooterAssetPack_Ships.tga
(cd work/odd && zip -q -X ../../odd_sheets.dat SpaceShooterAssetPack_*.tga)

# A ships sheet whose header promises 8192 x 8192 pixels of one colour in runs of 128: 256 MB
# of pixels from a 2.6 MB entry that zips to a few kilobytes.
mkdir work/bomb
perl -e 'print pack("C12 v2 C2", 0, 0, 10, (0) x 9, 8192, 8192, 32, 8), "\xff\x20\x40\x60\xff" x 524288' \
    > work/bomb/SpaceShooterAssetPack_Ships.tga
(cd work/bomb && zip -q -X ../../bomb.dat SpaceShooterAssetPack_Ships.tga)

# An archive with a stored entry, a deflated one, an empty one and a folder.
for i in $(seq 0 255); do printf "\\x$(printf %02x "$i")"; done > stored.bin
for i in $(seq 300); do echo "Zindrel resource line $((i % 7))"; done > deflated.txt
: > empty.txt
mkdir work/folder && printf 'inside the folder\n' | tee inner.txt > work/folder/inner.txt
zip -q -X -0 infozip.zip stored.bin && zip -q -X -9 infozip.zip deflated.txt empty.txt
(cd work && zip -q -X -r ../infozip.zip folder) && zip -q -X -9 deflated.zip deflated.txt
rm -rf work
