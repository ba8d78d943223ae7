#!/usr/bin/env python3
"""Draws the program's pictures and writes them as Windows resource files.

    python3 scripts/make-assets.py [--preview DIR]

Writes, under app/res:
  trellane.ico  the executable's icon: a white "G" on a blue tile ruled with a grid,
                16x16, 32x32 and 48x48, 32-bit with alpha (and the classic AND mask);
  tray.ico      the notification-area icon: the same picture at 16x16 in the 16 standard colours, and
                at 20x20, 24x24 and 32x32 (32-bit with alpha) for the small-icon size of screens
                at 125, 150 and 200 % scale;
  logo.bmp      the panel's logo, 253x108, 8-bit palettised: a window snapping onto a grid and the
                name "Trellane", lettered with the small bitmap font below.

Only the standard library is used, so the files can be remade anywhere. With --preview, PNG copies
(enlarged) are written to DIR for looking at them.
"""

import math
import os
import struct
import sys
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RES = os.path.join(ROOT, "app", "res")

# ---------------------------------------------------------------------------------------------
# Colours (R, G, B)

TILE_TOP = (0x2B, 0x7B, 0xD6)
TILE_BOTTOM = (0x17, 0x4A, 0x9A)
TILE_EDGE = (0x0E, 0x33, 0x72)
GRID = (0x8F, 0xBF, 0xF2)
LETTER = (0xFF, 0xFF, 0xFF)


def mix(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


# ---------------------------------------------------------------------------------------------
# The icon picture, as coverage functions on the unit square (x right, y down)

def inside_tile(x, y, radius=0.16):
    """Rounded square filling the icon."""
    cx = min(max(x, radius), 1 - radius)
    cy = min(max(y, radius), 1 - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def inside_g(x, y):
    """A bold "G": a ring open at the upper right, with a bar reaching in from the right."""
    cx, cy = 0.5, 0.5
    outer, inner = 0.33, 0.19
    dx, dy = x - cx, cy - y  # dy upwards
    r = math.hypot(dx, dy)
    angle = math.degrees(math.atan2(dy, dx))  # 0 = right, 90 = up
    ring = inner <= r <= outer and not (0.0 <= angle <= 48.0)
    bar = 0.50 <= x <= cx + outer and 0.45 <= y <= 0.58
    return ring or bar


def icon_pixels(size):
    """32-bit picture for the executable's icon: rows of (R, G, B, A), top row first."""
    samples = 4
    pitch = size / 4.0
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            tile = letter = 0
            for sy in range(samples):
                for sx in range(samples):
                    x = (px + (sx + 0.5) / samples) / size
                    y = (py + (sy + 0.5) / samples) / size
                    if inside_tile(x, y):
                        tile += 1
                        if inside_g(x, y):
                            letter += 1
            total = samples * samples
            if tile == 0:
                row.append((0, 0, 0, 0))
                continue
            colour = mix(TILE_TOP, TILE_BOTTOM, py / max(size - 1, 1))
            # Grid lines, pixel-sharp at every size: the motif of the program.
            on_line = any(px == int(round(k * pitch)) or py == int(round(k * pitch)) for k in (1, 2, 3))
            if on_line:
                colour = mix(colour, GRID, 0.55)
            edge = px in (0, size - 1) or py in (0, size - 1)
            if edge:
                colour = mix(colour, TILE_EDGE, 0.5)
            colour = mix(colour, LETTER, letter / total)
            row.append(colour + (int(round(255 * tile / total)),))
        rows.append(row)
    return rows


# The 16x16 "G" drawn by hand, since a scaled-down letter blurs at that size. It sits at (3, 3) on
# a tile ruled every 4 pixels.
G16 = [
    "..WWWWWW..",
    ".WWWWWWWW.",
    "WWW....WW.",
    "WW........",
    "WW...WWWWW",
    "WW...WWWWW",
    "WW......WW",
    "WWW....WWW",
    ".WWWWWWWW.",
    "..WWWWWW..",
]


def icon16_cells():
    """The 16x16 picture as letters: . transparent, e tile edge, g grid line, b tile, W letter."""
    cells = []
    for y in range(16):
        line = ""
        for x in range(16):
            corner = x in (0, 15) and y in (0, 15)
            if corner:
                line += "."
            elif x in (0, 15) or y in (0, 15):
                line += "e"
            elif 3 <= x < 13 and 3 <= y < 13 and G16[y - 3][x - 3] == "W":
                line += "W"
            elif x % 4 == 0 or y % 4 == 0:
                line += "g"
            else:
                line += "b"
        cells.append(line)
    return cells


def icon16_pixels():
    rows = []
    for py, line in enumerate(icon16_cells()):
        row = []
        tile = mix(TILE_TOP, TILE_BOTTOM, py / 15)
        for ch in line:
            if ch == ".":
                row.append((0, 0, 0, 0))
            elif ch == "b":
                row.append(tile + (255,))
            elif ch == "g":
                row.append(mix(tile, GRID, 0.55) + (255,))
            elif ch == "e":
                row.append(mix(tile, TILE_EDGE, 0.5) + (255,))
            else:
                row.append(LETTER + (255,))
        rows.append(row)
    return rows


# ---------------------------------------------------------------------------------------------
# ICO writing

def padded_row_bytes(bits):
    return ((bits + 31) // 32) * 4


def and_mask(rows):
    """1 where the pixel is transparent; bottom-up rows padded to 32 bits."""
    size = len(rows)
    out = bytearray()
    for row in reversed(rows):
        line = bytearray(padded_row_bytes(size))
        for x, pixel in enumerate(row):
            if pixel[3] == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        out += line
    return bytes(out)


def dib_header(size, bits, image_bytes, colours=0):
    # Height counts the colour image and the mask together, as icons require.
    return struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, image_bytes, 0, 0, colours, 0)


def ico_image_32(rows):
    size = len(rows)
    colour = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            colour += bytes((b, g, r, a))
    mask = and_mask(rows)
    return dib_header(size, 32, len(colour) + len(mask)) + bytes(colour) + mask


def ico_image_4(rows, palette):
    size = len(rows)
    index_of = {c: i for i, c in enumerate(palette)}
    colour = bytearray()
    for row in reversed(rows):
        line = bytearray(padded_row_bytes(size * 4))
        for x, pixel in enumerate(row):
            index = 0 if pixel[3] == 0 else index_of[pixel[:3]]
            line[x // 2] |= index << (4 if x % 2 == 0 else 0)
        colour += line
    mask = and_mask(rows)
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return dib_header(size, 4, len(colour) + len(mask), 16) + table + bytes(colour) + mask


def ico_file(images):
    """images: list of (size, colour count for the directory, bits per pixel, image bytes)."""
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    directory = b""
    data = b""
    for size, colours, bits, image in images:
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, bits, len(image), offset)
        data += image
        offset += len(image)
    return header + directory + data


# The 16 colours of the standard palette, which every display can show.
VGA16 = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]


# The small-icon sizes of scaled screens that the tray icon carries besides its 16x16 picture.
TRAY_SCALED_SIZES = (20, 24, 32)


def tray_pixels():
    """The hand-drawn 16x16 picture in standard colours: navy tile, blue grid, white "G"."""
    colours = {"b": (0x00, 0x00, 0x80), "e": (0x00, 0x00, 0x00), "g": (0x00, 0x00, 0xFF), "W": (0xFF, 0xFF, 0xFF)}
    rows = []
    for line in icon16_cells():
        rows.append([(0, 0, 0, 0) if ch == "." else colours[ch] + (255,) for ch in line])
    return rows


# ---------------------------------------------------------------------------------------------
# The logo's bitmap font: 5x7 glyphs of our own, "#" is ink

FONT = {
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "G": [".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".###."],
    "I": [".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "N": ["#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "W": ["#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."],
    "a": [".....", ".....", ".###.", "....#", ".####", "#...#", ".####"],
    "e": [".....", ".....", ".###.", "#...#", "#####", "#....", ".###."],
    "l": [".##..", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "n": [".....", ".....", "####.", "#...#", "#...#", "#...#", "#...#"],
    "r": [".....", ".....", "#.##.", "##..#", "#....", "#....", "#...."],
    " ": [".....", ".....", ".....", ".....", ".....", ".....", "....."],
}


def text_width(text, scale, gap=1):
    return len(text) * (5 + gap) * scale - gap * scale


def draw_text(canvas, text, left, top, scale, ink, gap=1):
    for n, ch in enumerate(text):
        glyph = FONT[ch]
        x0 = left + n * (5 + gap) * scale
        for gy, line in enumerate(glyph):
            for gx, cell in enumerate(line):
                if cell == "#":
                    fill(canvas, x0 + gx * scale, top + gy * scale, scale, scale, ink)


def fill(canvas, left, top, width, height, ink):
    for y in range(max(top, 0), min(top + height, len(canvas))):
        row = canvas[y]
        for x in range(max(left, 0), min(left + width, len(row))):
            row[x] = ink


def frame(canvas, left, top, width, height, ink):
    fill(canvas, left, top, width, 1, ink)
    fill(canvas, left, top + height - 1, width, 1, ink)
    fill(canvas, left, top, 1, height, ink)
    fill(canvas, left + width - 1, top, 1, height, ink)


def dotted_frame(canvas, left, top, width, height, ink):
    for x in range(left, left + width, 2):
        fill(canvas, x, top, 1, 1, ink)
        fill(canvas, x, top + height - 1, 1, 1, ink)
    for y in range(top, top + height, 2):
        fill(canvas, left, y, 1, 1, ink)
        fill(canvas, left + width - 1, y, 1, 1, ink)


# ---------------------------------------------------------------------------------------------
# The logo

LOGO_W, LOGO_H = 253, 108
LOGO_PALETTE = [
    (0xFF, 0xFF, 0xFF),  # 0 paper
    (0xDC, 0xE7, 0xF4),  # 1 grid line
    (0x1B, 0x3A, 0x6B),  # 2 lettering
    (0x2B, 0x6F, 0xC9),  # 3 caption bar
    (0xF6, 0xF9, 0xFD),  # 4 window body
    (0x3E, 0x4A, 0x5C),  # 5 window border
    (0x95, 0xAE, 0xD0),  # 6 outline of the window before the snap
    (0xB8, 0xCC, 0xE6),  # 7 shadow of the lettering
    (0xFF, 0xFF, 0xFF),  # 8 caption text
    (0x5C, 0x8F, 0xD6),  # 9 snap arrow and subtitle
]
PAPER, GRIDLINE, INK, CAPTION, BODY, BORDER, GHOST, SHADOW, CAPTION_TEXT, ACCENT = range(10)
PITCH = 12


def logo_canvas():
    canvas = [[PAPER] * LOGO_W for _ in range(LOGO_H)]
    # The grid the program paints over the screen while a window is dragged.
    for x in range(PITCH // 2, LOGO_W, PITCH):
        fill(canvas, x, 0, 1, LOGO_H, GRIDLINE)
    for y in range(PITCH // 2, LOGO_H, PITCH):
        fill(canvas, 0, y, LOGO_W, 1, GRIDLINE)

    # A window where the user let it go (dotted), and where it lands: on the grid lines.
    left, top, width, height = 6 + PITCH, 6 + 2 * PITCH, 5 * PITCH + 1, 4 * PITCH + 1
    dotted_frame(canvas, left + 8, top + 9, width, height, GHOST)
    fill(canvas, left + 3, top + 3, width, height, SHADOW)
    fill(canvas, left, top, width, height, BODY)
    fill(canvas, left, top, width, 11, CAPTION)
    frame(canvas, left, top, width, height, BORDER)
    draw_text(canvas, "G", left + 3, top + 2, 1, CAPTION_TEXT)
    for n in range(3):  # caption buttons
        frame(canvas, left + width - 9 - n * 7, top + 3, 5, 5, CAPTION_TEXT)
    # Lines of text inside the window.
    for n, length in enumerate((40, 28, 34)):
        fill(canvas, left + 6, top + 18 + n * 8, length, 2, GHOST)

    # The snap: an arrow from the dropped corner back to the grid corner.
    tip_x, tip_y = left + width + 1, top + height + 1
    for step in range(7):
        fill(canvas, tip_x + step, tip_y + step, 2, 2, ACCENT)
    fill(canvas, tip_x, tip_y, 5, 1, ACCENT)
    fill(canvas, tip_x, tip_y, 1, 5, ACCENT)

    # The name, with a soft shadow, and what the program does.
    name = "Trellane"
    scale = 3
    name_left = 92 + (LOGO_W - 92 - text_width(name, scale)) // 2
    draw_text(canvas, name, name_left + 2, 40 + 2, scale, SHADOW)
    draw_text(canvas, name, name_left, 40, scale, INK)
    subtitle = "WINDOW GRID SNAP"
    sub_left = 92 + (LOGO_W - 92 - text_width(subtitle, 1)) // 2
    fill(canvas, sub_left - 4, 74, text_width(subtitle, 1) + 8, 11, PAPER)
    draw_text(canvas, subtitle, sub_left, 76, 1, ACCENT)
    return canvas


def bmp8_file(canvas, palette):
    height = len(canvas)
    width = len(canvas[0])
    stride = padded_row_bytes(width * 8)
    pixels = bytearray()
    for row in reversed(canvas):
        pixels += bytes(row) + bytes(stride - width)
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(pixels), 2835, 2835, len(palette),
                       len(palette))
    offset = 14 + len(info) + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + table + bytes(pixels)


# ---------------------------------------------------------------------------------------------
# Previews

def png_file(rows, zoom):
    """rows of (R, G, B, A); enlarged by zoom, on a checker so transparency shows."""
    height, width = len(rows) * zoom, len(rows[0]) * zoom
    raw = bytearray()
    for y in range(height):
        raw.append(0)
        for x in range(width):
            r, g, b, a = rows[y // zoom][x // zoom]
            checker = 0xCC if ((x // 8) + (y // 8)) % 2 else 0xFF
            blend = lambda c: (c * a + checker * (255 - a)) // 255
            raw += bytes((blend(r), blend(g), blend(b)))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)
    print(f"{os.path.relpath(path, ROOT)}: {len(data)} bytes")


def main(argv):
    preview = None
    if len(argv) == 3 and argv[1] == "--preview":
        preview = argv[2]
    elif len(argv) != 1:
        print(__doc__, file=sys.stderr)
        return 2

    pictures = {16: icon16_pixels(), 32: icon_pixels(32), 48: icon_pixels(48)}
    os.makedirs(RES, exist_ok=True)
    write(os.path.join(RES, "trellane.ico"),
          ico_file([(size, 0, 32, ico_image_32(rows)) for size, rows in sorted(pictures.items())]))
    tray = tray_pixels()
    tray_images = [(16, 16, 4, ico_image_4(tray, VGA16))]
    tray_images += [(size, 0, 32, ico_image_32(icon_pixels(size))) for size in TRAY_SCALED_SIZES]
    write(os.path.join(RES, "tray.ico"), ico_file(tray_images))
    canvas = logo_canvas()
    write(os.path.join(RES, "logo.bmp"), bmp8_file(canvas, LOGO_PALETTE))

    if preview:
        os.makedirs(preview, exist_ok=True)
        for size, rows in pictures.items():
            write(os.path.join(preview, f"icon{size}.png"), png_file(rows, 256 // size))
        write(os.path.join(preview, "tray.png"), png_file(tray, 16))
        logo_rows = [[LOGO_PALETTE[i] + (255,) for i in row] for row in canvas]
        write(os.path.join(preview, "logo.png"), png_file(logo_rows, 3))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
