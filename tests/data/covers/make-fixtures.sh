#!/bin/sh
# Makes the cover fixtures of this folder (see README). Needs ffmpeg, lame, metaflac,
# opusenc and python3.
set -e
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# A disc over a two-tone ground: wider than tall, so a stretched or cropped picture shows.
disc="if(lt(hypot(X-W/2,Y-H/2),H*0.4),220,if(lt(Y,H/2),90,40))"
ffmpeg -v error -y -f lavfi -i "color=c=black:s=120x90" -frames:v 1 \
    -vf "format=yuv444p,geq=lum='$disc':cb='if(lt(hypot(X-W/2,Y-H/2),H*0.4),60,170)':cr=128" front.png
ffmpeg -v error -y -i front.png -q:v 8 -pix_fmt yuvj420p front.jpg
ffmpeg -v error -y -f lavfi -i "color=c=red:s=16x16" -frames:v 1 back.png
# Two seconds of a quiet tone, mono, at the lowest rates: the fixtures stay small.
ffmpeg -v error -y -f lavfi -i "sine=frequency=440:duration=2:sample_rate=16000" -af volume=0.1 -fflags +bitexact "$tmp/tone.wav"
lame --quiet -b 8 --resample 16 "$tmp/tone.wav" "$tmp/plain.mp3"
# ID3v2.3 APIC front cover (JPEG).
lame --quiet -b 8 --resample 16 --ti front.jpg "$tmp/tone.wav" apic.mp3
# The same tag with the APIC frame's size saying 2 GiB.
python3 - <<'PY'
data = bytearray(open("apic.mp3", "rb").read())
at = data.index(b"APIC")
data[at + 4:at + 8] = (0x80000000).to_bytes(4, "big")
open("lying.mp3", "wb").write(data)
PY
# MP4 "covr".
ffmpeg -v error -y -i "$tmp/tone.wav" -i front.jpg -map 0:a -map 1 -c:a aac -b:a 16k -c:v copy \
    -disposition:v attached_pic -map_metadata -1 -fflags +bitexact covr.m4a
# FLAC: a back cover (type 4) first, then the front cover (type 3).
ffmpeg -v error -y -i "$tmp/tone.wav" -t 0.5 -ar 8000 -sample_fmt s16 -fflags +bitexact "$tmp/short.flac"
cp "$tmp/short.flac" picture.flac
metaflac --import-picture-from="4||back||back.png" --import-picture-from="3||front||front.png" picture.flac
metaflac --remove --block-type=PADDING --dont-use-padding picture.flac
# Opus METADATA_BLOCK_PICTURE.
opusenc --quiet --bitrate 6 --picture "3||front||front.png" "$tmp/tone.wav" picture.opus
# A plain track with a cover file beside it, its name in mixed case.
cp "$tmp/plain.mp3" beside/plain.mp3
cp front.jpg beside/Cover.JPG
