#!/usr/bin/python3
"""Make the emoticon images res/emoticons/1.gif ... 79.gif.

Each image is an emoji from the Noto Color Emoji font, drawn at the font's
native bitmap size, cropped to its content, scaled down into a 19 x 19 box and
saved as a GIF with one transparent palette index.  The output depends only on
the table below, the font file and Pillow, so running the script again gives
byte-identical files.

Run from the repository root:

    python3 res/emoticons/make_emoticons.py
    python3 res/emoticons/make_emoticons.py --sheet docs/emoticons.png

Needs the Debian packages python3-pil and fonts-noto-color-emoji
(fonts-dejavu-core as well for the labels on the contact sheet).
"""

# Image number: (emoticon code, emoji code points, what it shows)
EMOTICONS = {
    1: (":)", "1F642", "slightly smiling face"),
    2: (":D", "1F603", "grinning face with big eyes"),
    3: ("(&)", "1F917", "hugging face"),
    4: ("<:o)", "1F973", "partying face"),
    5: (":p", "1F61B", "face with tongue"),
    6: ("(h)", "1F60E", "smiling face with sunglasses"),
    7: (":@", "1F621", "pouting (angry red) face"),
    8: (":$", "1F633", "flushed face"),
    9: (":s", "1F615", "confused face"),
    10: (":(", "2639 FE0F", "frowning face"),
    11: (":'(", "1F62D", "loudly crying face"),
    12: (":|", "1F610", "neutral face"),
    13: ("(6)", "1F608", "smiling face with horns"),
    14: ("(a)", "1F607", "smiling face with halo"),
    15: ("(l)", "2764 FE0F", "red heart"),
    16: ("(u)", "1F494", "broken heart"),
    17: ("(m)", "1F4AC", "speech balloon"),
    18: ("(@)", "1F431", "cat face"),
    19: (";)", "1F609", "winking face"),
    20: ("(s)", "1F31C", "last quarter moon face"),
    21: ("(*)", "2B50", "star"),
    22: ("(~)", "1F39E FE0F", "film frames"),
    23: ("(8)", "1F3B5", "musical note"),
    24: ("(e)", "1F4E7", "e-mail"),
    25: ("(f)", "1F339", "rose"),
    26: ("(w)", "1F940", "wilted flower"),
    27: ("(o)", "23F0", "alarm clock"),
    28: ("(k)", "1F48B", "kiss mark"),
    29: ("(g)", "1F381", "wrapped gift"),
    30: ("(^)", "1F382", "birthday cake"),
    31: ("(p)", "1F4F7", "camera"),
    32: ("(i)", "1F4A1", "light bulb"),
    33: ("(c)", "2615", "hot beverage"),
    34: ("(t)", "260E FE0F", "telephone"),
    35: ("({)", "1F64B 200D 2642 FE0F", "man raising hand"),
    36: ("(})", "1F64B 200D 2640 FE0F", "woman raising hand"),
    37: ("(b)", "1F37A", "beer mug"),
    38: ("(d)", "1F378", "cocktail glass"),
    39: ("(z)", "1F466", "boy"),
    40: ("(x)", "1F467", "girl"),
    41: ("(y)", "1F44D", "thumbs up"),
    42: ("(n)", "1F44E", "thumbs down"),
    43: (":[", "1F987", "bat"),
    44: ("(?)", "1F30D", "globe showing Europe-Africa"),
    45: ("(%)", "26D3 FE0F", "chains"),
    46: ("(#)", "2600 FE0F", "sun"),
    47: ("(r)", "1F308", "rainbow"),
    48: (":-#", "1F910", "zipper-mouth face"),
    49: ("8o|", "1F62C", "grimacing face"),
    50: ("8-|", "1F913", "nerd face"),
    51: ("^o)", "1F928", "face with raised eyebrow"),
    52: (":-*", "1F92B", "shushing face"),
    53: ("+o(", "1F922", "nauseated face"),
    54: ("(sn)", "1F40C", "snail"),
    55: ("(tu)", "1F422", "turtle"),
    56: ("(pl)", "1F37D FE0F", "fork and knife with plate"),
    57: ("(||)", "1F963", "bowl with spoon"),
    58: ("(pi)", "1F355", "pizza"),
    59: ("(so)", "26BD", "soccer ball"),
    60: ("(au)", "1F697", "automobile"),
    61: ("(ap)", "2708 FE0F", "airplane"),
    62: ("(um)", "2602 FE0F", "umbrella"),
    63: ("(ip)", "1F3DD FE0F", "desert island"),
    64: ("(co)", "1F5A5 FE0F", "desktop computer"),
    65: ("(mp)", "1F4F1", "mobile phone"),
    66: ("(brb)", "23F3", "hourglass with flowing sand"),
    67: ("(st)", "26C8 FE0F", "cloud with lightning and rain"),
    68: ("(yn)", "1F91E", "crossed fingers"),
    69: ("(h5)", "270B", "raised hand"),
    70: ("(mo)", "1F4B0", "money bag"),
    71: ("(bah)", "1F411", "ewe, wool darkened to make it a black sheep"),
    72: (":^)", "1F937", "person shrugging"),
    73: ("*-)", "1F914", "thinking face"),
    74: ("(li)", "26A1", "high voltage"),
    75: (":o", "1F62E", "face with open mouth"),
    76: ("8-)", "1F644", "face with rolling eyes"),
    77: ("(ci)", "1F6AC", "cigarette"),
    78: ("|-)", "1F62A", "sleepy face"),
    79: ("(xx)", "1F3AE", "video game"),
}

# Changes made to the drawn emoji before it is scaled down:
#   "outline"     a grey rim around the shape, for near-white emoji that would
#                 otherwise fade into a white page
#   "dark wool"   near-white, unsaturated pixels turned dark (the black sheep)
TOUCH_UPS = {
    56: ("outline",),
    67: ("outline",),
    71: ("dark wool",),
}

import argparse
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
            and not os.environ.get("MAKE_EMOTICONS_REEXEC")):
        os.environ["MAKE_EMOTICONS_REEXEC"] = "1"
        os.execv(SYSTEM_PYTHON, [SYSTEM_PYTHON] + sys.argv)
    sys.exit("make_emoticons.py: Pillow is missing; "
             "install it with: apt-get install python3-pil")

EMOJI_FONT = "/usr/share/fonts/truetype/noto/NotoColorEmoji.ttf"
LABEL_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
NATIVE_SIZE = 109   # the only bitmap size in Noto Color Emoji
SIZE = 19           # width and height of every emoticon
ALPHA_CUTOFF = 96   # pixels less opaque than this become transparent
OUTLINE_RADIUS = 4  # in pixels of the full-size drawing (about 0.7 px at 19)
WOOL_MIN_VALUE = 200  # brightness above which unsaturated pixels count as wool
OUT_DIR = os.path.dirname(os.path.abspath(__file__))


def emoji_text(code_points):
    return "".join(chr(int(cp, 16)) for cp in code_points.split())


def render_large(font, text, touch_ups=()):
    """The emoji drawn at full size on a transparent canvas, cropped to it."""
    canvas = Image.new("RGBA", (NATIVE_SIZE * 3, NATIVE_SIZE * 2), (0, 0, 0, 0))
    ImageDraw.Draw(canvas).text((NATIVE_SIZE // 2, NATIVE_SIZE // 2), text,
                                font=font, embedded_color=True)
    for touch_up in touch_ups:
        canvas = TOUCH_UP_STEPS[touch_up](canvas)
    box = canvas.getchannel("A").getbbox()
    if box is None:
        raise ValueError("the font draws nothing for %r" % text)
    if box[2] - box[0] > NATIVE_SIZE * 3 // 2:
        # A sequence the font has no single glyph for comes out as a row of
        # separate emoji.
        raise ValueError("%r is drawn as more than one emoji" % text)
    return canvas.crop(box)


def add_outline(canvas, radius=OUTLINE_RADIUS, grey=(128, 128, 128)):
    rim = canvas.getchannel("A").point(lambda a: 255 if a >= 128 else 0)
    rim = rim.filter(ImageFilter.MaxFilter(2 * radius + 1))
    under = Image.new("RGBA", canvas.size, grey + (0,))
    under.putalpha(rim)
    return Image.alpha_composite(under, canvas)


def darken_wool(canvas, keep_below=WOOL_MIN_VALUE):
    """Near-white, grey-ish pixels made dark; darker parts (face, legs) kept."""
    rgb = canvas.convert("RGB")
    _, sat, val = rgb.convert("HSV").split()
    wool = ImageChops.multiply(sat.point(lambda s: 255 if s < 40 else 0),
                               val.point(lambda v: 255 if v > keep_below else 0))
    dark = rgb.point(lambda c: c * 30 // 100)
    out = Image.composite(dark, rgb, wool)
    out.putalpha(canvas.getchannel("A"))
    return out


TOUCH_UP_STEPS = {
    "outline": add_outline,
    "dark wool": darken_wool,
}


def fit_into_box(big):
    """Scale down so the longer side is SIZE, centred on a SIZE x SIZE canvas."""
    w, h = big.size
    scale = SIZE / max(w, h)
    nw, nh = max(1, round(w * scale)), max(1, round(h * scale))
    # Pillow premultiplies alpha when resizing RGBA, so edges do not darken.
    small = big.resize((nw, nh), Image.Resampling.LANCZOS)
    out = Image.new("RGBA", (SIZE, SIZE), (0, 0, 0, 0))
    out.paste(small, ((SIZE - nw) // 2, (SIZE - nh) // 2))
    return out


def to_gif_palette(rgba):
    """Flatten onto white, quantise, and give see-through pixels their own index."""
    white = Image.new("RGBA", rgba.size, (255, 255, 255, 255))
    flat = Image.alpha_composite(white, rgba).convert("RGB")
    # At most 255 colours, leaving index 255 for transparency.
    pal = flat.quantize(colors=255, method=Image.Quantize.MEDIANCUT,
                        dither=Image.Dither.NONE)
    palette = pal.getpalette()[:255 * 3]
    palette += [0, 0, 0] * (255 - len(palette) // 3)
    palette += [255, 255, 255]          # index 255: transparent, white if shown
    pal.putpalette(palette)
    see_through = rgba.getchannel("A").point(
        lambda a: 255 if a < ALPHA_CUTOFF else 0)
    pal.paste(255, None, see_through)
    return pal


def make_emoticon(font, code_points, touch_ups=()):
    big = render_large(font, emoji_text(code_points), touch_ups)
    return to_gif_palette(fit_into_box(big))


def save_gif(image, path):
    image.save(path, format="GIF", transparency=255, optimize=False)


def contact_sheet(paths, out_path, scale=8, columns=10):
    """All emoticons enlarged (nearest neighbour) with number and code."""
    try:
        label_font = ImageFont.truetype(LABEL_FONT, 18)
    except OSError:
        label_font = ImageFont.load_default()
    cell_w = SIZE * scale + 16
    cell_h = SIZE * scale + 34
    rows = (len(paths) + columns - 1) // columns
    sheet = Image.new("RGB", (cell_w * columns, cell_h * rows), (255, 255, 255))
    draw = ImageDraw.Draw(sheet)
    for i, (number, path) in enumerate(paths):
        x = (i % columns) * cell_w + 8
        y = (i // columns) * cell_h + 8
        with Image.open(path) as gif:
            tile = gif.convert("RGBA").resize((SIZE * scale, SIZE * scale),
                                              Image.Resampling.NEAREST)
        draw.rectangle((x - 1, y - 1, x + SIZE * scale, y + SIZE * scale),
                       outline=(210, 210, 210))
        sheet.paste(tile, (x, y), tile)
        draw.text((x, y + SIZE * scale + 4),
                  "%d  %s" % (number, EMOTICONS[number][0]),
                  font=label_font, fill=(0, 0, 0))
    sheet.save(out_path, format="PNG", optimize=False)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out-dir", default=OUT_DIR,
                        help="where to write N.gif (default: %(default)s)")
    parser.add_argument("--font", default=EMOJI_FONT,
                        help="Noto Color Emoji font file (default: %(default)s)")
    parser.add_argument("--sheet", metavar="PNG",
                        help="also write an enlarged contact sheet of all images")
    args = parser.parse_args()

    try:
        font = ImageFont.truetype(args.font, NATIVE_SIZE)
    except OSError as err:
        sys.exit("make_emoticons.py: cannot load %s (%s); install it with: "
                 "apt-get install fonts-noto-color-emoji" % (args.font, err))

    os.makedirs(args.out_dir, exist_ok=True)
    written = []
    for number in sorted(EMOTICONS):
        path = os.path.join(args.out_dir, "%d.gif" % number)
        image = make_emoticon(font, EMOTICONS[number][1],
                              TOUCH_UPS.get(number, ()))
        save_gif(image, path)
        written.append((number, path))
    print("wrote %d emoticons to %s" % (len(written), args.out_dir))

    if args.sheet:
        contact_sheet(written, args.sheet)
        print("wrote contact sheet %s" % args.sheet)


if __name__ == "__main__":
    main()
