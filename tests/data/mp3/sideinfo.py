#!/usr/bin/env python3
"""Lists and edits Layer III side information, to make test streams that encoders do not
produce (mixed blocks, intensity stereo).

  sideinfo.py stats FILE                 block types and stereo modes used
  sideinfo.py mixed IN OUT               sets mixed_block_flag on short-block granules whose
                                         scale-factor layout is the same either way
  sideinfo.py intensity IN OUT           turns on intensity stereo in joint-stereo frames
  sideinfo.py loud IN OUT [GAIN [MAX]]   raises global_gain by GAIN (default 32) in the first
                                         MAX (default 6) granules whose big values use a
                                         table with 10 to 13 linbits (tables 22, 23, 30, 31)
"""
import sys

RATES = {1: [44100, 48000, 32000], 0: [22050, 24000, 16000]}
KBPS = {1: [0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320],
        0: [0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160]}
SLEN1 = [0, 0, 0, 0, 3, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4]


def frames(data):
    i = 0
    while i + 4 <= len(data):
        b = data[i:i + 4]
        if b[0] != 0xFF or (b[1] & 0xF0) != 0xF0 or ((b[1] >> 1) & 3) != 1:
            i += 1
            continue
        ver = (b[1] >> 3) & 1
        br = b[2] >> 4
        sr = (b[2] >> 2) & 3
        if br in (0, 15) or sr == 3:
            i += 1
            continue
        length = (144000 if ver else 72000) * KBPS[ver][br] // RATES[ver][sr] + ((b[2] >> 1) & 1)
        yield i, ver, b, length
        i += length


class Bits:
    def __init__(self, buf, pos):
        self.buf, self.pos = buf, pos * 8

    def field(self, n):
        start = self.pos
        v = 0
        for _ in range(n):
            v = (v << 1) | ((self.buf[self.pos >> 3] >> (7 - (self.pos & 7))) & 1)
            self.pos += 1
        return start, v

    def set(self, bitpos, n, value):
        for k in range(n):
            p = bitpos + k
            bit = (value >> (n - 1 - k)) & 1
            self.buf[p >> 3] = (self.buf[p >> 3] & ~(0x80 >> (p & 7))) | (bit << (7 - (p & 7)))


LINBITS = [0] * 16 + [1, 2, 3, 4, 6, 8, 10, 13, 4, 5, 6, 7, 8, 9, 11, 13]


def walk(data, edit=None, gain=32, most=6):
    stats = {}
    loud = 0
    for off, ver, b, length in frames(data):
        mode = b[3] >> 6
        nch = 1 if mode == 3 else 2
        side = off + 4 + (0 if b[1] & 1 else 2)
        bits = Bits(data, side)
        bits.field(9 if ver else 8)
        bits.field((5 if nch == 1 else 3) if ver else (1 if nch == 1 else 2))
        if ver:
            for _ in range(nch):
                bits.field(4)
        key = ("mode", mode, (b[3] >> 4) & 3)
        stats[key] = stats.get(key, 0) + 1
        intensity_frame = edit == "intensity" and mode == 1
        right_sfc = []
        for gr in range(2 if ver else 1):
            granule = []
            gains = []
            for ch in range(nch):
                bits.field(12 + 9)
                gains.append(bits.field(8))
                _, sfc = bits.field(4 if ver else 9)
                _, ws = bits.field(1)
                if ws:
                    _, bt = bits.field(2)
                    mpos, mixed = bits.field(1)
                    tables = [bits.field(5)[1] for _ in range(2)]
                    bits.field(9)
                    granule.append((bt, mixed, mpos, sfc))
                else:
                    tables = [bits.field(5)[1] for _ in range(3)]
                    bits.field(4 + 3)
                    granule.append((0, 0, None, sfc))
                bits.field(3 if ver else 2)
                for t in tables:
                    if LINBITS[t] >= 10:
                        stats[("table", t)] = stats.get(("table", t), 0) + 1
                gains[-1] += (max(LINBITS[t] for t in tables),)
            # Far beyond full scale: both channels of the granule louder alike, so that
            # stereo processing still pairs them.
            if edit == "loud" and loud < most and any(g[2] >= 10 for g in gains):
                for pos, value, _ in gains:
                    bits.set(pos, 8, min(255, value + gain))
                loud += 1
                stats[("made loud",)] = loud
                if ch == 1:
                    right_sfc.append(sfc)
            # Mixed blocks read one scale factor fewer of length slen1: with slen1 0 the
            # granule parses the same either way. In joint stereo both channels must
            # change together (stereo processing needs the same block form).
            ok = [bt == 2 and not mixed and ver and SLEN1[sfc] == 0 for (bt, mixed, _, sfc) in granule]
            flip = all(ok) if mode == 1 else None
            for ch, (bt, mixed, mpos, sfc) in enumerate(granule):
                key = ("block", bt, mixed)
                if edit == "mixed" and (flip if flip is not None else ok[ch]):
                    bits.set(mpos, 1, 1)
                    key = ("block", bt, "made mixed")
                stats[key] = stats.get(key, 0) + 1
        # MPEG-1 intensity positions are 0..7: only frames whose right channel codes its
        # scale factors in at most 3 bits become intensity-stereo frames.
        if intensity_frame and (not ver or all(SLEN1[c] <= 3 for c in right_sfc)):
            data[off + 3] |= 0x10
            stats[("made intensity",)] = stats.get(("made intensity",), 0) + 1
    return stats


def main():
    cmd = sys.argv[1]
    data = bytearray(open(sys.argv[2], "rb").read())
    extra = [int(a) for a in sys.argv[4:6]]
    stats = walk(data, None if cmd == "stats" else cmd, *extra)
    for k in sorted(stats, key=str):
        print(k, stats[k])
    if cmd != "stats":
        open(sys.argv[3], "wb").write(data)


if __name__ == "__main__":
    main()
