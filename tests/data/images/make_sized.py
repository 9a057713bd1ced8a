#!/usr/bin/env python3
# Writes the plain PNG pictures whose sizes the image and custom element
# tests read: wide.png (200 x 100, green) and the icons icon-a.png (10 x 10),
# icon-b.png (12 x 12) and icon-c.png (14 x 14), each one flat colour.
import struct, zlib

def png(w, h, rgb):
    raw = b"".join(b"\x00" + bytes(rgb) * w for _ in range(h))
    def chunk(t, d):
        return struct.pack(">I", len(d)) + t + d + struct.pack(">I", zlib.crc32(t + d) & 0xffffffff)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))

for name, w, h, rgb in (("wide.png", 200, 100, (0, 160, 0)), ("icon-a.png", 10, 10, (200, 0, 0)),
                        ("icon-b.png", 12, 12, (0, 0, 200)), ("icon-c.png", 14, 14, (200, 120, 0))):
    with open(name, "wb") as f:
        f.write(png(w, h, rgb))
