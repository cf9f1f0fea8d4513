#!/bin/sh
# Makes the sound-path fixtures of this folder (see README). Needs ffmpeg, lame, oggenc.
set -e
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# 3.00 s whose amplitude rises linearly from nothing to full: every lost part of the end
# is plainly the loudest part.
ffmpeg -v error -y -f lavfi -i "aevalsrc=exprs='0.9*(t/3)*sin(2*PI*440*t)|0.9*(t/3)*sin(2*PI*660*t)':s=44100:d=3" "$tmp/ramp.wav"
# One continuous tone of 1.5 s, cut in two at sample 33075 (0.75 s, inside a frame).
ffmpeg -v error -y -f lavfi -i "aevalsrc=exprs='0.6*sin(2*PI*440*t)|0.5*sin(2*PI*550*t+1)':s=44100:d=1.5" "$tmp/tone.wav"
ffmpeg -v error -y -i "$tmp/tone.wav" -af "atrim=end_sample=33075" "$tmp/tone-a.wav"
ffmpeg -v error -y -i "$tmp/tone.wav" -af "atrim=start_sample=33075" "$tmp/tone-b.wav"

q="--quiet --noreplaygain"
lame $q -m s -b 128 "$tmp/ramp.wav" ramp.mp3
lame $q -m s -b 128 "$tmp/tone-a.wav" tone-a.mp3
lame $q -m s -b 128 "$tmp/tone-b.wav" tone-b.mp3
oggenc -Q -q 4 -o tone-a.ogg "$tmp/tone-a.wav"
oggenc -Q -q 4 -o tone-b.ogg "$tmp/tone-b.wav"
