#!/usr/bin/env python3
"""Draws the program's splash/about picture, its icons, its cursors and the macro badges.

The generated files are committed, so a build never runs this. Run it again after changing a
picture:  python3 resources/tools/make_shell_pictures.py
Icons and cursors are drawn here with the standard library only; the splash picture needs
ImageMagick's `convert` (for its text) and the DejaVu fonts.

The link areas of the about box (resources/Shell.rc, in dialog units of half a pixel) must
cover the link texts drawn below; LINK_AREAS is the one list of their pixel rectangles.
"""
import os
import struct
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "pictures")

SPLASH_W, SPLASH_H = 574, 229

# Pixel rectangles (left, top, right, bottom) of the about box's link areas in the picture,
# and the text each shows. The addresses behind them are in shell/ProgramLinks.h.
LINK_AREAS = {
    1041: ((196, 120, 470, 142), "www.vantorel.example/glyphwell"),
    1042: ((196, 144, 470, 166), "Users' group: groups.vantorel.example"),
    1043: ((16, 122, 166, 156), "Vantorel"),
    1044: ((196, 168, 470, 190), "glyphwell@vantorel.example"),
}

BLUE_TOP, BLUE_BOTTOM = (0x1F, 0x4E, 0x8C), (0x3A, 0x78, 0xC2)
ORANGE = (0xF2, 0xA3, 0x3A)
GREY = (0xCC, 0xCC, 0xCC)  # the build line's opaque background
NAVY = (0x00, 0x00, 0x80)


def rgb(c):
    return "#%02X%02X%02X" % c


# --- the splash and about picture -----------------------------------------------------------

def key_grid_mvg(x0, y0, size, key_fill, stroke_colour):
    """A 3 x 3 grid of rounded keys with a pen stroke across it: the program's emblem."""
    gap = size // 16
    key = (size - 2 * gap) // 3
    cmds = ["fill %s stroke none" % key_fill]
    for row in range(3):
        for col in range(3):
            x = x0 + col * (key + gap)
            y = y0 + row * (key + gap)
            cmds.append("roundrectangle %d,%d %d,%d %d,%d" % (x, y, x + key, y + key,
                                                                key // 5, key // 5))
    cmds.append("fill none stroke %s stroke-width %d stroke-linecap round" %
                (stroke_colour, max(2, size // 18)))
    cmds.append("line %d,%d %d,%d" % (x0 + size * 0.20, y0 + size * 0.80, x0 + size * 0.82,
                                      y0 + size * 0.22))
    return cmds


def make_splash(path):
    header = 110
    mvg = []
    mvg += ["fill %s stroke none" % rgb(ORANGE), "rectangle 0,%d %d,%d" % (header, SPLASH_W,
                                                                          header + 2)]
    mvg += key_grid_mvg(22, 14, 82, "#FFFFFF", rgb(ORANGE))
    text = [
        ("DejaVu-Sans-Bold", 46, "#FFFFFF", 122, 66, "Glyphwell"),
        ("DejaVu-Sans", 15, "#E8F0FA", 124, 94, "On-screen keyboard for pen and touch"),
        ("DejaVu-Sans-Bold", 24, rgb(NAVY), 20, 150, "Vantorel"),
    ]
    for ident, (rect, label) in sorted(LINK_AREAS.items()):
        if ident == 1043:
            continue
        text.append(("DejaVu-Sans", 14, rgb(NAVY), rect[0] + 4, rect[3] - 6, label))
    args = ["convert", "-size", "%dx%d" % (SPLASH_W, SPLASH_H), "xc:" + rgb(GREY),
            "(", "-size", "%dx%d" % (SPLASH_W, header), "gradient:%s-%s" %
            (rgb(BLUE_TOP), rgb(BLUE_BOTTOM)), ")", "-geometry", "+0+0", "-composite",
            "-draw", " ".join(mvg)]
    for font, size, colour, x, y, label in text:
        args += ["-font", font, "-pointsize", str(size), "-fill", colour, "-stroke", "none",
                 "-annotate", "+%d+%d" % (x, y), label]
    # 8-bit palette keeps the file small; BMP3 is the form every Windows version loads.
    args += ["+dither", "-type", "Palette", "-colors", "256", "-compress", "None", "BMP3:" + path]
    subprocess.run(args, check=True)


# --- icons and cursors, drawn with 4 x 4 supersampling ------------------------------------

def render(size, shapes):
    """shapes: functions (x, y) -> (r, g, b, a) or None, painted in order. Returns rows of
    (r, g, b, a), top row first."""
    ss = 4
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(ss):
                for sx in range(ss):
                    x = (px + (sx + 0.5) / ss) / size
                    y = (py + (sy + 0.5) / ss) / size
                    colour = (0, 0, 0, 0)
                    for shape in shapes:
                        c = shape(x, y)
                        if c is not None:
                            colour = over(c, colour)
                    a = colour[3] / 255.0
                    acc[0] += colour[0] * a
                    acc[1] += colour[1] * a
                    acc[2] += colour[2] * a
                    acc[3] += a
            n = ss * ss
            alpha = acc[3] / n
            if alpha > 0:
                r, g, b = (int(round(acc[i] / acc[3])) for i in range(3))
            else:
                r = g = b = 0
            row.append((r, g, b, int(round(alpha * 255))))
        rows.append(row)
    return rows


def over(top, bottom):
    ta, ba = top[3] / 255.0, bottom[3] / 255.0
    a = ta + ba * (1 - ta)
    if a == 0:
        return (0, 0, 0, 0)
    mix = [(top[i] * ta + bottom[i] * ba * (1 - ta)) / a for i in range(3)]
    return (int(mix[0]), int(mix[1]), int(mix[2]), int(round(a * 255)))


def rounded_rect(x0, y0, x1, y1, radius, colour):
    def shape(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return None
        cx = min(max(x, x0 + radius), x1 - radius)
        cy = min(max(y, y0 + radius), y1 - radius)
        return colour if (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2 else None
    return shape


def ring(cx, cy, r_outer, r_inner, colour):
    def shape(x, y):
        d = (x - cx) ** 2 + (y - cy) ** 2
        return colour if r_inner ** 2 <= d <= r_outer ** 2 else None
    return shape


def segment(x0, y0, x1, y1, width, colour):
    def shape(x, y):
        dx, dy = x1 - x0, y1 - y0
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
        px, py = x0 + t * dx, y0 + t * dy
        return colour if (x - px) ** 2 + (y - py) ** 2 <= (width / 2) ** 2 else None
    return shape


def keyboard_icon(tile, stroke):
    """The emblem on a coloured tile: nine white keys and a pen stroke."""
    white = (255, 255, 255, 255)
    shapes = [rounded_rect(0.0, 0.0, 1.0, 1.0, 0.14, tile + (255,))]
    # Keys of 4 pixels with 1-pixel gaps at 16 x 16 (8 and 2 at 32 x 32): crisp at tray size.
    key, gap, start = 0.25, 0.0625, 0.0625
    for row in range(3):
        for col in range(3):
            x = start + col * (key + gap)
            y = start + row * (key + gap)
            shapes.append(rounded_rect(x, y, x + key, y + key, 0.05, white))
    shapes.append(segment(0.22, 0.78, 0.80, 0.24, 0.10, stroke + (255,)))
    return shapes


def dib_entry(rows):
    """A 32-bit icon/cursor image: BITMAPINFOHEADER (double height), BGRA rows bottom-up,
    then the 1-bit AND mask (opaque where alpha > 0 is drawn through the colour part)."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + colour + bytes(mask)


def write_icon_file(path, images, kind, hotspot=(0, 0)):
    """kind 1 = icon, 2 = cursor (hotspot in the directory entry)."""
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for rows in images:
        blob = dib_entry(rows)
        size = len(rows)
        planes_or_x, bits_or_y = (1, 32) if kind == 1 else hotspot
        entries.append(struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, planes_or_x,
                                   bits_or_y, len(blob), offset))
        offset += len(blob)
        blobs.append(blob)
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, kind, len(images)))
        f.write(b"".join(entries))
        f.write(b"".join(blobs))


# --- the macro badges of Macro Scribe's list -------------------------------------------------

# A letter M in a 7 x 7 cell, one string per row.
BADGE_LETTER = ["X.....X", "XX...XX", "X.X.X.X", "X..X..X", "X.....X", "X.....X", "X.....X"]
BADGE_RED, BADGE_WHITE = (0xD0, 0x24, 0x24), (0xFF, 0xFF, 0xFF)


def make_macro_badges(path):
    """Two 16 x 16 images side by side: image 0 blank, image 1 a red square with a white M.
    Black is the image list's mask colour, so the blank image is all black and the badge holds
    none."""
    width, height = 32, 16
    pixels = [[(0, 0, 0)] * width for _ in range(height)]
    for y in range(1, 15):
        for x in range(17, 31):
            pixels[y][x] = BADGE_RED
    for row, line in enumerate(BADGE_LETTER):
        for col, cell in enumerate(line):
            if cell == "X":
                # Each cell of the letter is one pixel, the letter centred in the square.
                pixels[4 + row][20 + col] = BADGE_WHITE
    stride = (width * 3 + 3) & ~3
    rows = b""
    for y in reversed(range(height)):
        row = b"".join(bytes((b, g, r)) for (r, g, b) in pixels[y])
        rows += row + bytes(stride - len(row))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    header = struct.pack("<HIHHI", 0x4D42, 14 + len(info) + len(rows), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(header + info + rows)


def main():
    os.makedirs(OUT, exist_ok=True)
    make_splash(os.path.join(OUT, "Splash.bmp"))
    make_macro_badges(os.path.join(OUT, "MacroBadges.bmp"))

    blue, orange = (0x2B, 0x63, 0xA8), (0xE0, 0x7A, 0x10)
    program = keyboard_icon(blue, orange)
    write_icon_file(os.path.join(OUT, "Glyphwell.ico"),
                    [render(s, program) for s in (16, 32)], 1)
    # A typed key matches a macro: the same emblem on the warm tile, so it stands out in the tray.
    match = keyboard_icon(orange, blue)
    write_icon_file(os.path.join(OUT, "MacroMatch.ico"),
                    [render(s, match) for s in (16, 32)], 1)

    black, white = (0, 0, 0, 255), (255, 255, 255, 255)
    # Stroke cursor: a pen tip, a small ring with a dot, hot spot in its centre.
    stroke = [ring(0.5, 0.5, 0.22, 0.12, white), ring(0.5, 0.5, 0.19, 0.15, black),
              ring(0.5, 0.5, 0.05, 0.0, black)]
    write_icon_file(os.path.join(OUT, "Stroke.cur"), [render(32, stroke)], 2, (16, 16))
    # Touch cursor: a finger's spot on the touchpad.
    touch = [ring(0.5, 0.5, 0.30, 0.0, (0x2B, 0x63, 0xA8, 170)), ring(0.5, 0.5, 0.30, 0.26, white)]
    write_icon_file(os.path.join(OUT, "Touch.cur"), [render(32, touch)], 2, (16, 16))
    # Idle cursor: the same spot, hollow, while no finger is down.
    idle = [ring(0.5, 0.5, 0.30, 0.24, white), ring(0.5, 0.5, 0.28, 0.26, (0x2B, 0x63, 0xA8, 255))]
    write_icon_file(os.path.join(OUT, "Idle.cur"), [render(32, idle)], 2, (16, 16))


if __name__ == "__main__":
    main()
