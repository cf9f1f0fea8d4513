#!/usr/bin/env bash
# Records, for each fixture, the frame table that ffmpeg's demuxer reports: one line per
# frame, "position size dts duration" (dts in the track's time units, shifted by the edit
# list as ffmpeg shows it). The MP4 reader's test checks that it finds the same frames.
set -euo pipefail
cd "$(dirname "$0")"
for f in *.m4a; do
    {
        echo "# ffprobe -show_packets $f: position size dts duration"
        ffprobe -v error -select_streams a:0 -show_entries packet=pos,size,dts,duration -of csv=p=0 "$f" \
            | awk -F, '$1 ~ /^-?[0-9]+$/ && NF >= 4 { print $4, $3, $1, $2 }'
    } > "${f%.m4a}.packets"
done
