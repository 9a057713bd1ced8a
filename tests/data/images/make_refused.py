#!/usr/bin/env python3
# Writes the pictures that decoding must refuse.
#
# refused/: small, well-formed pictures in formats the editor does not show
# (each 2 x 2 pixels, or the format's smallest); decoders for all of them are
# commonly installed, so only the format check keeps them out.
# hostile/: a few dozen bytes each, with headers whose fields would make a
# decoder reserve gigabytes before it looked at the picture's size.
import struct

def refused():
    xpm = (b'/* XPM */\nstatic char *p[] = {\n"2 2 2 1",\n"a c #FF0000",\n"b c #0000FF",\n'
           b'"ab",\n"ba"};\n')
    ppm = b"P6\n2 2\n255\n" + bytes([255, 0, 0, 0, 0, 255] * 2)
    pgm = b"P2\n2 2\n255\n0 255\n255 0\n"
    xbm = b"#define p_width 2\n#define p_height 2\nstatic unsigned char p_bits[] = {\n   0x01, 0x02};\n"
    tga = struct.pack("<BBBHHBHHHHBB", 0, 0, 2, 0, 0, 0, 0, 0, 2, 2, 24, 0x20) + bytes([0, 0, 255] * 4)
    svg = (b'<svg xmlns="http://www.w3.org/2000/svg" width="2" height="2">'
           b'<rect width="2" height="2" fill="red"/></svg>\n')
    # An icon file holding one 2 x 2 32-bit BMP image (no AND mask needed
    # for 32-bit images, but it is written anyway).
    dib = struct.pack("<IiiHHIIiiII", 40, 2, 4, 1, 32, 0, 0, 0, 0, 0, 0)
    dib += bytes([0, 0, 255, 255] * 4) + bytes(8)
    ico = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", 2, 2, 0, 0, 1, 32, len(dib), 22) + dib
    # A baseline TIFF: 2 x 2 RGB, uncompressed, one strip.
    pixels = bytes([255, 0, 0] * 4)
    entries = [(256, 3, 1, 2), (257, 3, 1, 2), (258, 3, 1, 8), (259, 3, 1, 1), (262, 3, 1, 2),
               (273, 4, 1, 8), (277, 3, 1, 3), (278, 3, 1, 2), (279, 4, 1, len(pixels))]
    ifd_at = 8 + len(pixels)
    tiff = b"II*\x00" + struct.pack("<I", ifd_at) + pixels + struct.pack("<H", len(entries))
    for tag, kind, count, value in entries:
        packed = struct.pack("<H", value) + b"\x00\x00" if kind == 3 else struct.pack("<I", value)
        tiff += struct.pack("<HHI", tag, kind, count) + packed
    tiff += struct.pack("<I", 0)
    return {"picture.xpm": xpm, "picture.ppm": ppm, "picture.pgm": pgm, "picture.xbm": xbm,
            "picture.tga": tga, "picture.svg": svg, "picture.ico": ico, "picture.tiff": tiff}

def hostile():
    # The information header's own length field claims 3.25 GiB.
    info_length = struct.pack("<2sIHHI", b"BM", 34, 0, 0, 34) + struct.pack("<IiiHH", 0xD0000000, 1, 1, 1, 24)
    info_length += bytes(34 - len(info_length))
    # A 1 x 1 picture whose pixel data is said to start 3.75 GiB in.
    info = struct.pack("<IiiHHIIiiII", 40, 1, 1, 1, 24, 0, 4, 0, 0, 0, 0)
    pixel_offset = struct.pack("<2sIHHI", b"BM", 58, 0, 0, 0xF0000000) + info + bytes(4)
    # A 1 x 2 one-bit picture whose header says it uses 4294967295 colours:
    # the colour table would take 16 GiB (4 GiB once the count wraps).
    info = struct.pack("<IiiHHIIiiII", 40, 1, 2, 1, 1, 0, 8, 0, 0, 0xFFFFFFFF, 0)
    colour_count = struct.pack("<2sIHHI", b"BM", 62, 0, 0, 54) + info + bytes(8)
    return {"bmp-info-length.bmp": info_length, "bmp-pixel-offset.bmp": pixel_offset,
            "bmp-colour-count.bmp": colour_count}

for folder, files in (("refused", refused()), ("hostile", hostile())):
    for name, data in files.items():
        with open(folder + "/" + name, "wb") as f:
            f.write(data)
