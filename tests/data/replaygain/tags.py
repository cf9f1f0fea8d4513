#!/usr/bin/env python3
"""ReplayGain tags written into fixtures the way taggers write them.

  tags.py txxx IN OUT           ID3v2.3 TXXX frames: track -6.02 dB, album -12.04 dB, peaks 0.5
  tags.py rva2 IN OUT           ID3v2.4 RVA2 frames: "track" -6.02 dB, "album" -12.04 dB
  tags.py lame IN OUT DB        the LAME tag's radio (track) gain set to DB (tenths of a dB)
  tags.py freeform IN OUT       MP4 "----" items com.apple.iTunes replaygain_* (moov after mdat)
  tags.py opusgain IN OUT Q78   the Opus header's output gain set to Q78 (Q7.8 dB), CRC redone
"""
import struct
import sys


def syncsafe(n):
    return bytes([(n >> 21) & 127, (n >> 14) & 127, (n >> 7) & 127, n & 127])


def id3(version, frames):
    body = b''.join(frames)
    return b'ID3' + bytes([version, 0, 0]) + syncsafe(len(body)) + body


def frame(version, fid, body):
    size = syncsafe(len(body)) if version == 4 else struct.pack('>I', len(body))
    return fid + size + b'\x00\x00' + body


def txxx(name, value):
    return frame(3, b'TXXX', b'\x00' + name.encode() + b'\x00' + value.encode())


def rva2(ident, centi_db, peak):
    adjust = round(centi_db / 100 * 512)
    return frame(4, b'RVA2', ident.encode() + b'\x00' + bytes([1]) + struct.pack('>h', adjust)
                 + bytes([16]) + struct.pack('>H', round(peak * 32768)))


def ogg_crc(data):
    crc = 0
    for b in data:
        crc ^= b << 24
        for _ in range(8):
            crc = ((crc << 1) ^ 0x04C11DB7) & 0xFFFFFFFF if crc & 0x80000000 else (crc << 1) & 0xFFFFFFFF
    return crc


def atom(kind, body):
    return struct.pack('>I', 8 + len(body)) + kind + body


def freeform(name, value):
    return atom(b'----', atom(b'mean', b'\x00' * 4 + b'com.apple.iTunes') + atom(b'name', b'\x00' * 4 + name.encode())
                + atom(b'data', struct.pack('>II', 1, 0) + value.encode()))


def insert_items(data, items):
    """Appends items to moov/udta/meta/ilst, growing each parent (moov must follow mdat)."""
    def find(buf, start, end, kind):
        at = start
        while at + 8 <= end:
            size, k = struct.unpack('>I4s', buf[at:at + 8])
            if k == kind:
                return at, size
            at += size
        raise SystemExit('no ' + kind.decode())
    data = bytearray(data)
    path = []
    start, end = 0, len(data)
    for kind, skip in ((b'moov', 8), (b'udta', 8), (b'meta', 12), (b'ilst', 8)):
        at, size = find(data, start, end, kind)
        path.append(at)
        start, end = at + skip, at + size
    data[end:end] = items
    for at in path:
        struct.pack_into('>I', data, at, struct.unpack('>I', data[at:at + 4])[0] + len(items))
    return bytes(data)


def main():
    kind, src, dst = sys.argv[1:4]
    data = open(src, 'rb').read()
    if kind == 'txxx':
        data = id3(3, [txxx('REPLAYGAIN_TRACK_GAIN', '-6.02 dB'), txxx('replaygain_track_peak', '0.500000'),
                       txxx('REPLAYGAIN_ALBUM_GAIN', '-12.04 dB'), txxx('REPLAYGAIN_ALBUM_PEAK', '0.500000')]) + data
    elif kind == 'rva2':
        data = id3(4, [rva2('track', -602, 0.5), rva2('album', -1204, 0.5)]) + data
    elif kind == 'lame':
        tenths = round(float(sys.argv[4]) * 10)
        at = data.index(b'LAME')
        value = (1 << 13) | (3 << 10) | ((1 << 9) if tenths < 0 else 0) | abs(tenths)
        data = data[:at + 15] + struct.pack('>H', value) + data[at + 17:]
    elif kind == 'freeform':
        data = insert_items(data, freeform('replaygain_track_gain', '-6.02 dB') + freeform('replaygain_track_peak', '0.5')
                            + freeform('replaygain_album_gain', '-12.04 dB'))
    elif kind == 'opusgain':
        at = data.index(b'OpusHead')
        data = bytearray(data[:at + 16] + struct.pack('<h', int(sys.argv[4])) + data[at + 18:])
        segments = data[26]
        length = 27 + segments + sum(data[27:27 + segments])
        data[22:26] = b'\x00' * 4
        data[22:26] = struct.pack('<I', ogg_crc(bytes(data[:length])))
        data = bytes(data)
    open(dst, 'wb').write(data)


main()
