#!/usr/bin/env python3
"""Draws every picture of the installer skin (skin/data/res) from code.

The skin's window documents (skin/data/*.xml) name these images; this script is their
only source. Each family of images has one small function below that returns
{relative path: image}. Shapes are drawn at four times the final size and scaled down
with a Lanczos filter, so edges come out anti-aliased. Nothing is random and no time
stamp goes into the files: two runs write byte-identical PNGs.

Needs Python 3, Pillow (Debian: python3-pil) and the DejaVu fonts (Debian:
fonts-dejavu-core). Only the product name and Latin glyphs are drawn as text; the
windows draw their own (Chinese) texts over the images.

usage: gen_skin_art.py [--out DIR]      (DIR defaults to skin/data/res of this repo)
"""
import argparse
import math
import os
import sys

try:
    from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont
except ImportError:
    # A Python of its own (pyenv, venv) may stand first on PATH without Pillow;
    # Debian's python3-pil belongs to the system interpreter.
    SYSTEM_PY = '/usr/bin/python3'
    if (os.path.exists(SYSTEM_PY) and not os.environ.get('GEN_SKIN_ART_REEXEC')
            and os.path.realpath(sys.executable) != os.path.realpath(SYSTEM_PY)):
        os.environ['GEN_SKIN_ART_REEXEC'] = '1'
        os.execv(SYSTEM_PY, [SYSTEM_PY] + sys.argv)
    sys.exit('gen_skin_art: Pillow is missing; install it with: apt-get install python3-pil')

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(HERE)
DEFAULT_OUT = os.path.join(REPO, 'skin', 'data', 'res')

FONT_DIR = '/usr/share/fonts/truetype/dejavu'
FONT_BOLD = os.path.join(FONT_DIR, 'DejaVuSans-Bold.ttf')
FONT_BOOK = os.path.join(FONT_DIR, 'DejaVuSans.ttf')

SS = 4  # supersampling factor

# Palette. The windows' own colours: blue buttons #1675FE (hot #5A9DFD, pushed
# #1365DB), navy texts #282A43, shadow #003B76.
INDIGO = (0, 59, 118)
BLUE = (22, 117, 254)
BLUE_LIGHT = (90, 157, 253)
BLUE_DARK = (19, 101, 219)
NAVY = (31, 38, 66)
SLATE = (96, 97, 120)
WHITE = (255, 255, 255)
ORANGE = (255, 146, 20)


# ---------------------------------------------------------------- drawing helpers

def rgba(rgb, a=1.0):
    return (rgb[0], rgb[1], rgb[2], max(0, min(255, round(a * 255))))


def mix(c0, c1, t):
    return tuple(round(a + (b - a) * t) for a, b in zip(c0, c1))


def ramp(stops, t):
    """Colour at t (0..1) on a list of (position, colour) stops."""
    t = max(0.0, min(1.0, t))
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, 0 if p1 == p0 else (t - p0) / (p1 - p0))
    return stops[-1][1]


class Canvas:
    """An RGBA picture drawn at `ss` times its final size; coordinates are final pixels."""

    def __init__(self, w, h, ss=SS):
        self.w, self.h, self.ss = w, h, ss
        self.size = (w * ss, h * ss)
        self.img = Image.new('RGBA', self.size, (0, 0, 0, 0))

    def px(self, *vals):
        return [v * self.ss for v in vals]

    # masks (L images at the supersampled size)
    def mask(self):
        return Image.new('L', self.size, 0)

    def rrect(self, box, r):
        m = self.mask()
        ImageDraw.Draw(m).rounded_rectangle(self.px(*box), radius=r * self.ss, fill=255)
        return m

    def ellipse(self, box):
        m = self.mask()
        ImageDraw.Draw(m).ellipse(self.px(*box), fill=255)
        return m

    def circle(self, cx, cy, r):
        return self.ellipse((cx - r, cy - r, cx + r, cy + r))

    def polygon(self, pts):
        m = self.mask()
        ImageDraw.Draw(m).polygon([tuple(self.px(x, y)) for x, y in pts], fill=255)
        return m

    def stroke(self, pts, width):
        """A polyline with round joints and round caps."""
        m = self.mask()
        d = ImageDraw.Draw(m)
        sp = [tuple(self.px(x, y)) for x, y in pts]
        w = width * self.ss
        d.line(sp, fill=255, width=round(w), joint='curve')
        for x, y in (sp[0], sp[-1]):
            d.ellipse((x - w / 2, y - w / 2, x + w / 2, y + w / 2), fill=255)
        return m

    def arc(self, cx, cy, r, a0, a1, width, caps=True):
        """An arc of radius r from angle a0 to a1 (degrees, clockwise from 3 o'clock)."""
        n = max(2, int(abs(a1 - a0) / 3) + 1)
        pts = [(cx + r * math.cos(math.radians(a0 + (a1 - a0) * k / (n - 1))),
                cy + r * math.sin(math.radians(a0 + (a1 - a0) * k / (n - 1)))) for k in range(n)]
        if caps:
            return self.stroke(pts, width)
        m = self.mask()
        ImageDraw.Draw(m).line([tuple(self.px(x, y)) for x, y in pts], fill=255,
                               width=round(width * self.ss), joint='curve')
        return m

    def text_mask(self, text, font_path, size, cx, cy):
        """Text centred on (cx, cy) by its ink box."""
        font = load_font(font_path, size * self.ss)
        l, t, r, b = font.getbbox(text)
        m = self.mask()
        x = cx * self.ss - (l + r) / 2
        y = cy * self.ss - (t + b) / 2
        ImageDraw.Draw(m).text((x, y), text, font=font, fill=255)
        return m

    # fills
    def vgrad(self, stops, y0=0, y1=None):
        """Vertical gradient over rows y0..y1 (final pixels), clamped outside."""
        y1 = self.h if y1 is None else y1
        hh = self.size[1]
        strip = Image.new('RGBA', (1, hh))
        strip.putdata([ramp(stops, ((y + 0.5) / self.ss - y0) / max(1e-6, y1 - y0))
                       for y in range(hh)])
        return strip.resize(self.size, Image.NEAREST)

    def hgrad(self, stops, x0=0, x1=None):
        x1 = self.w if x1 is None else x1
        ww = self.size[0]
        strip = Image.new('RGBA', (ww, 1))
        strip.putdata([ramp(stops, ((x + 0.5) / self.ss - x0) / max(1e-6, x1 - x0))
                       for x in range(ww)])
        return strip.resize(self.size, Image.NEAREST)

    def paint(self, fill, mask, opacity=1.0):
        """Composite a colour (RGB/RGBA tuple) or a same-size image through a mask."""
        if isinstance(fill, tuple):
            fill = Image.new('RGBA', self.size, fill if len(fill) == 4 else fill + (255,))
        alpha = ImageChops.multiply(fill.getchannel('A'), mask)
        if opacity < 1.0:
            alpha = alpha.point(lambda v: round(v * opacity))
        layer = fill.copy()
        layer.putalpha(alpha)
        self.img = Image.alpha_composite(self.img, layer)

    def shadow(self, mask, colour, opacity, blur, dx=0, dy=0):
        m = ImageChops.offset(mask, round(dx * self.ss), round(dy * self.ss))
        m = m.filter(ImageFilter.GaussianBlur(blur * self.ss))
        self.paint(colour, m, opacity)

    def result(self):
        return self.img.resize((self.w, self.h), Image.LANCZOS)


def intersect(a, b):
    return ImageChops.multiply(a, b)


def subtract(a, b):
    return ImageChops.subtract(a, b)


_fonts = {}


def load_font(path, size):
    key = (path, round(size))
    if key not in _fonts:
        _fonts[key] = ImageFont.truetype(path, round(size))
    return _fonts[key]


def check_fonts():
    missing = [p for p in (FONT_BOLD, FONT_BOOK) if not os.path.isfile(p)]
    if missing:
        sys.exit('gen_skin_art: font missing: %s\n'
                 'install it with: apt-get install fonts-dejavu-core' % ', '.join(missing))


def to_palette(img, levels=64):
    """A single-colour glyph on transparency as a palette image with a tRNS ramp."""
    px = img.getdata()
    ink = [p for p in px if p[3] > 0]
    # the glyph's colour, weighted by coverage
    tot = sum(p[3] for p in ink) or 1
    colour = tuple(round(sum(p[i] * p[3] for p in ink) / tot) for i in range(3))
    pal = []
    alphas = []
    for k in range(levels):
        pal += list(colour) if k else [0, 0, 0]
        alphas.append(round(k * 255 / (levels - 1)))
    out = Image.new('P', img.size)
    out.putpalette(pal)
    out.putdata([round(p[3] * (levels - 1) / 255) for p in px])
    out.info['transparency'] = bytes(alphas)
    return out


# ---------------------------------------------------------------- image families

def art_backgrounds():
    """bg1..bg4: the main window, 600 x 400. A deep blue caption band over a calm,
    light page with soft shapes at the edges only."""
    c = Canvas(600, 400, ss=2)
    band = 46  # the title row (buttons sit at y 11..41)
    full = c.mask()
    full.paste(255, (0, 0) + c.size)
    # page: white fading to a cool light grey-blue
    c.paint(c.vgrad([(0, (255, 255, 255, 255)), (0.55, (250, 252, 255, 255)),
                     (1, (238, 243, 251, 255))], band, 400), full)
    # soft shapes, bottom corners
    c.paint(rgba((214, 228, 250)), c.circle(640, 470, 190), 0.55)
    c.paint(rgba((200, 219, 248)), c.circle(585, 500, 130), 0.45)
    c.paint(rgba((226, 235, 251)), c.circle(-60, 455, 150), 0.60)
    wave = [(x, 378 + 9 * math.sin(x / 600 * 2 * math.pi * 1.2 + 0.6)) for x in range(0, 601, 4)]
    c.paint(rgba((190, 212, 247)), c.polygon(wave + [(600, 400), (0, 400)]), 0.30)
    wave2 = [(x, 388 + 6 * math.sin(x / 600 * 2 * math.pi * 0.9 + 2.2)) for x in range(0, 601, 4)]
    c.paint(rgba((160, 192, 242)), c.polygon(wave2 + [(600, 400), (0, 400)]), 0.25)
    # soft shade under the band
    shade = c.rrect((-20, -20, 620, band), 0)
    c.shadow(shade, INDIGO, 0.16, 4, dy=2)
    # the band: indigo to blue, a gentle sheen and translucent rings on the right
    band_mask = c.rrect((0, 0, 600, band), 0)
    c.paint(c.hgrad([(0, (6, 44, 110, 255)), (0.55, (18, 86, 196, 255)),
                     (1, (34, 118, 240, 255))]), band_mask)
    c.paint(c.vgrad([(0, (255, 255, 255, 40)), (1, (255, 255, 255, 0))], 0, band), band_mask)
    c.paint(WHITE, intersect(band_mask, c.circle(560, -30, 90)), 0.07)
    c.paint(WHITE, intersect(band_mask, c.circle(470, 60, 55)), 0.05)
    c.paint(WHITE, intersect(band_mask, subtract(c.circle(300, -160, 210),
                                                 c.circle(300, -160, 204))), 0.10)
    # a hair line of light at the band's lower edge
    c.paint(WHITE, c.rrect((0, band - 1, 600, band), 0), 0.18)
    img = c.result()
    return {'mainWnd/bg%d.png' % k: img for k in (1, 2, 3, 4)}


def _emblem(c, x, y, s):
    """The Tallowmere mark: a flame over a lake in a rounded square (s x s at x, y)."""
    box = c.rrect((x, y, x + s, y + s), s * 0.26)
    c.shadow(box, INDIGO, 0.30, s * 0.06, dy=s * 0.05)
    c.paint(c.vgrad([(0, (46, 136, 255, 255)), (1, (10, 60, 150, 255))], y, y + s), box)
    c.paint(c.vgrad([(0, (255, 255, 255, 70)), (1, (255, 255, 255, 0))], y, y + s * 0.5),
            intersect(box, c.ellipse((x - s * 0.3, y - s * 0.75, x + s * 1.3, y + s * 0.45))))
    # flame: a teardrop with its tip up
    cx, cy, a = x + s * 0.5, y + s * 0.43, s * 0.27

    def drop(scale, dy):
        return [(cx + a * scale * 0.78 * math.sin(t) * math.sin(t / 2),
                 cy + dy - a * scale * math.cos(t)) for t in
                (2 * math.pi * k / 96 for k in range(96))]
    c.paint(WHITE, c.polygon(drop(1.0, 0)))
    c.paint((255, 196, 84), c.polygon(drop(0.52, a * 0.40)))
    # lake: two waves
    for k, (yy, op) in enumerate(((0.76, 1.0), (0.87, 0.6))):
        pts = [(x + s * (0.22 + 0.56 * t), y + s * yy + s * 0.025 * math.sin(t * 2 * math.pi * 1.5))
               for t in (i / 40 for i in range(41))]
        c.paint(WHITE, c.stroke(pts, s * 0.055), op)


def art_logo():
    """logo: 377 x 60, the emblem and the product name, centred, on transparency."""
    c = Canvas(377, 60)
    font_px = 34
    font = load_font(FONT_BOLD, font_px)
    name_a, name_b = 'Tallow', 'mere'
    wa = font.getlength(name_a)
    wb = font.getlength(name_b)
    es, gap = 46, 13
    total = es + gap + wa + wb
    x0 = (377 - total) / 2
    _emblem(c, x0, 7, es)
    # the name, its cap height centred on the emblem
    fs = load_font(FONT_BOLD, font_px * SS)
    l, t, r, b = fs.getbbox('Tallowmere')
    tx = (x0 + es + gap) * SS
    ty = 30 * SS - (t + b) / 2
    for part, dx, colour in ((name_a, 0, NAVY), (name_b, wa * SS, BLUE)):
        m = c.mask()
        ImageDraw.Draw(m).text((tx + dx, ty), part, font=fs, fill=255)
        c.paint(colour, m)
    return {'mainWnd/logo.png': c.result()}


def _window_glyph(c, kind, colour, opacity=1.0):
    if kind == 'close':
        c.paint(colour, c.stroke([(8, 8), (16, 16)], 1.6), opacity)
        c.paint(colour, c.stroke([(16, 8), (8, 16)], 1.6), opacity)
    else:
        c.paint(colour, c.stroke([(7.5, 12.5), (16.5, 12.5)], 1.6), opacity)


def art_window_buttons():
    """closebtn1..3, minbtn1..3: 24 x 24, white glyphs on the blue caption band."""
    out = {}
    for kind in ('close', 'min'):
        for state in (1, 2, 3):
            c = Canvas(24, 24)
            plate = c.rrect((1.5, 1.5, 22.5, 22.5), 5)
            if kind == 'close' and state == 2:
                c.paint(c.vgrad([(0, (240, 92, 96, 255)), (1, (222, 60, 66, 255))]), plate)
            elif kind == 'close' and state == 3:
                c.paint(c.vgrad([(0, (178, 40, 46, 255)), (1, (200, 52, 58, 255))]), plate)
            elif state == 2:
                c.paint(WHITE, plate, 0.20)
            elif state == 3:
                c.paint((0, 22, 64), plate, 0.32)
            _window_glyph(c, kind, WHITE, (0.88, 1.0, 0.82)[state - 1])
            out['common/%sbtn%d.png' % (kind, state)] = c.result()
    return out


def art_prompt_close():
    """closebtnM_1..3: 24 x 24, the prompts' close button on a light caption."""
    out = {}
    looks = {1: (None, (150, 157, 174)), 2: ((228, 232, 240), (70, 76, 98)),
             3: ((210, 216, 228), (40, 44, 62))}
    for state, (plate, glyph) in looks.items():
        c = Canvas(24, 24)
        if plate:
            c.paint(plate, c.rrect((2, 2, 22, 22), 5))
        _window_glyph(c, 'close', glyph)
        out['common/closebtnM_%d.png' % state] = c.result()
    return out


def _pill_button(w, h, fill, state, gloss=True):
    """A rounded pill with a soft coloured shadow; state 1 normal, 2 hot, 3 pushed."""
    c = Canvas(w, h)
    box = (5, 3, w - 5, h - 5)
    r = (box[3] - box[1]) / 2
    body = c.rrect(box, r)
    shadow_op, shadow_dy = {1: (0.38, 2.2), 2: (0.50, 2.8), 3: (0.18, 1.0)}[state]
    c.shadow(body, (20, 96, 228), shadow_op, 3.0, dy=shadow_dy)
    c.paint(fill, body)
    if state == 3:
        # pressed in: shade from the top edge
        inner = subtract(body, ImageChops.offset(body, 0, round(2.5 * SS)))
        c.paint((0, 20, 70), inner.filter(ImageFilter.GaussianBlur(2 * SS)), 0.45)
    elif gloss:
        sheen = intersect(body, c.rrect((box[0] + 3, box[1] + 1.2, box[2] - 3, box[1] + r), r - 1))
        c.paint(c.vgrad([(0, (255, 255, 255, 80)), (1, (255, 255, 255, 0))], box[1], box[1] + r),
                sheen)
    # a thin light rim along the top
    rim = subtract(body, ImageChops.offset(body, 0, round(0.8 * SS)))
    c.paint(WHITE, rim, 0.25 if state != 3 else 0.05)
    return c.result()


def art_big_buttons():
    """installBtn1..3 and experienceBtn1..3: 234 x 50 pills without text (the window
    writes its white text on them)."""
    out = {}
    install = {1: ((58, 146, 255), (20, 102, 240)), 2: ((96, 170, 255), (44, 126, 250)),
               3: ((18, 88, 210), (20, 82, 190))}
    experience = {1: ((38, 134, 255), (86, 88, 240)), 2: ((80, 160, 255), (120, 118, 250)),
                  3: ((20, 90, 214), (64, 60, 200))}
    for state in (1, 2, 3):
        top, bottom = install[state]
        c = Canvas(234, 50)
        out['mainWnd/installBtn%d.png' % state] = _pill_button(
            234, 50, c.vgrad([(0, top + (255,)), (1, bottom + (255,))], 3, 45), state)
        left, right = experience[state]
        out['mainWnd/experienceBtn%d.png' % state] = _pill_button(
            234, 50, c.hgrad([(0, left + (255,)), (1, right + (255,))], 5, 229), state)
    return out


def art_back_button():
    """backBtn1..3: 64 x 30, a translucent pill with a back arrow, on the caption band."""
    out = {}
    for state in (1, 2, 3):
        c = Canvas(64, 30)
        pill = c.rrect((1, 1, 63, 29), 14)
        ring = subtract(pill, c.rrect((2, 2, 62, 28), 13))
        if state == 3:
            c.paint((0, 22, 64), pill, 0.30)
        else:
            c.paint(WHITE, pill, (0.10, 0.22)[state - 1])
        c.paint(WHITE, ring, (0.35, 0.55, 0.25)[state - 1])
        op = (0.90, 1.0, 0.80)[state - 1]
        dx = 0.5 if state == 3 else 0
        c.paint(WHITE, c.stroke([(25 + dx, 15), (40 + dx, 15)], 2.0), op)
        c.paint(WHITE, c.stroke([(30.5 + dx, 9.5), (25 + dx, 15), (30.5 + dx, 20.5)], 2.0), op)
        out['mainWnd/backBtn%d.png' % state] = c.result()
    return out


def art_checkboxes():
    """Cb1 (clear) and Cb2 (ticked): 15 x 14."""
    box = (1.0, 0.5, 14.0, 13.5)
    c = Canvas(15, 14)
    outer = c.rrect(box, 3)
    c.paint((184, 192, 208), outer)
    inner = c.rrect((box[0] + 1, box[1] + 1, box[2] - 1, box[3] - 1), 2.2)
    c.paint(c.vgrad([(0, (255, 255, 255, 255)), (1, (240, 243, 248, 255))]), inner)
    clear = c.result()
    c = Canvas(15, 14)
    outer = c.rrect(box, 3)
    c.paint(c.vgrad([(0, (58, 146, 255, 255)), (1, (20, 100, 236, 255))]), outer)
    c.paint(WHITE, c.stroke([(4.3, 7.2), (6.7, 9.6), (11.0, 4.6)], 1.7))
    return {'mainWnd/Cb1.png': clear, 'mainWnd/Cb2.png': c.result()}


def art_custom_arrow():
    """customeBtn1 (normal) and customeBtn2 (hot): 16 x 16 chevrons, palette PNGs.
    The hot one is darker, like the link text, and leans one pixel forward."""
    out = {}
    for state, colour, dx in ((1, SLATE, 0.0), (2, (40, 42, 67), 1.0)):
        c = Canvas(16, 16)
        c.paint(colour, c.stroke([(6 + dx, 4.5), (9.5 + dx, 8), (6 + dx, 11.5)], 1.6))
        out['mainWnd/customeBtn%d.png' % state] = to_palette(c.result())
    return out


def art_change_dir_button():
    """chDirBtn1..3: 80 x 40, the blue button beside the folder box."""
    out = {}
    looks = {1: ((52, 140, 255), (22, 106, 244)), 2: ((96, 170, 255), (52, 132, 252)),
             3: ((18, 90, 212), (20, 84, 196))}
    for state, (top, bottom) in looks.items():
        c = Canvas(80, 40)
        body = c.rrect((0.5, 0.5, 79.5, 39.5), 4)
        c.paint(c.vgrad([(0, top + (255,)), (1, bottom + (255,))]), body)
        if state == 3:
            inner = subtract(body, ImageChops.offset(body, 0, round(2 * SS)))
            c.paint((0, 20, 70), inner.filter(ImageFilter.GaussianBlur(2 * SS)), 0.4)
        else:
            c.paint(c.vgrad([(0, (255, 255, 255, 56)), (1, (255, 255, 255, 0))], 0.5, 20),
                    intersect(body, c.rrect((0.5, 0.5, 79.5, 20), 4)))
        out['mainWnd/chDirBtn%d.png' % state] = c.result()
    return out


def art_dir_edit():
    """installDirEdit: 340 x 36, a rounded frame with a light fill."""
    c = Canvas(340, 36)
    outer = c.rrect((0.5, 0.5, 339.5, 35.5), 4)
    c.paint((208, 215, 228), outer)
    inner = c.rrect((1.5, 1.5, 338.5, 34.5), 3.2)
    c.paint((248, 250, 253), inner)
    # a faint inner shade along the top edge
    top = subtract(inner, ImageChops.offset(inner, 0, round(1.5 * SS)))
    c.paint(INDIGO, top.filter(ImageFilter.GaussianBlur(1.5 * SS)), 0.10)
    return {'mainWnd/installDirEdit.png': c.result()}


def art_progress():
    """installPrg1 (track, 410 x 8) and installPrg2 (fill, 305 x 8). The bar draws
    them in nine parts with 2-pixel corners, so the rounding stays within 2 pixels."""
    c = Canvas(410, 8)
    track = c.rrect((0, 0, 410, 8), 2)
    c.paint(c.vgrad([(0, (216, 224, 237, 255)), (1, (230, 236, 245, 255))]), track)
    c.paint(INDIGO, subtract(track, ImageChops.offset(track, 0, SS)), 0.06)
    out = {'mainWnd/installPrg1.png': c.result()}
    c = Canvas(305, 8)
    fill = c.rrect((0, 0, 305, 8), 2)
    c.paint(c.hgrad([(0, (70, 160, 255, 255)), (0.6, (30, 112, 250, 255)),
                     (1, (24, 92, 232, 255))]), fill)
    c.paint(c.vgrad([(0, (255, 255, 255, 90)), (0.5, (255, 255, 255, 0)),
                     (1, (0, 30, 90, 30))]), fill)
    out['mainWnd/installPrg2.png'] = c.result()
    return out


def art_tip():
    """tipLbl: 120 x 36, a speech bubble pointing down at the terms check box."""
    c = Canvas(120, 36)
    body = c.rrect((1, 1, 119, 28.5), 5)
    tail = c.polygon([(11, 27), (21, 27), (13.5, 34.5)])
    bubble = ImageChops.lighter(body, tail)
    c.shadow(bubble, INDIGO, 0.18, 1.2, dy=0.8)
    c.paint((255, 196, 110), bubble)
    inner = ImageChops.lighter(c.rrect((2, 2, 118, 27.5), 4),
                               c.polygon([(12.6, 26), (19.4, 26), (13.8, 32.4)]))
    c.paint((255, 248, 234), inner)
    # a small warning disc and the hint
    c.paint(ORANGE, c.circle(11.5, 14.5, 5.5))
    c.paint(WHITE, c.stroke([(11.5, 11.6), (11.5, 15.0)], 1.4))
    c.paint(WHITE, c.circle(11.5, 17.4, 0.85))
    c.paint((122, 72, 0), c.text_mask('Accept the terms', FONT_BOOK, 10, 64.5, 14.5))
    return {'mainWnd/tipLbl.png': c.result()}


def art_finished():
    """finished: 40 x 40, a white tick in a blue disc with a soft halo."""
    c = Canvas(40, 40)
    c.paint(BLUE, c.circle(20, 20, 19.5), 0.14)
    disc = c.circle(20, 20, 15.5)
    c.paint(c.vgrad([(0, (64, 150, 255, 255)), (1, (18, 96, 232, 255))], 4.5, 35.5), disc)
    c.paint(c.vgrad([(0, (255, 255, 255, 60)), (1, (255, 255, 255, 0))], 4.5, 20),
            intersect(disc, c.circle(20, 11, 13)))
    c.paint(WHITE, c.stroke([(12.8, 20.4), (17.8, 25.2), (27.2, 15.2)], 2.8))
    return {'mainWnd/finished.png': c.result()}


def art_prompt_icons():
    """icoWarn, icoNetwork, icoQuest: 40 x 40, each in a tinted disc."""
    out = {}
    # already installed: amber warning triangle
    c = Canvas(40, 40)
    c.paint((255, 239, 214), c.circle(20, 20, 20))
    tri = c.stroke([(20, 9.5), (30.5, 28), (9.5, 28), (20, 9.5)], 3.6)
    tri = ImageChops.lighter(tri, c.polygon([(20, 9.5), (30.5, 28), (9.5, 28)]))
    c.paint(c.vgrad([(0, (255, 182, 64, 255)), (1, (250, 130, 10, 255))], 8, 30), tri)
    c.paint(WHITE, c.stroke([(20, 15.6), (20, 22.0)], 2.3))
    c.paint(WHITE, c.circle(20, 25.6, 1.35))
    out['MessageBoxWnd/icoWarn.png'] = c.result()
    # network: a weak signal with an alert badge
    c = Canvas(40, 40)
    c.paint((228, 239, 255), c.circle(20, 20, 20))
    cx, cy = 19, 27.5
    c.paint(BLUE, c.circle(cx, cy, 2.3))
    c.paint(BLUE, c.arc(cx, cy, 7.0, 225, 315, 2.6))
    c.paint((150, 188, 246), c.arc(cx, cy, 12.0, 225, 315, 2.6))
    c.paint((190, 212, 248), c.arc(cx, cy, 17.0, 230, 310, 2.6))
    badge = c.circle(28.5, 27.5, 6.2)
    c.paint((228, 239, 255), c.circle(28.5, 27.5, 7.6))
    c.paint(c.vgrad([(0, (255, 178, 60, 255)), (1, (248, 128, 8, 255))], 21, 34), badge)
    c.paint(WHITE, c.stroke([(28.5, 24.2), (28.5, 28.2)], 1.7))
    c.paint(WHITE, c.circle(28.5, 30.9, 1.0))
    out['MessageBoxWnd/icoNetwork.png'] = c.result()
    # exit question: a question mark in a blue disc
    c = Canvas(40, 40)
    c.paint((228, 239, 255), c.circle(20, 20, 20))
    disc = c.circle(20, 20, 13)
    c.paint(c.vgrad([(0, (64, 150, 255, 255)), (1, (18, 96, 232, 255))], 7, 33), disc)
    c.paint(WHITE, c.text_mask('?', FONT_BOLD, 18, 20, 20))
    out['MessageBoxWnd/icoQuest.png'] = c.result()
    return out


def _box_emblem(c, cx, cy, s, lift):
    """An open parcel with a download arrow that bobs by `lift` pixels."""
    # the parcel seen from the front: body, lid and the shade below the lid
    w, h = s, s * 0.72
    x0, y0 = cx - w / 2, cy - h / 2 + s * 0.14
    c.paint(INDIGO, c.ellipse((cx - w * 0.55, y0 + h - 3, cx + w * 0.55, y0 + h + 7)), 0.10)
    front = c.rrect((x0, y0, x0 + w, y0 + h), s * 0.08)
    c.paint(c.vgrad([(0, (70, 152, 255, 255)), (1, (24, 98, 226, 255))], y0, y0 + h), front)
    lid = c.rrect((x0 - s * 0.05, y0 - s * 0.03, x0 + w + s * 0.05, y0 + s * 0.16), s * 0.05)
    c.paint(c.vgrad([(0, (120, 182, 255, 255)), (1, (72, 150, 255, 255))],
                    y0 - s * 0.03, y0 + s * 0.16), lid)
    c.paint(INDIGO, c.rrect((x0, y0 + s * 0.16, x0 + w, y0 + s * 0.2), 0), 0.18)
    # a label slot on the front
    c.paint(WHITE, c.rrect((cx - s * 0.18, y0 + h * 0.55, cx + s * 0.18, y0 + h * 0.67),
                           s * 0.04), 0.85)
    # the arrow above the lid, coming down into the parcel
    ay = y0 - s * 0.32 + lift
    c.paint(WHITE, c.stroke([(cx, ay - s * 0.26), (cx, ay + s * 0.12)], s * 0.16))
    c.paint(WHITE, c.stroke([(cx - s * 0.17, ay - s * 0.04), (cx, ay + s * 0.14),
                             (cx + s * 0.17, ay - s * 0.04)], s * 0.16))
    c.paint(BLUE, c.stroke([(cx, ay - s * 0.26), (cx, ay + s * 0.12)], s * 0.08))
    c.paint(BLUE, c.stroke([(cx - s * 0.17, ay - s * 0.04), (cx, ay + s * 0.14),
                            (cx + s * 0.17, ay - s * 0.04)], s * 0.08))


def art_install_animation():
    """installBtnAnimate/000..025: 160 x 160, a comet arc circling a parcel once per
    loop; frame 025 runs on into frame 000."""
    out = {}
    n = 26
    cx = cy = 80
    radius, width = 62, 7
    sweep = 230  # degrees of fading tail
    for i in range(n):
        phase = 2 * math.pi * i / n
        c = Canvas(160, 160)
        # track
        c.paint((225, 234, 249), subtract(c.circle(cx, cy, radius + width / 2),
                                          c.circle(cx, cy, radius - width / 2)))
        # comet: annular sectors, head opaque, tail fading
        head = -90 + math.degrees(phase)
        layer = Image.new('RGBA', c.size, (0, 0, 0, 0))
        d = ImageDraw.Draw(layer)
        steps = 140
        ro, ri = (radius + width / 2) * SS, (radius - width / 2) * SS
        for k in range(steps):
            t0, t1 = k / steps, (k + 1.15) / steps
            a0 = math.radians(head - sweep * t0)
            a1 = math.radians(head - sweep * min(1.0, t1))
            fade = (1 - t0) ** 1.6
            col = mix((22, 110, 252), (120, 178, 255), t0) + (round(255 * fade),)
            pts = [(cx * SS + ro * math.cos(a0), cy * SS + ro * math.sin(a0)),
                   (cx * SS + ro * math.cos(a1), cy * SS + ro * math.sin(a1)),
                   (cx * SS + ri * math.cos(a1), cy * SS + ri * math.sin(a1)),
                   (cx * SS + ri * math.cos(a0), cy * SS + ri * math.sin(a0))]
            d.polygon(pts, fill=col)
        c.img = Image.alpha_composite(c.img, layer)
        hx = cx + radius * math.cos(math.radians(head))
        hy = cy + radius * math.sin(math.radians(head))
        c.shadow(c.circle(hx, hy, width / 2 + 1), BLUE, 0.45, 3.0)
        c.paint((22, 110, 252), c.circle(hx, hy, width / 2))
        c.paint(WHITE, c.circle(hx, hy, width / 2 - 2.2), 0.9)
        # soft disc behind the parcel
        c.paint((236, 243, 253), c.circle(cx, cy, 44))
        _box_emblem(c, cx, cy + 4, 44, 3.0 * math.sin(phase))
        out['mainWnd/installBtnAnimate/%03d.png' % i] = c.result()
    return out


FAMILIES = (art_backgrounds, art_logo, art_window_buttons, art_prompt_close, art_big_buttons,
            art_back_button, art_checkboxes, art_custom_arrow, art_change_dir_button,
            art_dir_edit, art_progress, art_tip, art_finished, art_prompt_icons,
            art_install_animation)

# every image of the skin: (width, height, PIL mode)
EXPECTED = {}
for _n in ('closebtn', 'minbtn', 'closebtnM_'):
    for _k in (1, 2, 3):
        EXPECTED['common/%s%d.png' % (_n, _k)] = (24, 24, 'RGBA')
for _n in ('icoWarn', 'icoNetwork', 'icoQuest'):
    EXPECTED['MessageBoxWnd/%s.png' % _n] = (40, 40, 'RGBA')
for _k in (1, 2, 3, 4):
    EXPECTED['mainWnd/bg%d.png' % _k] = (600, 400, 'RGBA')
EXPECTED['mainWnd/logo.png'] = (377, 60, 'RGBA')
for _n, _w, _h in (('installBtn', 234, 50), ('experienceBtn', 234, 50), ('backBtn', 64, 30),
                   ('chDirBtn', 80, 40)):
    for _k in (1, 2, 3):
        EXPECTED['mainWnd/%s%d.png' % (_n, _k)] = (_w, _h, 'RGBA')
for _k in (1, 2):
    EXPECTED['mainWnd/Cb%d.png' % _k] = (15, 14, 'RGBA')
    EXPECTED['mainWnd/customeBtn%d.png' % _k] = (16, 16, 'P')
EXPECTED['mainWnd/installDirEdit.png'] = (340, 36, 'RGBA')
EXPECTED['mainWnd/installPrg1.png'] = (410, 8, 'RGBA')
EXPECTED['mainWnd/installPrg2.png'] = (305, 8, 'RGBA')
EXPECTED['mainWnd/tipLbl.png'] = (120, 36, 'RGBA')
EXPECTED['mainWnd/finished.png'] = (40, 40, 'RGBA')
for _k in range(26):
    EXPECTED['mainWnd/installBtnAnimate/%03d.png' % _k] = (160, 160, 'RGBA')


def main():
    ap = argparse.ArgumentParser(description='Draw the installer skin images.')
    ap.add_argument('--out', default=DEFAULT_OUT,
                    help='output folder (default: skin/data/res of this repo)')
    args = ap.parse_args()
    check_fonts()
    images = {}
    for family in FAMILIES:
        images.update(family())
    if set(images) != set(EXPECTED):
        sys.exit('gen_skin_art: drawn %s, expected %s' % (
            sorted(set(images) - set(EXPECTED)), sorted(set(EXPECTED) - set(images))))
    for rel in sorted(images):
        img = images[rel]
        w, h, mode = EXPECTED[rel]
        if img.size != (w, h) or img.mode != mode:
            sys.exit('gen_skin_art: %s is %s %s, wants %dx%d %s' % (rel, img.size, img.mode,
                                                                    w, h, mode))
        path = os.path.join(args.out, *rel.split('/'))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        if mode == 'P':
            img.save(path, format='PNG', optimize=False, compress_level=9,
                     transparency=img.info['transparency'])
        else:
            img.save(path, format='PNG', optimize=False, compress_level=9)
    print('gen_skin_art: wrote %d images to %s' % (len(images), args.out))


if __name__ == '__main__':
    main()
