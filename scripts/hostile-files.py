#!/usr/bin/env python3
"""Damaged and hostile input for quavrix-decode.

Makes a few hundred damaged copies of the fixtures in tests/data (MP3, Ogg, MP4, FLAC,
Opus: lying fields, truncations, zeroed ranges, bit flips) plus special files (FIFOs, a folder named
.mp3, dangling and looping links, devices, unreadable files), runs quavrix-decode on each
(decode to /dev/null, and --info) under a timeout, and counts the outcomes:

  played    exit 0 with sound decoded
  refused   exit 1 with a message (a skipped track)
  crashed   killed by a signal
  hung      still running at the timeout
  silent    exit 0 yet no sound (a success that played nothing)

Usage: scripts/hostile-files.py [--build build] [--keep DIR] [--timeout 20] [--seed 1]
Exit status 1 when anything crashed, hung or was silent.
"""

import argparse
import os
import random
import re
import shutil
import struct
import subprocess
import sys
import tempfile
from collections import Counter, defaultdict

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DATA = os.path.join(ROOT, "tests", "data")


def read(path):
    with open(os.path.join(DATA, path), "rb") as f:
        return f.read()


def put32(b, pos, value):
    b = bytearray(b)
    b[pos:pos + 4] = struct.pack(">I", value & 0xFFFFFFFF)
    return bytes(b)


def payload(b, fourcc):
    """Offset of the payload of the first atom of this type, -1 when absent."""
    at = b.find(fourcc)
    return at + 4 if at >= 4 else -1


def flips(b, n, rng, start=0):
    b = bytearray(b)
    for _ in range(n):
        i = rng.randrange(start, len(b))
        b[i] ^= 1 << rng.randrange(8)
    return bytes(b)


def zero(b, start, length):
    b = bytearray(b)
    b[start:start + length] = bytes(min(length, len(b) - start))
    return bytes(b)


def fast_start(b):
    moov = payload(b, b"moov") - 8
    mdat = payload(b, b"mdat") - 8
    size = struct.unpack(">I", b[moov:moov + 4])[0]
    movie = bytearray(b[moov:moov + size])
    stco = payload(bytes(movie), b"stco")
    chunks = struct.unpack(">I", movie[stco + 4:stco + 8])[0]
    for i in range(chunks):
        p = stco + 8 + 4 * i
        movie[p:p + 4] = struct.pack(">I", struct.unpack(">I", movie[p:p + 4])[0] + size)
    return b[:mdat] + bytes(movie) + b[mdat:moov] + b[moov + size:]


def ogg_crc(page):
    crc = 0
    for c in page:
        crc ^= c << 24
        for _ in range(8):
            crc = ((crc << 1) ^ 0x04C11DB7) if crc & 0x80000000 else crc << 1
            crc &= 0xFFFFFFFF
    return crc


def ogg_first_page(b, offset, value, fmt):
    """The Ogg file with a field of the identification header set, the page checksum
    made good again so only the field lies."""
    b = bytearray(b)
    segments = b[26]
    size = 27 + segments + sum(b[27:27 + segments])
    header = 27 + segments
    struct.pack_into(fmt, b, header + offset, value)
    b[22:26] = bytes(4)
    b[22:26] = struct.pack("<I", ogg_crc(bytes(b[:size])))
    return bytes(b)


def mp4_files(rng):
    out = []
    for name in ("stereo-tagged.m4a", "mono.m4a"):
        f = read("mp4/" + name)
        tag = name.split(".")[0]
        for atom, offsets in ((b"stsd", (4,)), (b"stsc", (4, 12)), (b"stts", (4, 12)), (b"stsz", (4, 8)),
                              (b"stco", (4, 8)), (b"elst", (4, 8, 12)), (b"mdhd", (12, 16)), (b"mvhd", (12, 16))):
            for off in offsets:
                for value in (0, 0x7FFFFFFF, 0xFFFFFFFF, 0xFFFFFFF0):
                    out.append((f"mp4 lying field/{tag}-{atom.decode()}{off}-{value:x}.m4a",
                                put32(f, payload(f, atom) + off, value)))
        for i in (0, 1, 5, 20):
            out.append((f"mp4 lying field/{tag}-size{i}-huge.m4a", put32(f, payload(f, b"stsz") + 12 + 4 * i, 0xFFFFFFF0)))
            out.append((f"mp4 lying field/{tag}-size{i}-8190.m4a", put32(f, payload(f, b"stsz") + 12 + 4 * i, 8190)))
        for atom in (b"trak", b"mdia", b"minf", b"stbl", b"udta", b"moov", b"esds", b"mp4a"):
            for value in (0x7FFFFFFF, 0, 1, 7):
                p = payload(f, atom)
                if p > 0:
                    out.append((f"mp4 lying atom size/{tag}-{atom.decode()}-{value:x}.m4a", put32(f, p - 8, value)))
        dsi = f.find(b"\x05\x80\x80\x80\x05")
        for asc in (b"\x00\x00", b"\xff\xff", b"\x1a\x10", b"\x16\x10", b"\xf8\x00"):
            b = bytearray(f)
            b[dsi + 5:dsi + 7] = asc
            out.append((f"mp4 decoder config/{tag}-asc-{asc.hex()}.m4a", bytes(b)))
        b = bytearray(f)
        b[dsi + 4] = 0x7F
        out.append((f"mp4 decoder config/{tag}-dsi-past-descriptor.m4a", bytes(b)))
        nam = f.find(b"\xa9nam")
        if nam > 0:
            for value in (8, 0, 0xFFFFFFF0):
                out.append((f"mp4 tags/{tag}-nam-data-{value:x}.m4a", put32(f, nam + 4, value)))
        moov = payload(f, b"moov")
        for start in range(0, 900, 150):
            out.append((f"mp4 zeroed/{tag}-moov+{start}.m4a", zero(f, moov + start, 200)))
        for pct in (10, 50, 73, 90, 99):
            out.append((f"mp4 truncated/{tag}-{pct}.m4a", f[:len(f) * pct // 100]))
            fs = fast_start(f)
            out.append((f"mp4 truncated/{tag}-faststart-{pct}.m4a", fs[:len(fs) * pct // 100]))
        for i in range(15):
            out.append((f"mp4 bit flips/{tag}-moov-{i}.m4a", flips(f, 20, rng, payload(f, b"moov"))))
            out.append((f"mp4 bit flips/{tag}-1000-{i}.m4a", flips(f, 1000, rng)))
    return out


def mp3_files(rng):
    out = []
    for name in ("stereo128.mp3", "vbr.mp3", "tagged-v2.mp3", "mono64.mp3", "mpeg2-22k.mp3"):
        f = read("mp3/" + name)
        tag = name.split(".")[0]
        for pct in (1, 30, 70, 99):
            out.append((f"mp3 truncated/{tag}-{pct}.mp3", f[:len(f) * pct // 100]))
        for i in range(6):
            out.append((f"mp3 bit flips/{tag}-{i}.mp3", flips(f, 200, rng)))
        for start in (0, 4, 400, len(f) // 2):
            out.append((f"mp3 zeroed/{tag}-{start}.mp3", zero(f, start, 1000)))
        xing = max(f.find(b"Xing"), f.find(b"Info"))
        if xing > 0:
            out.append((f"mp3 lying header/{tag}-xing-frames.mp3", put32(f, xing + 8, 0xFFFFFFFF)))
            out.append((f"mp3 lying header/{tag}-xing-bytes.mp3", put32(f, xing + 12, 0xFFFFFFFF)))
        # An ID3v2 tag claiming more than the file holds, in front of intact frames.
        out.append((f"mp3 lying header/{tag}-id3v2-huge.mp3", b"ID3\x03\x00\x00\x7f\x7f\x7f\x7f" + f))
    return out


def ogg_files(rng):
    out = []
    for name in ("stereo.ogg", "mono-untagged.ogg", "long-utf8.ogg"):
        f = read("ogg/" + name)
        tag = name.split(".")[0]
        for value in (0xFFFFFFFF, 0, 1, 4000, 0x7FFFFFFF):
            out.append((f"ogg lying header/{tag}-rate-{value:x}.ogg", ogg_first_page(f, 12, value, "<I")))
        for value in (0, 9, 255):
            out.append((f"ogg lying header/{tag}-channels-{value}.ogg", ogg_first_page(f, 11, value, "<B")))
        for pct in (5, 40, 90):
            out.append((f"ogg truncated/{tag}-{pct}.ogg", f[:len(f) * pct // 100]))
        for i in range(8):
            out.append((f"ogg bit flips/{tag}-{i}.ogg", flips(f, 100, rng)))
    return out


def flac_blocks(b):
    """(offset, type, length) of each metadata block header after "fLaC"."""
    out, at = [], 4
    while at + 4 <= len(b):
        kind, length = b[at] & 0x7F, int.from_bytes(b[at + 1:at + 4], "big")
        out.append((at, kind, length))
        if b[at] & 0x80:
            break
        at += 4 + length
    return out


def flac_files(rng):
    out = []
    for name in ("stereo16.flac", "hires24.flac", "surround6.flac"):
        f = read("flac/" + name)
        tag = name.split(".")[0]
        for at, kind, length in flac_blocks(f):
            for value in (0xFFFFFF, 0, length + 1, 3):
                b = bytearray(f)
                b[at + 1:at + 4] = value.to_bytes(3, "big")
                out.append((f"flac lying block size/{tag}-type{kind}-{value:x}.flac", bytes(b)))
        info = flac_blocks(f)[0][0] + 4  # STREAMINFO: rate 20 bits, channels 3, bits 5 at byte 10
        for rate in (0, 1, 0xFFFFF):
            b = bytearray(f)
            b[info + 10] = rate >> 12 & 0xFF
            b[info + 11] = rate >> 4 & 0xFF
            b[info + 12] = (b[info + 12] & 0x0F) | (rate & 0x0F) << 4
            out.append((f"flac lying stream info/{tag}-rate-{rate:x}.flac", bytes(b)))
        for total in (0, 0xFFFFFFFFF):
            b = bytearray(f)
            b[info + 13] = (b[info + 13] & 0xF0) | (total >> 32 & 0x0F)
            b[info + 14:info + 18] = (total & 0xFFFFFFFF).to_bytes(4, "big")
            out.append((f"flac lying stream info/{tag}-samples-{total:x}.flac", bytes(b)))
        for pct in (2, 30, 90):
            out.append((f"flac truncated/{tag}-{pct}.flac", f[:len(f) * pct // 100]))
        for i in range(6):
            out.append((f"flac bit flips/{tag}-{i}.flac", flips(f, 100, rng)))
    return out


def opus_files(rng):
    out = []
    for name in ("stereo.opus", "mono.opus"):
        f = read("opus/" + name)
        tag = name.split(".")[0]
        # The identification header: channels (byte 9 of the packet), pre-skip, gain.
        for value in (0, 9, 255):
            out.append((f"opus lying header/{tag}-channels-{value}.opus", ogg_first_page(f, 9, value, "<B")))
        for value in (0xFFFF, 0):
            out.append((f"opus lying header/{tag}-preskip-{value:x}.opus", ogg_first_page(f, 10, value, "<H")))
        for value in (0x7FFF, -0x8000):
            out.append((f"opus lying header/{tag}-gain-{value}.opus", ogg_first_page(f, 16, value, "<h")))
        for pct in (5, 40, 90):
            out.append((f"opus truncated/{tag}-{pct}.opus", f[:len(f) * pct // 100]))
        for i in range(6):
            out.append((f"opus bit flips/{tag}-{i}.opus", flips(f, 100, rng)))
    return out


def special_files(folder):
    made = []
    rnd = os.path.join(folder, "random.mp3")
    with open(rnd, "wb") as f:
        f.write(random.Random(5).randbytes(30000))
    made.append(("special/random.mp3", rnd))
    for ext in ("mp3", "ogg", "m4a", "flac", "opus"):
        p = os.path.join(folder, "empty." + ext)
        open(p, "wb").close()
        made.append(("special/empty." + ext, p))
        p = os.path.join(folder, "fifo." + ext)
        os.mkfifo(p)
        made.append(("special/fifo." + ext, p))
        p = os.path.join(folder, "folder." + ext)
        os.mkdir(p)
        made.append(("special/folder." + ext, p))
        p = os.path.join(folder, "dangling." + ext)
        os.symlink("no-such-file", p)
        made.append(("special/dangling link." + ext, p))
        p = os.path.join(folder, "loop." + ext)
        os.symlink("loop." + ext, p)
        made.append(("special/looping link." + ext, p))
        p = os.path.join(folder, "zero." + ext)
        os.symlink("/dev/zero", p)
        made.append(("special/link to /dev/zero." + ext, p))
        p = os.path.join(folder, "unreadable." + ext)
        shutil.copy(os.path.join(DATA, {"mp3": "mp3/mono64.mp3", "ogg": "ogg/stereo.ogg", "m4a": "mp4/mono.m4a",
                                        "flac": "flac/mono8.flac", "opus": "opus/mono.opus"}[ext]), p)
        os.chmod(p, 0)
        made.append(("special/unreadable." + ext, p))
    return made


def run(cmd, timeout, env):
    try:
        p = subprocess.run(cmd, stdout=subprocess.DEVNULL if "--info" not in cmd else subprocess.PIPE,
                           stderr=subprocess.PIPE, timeout=timeout, env=env)
    except subprocess.TimeoutExpired:
        return "hung", ""
    err = p.stderr.decode(errors="replace")
    if p.returncode < 0 or "AddressSanitizer" in err or "runtime error" in err:
        return "crashed", err[-2000:]
    if p.returncode == 0:
        if "--info" in cmd:
            return "played", ""
        m = re.search(r"bytes=(\d+)", err)
        return ("played" if m and int(m.group(1)) > 0 else "silent"), err[-500:]
    return "refused", err[-300:]


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", default=os.path.join(ROOT, "build"))
    ap.add_argument("--keep")
    ap.add_argument("--timeout", type=float, default=20)
    ap.add_argument("--seed", type=int, default=1)
    args = ap.parse_args()
    decode = os.path.join(args.build, "bin", "quavrix-decode")
    rng = random.Random(args.seed)

    folder = args.keep or tempfile.mkdtemp(prefix="quavrix-hostile-")
    os.makedirs(folder, exist_ok=True)
    env = dict(os.environ)
    env["QUAVRIX_AACDECODER"] = os.path.join(args.build, "bin", "aacdecoder")

    cases = []
    for i, (label, data) in enumerate(mp4_files(rng) + mp3_files(rng) + ogg_files(rng) + flac_files(rng) + opus_files(rng)):
        path = os.path.join(folder, f"{i:04d}-" + label.split("/")[1])
        with open(path, "wb") as f:
            f.write(data)
        cases.append((label, path))
    cases += special_files(folder)

    counts = defaultdict(Counter)
    bad = []
    for label, path in cases:
        category = label.split("/")[0]
        for mode in ("decode", "info"):
            cmd = [decode, "--info", path] if mode == "info" else [decode, "-o", "/dev/null", path]
            outcome, detail = run(cmd, args.timeout, env)
            counts[f"{category} ({mode})"][outcome] += 1
            if outcome in ("crashed", "hung", "silent"):
                bad.append((outcome, mode, label, detail))

    files = len(cases)
    print(f"{files} files ({sum(1 for l, _ in cases if not l.startswith('special'))} damaged, "
          f"{sum(1 for l, _ in cases if l.startswith('special'))} special), each decoded and read with --info")
    outcomes = ("played", "refused", "crashed", "hung", "silent")
    print(f"{'category':36s}" + "".join(f"{o:>9s}" for o in outcomes))
    total = Counter()
    for category in sorted(counts):
        total.update(counts[category])
        print(f"{category:36s}" + "".join(f"{counts[category][o]:9d}" for o in outcomes))
    print(f"{'total':36s}" + "".join(f"{total[o]:9d}" for o in outcomes))
    for outcome, mode, label, detail in bad:
        print(f"\n{outcome.upper()} {mode} {label}\n{detail}")
    if not args.keep:
        for p in os.listdir(folder):
            fp = os.path.join(folder, p)
            if os.path.isdir(fp) and not os.path.islink(fp):
                os.rmdir(fp)
            else:
                os.remove(fp)
        os.rmdir(folder)
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
