#!/bin/sh
# Makes the tag fixtures of this folder (see README) from the ReplayGain folder's untagged
# files. Needs ffmpeg.
set -e
cd "$(dirname "$0")"
src=../replaygain
# 120 characters in three scripts, and 31 bytes whose 31st byte starts a Cyrillic letter.
long=$(python3 -c 'print(("Größe Юность 夜明けの歌 " * 10)[:119] + ".")')
cyrillic=$(python3 -c 'print("!" + "ж" * 15)')
tag() { # IN OUT TITLE [extra ffmpeg options]
    in=$1 out=$2 title=$3
    shift 3
    ffmpeg -v error -y -i "$in" -map 0:a -c copy -map_metadata -1 -fflags +bitexact \
        -metadata title="$title" -metadata artist="Артист 歌手" -metadata album="Álbum" "$@" "$out"
}
tag $src/plain.mp3 long-v23.mp3 "$long" -id3v2_version 3 -write_xing 0
tag $src/plain.mp3 long-v24.mp3 "$long" -id3v2_version 4 -write_xing 0
tag $src/plain.mp3 cyrillic31.mp3 "$cyrillic" -id3v2_version 4 -write_xing 0
tag $src/plain.ogg long.ogg "$long"
tag $src/plain.flac long.flac "$long"
tag $src/plain.opus long.opus "$long"
tag $src/plain.m4a long.m4a "$long"
