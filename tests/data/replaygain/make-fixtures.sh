#!/bin/sh
# Makes the ReplayGain fixtures of this folder (see README). Needs ffmpeg, lame, oggenc,
# vorbiscomment, flac, metaflac, opusenc, python3.
set -e
cd "$(dirname "$0")"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
ffmpeg -v error -y -fflags +bitexact -f lavfi -i "aevalsrc=exprs='0.5*sin(2*PI*440*t)|0.5*sin(2*PI*554*t)':s=44100:d=1" \
    -c:a pcm_s16le -flags:a +bitexact "$tmp/signal.wav"
ffmpeg -v error -y -fflags +bitexact -f lavfi -i "aevalsrc=exprs='0.5*sin(2*PI*440*t)|0.5*sin(2*PI*554*t)':s=48000:d=1" \
    -c:a pcm_s16le -flags:a +bitexact "$tmp/signal48.wav"

lame --quiet --noreplaygain -b 128 "$tmp/signal.wav" plain.mp3
python3 tags.py txxx plain.mp3 txxx.mp3
python3 tags.py rva2 plain.mp3 rva2.mp3
python3 tags.py lame plain.mp3 lame.mp3 -6.0

oggenc -Q -q 4 -o plain.ogg "$tmp/signal.wav"
cp plain.ogg tagged.ogg
vorbiscomment -a -t "REPLAYGAIN_TRACK_GAIN=-6.02 dB" -t "REPLAYGAIN_TRACK_PEAK=0.5" \
    -t "REPLAYGAIN_ALBUM_GAIN=-12.04 dB" -t "REPLAYGAIN_ALBUM_PEAK=0.5" tagged.ogg

flac --silent --force -o plain.flac "$tmp/signal.wav"
cp plain.flac tagged.flac
metaflac --set-tag="REPLAYGAIN_TRACK_GAIN=-6.02 dB" --set-tag="REPLAYGAIN_TRACK_PEAK=0.5" \
    --set-tag="REPLAYGAIN_ALBUM_GAIN=-12.04 dB" --set-tag="REPLAYGAIN_ALBUM_PEAK=0.5" tagged.flac

# R128 gains are relative to -23 LUFS: -2821/256 dB + 5 dB is the -6.02 dB of the others.
opusenc --quiet --bitrate 128 "$tmp/signal48.wav" plain.opus
opusenc --quiet --bitrate 128 --comment R128_TRACK_GAIN=-2821 --comment R128_ALBUM_GAIN=-4362 "$tmp/signal48.wav" tagged.opus
python3 tags.py opusgain tagged.opus headergain.opus -1541

ffmpeg -v error -y -i "$tmp/signal.wav" -c:a aac -b:a 128k -fflags +bitexact -flags:a +bitexact plain.m4a
python3 tags.py freeform plain.m4a tagged.m4a
