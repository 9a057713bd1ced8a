#!/usr/bin/env python3
# Writes the picture fixtures of the CImage tests:
#   quad.png  2 x 2, opaque: red, green / blue, white (top row first)
#   grey.png  5 x 1 RGBA: black, grey 128, white, fully transparent, white at alpha 128
#   icon.bmp  4 x 2, 24-bit: top row red, green, blue, black; bottom row white x 4
#   garbage.bin  bytes that are no picture
import struct, zlib

def png(w, h, rows):
    raw = b"".join(b"\x00" + b"".join(bytes(p) for p in row) for row in rows)
    def chunk(t, d):
        return struct.pack(">I", len(d)) + t + d + struct.pack(">I", zlib.crc32(t + d) & 0xffffffff)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))

def bmp(w, h, rows):
    rowsize = (w * 3 + 3) & ~3
    pixels = b""
    for row in reversed(rows):           # bottom row first
        data = b"".join(bytes(reversed(p)) for p in row)
        pixels += data + b"\x00" * (rowsize - len(data))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + pixels

R, G, B, K, W = (255, 0, 0), (0, 255, 0), (0, 0, 255), (0, 0, 0), (255, 255, 255)
open("quad.png", "wb").write(png(2, 2, [[R + (255,), G + (255,)], [B + (255,), W + (255,)]]))
open("grey.png", "wb").write(png(5, 1, [[K + (255,), (128, 128, 128, 255), W + (255,),
                                         (0, 0, 0, 0), W + (128,)]]))
open("icon.bmp", "wb").write(bmp(4, 2, [[R, G, B, K], [W, W, W, W]]))
open("garbage.bin", "wb").write(b"this is not a picture at all, only text bytes\n")
