#!/bin/sh
# Makes the FLAC and Opus streams of tests/data/flac and tests/data/opus (see the READMEs).
# Needs ffmpeg, flac (flac, metaflac), opus-tools (opusenc), python3.
set -e
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
tone="0.5*sin(2*PI*440*t)+0.2*sin(2*PI*3100*t)|0.45*sin(2*PI*660*t+1)+0.15*sin(2*PI*5300*t)"
ffmpeg -v error -y -fflags +bitexact -f lavfi -i "aevalsrc=exprs='$tone':s=44100:d=1" -c:a pcm_s16le -flags:a +bitexact "$tmp/stereo16.wav"
ffmpeg -v error -y -fflags +bitexact -f lavfi -i "aevalsrc=exprs='$tone':s=96000:d=0.5" -c:a pcm_s24le -flags:a +bitexact "$tmp/hires24.wav"
ffmpeg -v error -y -fflags +bitexact -f lavfi -i "aevalsrc=exprs='0.7*sin(2*PI*(300+100*t)*t)':s=22050:d=3" -c:a pcm_u8 -flags:a +bitexact "$tmp/mono8.wav"
ffmpeg -v error -y -fflags +bitexact -f lavfi -i "aevalsrc=exprs='0.4*sin(2*PI*200*t)|0.4*sin(2*PI*300*t)|0.4*sin(2*PI*400*t)|0.2*sin(2*PI*50*t)|0.3*sin(2*PI*500*t)|0.3*sin(2*PI*600*t)':s=48000:d=0.4:c=5.1" -c:a pcm_s16le -flags:a +bitexact "$tmp/six.wav"

q="--silent --force"
flac $q -o stereo16.flac "$tmp/stereo16.wav"
flac $q -o hires24.flac "$tmp/hires24.wav"
flac $q -o mono8.flac "$tmp/mono8.wav"
flac $q -o surround6.flac "$tmp/six.wav"
flac $q --ogg -o stereo16.oga "$tmp/stereo16.wav"
# Tags, a picture and padding in front of the audio: the picture and the padding are
# skipped, the comments read.
python3 -c "
import struct, zlib
rows = b''.join(b'\x00' + bytes(sum(([x * 4, y * 4, 128] for x in range(64)), [])) for y in range(64))
def chunk(t, d): return struct.pack('>I', len(d)) + t + d + struct.pack('>I', zlib.crc32(t + d))
png = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', 64, 64, 8, 2, 0, 0, 0)) + chunk(b'IDAT', zlib.compress(rows)) + chunk(b'IEND', b'')
open('$tmp/cover.png', 'wb').write(png)
"
metaflac --set-tag="TITLE=Ünïcödé Title" --set-tag="ARTIST=FLAC Artist" --set-tag="ALBUM=FLAC Album" \
    --set-tag="DATE=2019-04-01" --set-tag="TRACKNUMBER=04/12" --import-picture-from="$tmp/cover.png" \
    --add-padding=65536 stereo16.flac

opusenc --quiet --bitrate 96 --title "Opus Title" --artist "Opus Artist" --album "Opus Album" \
    --date 2021 --comment TRACKNUMBER=7 "$tmp/stereo16.wav" ../opus/stereo.opus
ffmpeg -v error -y -fflags +bitexact -f lavfi -i "aevalsrc=exprs='0.7*sin(2*PI*(300+100*t)*t)':s=48000:d=3" -c:a pcm_s16le -flags:a +bitexact "$tmp/mono.wav"
opusenc --quiet --bitrate 48 "$tmp/mono.wav" ../opus/mono.opus
cp ../opus/stereo.opus ../opus/stereo.oga
