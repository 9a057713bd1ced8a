#!/usr/bin/env python3
# Writes the 16 x 16 icons the editor shows for elements it cannot lay out as
# content (comments, scripts, noscript blocks, objects and image maps), the
# document's marker picture and the picture shown beside a dragged
# selection. Each is drawn from a character grid below ("#" ink, "+" fill,
# "." background) and written as a 24-bit BMP, or as a GIF when its name
# says so.
#
# It also writes the toolbar's pictures: "nodef.gif" (a button without a
# definition), "noimage.gif" (a definition without a picture) and
# "icons.xml", the icon set with one 16-pixel GIF a built-in button (and
# "styles-selector") and the pictures of the built-in place holders
# ("readmore", "pagebreak"; "image" is the image button's), each written as
# hexadecimal text under its name.
# Those are drawn with the small pen further down. Last, "about.gif", the
# 48 x 48 picture of the about dialog: a quill over a page. Run it in this
# folder to make them all again.
import struct

INK, FILL, PAPER = (60, 70, 110), (255, 244, 200), (255, 255, 255)

ICONS = {
    "comment16.bmp": """
................
.############...
.#++++++++++#...
.#+##+##+##+#...
.#++++++++++#...
.#+#######++#...
.#++++++++++#...
.######+#####...
......#+#.......
.....#+#........
....##..........
................
................
................
................
................""",
    "bmp00003.bmp": """
................
.##############.
.#++++++++++++#.
.#+++#++++#+++#.
.#++#++++++#++#.
.#++#++++++#++#.
.#+#++++++++#+#.
.#++#++++++#++#.
.#++#++++++#++#.
.#+++#++++#+++#.
.#++++++++++++#.
.##############.
................
................
................
................""",
    "bmp00004.bmp": """
................
.##############.
.#++++++++++#+#.
.#+++#++++##++#.
.#++#++++##++++.
.#++#+++##+#++#.
.#+#+++##+++#+#.
.#++#+##+++#++#.
.#++###++++#++#.
.#++##++++#+++#.
.#+##+++++++++#.
.##############.
................
................
................
................""",
    "bmp00008.bmp": """
................
....########....
...#++++++##....
..#++++++#+#....
.########++#....
.#++++++#++#....
.#++++++#++#....
.#++++++#++#....
.#++++++#+#.....
.#++++++##......
.########.......
................
................
................
................
................""",
    "bmp00007.bmp": """
................
................
.......##.......
......#++#......
.....#++++#.....
....#++++++#....
...#++++++++#...
..#++++++++++#..
...#++++++++#...
....#++++++#....
.....#++++#.....
......#++#......
.......##.......
................
................
................""",
    "dragimage.gif": """
................
.##########.....
.#++++++++#.....
.#+######+#.....
.#++++++++#.....
.#+####+++#.....
.#++++++++#.....
.#+#####++##....
.#++++++++#+#...
.##########++#..
.........#+++#..
..........#++#..
...........###..
................
................
................""",
    "bmp00009.bmp": """
................
.##############.
.#+++++#++++++#.
.#+++++#++##++#.
.#+++++#+#++#+#.
.#######+#++#+#.
.#+++++#++##++#.
.#+++++#+++#++#.
.#+++++#+++#++#.
.#+++++########.
.#+++++#++++++#.
.##############.
................
................
................
................""",
}


def bmp(rows):
    h, w = len(rows), len(rows[0])
    colour = {"#": INK, "+": FILL, ".": PAPER}
    pixels = b"".join(
        b"".join(bytes(reversed(colour[c])) for c in row) + b"\0" * ((4 - w * 3 % 4) % 4)
        for row in reversed(rows))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + pixels


def gif(rows):
    # Four palette entries, so LZW codes start 3 bits wide. A clear code
    # after every second pixel keeps them at 3 bits: no table entry is ever
    # used, which every decoder reads and no compression is needed.
    h, w = len(rows), len(rows[0])
    index = {".": 0, "#": 1, "+": 2}
    palette = b"".join(bytes(c) for c in (PAPER, INK, FILL, (0, 0, 0)))
    clear, end = 4, 5
    codes = [clear]
    pixels = [index[c] for row in rows for c in row]
    for i, p in enumerate(pixels):
        if i and i % 2 == 0:
            codes.append(clear)
        codes.append(p)
    codes.append(end)
    bits = 0
    for n, code in enumerate(codes):
        bits |= code << (3 * n)
    data = bits.to_bytes((3 * len(codes) + 7) // 8, "little")
    blocks = b"".join(bytes([len(data[i:i + 255])]) + data[i:i + 255] for i in range(0, len(data), 255))
    screen = struct.pack("<6sHHBBB", b"GIF89a", w, h, 0x81, 0, 0)
    image = struct.pack("<BHHHHB", 0x2C, 0, 0, w, h, 0)
    return screen + palette + image + bytes([2]) + blocks + b"\0;"


for name, grid in ICONS.items():
    rows = grid.strip().split("\n")
    assert len(rows) == 16 and all(len(r) == 16 for r in rows), name
    with open(name, "wb") as f:
        f.write(gif(rows) if name.endswith(".gif") else bmp(rows))


# ---- the toolbar's pictures ----
# A grid of 16 rows of 16 characters drawn with a few strokes.
def canvas():
    return [["."] * 16 for _ in range(16)]

def dot(g, x, y, c="#"):
    if 0 <= x < 16 and 0 <= y < 16:
        g[y][x] = c

def hline(g, x0, x1, y, c="#"):
    for x in range(x0, x1 + 1):
        dot(g, x, y, c)

def vline(g, x, y0, y1, c="#"):
    for y in range(y0, y1 + 1):
        dot(g, x, y, c)

def box(g, x0, y0, x1, y1, inside="+"):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            edge = y in (y0, y1) or x in (x0, x1)
            if edge or inside:
                dot(g, x, y, "#" if edge else inside)

def line(g, x0, y0, x1, y1, c="#"):
    n = max(abs(x1 - x0), abs(y1 - y0), 1)
    for i in range(n + 1):
        dot(g, x0 + round((x1 - x0) * i / n), y0 + round((y1 - y0) * i / n), c)

def ring(g, cx, cy, r, c="#"):
    for y in range(16):
        for x in range(16):
            if abs(((x - cx) ** 2 + (y - cy) ** 2) ** 0.5 - r) < 0.5:
                dot(g, x, y, c)

# A 3 x 5 pen for the few characters the pictures carry.
FONT = {
    "1": ".#.|##.|.#.|.#.|###", "2": "##.|..#|.#.|#..|###", "3": "##.|..#|.#.|..#|##.",
    "a": "...|##.|.##|#.#|.##", "b": "#..|##.|#.#|#.#|##.", "c": "...|.##|#..|#..|.##",
    "A": ".#.|#.#|###|#.#|#.#", "?": "##.|..#|.#.|...|.#.", "<": "..#|.#.|#..|.#.|..#",
    ">": "#..|.#.|..#|.#.|#..", "P": "##.|#.#|##.|#..|#..",
}

def write(g, x, y, chars, c="#"):
    for ch in chars:
        for dy, row in enumerate(FONT[ch].split("|")):
            for dx, v in enumerate(row):
                if v == "#":
                    dot(g, x + dx, y + dy, c)
        x += 4

def lines(g, x0, ys, x1=14):
    for y in ys:
        hline(g, x0, x1, y)

def mirror(g):
    return [list(reversed(row)) for row in g]

def grid_table(g, header):
    box(g, 1, 2, 14, 13, "+")
    if header:
        for y in range(3, 6):
            hline(g, 2, 13, y, "#")
    hline(g, 1, 14, 6)
    hline(g, 1, 14, 9)
    vline(g, 5, 2, 13)
    vline(g, 10, 2, 13)

def pencil(g):
    for i in range(5):
        line(g, 9 + i, 15 - i, 10 + i, 15 - i, "+")
        dot(g, 8 + i, 15 - i)
        dot(g, 11 + i, 15 - i)

def page(g, x0, y0, x1, y1):
    box(g, x0, y0, x1, y1, "+")

def arrow_left(g, x, y):
    hline(g, x, x + 5, y)
    line(g, x, y, x + 2, y - 2)
    line(g, x, y, x + 2, y + 2)

def draw(name):
    g = canvas()
    if name == "ordered-list":
        write(g, 1, 1, "1"); write(g, 1, 6, "2"); write(g, 1, 11, "3")
        lines(g, 6, (3, 8, 13))
    elif name == "unordered-list":
        for y in (3, 8, 13):
            box(g, 1, y - 1, 3, y + 1, "#")
        lines(g, 6, (3, 8, 13))
    elif name == "definition-list":
        lines(g, 1, (2, 8), 10)
        lines(g, 5, (4, 10, 12))
    elif name in ("blockquote", "undo-blockquote", "indent"):
        lines(g, 1, (2, 14))
        lines(g, 8, (6, 8, 10))
        if name == "undo-blockquote":
            arrow_left(g, 1, 8)
        else:
            hline(g, 1, 6, 8)
            line(g, 6, 8, 4, 6)
            line(g, 6, 8, 4, 10)
    elif name in ("layout-table", "data-table", "draw-layout-table", "draw-data-table"):
        grid_table(g, "data" in name)
        if name.startswith("draw"):
            pencil(g)
    elif name == "expand":
        box(g, 4, 4, 11, 11, "+")
        for (x, y, dx, dy) in ((0, 0, 1, 1), (15, 0, -1, 1), (0, 15, 1, -1), (15, 15, -1, -1)):
            line(g, x, y, x + 3 * dx, y + 3 * dy)
            hline(g, min(x, x + 2 * dx), max(x, x + 2 * dx), y)
            vline(g, x, min(y, y + 2 * dy), max(y, y + 2 * dy))
    elif name == "image":
        box(g, 0, 2, 15, 13, "+")
        line(g, 2, 11, 6, 6); line(g, 6, 6, 9, 10); line(g, 9, 10, 11, 8); line(g, 11, 8, 13, 11)
        box(g, 10, 4, 12, 5, "#")
    elif name == "separator":
        box(g, 0, 7, 15, 8, "#")
        lines(g, 2, (3, 12), 13)
    elif name == "hyperlink":
        box(g, 1, 5, 8, 10, "")
        box(g, 7, 5, 14, 10, "")
        hline(g, 5, 10, 7, "+"); hline(g, 5, 10, 8, "+")
        hline(g, 6, 9, 7); hline(g, 6, 9, 8)
    elif name == "attachment":
        page(g, 3, 1, 12, 14)
        vline(g, 6, 3, 11); vline(g, 9, 5, 12); hline(g, 6, 9, 12)
        hline(g, 7, 8, 2); dot(g, 9, 3); dot(g, 6, 2)
    elif name == "cut":
        ring(g, 4, 11, 2.5); ring(g, 11, 11, 2.5)
        line(g, 5, 8, 11, 1); line(g, 10, 8, 4, 1)
    elif name == "copy":
        page(g, 1, 1, 9, 11); page(g, 6, 4, 14, 14)
        lines(g, 8, (7, 9, 11), 12)
    elif name == "paste":
        box(g, 2, 2, 13, 15, "+")
        box(g, 5, 0, 10, 3, "#")
        lines(g, 4, (7, 10, 13), 11)
    elif name in ("undo", "redo"):
        ring(g, 8, 9, 4.5)
        for y in range(9, 16):
            g[y] = ["."] * 16
        arrow_left(g, 2, 8)
        for y in range(9, 12):
            dot(g, 12, y)
        if name == "redo":
            g = mirror(g)
    elif name == "source":
        write(g, 1, 5, "<"); write(g, 12, 5, ">"); line(g, 9, 3, 6, 12)
    elif name == "dim-tags":
        write(g, 1, 5, "<", "+"); write(g, 12, 5, ">", "+"); line(g, 9, 3, 6, 12, "+")
        box(g, 0, 1, 15, 14, "")
    elif name == "preview":
        ring(g, 6, 6, 4.5)
        line(g, 9, 9, 14, 14); line(g, 10, 9, 15, 14)
    elif name == "wysiwyg":
        page(g, 2, 0, 13, 15)
        write(g, 4, 2, "A")
        lines(g, 4, (9, 11, 13), 11)
    elif name == "screen-reader":
        box(g, 1, 5, 4, 10, "+")
        line(g, 5, 5, 8, 2); line(g, 5, 10, 8, 13); vline(g, 8, 2, 13)
        vline(g, 11, 5, 10); vline(g, 14, 3, 12)
    elif name == "spellchecker":
        write(g, 1, 1, "abc")
        line(g, 4, 11, 7, 14); line(g, 7, 14, 14, 7)
    elif name == "directory":
        box(g, 0, 4, 15, 14, "+")
        hline(g, 1, 6, 2); dot(g, 0, 3); dot(g, 7, 3)
    elif name == "find-replace":
        ring(g, 5, 5, 3.5)
        line(g, 7, 8, 10, 11)
        write(g, 10, 1, "a"); write(g, 11, 10, "b")
    elif name == "validate":
        line(g, 1, 8, 5, 12); line(g, 5, 12, 14, 3)
        line(g, 1, 9, 5, 13); line(g, 5, 13, 14, 4)
    elif name == "whitespace":
        box(g, 4, 1, 9, 7, "#")
        vline(g, 8, 1, 14); vline(g, 11, 1, 14); hline(g, 8, 13, 1)
    elif name == "word-wrap":
        lines(g, 1, (3, 13), 14)
        hline(g, 1, 12, 8)
        vline(g, 13, 8, 11); hline(g, 9, 13, 11)
        line(g, 9, 11, 10, 10); line(g, 9, 11, 10, 12)
    elif name == "help":
        ring(g, 7.5, 7.5, 7)
        write(g, 6, 5, "?")
    elif name == "styles-selector":
        write(g, 3, 2, "A")
        box(g, 0, 0, 15, 9, "")
        for i in range(3):
            hline(g, 6 + i, 12 - i, 11 + i)
        lines(g, 1, (15,), 14)
    elif name == "readmore":
        # Lines of text cut by a dashed rule, with more text promised below.
        lines(g, 1, (1, 3, 5), 14)
        for x in range(0, 16, 3):
            hline(g, x, x + 1, 8)
        for x in (5, 8, 11):
            box(g, x - 1, 11, x, 12, "#")
    elif name == "pagebreak":
        # The foot of one page and the head of the next.
        page(g, 2, 0, 13, 5)
        for x in range(0, 16, 3):
            hline(g, x, x + 1, 8)
        page(g, 2, 11, 13, 15)
    elif name == "nodef":
        box(g, 1, 1, 14, 14, "+")
        write(g, 6, 5, "?")
    elif name == "noimage":
        box(g, 1, 1, 14, 14, "+")
        line(g, 3, 3, 12, 12); line(g, 12, 3, 3, 12)
    else:
        raise KeyError(name)
    return ["".join(row) for row in g]

TOOLBAR = ["ordered-list", "unordered-list", "undo-blockquote", "blockquote", "layout-table",
           "data-table", "draw-layout-table", "draw-data-table", "expand", "image", "separator",
           "hyperlink", "attachment", "cut", "copy", "paste", "undo", "redo", "source", "preview",
           "wysiwyg", "screen-reader", "spellchecker", "directory", "definition-list",
           "find-replace", "validate", "whitespace", "dim-tags", "word-wrap", "indent", "help",
           "styles-selector"]
# The pictures of the built-in place holders ("image" is the button's).
PLACEHOLDERS = ["readmore", "pagebreak"]

for name in ("nodef", "noimage"):
    with open(name + ".gif", "wb") as f:
        f.write(gif(draw(name)))

with open("icons.xml", "w") as f:
    f.write('<?xml version="1.0" encoding="UTF-8"?>\n<icons>\n')
    for name in TOOLBAR + PLACEHOLDERS:
        f.write("  <icon>\n    <id>%s</id>\n    <small>%s</small>\n  </icon>\n"
                % (name, gif(draw(name)).hex().upper()))
    f.write("</icons>\n")


# ---- the about dialog's picture: a quill over a page, 48 x 48 ----
def about():
    size = 48
    g = [["."] * size for _ in range(size)]
    def put(x, y, c):
        if 0 <= x < size and 0 <= y < size:
            g[y][x] = c
    # The page, with lines of writing.
    for y in range(6, 44):
        for x in range(8, 36):
            put(x, y, "#" if y in (6, 43) or x in (8, 35) else "+")
    for y in range(12, 40, 4):
        for x in range(12, 24 if y > 30 else 31):
            put(x, y, "#")
    # The quill: a shaft from the lower left to the upper right and its vane.
    for i in range(34):
        x, y = 14 + i, 44 - i
        put(x, y, "#")
        if i > 8:
            for w in range(1, min(6, (i - 8) // 3 + 2)):
                put(x - w, y - w, "#" if w == min(5, (i - 8) // 3 + 1) else "+")
    return ["".join(row) for row in g]

with open("about.gif", "wb") as f:
    f.write(gif(about()))
