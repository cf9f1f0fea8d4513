#!/bin/sh
# Makes the MP3 test streams of this folder (see README). Needs ffmpeg, lame, python3.
set -e
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Tonal stereo material with different content per channel, and a drum-like signal with
# sharp attacks (short blocks) whose channels are nearly the same (mid/side).
ffmpeg -v error -y -f lavfi -i "aevalsrc=exprs='0.30*sin(2*PI*220*t)*(1+0.5*sin(2*PI*0.7*t))+0.18*sin(2*PI*1375*t+3*sin(2*PI*3*t))+0.10*sin(2*PI*5100*t)*(t-floor(t))+0.05*(random(0)-0.5)|0.25*sin(2*PI*330*t)+0.15*sin(2*PI*2750*t)*exp(-3*(t-floor(t)))+0.12*sin(2*PI*440*t)+0.06*(random(1)-0.5)':s=44100:d=2" "$tmp/tonal.wav"
ffmpeg -v error -y -f lavfi -i "aevalsrc=exprs='0.4*sin(2*PI*180*t)*exp(-6*(t*3-floor(t*3)))+0.35*(random(0)-0.5)*exp(-30*(t*5-floor(t*5)))+0.15*sin(2*PI*1200*t)+0.1*sin(2*PI*3300*t)*gt(sin(2*PI*2*t),0)|0.37*sin(2*PI*180*t+0.2)*exp(-6*(t*3-floor(t*3)))+0.33*(random(0)-0.5)*exp(-30*(t*5-floor(t*5)))+0.15*sin(2*PI*1210*t)+0.08*sin(2*PI*3300*t)*gt(sin(2*PI*2*t),0)':s=44100:d=2" "$tmp/drums.wav"
ffmpeg -v error -y -f lavfi -i "aevalsrc=exprs='0.6*sin(2*PI*(200+900*t)*t)*(0.5+0.5*gt(random(0),0.97))+0.3*(random(1)-0.5)*exp(-8*(t*4-floor(t*4)))':s=44100:d=2" "$tmp/mono.wav"

ffmpeg -v error -y -f lavfi -i "aevalsrc=exprs='0.8*sin(2*PI*440*t)*lt(t,0.5)':s=44100:d=1" "$tmp/toneoff.wav"

q="--quiet --noreplaygain"
lame $q -m s -b 128 "$tmp/tonal.wav" stereo128.mp3
lame $q -m j -b 320 "$tmp/tonal.wav" joint320.mp3
lame $q -m f -b 128 "$tmp/drums.wav" midside128.mp3
lame $q -m m -b 64 "$tmp/mono.wav" mono64.mp3
lame $q -m m -b 64 "$tmp/toneoff.wav" tone-then-silence.mp3
lame $q -m j -V 5 "$tmp/tonal.wav" vbr.mp3
lame $q -m s -b 112 -p --resample 48 "$tmp/tonal.wav" crc48.mp3
lame $q -m j --freeformat -b 200 "$tmp/tonal.wav" free200.mp3
lame $q -m j --resample 22.05 -b 64 "$tmp/tonal.wav" mpeg2-22k.mp3
lame $q -m m --resample 16 -b 32 "$tmp/mono.wav" mpeg2-16k-mono.mp3
lame $q -m f --resample 24 -b 48 "$tmp/drums.wav" mpeg2-24k-ms.mp3

# Intensity stereo and mixed blocks: no encoder at hand writes them, so they are made by
# editing the side information of streams that parse the same either way.
lame $q -m f -b 128 "$tmp/tonal.wav" "$tmp/ms-long.mp3"
python3 sideinfo.py intensity "$tmp/ms-long.mp3" intensity-long.mp3 > /dev/null
lame $q -m f -b 96 "$tmp/drums.wav" "$tmp/ms-short.mp3"
python3 sideinfo.py intensity "$tmp/ms-short.mp3" intensity-short.mp3 > /dev/null
lame $q -m s -b 80 "$tmp/drums.wav" "$tmp/short80.mp3"
python3 sideinfo.py mixed "$tmp/short80.mp3" mixed.mp3 > /dev/null

# Tags: ID3 version 1 with a track number, and an ID3 version 2 tag in front
lame $q -m j -b 96 --id3v1-only --tt "Title Of Track" --ta "Some Artist" --tl "An Album" --ty 1999 --tn 7 "$tmp/mono.wav" tagged-v1.mp3
lame $q -m j -b 96 --id3v2-only --pad-id3v2-size 3000 --tt "Title" --ta "Artist" "$tmp/mono.wav" tagged-v2.mp3

# Gapless: chirps of exactly 1.7 s (74970 samples at 44.1 kHz, 37485 at 22.05 kHz). The
# test computes the same signal to line the decoded sound up with it.
L="0.5*sin(2*PI*(300*t+1300*t*t))"
R="0.4*sin(2*PI*(2500*t-600*t*t))+0.2*sin(2*PI*(150*t+400*t*t))"
ffmpeg -v error -y -f lavfi -i "aevalsrc=exprs='$L|$R':s=44100:d=1.7" "$tmp/chirp44.wav"
ffmpeg -v error -y -f lavfi -i "aevalsrc=exprs='$L':s=44100:d=1.7" "$tmp/chirp44-mono.wav"
ffmpeg -v error -y -f lavfi -i "aevalsrc=exprs='$L|$R':s=22050:d=1.7" "$tmp/chirp22.wav"
lame $q -m s -b 128 "$tmp/chirp44.wav" gapless-cbr.mp3
lame $q -m j -V 4 "$tmp/chirp44.wav" gapless-vbr.mp3
lame $q -m m -b 64 "$tmp/chirp44-mono.wav" gapless-mono.mp3
lame $q -m j -V 6 "$tmp/chirp22.wav" gapless-mpeg2-vbr.mp3

# Far beyond full scale: a loud 320 kbit/s stream whose first 8 granules with big values
# in the tables of 10 to 13 linbits get a global gain 32 steps (256 times) higher.
ffmpeg -v error -y -f lavfi -i "aevalsrc=exprs='0.9*sin(2*PI*60*t)+0.05*sin(2*PI*3000*t)|0.9*sin(2*PI*45*t)':s=44100:d=0.6" "$tmp/loud.wav"
lame $q -m s -b 320 "$tmp/loud.wav" "$tmp/loud.mp3"
python3 sideinfo.py loud "$tmp/loud.mp3" loud-linbits.mp3 32 8 > /dev/null
