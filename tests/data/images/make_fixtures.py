#!/usr/bin/env python3
# Writes the small picture fixtures: 16 x 16 pixels, the top eight rows red,
# the bottom eight blue. picture.png has an alpha channel whose bottom-right
# pixel is half transparent. picture.jpg is picture.png re-saved by
# gdk-pixbuf as JPEG at quality 95 (not done by this script).
import struct, zlib

W = H = 16
def colour(x, y):
    return (255, 0, 0) if y < 8 else (0, 0, 255)

def png():
    raw = b""
    for y in range(H):
        raw += b"\x00"
        for x in range(W):
            a = 128 if (x, y) == (W - 1, H - 1) else 255
            raw += bytes(colour(x, y)) + bytes([a])
    def chunk(t, d):
        return struct.pack(">I", len(d)) + t + d + struct.pack(">I", zlib.crc32(t + d) & 0xffffffff)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", W, H, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))

def bmp():
    rowsize = (W * 3 + 3) & ~3
    pixels = b""
    for y in reversed(range(H)):          # bottom row first
        row = b"".join(bytes(reversed(colour(x, y))) for x in range(W))
        pixels += row + b"\x00" * (rowsize - len(row))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + pixels

def gif():
    # Two-colour palette (0 red, 1 blue). LZW with a clear code before every
    # two pixels keeps every code 3 bits wide.
    codes = []
    pix = [0 if y < 8 else 1 for y in range(H) for x in range(W)]
    for i in range(0, len(pix), 2):
        codes += [4] + pix[i:i + 2]
    codes.append(5)
    bits, nbits, out = 0, 0, bytearray()
    for c in codes:
        bits |= c << nbits
        nbits += 3
        while nbits >= 8:
            out.append(bits & 0xff)
            bits >>= 8
            nbits -= 8
    if nbits:
        out.append(bits & 0xff)
    data = b"".join(bytes([len(out[i:i + 255])]) + bytes(out[i:i + 255]) for i in range(0, len(out), 255))
    return (b"GIF89a" + struct.pack("<HHBBB", W, H, 0x80, 0, 0) + bytes([255, 0, 0, 0, 0, 255])
            + b"," + struct.pack("<HHHHB", 0, 0, W, H, 0) + b"\x02" + data + b"\x00;")

for name, data in (("picture.png", png()), ("picture.bmp", bmp()), ("picture.gif", gif())):
    with open(name, "wb") as f:
        f.write(data)
