#!/usr/bin/python3
"""Draws every picture of the installer's skin into resources/images.

Run through tools/make-artwork, which installs the Debian packages it needs
(Pillow, the Noto fonts, optipng). Same packages in, same bytes out: nothing
here depends on the time, the machine or a random number.

Outputs: one PNG per resource id, images.rc (the resource lines), and
contact-sheet.png (every picture on one page, for review; not embedded).
"""
import os
import sys

from PIL import Image, ImageDraw, ImageFont

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from texts import LANGUAGES, TEXTS  # noqa: E402

SS = 4  # supersampling of shapes; text is drawn at the output scale for crisp hinting
# The scale being drawn: 1 for 96 DPI, 2 for the large set (displays scaled
# above 100 %). Every coordinate below is at 96 DPI.
SCALE = 1
LARGE_OFFSET = 1000  # the large set's resource ids: the picture's id + this

ACCENT = (64, 136, 255)
ACCENT_HOVER = (96, 158, 255)
ACCENT_PRESSED = (38, 106, 224)
ACCENT_LIGHT = (232, 241, 255)
PAGE = (255, 255, 255)
INK = (40, 44, 52)
INK_SOFT = (112, 118, 128)
LINE = (204, 204, 204)
BOX_LINE = (168, 174, 184)
CLOSE_HOVER = (232, 72, 72)
SLIDE_BACK = (243, 247, 255)
STRIP = (240, 240, 240)  # COLOR_BTNFACE: the options strip is not painted
STRIP_PICTURES = ("path_frame", "browse")

NOTO = "/usr/share/fonts/truetype/noto/"
NOTO_CJK = "/usr/share/fonts/opentype/noto/"
CJK_INDEX = {"ja": 0, "zh_tw": 3}


def font(lang, size, bold=False):
    if lang in CJK_INDEX:
        name = "NotoSansCJK-Bold.ttc" if bold else "NotoSansCJK-Regular.ttc"
        return ImageFont.truetype(NOTO_CJK + name, size * SCALE, index=CJK_INDEX[lang])
    name = "NotoSans-Bold.ttf" if bold else "NotoSans-Regular.ttf"
    return ImageFont.truetype(NOTO + name, size * SCALE)


def fitted_font(lang, text, size, max_width, bold=False, min_size=8):
    """The largest font up to size whose text fits max_width."""
    while size > min_size:
        f = font(lang, size, bold)
        if f.getlength(text) <= max_width * SCALE:
            return f
        size -= 1
    return font(lang, min_size, bold)


class Canvas:
    """A supersampled RGBA canvas for shapes; text goes on after shrinking."""

    def __init__(self, w, h, back=(0, 0, 0, 0)):
        self.w, self.h = w * SCALE, h * SCALE
        self.big = Image.new("RGBA", (w * SS * SCALE, h * SS * SCALE), back)
        self.draw = ImageDraw.Draw(self.big)

    def s(self, *v):
        return [round(x * SS * SCALE) for x in v]

    def rounded(self, x, y, w, h, r, fill=None, outline=None, width=1.0):
        box = self.s(x, y, x + w, y + h)
        box[2] -= 1
        box[3] -= 1
        self.draw.rounded_rectangle(box, radius=r * SS * SCALE, fill=fill, outline=outline,
                                    width=max(1, round(width * SS * SCALE)))

    def ellipse(self, x, y, w, h, fill):
        self.draw.ellipse(self.s(x, y, x + w, y + h), fill=fill)

    def line(self, points, fill, width):
        self.draw.line([tuple(self.s(*p)) for p in points], fill=fill,
                       width=round(width * SS * SCALE), joint="curve")

    def polygon(self, points, fill):
        self.draw.polygon([tuple(self.s(*p)) for p in points], fill=fill)

    def finish(self):
        return self.big.resize((self.w, self.h), Image.LANCZOS)


def text_at(img, xy, text, f, fill, anchor="la"):
    xy = (xy[0] * SCALE, xy[1] * SCALE)
    ImageDraw.Draw(img).text(xy, text, font=f, fill=fill, anchor=anchor)


def text_centered(img, text, f, fill, dy=0):
    # Centre on the middle of the cap height band, not on the ascent.
    text_at(img, (img.width / SCALE / 2, img.height / SCALE / 2 + dy), text, f, fill, anchor="mm")


# --- language-independent pictures -------------------------------------


def brand_logo():
    c = Canvas(108, 32)
    c.rounded(2, 5, 22, 22, 5, fill=ACCENT)
    c.line([(7.5, 10.5), (13, 21.5), (18.5, 10.5)], fill=PAGE, width=2.6)
    img = c.finish()
    text_at(img, (30, 16), "Velmora", font("en", 17, bold=True), INK, anchor="lm")
    return img


def product_logo():
    c = Canvas(235, 52)
    c.rounded(4, 4, 44, 44, 10, fill=ACCENT)
    c.line([(18, 14), (18, 38)], fill=PAGE, width=4.5)
    c.line([(34, 14), (21, 26.5), (34, 38)], fill=PAGE, width=4.5)
    c.ellipse(36, 33, 7, 7, (255, 255, 255, 200))
    img = c.finish()
    text_at(img, (60, 26), "Korvix", font("en", 32, bold=True), INK, anchor="lm")
    return img


def path_frame():
    c = Canvas(323, 32)
    c.rounded(0, 0, 323, 32, 4, fill=PAGE, outline=LINE, width=1)
    return c.finish()


def close_glyph(hover):
    c = Canvas(20, 20)
    ink = INK_SOFT
    if hover:
        c.rounded(0, 0, 20, 20, 4, fill=CLOSE_HOVER)
        ink = PAGE
    c.line([(6, 6), (14, 14)], fill=ink, width=1.6)
    c.line([(14, 6), (6, 14)], fill=ink, width=1.6)
    return c.finish()


def minimise_glyph(hover):
    c = Canvas(20, 20)
    ink = INK_SOFT
    if hover:
        c.rounded(0, 0, 20, 20, 4, fill=(232, 234, 238))
        ink = INK
    c.line([(5.5, 10.5), (14.5, 10.5)], fill=ink, width=1.6)
    return c.finish()


def check_box(ticked):
    c = Canvas(14, 14)
    if ticked:
        c.rounded(0, 0, 14, 14, 3, fill=ACCENT)
        c.line([(3.4, 7.2), (6, 9.8), (10.8, 4.4)], fill=PAGE, width=1.8)
    else:
        c.rounded(0, 0, 14, 14, 3, fill=PAGE, outline=BOX_LINE, width=1)
    return c.finish()


# --- language-dependent pictures ---------------------------------------


def filled_button(lang, text, w, h, fill, pressed=False):
    c = Canvas(w, h)
    c.rounded(0, 0, w, h, 6, fill=fill)
    img = c.finish()
    f = fitted_font(lang, text, 18 if h > 40 else 13, w - 20, bold=True)
    text_centered(img, text, f, PAGE, dy=1 if pressed else 0)
    return img


def outline_button(lang, text, w, h, hover, size):
    c = Canvas(w, h)
    c.rounded(0, 0, w, h, 4, fill=ACCENT_LIGHT if hover else PAGE, outline=ACCENT, width=1)
    img = c.finish()
    text_centered(img, text, fitted_font(lang, text, size, w - 6, min_size=9), ACCENT)
    return img


def options_toggle(lang, text, expanded):
    w, h = 180, 12
    c = Canvas(w, h)
    ink = ACCENT if expanded else INK_SOFT
    if expanded:
        c.polygon([(w - 9, 8.5), (w - 1, 8.5), (w - 5, 3.5)], fill=ink)
    else:
        c.polygon([(w - 9, 3.5), (w - 1, 3.5), (w - 5, 8.5)], fill=ink)
    img = c.finish()
    f = fitted_font(lang, text, 12, w - 14)
    text_at(img, (w - 13, h / 2), text, f, ink, anchor="rm")
    return img


def licence_line(lang, before, link, after):
    w, h = 390, 15
    img = Image.new("RGBA", (w * SCALE, h * SCALE), (0, 0, 0, 0))
    size = 12
    while True:
        f = font(lang, size)
        total = f.getlength(before) + f.getlength(link) + f.getlength(after)
        if total <= (w - 2) * SCALE or size <= 8:
            break
        size -= 1
    x, mid = 0, h / 2  # x in pixels of this scale
    text_at(img, (x / SCALE, mid), before, f, INK_SOFT, anchor="lm")
    x += f.getlength(before)
    text_at(img, (x / SCALE, mid), link, f, ACCENT, anchor="lm")
    link_end = x + f.getlength(link)
    draw = ImageDraw.Draw(img)
    bottom = (h - 1) * SCALE
    for row in range(SCALE):  # the underline: one pixel at 96 DPI, as thick as scaled
        draw.line([(round(x), bottom + row), (round(link_end) - 1, bottom + row)], fill=ACCENT,
                  width=1)
    text_at(img, (link_end / SCALE, mid), after, f, INK_SOFT, anchor="lm")
    return img


def slide(lang, number, title, line):
    w, h = 650, 290
    c = Canvas(w, h, back=SLIDE_BACK + (255,))
    # A large soft disc and an emblem on the right, one per slide.
    c.ellipse(410, -60, 330, 330, ACCENT_LIGHT)
    cx, cy = 540, 140
    c.ellipse(cx - 62, cy - 62, 124, 124, ACCENT)
    if number == 1:  # download arrow into a tray
        c.line([(cx, cy - 34), (cx, cy + 14)], fill=PAGE, width=9)
        c.polygon([(cx - 24, cy - 2), (cx + 24, cy - 2), (cx, cy + 24)], fill=PAGE)
        c.line([(cx - 30, cy + 32), (cx + 30, cy + 32)], fill=PAGE, width=7)
    elif number == 2:  # parallel segments filling up
        for i, fill in enumerate((1.0, 0.72, 0.88, 0.55)):
            y = cy - 30 + i * 18
            c.rounded(cx - 34, y, 68, 9, 4.5, fill=ACCENT_PRESSED)
            c.rounded(cx - 34, y, 68 * fill, 9, 4.5, fill=PAGE)
    else:  # done tick
        c.line([(cx - 28, cy + 2), (cx - 8, cy + 22), (cx + 30, cy - 20)], fill=PAGE, width=11)
    # Progress dots: which slide of three this is.
    for i in range(3):
        c.ellipse(48 + i * 16, 222, 8, 8, ACCENT if i == number - 1 else (200, 214, 240))
    img = c.finish()
    title_font = fitted_font(lang, title, 28, 360, bold=True)
    text_at(img, (48, 112), title, title_font, INK, anchor="ls")
    body_font = fitted_font(lang, line, 15, 360)
    text_at(img, (48, 146), line, body_font, INK_SOFT, anchor="ls")
    text_at(img, (48, 54), "Velmora Korvix", font("en", 13, bold=True), ACCENT, anchor="ls")
    return img


def language_pictures(lang):
    t = TEXTS[lang]
    pics = {
        263: outline_button(lang, t["browse"], 90, 32, False, 13),
        273: outline_button(lang, t["browse"], 90, 32, True, 13),
        283: options_toggle(lang, t["options"], False),
        293: options_toggle(lang, t["options"], True),
        303: outline_button(lang, t["hide"], 57, 26, False, 12),
        313: outline_button(lang, t["hide"], 57, 26, True, 12),
        323: filled_button(lang, t["install"], 168, 46, ACCENT_PRESSED, pressed=True),
        333: filled_button(lang, t["install"], 168, 46, ACCENT),
        343: filled_button(lang, t["install"], 168, 46, ACCENT_HOVER),
        383: licence_line(lang, *t["licence"]),
        393: filled_button(lang, t["start"], 168, 46, ACCENT_PRESSED, pressed=True),
        403: filled_button(lang, t["start"], 168, 46, ACCENT),
        413: filled_button(lang, t["start"], 168, 46, ACCENT_HOVER),
    }
    for i, base in enumerate((353, 363, 373)):
        pics[base] = slide(lang, i + 1, *t["slides"][i])
    return pics


NAMES = {
    213: "brand_logo", 214: "product_logo", 207: "path_frame", 239: "close", 240: "close_hover",
    243: "minimise", 244: "minimise_hover", 215: "check_off", 202: "check_on",
    263: "browse", 273: "browse_hover", 283: "options_closed", 293: "options_open",
    303: "hide", 313: "hide_hover", 323: "install_pressed", 333: "install", 343: "install_hover",
    353: "slide1", 363: "slide2", 373: "slide3", 383: "licence_line",
    393: "start_pressed", 403: "start", 413: "start_hover",
}


def all_pictures():
    pics = {
        213: brand_logo(), 214: product_logo(), 207: path_frame(),
        239: close_glyph(False), 240: close_glyph(True),
        243: minimise_glyph(False), 244: minimise_glyph(True),
        215: check_box(False), 202: check_box(True),
    }
    names = {i: NAMES[i] for i in pics}
    for lang, offset in LANGUAGES:
        for base, img in language_pictures(lang).items():
            pics[base + offset] = img
            names[base + offset] = "%s_%s" % (NAMES[base], lang)
    return pics, names


def app_icon():
    """Icon 128: the product mark, with the sizes Windows asks for."""
    c = Canvas(256, 256)
    c.rounded(8, 8, 240, 240, 52, fill=ACCENT)
    c.line([(84, 60), (84, 196)], fill=PAGE, width=26)
    c.line([(176, 60), (100, 128), (176, 196)], fill=PAGE, width=26)
    c.ellipse(176, 168, 36, 36, (255, 255, 255, 200))
    return c.finish()


def contact_sheet(pics, names):
    ids = sorted(pics)
    cell_w, pad = 660, 8
    rows, x, y, row_h = [], pad, pad, 0
    placed = []
    for i in ids:
        img = pics[i]
        w, h = img.width, img.height + 16
        if x + w > cell_w * 2:
            x, y, row_h = pad, y + row_h + pad, 0
        placed.append((i, x, y))
        x += max(w, 150) + pad
        row_h = max(row_h, h)
    sheet = Image.new("RGB", (cell_w * 2 + pad, y + row_h + pad), (214, 218, 224))
    label = font("en", 11)
    for i, x, y in placed:
        img = pics[i]
        sheet.paste(PAGE, (x, y + 16, x + img.width, y + 16 + img.height))
        sheet.paste(img, (x, y + 16), img)
        ImageDraw.Draw(sheet).text((x, y + 1), "%d %s" % (i, names[i]), font=label, fill=INK)
    return sheet


def save_set(pics, names, out, folder, offset, rc):
    os.makedirs(os.path.join(out, folder) if folder else out, exist_ok=True)
    for i in sorted(pics):
        name = "%d_%s.png" % (i + offset, names[i])
        path = folder + "/" + name if folder else name
        # Owner-drawn buttons are filled with the dialog's button-face colour
        # before they draw, so every picture carries the background it sits
        # on: the white page, or the options strip's default dialog colour.
        back = STRIP if names[i].startswith(STRIP_PICTURES) else PAGE
        img = Image.alpha_composite(Image.new("RGBA", pics[i].size, back + (255,)),
                                    pics[i].convert("RGBA")).convert("RGB")
        img.save(os.path.join(out, path), optimize=True)
        rc.append('%d PNG "images/%s"' % (i + offset, path))


def main(argv):
    global SCALE
    out = argv[1] if len(argv) > 1 else "resources/images"
    os.makedirs(out, exist_ok=True)
    pics, names = all_pictures()
    rc = ["// Generated by tools/artwork: the skin's pictures, type PNG; the large",
          "// set (twice the size, for displays scaled above 100 %%) at id + %d." % LARGE_OFFSET]
    save_set(pics, names, out, "", 0, rc)
    SCALE = 2
    large, _ = all_pictures()
    SCALE = 1
    save_set(large, names, out, "2x", LARGE_OFFSET, rc)
    with open(os.path.join(out, "images.rc"), "w") as f:
        f.write("\n".join(rc) + "\n")
    app_icon().save(os.path.join(out, "..", "Korvix.ico"),
                    sizes=[(16, 16), (20, 20), (24, 24), (32, 32), (40, 40), (48, 48), (64, 64),
                           (256, 256)])
    contact_sheet(pics, names).save(os.path.join(out, "contact-sheet.png"), optimize=True)
    print("%d pictures in %s" % (len(pics), out))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
