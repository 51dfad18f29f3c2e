#!/usr/bin/python3
"""Make the header pictures and the application icon in res/pictures/.

Writes the title image (title.png, 265 x 39), the grey header strip
(graybg.png, 201 x 39), the three states of the four header buttons
(btnOpen1..3.png, btnSearch1..3.png, btnOptions1..3.png, btnAbout1..3.png)
and the application icon at seven sizes (icon-16.png ... icon-256.png).
Everything is drawn here from shapes and gradients; the only text is the
program's name, set in DejaVu Sans.  Shapes are drawn at SS times the final
size and reduced with a box filter, so edges that lie on the pixel grid stay
sharp and slanted or curved ones are anti-aliased.  Nothing depends on the
time or on random numbers, so running the script again gives byte-identical
files.

Run from the repository root:

    python3 res/pictures/make_pictures.py
    python3 res/pictures/make_pictures.py --sheet docs/pictures.png

Needs the Debian packages python3-pil and fonts-dejavu-core.
"""

import argparse
import math
import os
import sys

try:
    from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont
except ImportError:
    # A python3 from outside Debian (pyenv, a virtualenv) may come first on
    # PATH; the Pillow package lives with the system interpreter.
    SYSTEM_PYTHON = "/usr/bin/python3"
    if (os.path.exists(SYSTEM_PYTHON)
            and os.path.realpath(sys.executable) != os.path.realpath(SYSTEM_PYTHON)
            and not os.environ.get("MAKE_PICTURES_REEXEC")):
        os.environ["MAKE_PICTURES_REEXEC"] = "1"
        os.execv(SYSTEM_PYTHON, [SYSTEM_PYTHON] + sys.argv)
    sys.exit("make_pictures.py: Pillow is missing; "
             "install it with: apt-get install python3-pil")

FONT_DIR = "/usr/share/fonts/truetype/dejavu"
FONT_BOLD = os.path.join(FONT_DIR, "DejaVuSans-Bold.ttf")
FONT_BOOK = os.path.join(FONT_DIR, "DejaVuSans.ttf")
OUT_DIR = os.path.dirname(os.path.abspath(__file__))

SS = 8                 # supersampling factor of every drawing
STRIP_H = 39           # height of the title, the strip and the buttons
PANEL_H = 40           # the header panel is one row taller than its pictures
PANEL_GREY = (190, 190, 190)
TITLE_W, STRIP_W = 265, 201

# Header buttons: name, x in the header, width.
BUTTONS = [
    ("btnOpen", 266, 39),
    ("btnSearch", 314, 38),
    ("btnOptions", 362, 41),
    ("btnAbout", 410, 55),
]
ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)
ICON_BOX = 24          # the button glyphs are drawn in a 24 x 24 box

# The palette shared by the logo and the button glyphs.  Each fill is a
# vertical gradient, lighter at the top (light comes from above, a little
# from the left); each outline is a darker tone of its fill.
BLUE_TOP, BLUE_BOTTOM, BLUE_LINE = (104, 168, 236), (38, 102, 196), (24, 64, 136)
AMBER_TOP, AMBER_BOTTOM, AMBER_LINE = (255, 218, 124), (236, 166, 52), (150, 98, 22)
AMBER_BACK_TOP, AMBER_BACK_BOTTOM = (232, 180, 80), (206, 140, 40)
STEEL_TOP, STEEL_BOTTOM, STEEL_LINE = (158, 168, 182), (96, 106, 122), (52, 58, 70)
GLASS_TOP, GLASS_BOTTOM = (226, 240, 255), (160, 200, 240)
INK = (48, 54, 64)
ACCENT_INK = (26, 78, 160)
SHADOW_ALPHA = 70      # drop shadow under the glyphs, out of 255


# ---------------------------------------------------------------- strip ----

def strip_grey(y):
    """Grey level of row y of the header strip (0 is the top row)."""
    if y == 0:
        return 214                  # catch light on the top edge
    if y == STRIP_H - 1:
        return 152                  # the edge line under the strip
    # Rows 1..37 run evenly from 203 down to 179, averaging the panel's 190
    # with the two edge rows.
    return round(203 - (y - 1) * 24 / (STRIP_H - 3))


def strip(width):
    """The strip at any width: only the rows differ, so it stretches cleanly."""
    column = Image.new("RGB", (1, STRIP_H))
    for y in range(STRIP_H):
        g = strip_grey(y)
        column.putpixel((0, y), (g, g, g))
    return column.resize((width, STRIP_H), Image.Resampling.NEAREST)


# --------------------------------------------------------------- drawing ---

def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(len(a)))


class Layer:
    """An RGBA drawing SS times larger than the picture it becomes.

    Coordinates given to its methods are in pixels of the final picture;
    (0, 0) is the top-left corner of the top-left pixel.
    """

    def __init__(self, w, h, ss=SS):
        self.w, self.h, self.ss = w, h, ss
        self.image = Image.new("RGBA", (w * ss, h * ss), (0, 0, 0, 0))

    def mask(self):
        return Image.new("L", self.image.size, 0)

    def gradient(self, y0, top, y1, bottom):
        """A vertical gradient image from colour top at y0 to bottom at y1."""
        ss, height = self.ss, self.image.size[1]
        column = Image.new("RGBA", (1, height))
        for y in range(height):
            t = min(1.0, max(0.0, ((y + 0.5) / ss - y0) / max(1e-6, y1 - y0)))
            colour = mix(top, bottom, t)
            column.putpixel((0, y), colour + (255,) if len(colour) == 3 else colour)
        return column.resize(self.image.size, Image.Resampling.NEAREST)

    def paint(self, mask, fill, opacity=255):
        """Paint fill (a colour or a gradient image) through mask."""
        if isinstance(fill, Image.Image):
            paint = fill.copy()
        else:
            paint = Image.new("RGBA", self.image.size,
                              fill + (255,) if len(fill) == 3 else fill)
        alpha = ImageChops.multiply(paint.getchannel("A"), mask)
        if opacity != 255:
            alpha = alpha.point(lambda a: a * opacity // 255)
        paint.putalpha(alpha)
        self.image.alpha_composite(paint)

    def shadow(self, dx=0.5, dy=1.0, blur=0.7, alpha=SHADOW_ALPHA):
        """Put a soft shadow of everything drawn so far beneath it."""
        ss = self.ss
        shape = self.image.getchannel("A")
        shape = ImageChops.offset(shape, round(dx * ss), round(dy * ss))
        shape = shape.filter(ImageFilter.GaussianBlur(blur * ss))
        dark = Image.new("RGBA", self.image.size, (0, 0, 0, 255))
        dark.putalpha(shape.point(lambda a: a * alpha // 255))
        dark.alpha_composite(self.image)
        self.image = dark

    def result(self):
        return self.image.resize((self.w, self.h), Image.Resampling.BOX)


def scaled_box(box, ss, grow=0.0):
    """A box given by its pixel edges, as the inclusive corners Pillow wants."""
    x0, y0, x1, y1 = box
    return (round((x0 - grow) * ss), round((y0 - grow) * ss),
            round((x1 + grow) * ss) - 1, round((y1 + grow) * ss) - 1)


def draw_shape(layer, mask, prims, grow=0.0):
    """Draw a union of primitives into mask, each grown outwards by grow.

    Growing every part of a union grows the union, so drawing the same shape
    once grown by the outline width and once plain gives an outline of even
    width all round, including where a bubble meets its tail.
    """
    ss = layer.ss
    d = ImageDraw.Draw(mask)
    for prim in prims:
        kind = prim[0]
        if kind == "rrect":
            _, box, radius = prim
            d.rounded_rectangle(scaled_box(box, ss, grow),
                                radius=max(0.0, (radius + grow) * ss), fill=255)
        elif kind == "ellipse":
            d.ellipse(scaled_box(prim[1], ss, grow), fill=255)
        elif kind == "hole":
            d.ellipse(scaled_box(prim[1], ss, -grow), fill=0)
        elif kind == "poly":
            points = [(x * ss, y * ss) for x, y in prim[1]]
            d.polygon(points, fill=255)
            if grow > 0:
                r = grow * ss
                d.line(points + [points[0]], fill=255, width=round(2 * r))
                for x, y in points:
                    d.ellipse((x - r, y - r, x + r, y + r), fill=255)
        elif kind == "capsule":
            _, (x0, y0), (x1, y1), width = prim
            r = (width / 2 + grow) * ss
            x0, y0, x1, y1 = x0 * ss, y0 * ss, x1 * ss, y1 * ss
            length = math.hypot(x1 - x0, y1 - y0)
            nx, ny = -(y1 - y0) / length * r, (x1 - x0) / length * r
            d.polygon([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny),
                       (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)], fill=255)
            d.ellipse((x0 - r, y0 - r, x0 + r, y0 + r), fill=255)
            d.ellipse((x1 - r, y1 - r, x1 + r, y1 + r), fill=255)
        else:
            raise ValueError("unknown primitive %r" % kind)
    return mask


def outlined(layer, prims, line, top, bottom, y0, y1, width=1.0):
    """A shape filled with a vertical gradient inside an outline."""
    outer = draw_shape(layer, layer.mask(), prims, grow=width)
    layer.paint(outer, line)
    inner = draw_shape(layer, layer.mask(), prims)
    layer.paint(inner, layer.gradient(y0, top, y1, bottom))


def filled(layer, prims, fill, opacity=255):
    layer.paint(draw_shape(layer, layer.mask(), prims), fill, opacity)


# ------------------------------------------------------------------ logo ---

def logo(size):
    """The logo mark: a blue speech bubble with lines of writing, in front of
    an amber one (a conversation), as an RGBA image size x size.

    Edges are placed on whole pixels of the target size; the 16 and 24 pixel
    versions get their own layout so that the lines of writing stay distinct.
    """
    layer = Layer(size, size, ss=SS if size <= 64 else 4)
    u = size / 32.0                       # one pixel of the 32 px design
    line_w = 1.0 if size < 48 else round(size / 40.0)

    def px(v):
        return round(v * u)

    # The boxes below are the fills; the outline lies around them.
    if size == 16:
        back = [("rrect", (6, 1, 15, 8), 1.5)]
        front = [("rrect", (1, 4, 12, 12), 1.5), ("poly", [(2, 11.5), (5.5, 11.5), (2, 14.5)])]
        lines = [((3, 6), (10, 7)), ((3, 9), (8, 10))]
    elif size == 24:
        back = [("rrect", (9, 1, 23, 12), 2.5), ("poly", [(17, 11), (21, 11), (21.5, 14.5)])]
        front = [("rrect", (1, 6, 18, 17), 2.5), ("poly", [(3, 16), (8, 16), (3, 21.5)])]
        lines = [((4, 8), (15, 9)), ((4, 11), (15, 12)), ((4, 14), (11, 15))]
    else:
        back = [("rrect", (px(11), px(2), px(31), px(17)), 4 * u),
                ("poly", [(px(24), px(16)), (px(29), px(16)), (px(29.5), px(20.5))])]
        front = [("rrect", (px(1), px(8), px(24), px(25)), 4 * u),
                 ("poly", [(px(4), px(24)), (px(11), px(24)), (px(4), px(30.5))])]
        rows = (12, 16, 20)
        lengths = (20, 20, 14)
        lines = [((px(5), px(r)), (px(5) + px(L - 5), px(r) + max(1, px(1.6))))
                 for r, L in zip(rows, lengths)]
    outlined(layer, back, AMBER_LINE, AMBER_TOP, AMBER_BOTTOM,
             back[0][1][1], back[0][1][3], line_w)
    outlined(layer, front, BLUE_LINE, BLUE_TOP, BLUE_BOTTOM,
             front[0][1][1], front[0][1][3], line_w)
    for (x0, y0), (x1, y1) in lines:
        radius = 0 if size < 32 else (y1 - y0) / 2
        filled(layer, [("rrect", (x0, y0, x1, y1), radius)], (255, 255, 255))
    return layer.result()


# --------------------------------------------------------------- glyphs ----
# Each glyph draws into a layer at origin (ox, oy), the top-left corner of its
# 24 x 24 box.

def glyph_folder(layer, ox, oy):
    def at(x, y):
        return (ox + x, oy + y)
    back = [("rrect", (ox + 2, oy + 5, ox + 21, oy + 20), 1.5),
            ("rrect", (ox + 2, oy + 3, ox + 10, oy + 7), 1.5)]
    outlined(layer, back, AMBER_LINE, AMBER_BACK_TOP, AMBER_BACK_BOTTOM,
             oy + 3, oy + 20)
    sheet = [("rrect", (ox + 5, oy + 8, ox + 19, oy + 17), 0)]
    outlined(layer, sheet, (150, 150, 150), (255, 255, 255), (232, 232, 232),
             oy + 8, oy + 17)
    front = [("poly", [at(5.5, 11), at(23, 11), at(20.5, 20), at(2, 20)])]
    outlined(layer, front, AMBER_LINE, AMBER_TOP, AMBER_BOTTOM, oy + 11, oy + 20)


def glyph_search(layer, ox, oy):
    cx, cy, r = ox + 10, oy + 10, 7.0
    handle = [("capsule", (cx + 5.2, cy + 5.2), (ox + 20.5, oy + 20.5), 3.5)]
    outlined(layer, handle, STEEL_LINE, (92, 98, 110), (44, 48, 58),
             cy + 5, oy + 21)
    rim = [("ellipse", (cx - r, cy - r, cx + r, cy + r))]
    outlined(layer, rim, STEEL_LINE, STEEL_TOP, STEEL_BOTTOM, cy - r, cy + r)
    g = r - 2.0
    glass = [("ellipse", (cx - g, cy - g, cx + g, cy + g))]
    outlined(layer, glass, STEEL_LINE, GLASS_TOP, GLASS_BOTTOM, cy - g, cy + g, 0.75)
    # A gleam on the upper left of the lens.
    gleam = layer.mask()
    ImageDraw.Draw(gleam).arc(scaled_box((cx - g + 1.3, cy - g + 1.3,
                                          cx + g - 1.3, cy + g - 1.3), layer.ss),
                              start=195, end=255, fill=255, width=round(1.3 * layer.ss))
    layer.paint(gleam, (255, 255, 255), 230)


def gear_outline(cx, cy, teeth, r_root, r_tip, root_half, tip_half, steps=6):
    """The points of a gear with teeth centred on angle 0, 360/teeth, ..."""
    points = []
    pitch = 2 * math.pi / teeth
    for i in range(teeth):
        a = i * pitch
        for angle, radius in ((a - root_half, r_root), (a - tip_half, r_tip),
                              (a + tip_half, r_tip), (a + root_half, r_root)):
            points.append((cx + radius * math.cos(angle), cy + radius * math.sin(angle)))
        # Arc along the root to the next tooth.
        for s in range(1, steps):
            angle = a + root_half + (pitch - 2 * root_half) * s / steps
            points.append((cx + r_root * math.cos(angle), cy + r_root * math.sin(angle)))
    return points


def glyph_gear(layer, ox, oy):
    cx, cy = ox + 12, oy + 12
    body = [("poly", gear_outline(cx, cy, 8, 7.2, 10.0, 0.30, 0.20)),
            ("hole", (cx - 3.5, cy - 3.5, cx + 3.5, cy + 3.5))]
    outlined(layer, body, STEEL_LINE, STEEL_TOP, STEEL_BOTTOM, cy - 10, cy + 10)
    # The hole's own rim, lit from above, so it reads as a hole at 1:1.
    rim = layer.mask()
    d = ImageDraw.Draw(rim)
    d.ellipse(scaled_box((cx - 3.5, cy - 3.5, cx + 3.5, cy + 3.5), layer.ss), fill=255)
    d.ellipse(scaled_box((cx - 2.5, cy - 2.5, cx + 2.5, cy + 2.5), layer.ss), fill=0)
    layer.paint(rim, STEEL_LINE)


def glyph_about(layer, ox, oy):
    cx, cy, r = ox + 12, oy + 12, 10.0
    disc = [("ellipse", (cx - r, cy - r, cx + r, cy + r))]
    outlined(layer, disc, BLUE_LINE, BLUE_TOP, BLUE_BOTTOM, cy - r, cy + r)
    white = (255, 255, 255)
    filled(layer, [("ellipse", (cx - 1.75, oy + 5, cx + 1.75, oy + 8.5))], white)
    filled(layer, [("rrect", (cx - 1.5, oy + 10, cx + 1.5, oy + 18), 0.5),
                   ("rrect", (cx - 3, oy + 10, cx + 1.5, oy + 11.5), 0.5),
                   ("rrect", (cx - 3, oy + 17, cx + 3, oy + 18.5), 0.5)], white)


GLYPHS = {
    "btnOpen": glyph_folder,
    "btnSearch": glyph_search,
    "btnOptions": glyph_gear,
    "btnAbout": glyph_about,
}


# --------------------------------------------------------------- buttons ---

PLATE_TOP, PLATE_BOTTOM = 2, STRIP_H - 2     # plate edges, inside the strip
PLATE_RADIUS = 4.0


def plate(layer, w, state):
    """The lighter (hover) or darker, sunken (pressed) plate of a button."""
    box = (2, PLATE_TOP, w - 2, PLATE_BOTTOM)
    inner = (3, PLATE_TOP + 1, w - 3, PLATE_BOTTOM - 1)
    if state == 2:
        border, top, bottom, opacity = (120, 120, 120), (232, 232, 232), (206, 206, 206), 200
    else:
        border, top, bottom, opacity = (104, 104, 104), (164, 164, 164), (182, 182, 182), 255
    outer_mask = draw_shape(layer, layer.mask(), [("rrect", box, PLATE_RADIUS)])
    layer.paint(outer_mask, border, opacity)
    inner_mask = draw_shape(layer, layer.mask(), [("rrect", inner, PLATE_RADIUS - 1)])
    layer.paint(inner_mask, layer.gradient(inner[1], top, inner[3], bottom))
    # A one-pixel band just inside the top border: light on a raised plate,
    # shade on a sunken one.
    band = draw_shape(layer, layer.mask(), [("rrect", inner, PLATE_RADIUS - 1)])
    cut = draw_shape(layer, layer.mask(),
                     [("rrect", (inner[0], inner[1] + 1, inner[2], inner[3] + 1),
                       PLATE_RADIUS - 1)])
    band = ImageChops.subtract(band, cut)
    if state == 2:
        layer.paint(band, (255, 255, 255), 170)
    else:
        layer.paint(band, (120, 120, 120), 150)


def button(name, w, state):
    """State 1 normal, 2 mouse over, 3 pressed; an opaque RGB image."""
    picture = strip(w).convert("RGBA")
    if state in (2, 3):
        back = Layer(w, STRIP_H)
        plate(back, w, state)
        picture.alpha_composite(back.result())
    shift = 1 if state == 3 else 0
    glyph = Layer(w, STRIP_H)
    GLYPHS[name](glyph, (w - ICON_BOX) // 2 + shift, (STRIP_H - ICON_BOX) // 2 + shift)
    glyph.shadow()
    picture.alpha_composite(glyph.result())
    return picture.convert("RGB")


# ----------------------------------------------------------------- title ---

TITLE_WORDS = (("Velmora", FONT_BOLD, INK), (" Skribo", FONT_BOOK, ACCENT_INK))
TITLE_FONT_SIZE = 19
TITLE_LOGO_SIZE = 32


def text_mask(size, xy, text, font):
    mask = Image.new("L", size, 0)
    ImageDraw.Draw(mask).text(xy, text, font=font, fill=255)
    return mask


def title():
    picture = strip(TITLE_W).convert("RGBA")
    mark = logo(TITLE_LOGO_SIZE)
    top = (STRIP_H - 1 - TITLE_LOGO_SIZE) // 2
    picture.alpha_composite(mark, (6, top))
    # Text is drawn at its final size so FreeType's hinting keeps the stems
    # sharp; an engraved look comes from a light copy one row lower.
    x = 6 + TITLE_LOGO_SIZE + 7
    fonts = [ImageFont.truetype(path, TITLE_FONT_SIZE) for _, path, _ in TITLE_WORDS]
    # Centre the capitals on the strip above its edge line.
    cap_top, cap_bottom = fonts[0].getbbox("V")[1::2]
    y = round((STRIP_H - 1 - (cap_bottom - cap_top)) / 2) - cap_top
    for (word, _, colour), font in zip(TITLE_WORDS, fonts):
        light = text_mask(picture.size, (x, y + 1), word, font)
        glow = Image.new("RGBA", picture.size, (255, 255, 255, 0))
        glow.putalpha(light.point(lambda a: a * 110 // 255))
        picture.alpha_composite(glow)
        ink = Image.new("RGBA", picture.size, colour + (0,))
        ink.putalpha(text_mask(picture.size, (x, y), word, font))
        picture.alpha_composite(ink)
        x += round(font.getlength(word))
    if x > TITLE_W - 4:
        raise ValueError("the title text does not fit")
    return picture.convert("RGB")


# ---------------------------------------------------------------- header ---

def header(width, pictures, states=None):
    """The header panel as the main window shows it at the given width."""
    states = states or {}
    panel = Image.new("RGB", (width, PANEL_H), PANEL_GREY)
    panel.paste(pictures["title"], (0, 0))
    panel.paste(pictures["graybg"].resize((width - 1 - TITLE_W, STRIP_H),
                                          Image.Resampling.BILINEAR), (TITLE_W, 0))
    for name, x, _ in BUTTONS:
        # The buttons are anchored to the right edge of a 467 px window.
        panel.paste(pictures["%s%d" % (name, states.get(name, 1))], (x + width - 467, 0))
    return panel


def contact_sheet(pictures, icons, out_path):
    font = ImageFont.truetype(FONT_BOOK, 12)
    margin, gap = 16, 10
    wide = 720
    sheet_w = wide + 2 * margin
    rows = []   # (label, image, scale)

    rows.append(("Header at 467 px, normal", header(467, pictures)))
    for name, _, _ in BUTTONS:
        for state, word in ((2, "mouse over"), (3, "pressed")):
            rows.append(("%s %s" % (name, word), header(467, pictures, {name: state})))
    rows.append(("Header stretched to %d px" % wide, header(wide, pictures)))

    label_colour = (60, 60, 60)
    zoom = 4
    enlarged = []
    for name, _, w in BUTTONS:
        row = Image.new("RGB", (3 * w * zoom + 2 * 8, STRIP_H * zoom), (236, 236, 236))
        for state in (1, 2, 3):
            tile = pictures["%s%d" % (name, state)].resize((w * zoom, STRIP_H * zoom),
                                                           Image.Resampling.NEAREST)
            row.paste(tile, ((state - 1) * (w * zoom + 8), 0))
        enlarged.append(("%s enlarged %dx: normal, mouse over, pressed" % (name, zoom), row))

    def on(backdrop, icon, z):
        size = icon.size[0]
        tile = Image.new("RGBA", (size, size), backdrop + (255,))
        tile.alpha_composite(icon)
        return tile.convert("RGB").resize((size * z, size * z), Image.Resampling.NEAREST)

    white, dark = (255, 255, 255), (56, 58, 62)
    zoomed = []
    for label, sizes in (("16 and 24 px icons enlarged 8x", ((16, 8), (24, 8))),
                         ("32 px icon enlarged 6x, 48 px enlarged 3x", ((32, 6), (48, 3)))):
        tiles = [on(b, icons[size], z) for size, z in sizes for b in (white, dark)]
        row = Image.new("RGB", (sum(t.size[0] for t in tiles) + 8 * len(tiles),
                                max(t.size[1] for t in tiles)), (236, 236, 236))
        x = 0
        for tile in tiles:
            row.paste(tile, (x, 0))
            x += tile.size[0] + 8
        zoomed.append((label, row))

    icon_row_h = 256 + 8
    blocks = rows + enlarged
    height = margin + sum(18 + image.size[1] + gap for _, image in blocks + zoomed)
    height += 2 * (18 + icon_row_h + gap) + margin

    sheet = Image.new("RGB", (sheet_w, height), (236, 236, 236))
    d = ImageDraw.Draw(sheet)
    y = margin
    for label, image in blocks:
        d.text((margin, y), label, font=font, fill=label_colour)
        y += 18
        sheet.paste(image, (margin, y))
        y += image.size[1] + gap

    for label, backdrop in (("Icons 1:1 on white: 16, 24, 32, 48, 64, 128, 256 px", white),
                            ("Icons 1:1 on dark grey", dark)):
        d.text((margin, y), label, font=font, fill=label_colour)
        y += 18
        d.rectangle((margin, y, sheet_w - margin - 1, y + icon_row_h - 1), fill=backdrop)
        x = margin + 8
        for size in ICON_SIZES:
            sheet.paste(icons[size], (x, y + icon_row_h - 4 - size), icons[size])
            x += size + 14
        y += icon_row_h + gap

    for label, image in zoomed:
        d.text((margin, y), label, font=font, fill=label_colour)
        y += 18
        sheet.paste(image, (margin, y))
        y += image.size[1] + gap
    sheet.save(out_path, format="PNG", optimize=False)


# ------------------------------------------------------------------ main ---

def make_all():
    pictures = {"title": title(), "graybg": strip(STRIP_W)}
    for name, _, w in BUTTONS:
        for state in (1, 2, 3):
            pictures["%s%d" % (name, state)] = button(name, w, state)
    icons = {size: logo(size) for size in ICON_SIZES}
    return pictures, icons


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out-dir", default=OUT_DIR,
                        help="where to write the pictures (default: %(default)s)")
    parser.add_argument("--sheet", metavar="PNG",
                        help="also write a contact sheet of the header and icons")
    args = parser.parse_args()
    for path in (FONT_BOLD, FONT_BOOK):
        if not os.path.exists(path):
            sys.exit("make_pictures.py: %s is missing; install it with: "
                     "apt-get install fonts-dejavu-core" % path)

    pictures, icons = make_all()
    os.makedirs(args.out_dir, exist_ok=True)
    for name, image in pictures.items():
        image.save(os.path.join(args.out_dir, name + ".png"), format="PNG", optimize=False)
    for size, image in icons.items():
        image.save(os.path.join(args.out_dir, "icon-%d.png" % size), format="PNG",
                   optimize=False)
    print("wrote %d pictures to %s" % (len(pictures) + len(icons), args.out_dir))
    if args.sheet:
        contact_sheet(pictures, icons, args.sheet)
        print("wrote contact sheet %s" % args.sheet)


if __name__ == "__main__":
    main()
