#!/usr/bin/env python3
"""Writes the game's pictures as SVG files: the four table surfaces, the
thinking figure for dialogs, the suit symbols, the sad face, the pay-the-pot
button face, the program icon and the help panel's picture.

Run: python3 make_pictures.py [output folder]. Deterministic (fixed seeds),
standard library only. The drawings keep to what QtSvg renders (SVG Tiny:
no filters, no patterns), so textures are built from many faint shapes, and
gradients use absolute coordinates (QtSvg draws bounding-box radial
gradients in their last colour only).
"""

import math
import os
import random
import sys

RED = '#c81d32'
BLACK = '#1b1b1f'
FONT = "font-family=\"Liberation Sans, DejaVu Sans, Arial, sans-serif\""

# Suit outlines in a 100 x 100 box, shared by the icons and the small cards
# drawn in the program icon and the help picture. The card faces use the
# suit icons themselves, so every suit symbol in the game has one shape.
SUIT_SHAPES = {
    'club': ('<circle cx="50" cy="27" r="21"/><circle cx="27" cy="58" r="21"/>'
             '<circle cx="73" cy="58" r="21"/>'
             '<path d="M40,40 L60,40 L64,64 L36,64 Z"/>'
             '<path d="M46.5,58 C46,76 41,88 31,97 L69,97 C59,88 54,76 53.5,58 Z"/>'),
    'diamond': '<path d="M50,2 Q65,30 88,50 Q65,70 50,98 Q35,70 12,50 Q35,30 50,2 Z"/>',
    'heart': ('<path d="M50,95 C38,80 4,58 4,31 C4,14 16,4 30,4 C40,4 47,10 50,19 '
              'C53,10 60,4 70,4 C84,4 96,14 96,31 C96,58 62,80 50,95 Z"/>'),
    'spade': ('<path d="M50,3 C60,22 96,40 96,63 C96,77 86,85 74,85 C65,85 58,80 54,73 '
              'C55,84 60,92 68,97 L32,97 C40,92 45,84 46,73 C42,80 35,85 26,85 '
              'C14,85 4,77 4,63 C4,40 40,22 50,3 Z"/>'),
}
SUIT_ORDER = ('club', 'diamond', 'heart', 'spade')
SUIT_COLOUR = {'club': BLACK, 'diamond': RED, 'heart': RED, 'spade': BLACK}


def svg(width, height, body, view=None):
    view = view or '0 0 %g %g' % (width, height)
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" '
            'version="1.2" baseProfile="tiny" width="%g" height="%g" viewBox="%s">\n%s\n</svg>\n'
            % (width, height, view, body))


def suit(name, x, y, size, colour=None, rotate=0):
    """A suit symbol with its 100-unit box scaled to size and its top-left at x, y."""
    s = size / 100.0
    transform = 'translate(%.2f,%.2f) scale(%.4f)' % (x, y, s)
    if rotate:
        transform = ('translate(%.2f,%.2f) rotate(%g) translate(%.2f,%.2f) scale(%.4f)'
                     % (x + size / 2, y + size / 2, rotate, -size / 2, -size / 2, s))
    return '<g transform="%s" fill="%s">%s</g>' % (transform, colour or SUIT_COLOUR[name],
                                                    SUIT_SHAPES[name])


def small_card(x, y, w, h, rank, suit_name, angle=0.0, shadow=True):
    """A simple card face (index and one big pip) for the decorative pictures."""
    colour = SUIT_COLOUR[suit_name]
    r = w * 0.08
    parts = []
    if shadow:
        parts.append('<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" rx="%.1f" '
                     'fill="#000000" fill-opacity="0.28"/>' % (w * 0.03, h * 0.03, w, h, r))
    parts.append('<rect x="0" y="0" width="%.1f" height="%.1f" rx="%.1f" fill="#ffffff" '
                 'stroke="#5c5c5c" stroke-width="%.2f"/>' % (w, h, r, max(0.6, w * 0.012)))
    fs = h * 0.17
    parts.append('<text x="%.1f" y="%.1f" font-size="%.1f" font-weight="bold" fill="%s" %s>%s'
                 '</text>' % (w * 0.07, h * 0.04 + fs * 0.85, fs, colour, FONT, rank))
    parts.append(suit(suit_name, w * 0.08 + fs * 0.6 * len(rank), h * 0.06, fs * 0.75))
    parts.append(suit(suit_name, w * 0.2, h * 0.3, w * 0.6))
    return ('<g transform="translate(%.1f,%.1f) rotate(%g)">%s</g>'
            % (x, y, angle, ''.join(parts)))


# --- table surfaces (642 x 446, the table's proportions) --------------------

W, H = 642, 446


def felt(rng, light, mid, dark, fleck_light, fleck_dark, extra=''):
    body = ['<defs><radialGradient id="base" gradientUnits="userSpaceOnUse" cx="321" cy="200" '
            'r="420">'
            '<stop offset="0" stop-color="%s"/><stop offset="0.55" stop-color="%s"/>'
            '<stop offset="1" stop-color="%s"/></radialGradient>'
            '<radialGradient id="vignette" gradientUnits="userSpaceOnUse" cx="321" cy="223" '
            'r="400"><stop offset="0.6" stop-color="#000000" stop-opacity="0"/>'
            '<stop offset="1" stop-color="#000000" stop-opacity="0.3"/></radialGradient>'
            '</defs>' % (light, mid, dark),
            '<rect width="%d" height="%d" fill="url(#base)"/>' % (W, H)]
    # The nap of the cloth: many tiny light and dark flecks.
    for colour, count in ((fleck_light, 700), (fleck_dark, 700)):
        flecks = []
        for _ in range(count):
            flecks.append('<circle cx="%.1f" cy="%.1f" r="%.1f"/>'
                          % (rng.uniform(0, W), rng.uniform(0, H), rng.uniform(0.5, 1.3)))
        body.append('<g fill="%s" fill-opacity="0.09">%s</g>' % (colour, ''.join(flecks)))
    body.append(extra)
    body.append('<rect width="%d" height="%d" fill="url(#vignette)"/>' % (W, H))
    return svg(W, H, '\n'.join(body))


def background_100(rng):
    # Green baize with a faint printed oval round the playing area.
    extra = ('<ellipse cx="321" cy="200" rx="215" ry="175" fill="none" stroke="#e8f5d0" '
             'stroke-opacity="0.10" stroke-width="3"/>'
             '<ellipse cx="321" cy="200" rx="207" ry="167" fill="none" stroke="#e8f5d0" '
             'stroke-opacity="0.06" stroke-width="1.2"/>')
    return felt(rng, '#48ab64', '#318a4c', '#175a30', '#d8f0c8', '#062a12', extra)


def background_200(rng):
    # Blue cloth with a faint diamond lattice.
    lines = []
    step = 48
    for k in range(-10, 24):
        x = k * step
        lines.append('<line x1="%d" y1="0" x2="%d" y2="%d"/>' % (x, x + H, H))
        lines.append('<line x1="%d" y1="0" x2="%d" y2="%d"/>' % (x, x - H, H))
    extra = ('<g stroke="#cfe2ff" stroke-opacity="0.06" stroke-width="1">%s</g>'
             % ''.join(lines))
    return felt(rng, '#3a72b8', '#255594', '#0f2d5c', '#d6e6ff', '#04142e', extra)


def background_300(rng):
    # A polished wooden table top: planks with grain and a few knots.
    body = ['<defs><linearGradient id="wood" gradientUnits="userSpaceOnUse" x1="0" y1="0" '
            'x2="0" y2="446">'
            '<stop offset="0" stop-color="#9a6434"/><stop offset="0.5" stop-color="#7d4c24"/>'
            '<stop offset="1" stop-color="#5e3618"/></linearGradient>'
            '<radialGradient id="shine" gradientUnits="userSpaceOnUse" cx="289" cy="156" '
            'r="450">'
            '<stop offset="0" stop-color="#ffe2b8" stop-opacity="0.22"/>'
            '<stop offset="1" stop-color="#ffe2b8" stop-opacity="0"/></radialGradient>'
            '<radialGradient id="vignette" gradientUnits="userSpaceOnUse" cx="321" cy="223" '
            'r="400"><stop offset="0.6" stop-color="#000000" stop-opacity="0"/>'
            '<stop offset="1" stop-color="#000000" stop-opacity="0.35"/></radialGradient>'
            '</defs>',
            '<rect width="%d" height="%d" fill="url(#wood)"/>' % (W, H)]
    plank = H / 6.0
    tones = ('#a36c3a', '#8c5a2c', '#96622f', '#7f5027', '#9c6736', '#885629')
    for i in range(6):
        y0 = i * plank
        body.append('<rect x="0" y="%.1f" width="%d" height="%.1f" fill="%s" fill-opacity="0.55"/>'
                    % (y0, W, plank, tones[i]))
        grain = []
        for _ in range(16):
            y = y0 + rng.uniform(3, plank - 3)
            amp = rng.uniform(1.0, 4.0)
            d = ['M0,%.1f' % y]
            x = 0.0
            while x < W:
                seg = rng.uniform(60, 140)
                d.append('C%.1f,%.1f %.1f,%.1f %.1f,%.1f'
                         % (x + seg / 3, y - amp, x + 2 * seg / 3, y + amp, x + seg,
                            y + rng.uniform(-1.5, 1.5)))
                x += seg
            grain.append('<path d="%s" stroke-width="%.1f"/>' % (' '.join(d),
                                                                 rng.uniform(0.6, 1.6)))
        body.append('<g fill="none" stroke="#3d210c" stroke-opacity="0.22">%s</g>'
                    % ''.join(grain))
        # Plank ends, staggered.
        x_end = rng.uniform(120, 520)
        body.append('<line x1="%.1f" y1="%.1f" x2="%.1f" y2="%.1f" stroke="#2e1806" '
                    'stroke-opacity="0.45" stroke-width="1.4"/>'
                    % (x_end, y0, x_end, y0 + plank))
        body.append('<line x1="0" y1="%.1f" x2="%d" y2="%.1f" stroke="#2a1504" '
                    'stroke-opacity="0.6" stroke-width="1.6"/>' % (y0, W, y0))
        body.append('<line x1="0" y1="%.1f" x2="%d" y2="%.1f" stroke="#ffd9a8" '
                    'stroke-opacity="0.12" stroke-width="1"/>' % (y0 + 1.6, W, y0 + 1.6))
    for _ in range(4):
        cx, cy = rng.uniform(40, W - 40), rng.uniform(20, H - 20)
        rings = ''.join('<ellipse cx="%.1f" cy="%.1f" rx="%.1f" ry="%.1f"/>'
                        % (cx, cy, 3 + 3.2 * k, 1.6 + 1.4 * k) for k in range(4))
        body.append('<g fill="none" stroke="#3a1e08" stroke-opacity="0.3" stroke-width="1">'
                    '<ellipse cx="%.1f" cy="%.1f" rx="3" ry="1.6" fill="#3a1e08" '
                    'fill-opacity="0.5"/>%s</g>' % (cx, cy, rings))
    body.append('<rect width="%d" height="%d" fill="url(#shine)"/>' % (W, H))
    body.append('<rect width="%d" height="%d" fill="url(#vignette)"/>' % (W, H))
    return svg(W, H, '\n'.join(body))


def background_400(rng):
    # Burgundy velvet with a faint damask motif.
    motif = ('<g id="m" fill="#ffd7df" fill-opacity="0.07">'
             '<path d="M0,-14 C5,-6 5,-2 0,0 C-5,-2 -5,-6 0,-14 Z"/>'
             '<path d="M0,14 C5,6 5,2 0,0 C-5,2 -5,6 0,14 Z"/>'
             '<path d="M-14,0 C-6,5 -2,5 0,0 C-2,-5 -6,-5 -14,0 Z"/>'
             '<path d="M14,0 C6,5 2,5 0,0 C2,-5 6,-5 14,0 Z"/>'
             '<circle r="2.2"/></g>')
    uses = []
    step = 44
    for row in range(-1, H // step + 2):
        for col in range(-1, W // step + 2):
            x = col * step + (step / 2 if row % 2 else 0)
            uses.append('<use xlink:href="#m" transform="translate(%.1f,%d)"/>' % (x, row * step))
    extra = '<defs>%s</defs>%s' % (motif, ''.join(uses))
    return felt(rng, '#a3304a', '#7c1c33', '#420817', '#ffd0da', '#1c0208', extra)


# --- the thinking figure (404 x 404) ---------------------------------------

def thinking_figure(rng):
    skin, skin_dark = '#f2c9a0', '#b8835a'
    body = ['<defs><radialGradient id="bg" gradientUnits="userSpaceOnUse" cx="202" cy="162" '
            'r="283">'
            '<stop offset="0" stop-color="#fdf8e8"/><stop offset="1" stop-color="#d9e8d2"/>'
            '</radialGradient>'
            '<linearGradient id="coat" gradientUnits="userSpaceOnUse" x1="0" y1="274" x2="0" '
            'y2="404">'
            '<stop offset="0" stop-color="#2f6a3f"/><stop offset="1" stop-color="#1b4227"/>'
            '</linearGradient></defs>',
            '<rect width="404" height="404" fill="url(#bg)"/>',
            # Thought bubbles rising to a cloud holding four suits and a question mark.
            '<g fill="#ffffff" stroke="#8a8a8a" stroke-width="2">'
            '<circle cx="232" cy="150" r="7"/><circle cx="252" cy="124" r="11"/>'
            '<path d="M250,96 C232,92 230,60 254,56 C254,30 292,22 306,40 C318,22 358,26 '
            '360,50 C386,50 392,86 370,96 C378,116 350,126 334,114 C322,130 286,130 280,114 '
            'C262,122 240,114 250,96 Z"/></g>',
            suit('club', 262, 54, 22), suit('diamond', 290, 48, 22), suit('heart', 318, 54, 22),
            suit('spade', 346, 64, 20),
            '<text x="300" y="112" font-size="34" font-weight="bold" fill="#2b5d9c" %s>?</text>'
            % FONT,
            # Shoulders and coat.
            '<path d="M70,404 C70,318 108,282 168,274 L232,274 C290,282 330,318 330,404 Z" '
            'fill="url(#coat)" stroke="#13301c" stroke-width="3"/>',
            '<path d="M168,274 L200,330 L232,274 Z" fill="#f4f0e6" stroke="#13301c" '
            'stroke-width="2"/>',
            '<path d="M190,300 L200,318 L210,300 L204,292 L196,292 Z" fill="#b3202f"/>',
            # Neck and head.
            '<path d="M180,240 L180,282 L220,282 L220,240 Z" fill="%s"/>' % skin_dark,
            '<ellipse cx="200" cy="190" rx="58" ry="68" fill="%s" stroke="%s" stroke-width="3"/>'
            % (skin, skin_dark),
            '<ellipse cx="141" cy="196" rx="9" ry="15" fill="%s" stroke="%s" stroke-width="2"/>'
            % (skin, skin_dark),
            # Hair.
            '<path d="M142,178 C136,120 180,106 206,112 C240,110 266,130 258,180 C252,150 236,140 '
            '212,140 C190,146 164,140 150,160 Z" fill="#5a3a22"/>',
            # Eyes glancing up at the thought, brows raised.
            '<ellipse cx="180" cy="186" rx="9" ry="7" fill="#ffffff" stroke="#3b2a1c" '
            'stroke-width="1.5"/><ellipse cx="222" cy="186" rx="9" ry="7" fill="#ffffff" '
            'stroke="#3b2a1c" stroke-width="1.5"/>',
            '<circle cx="184" cy="183" r="4" fill="#2b1d12"/><circle cx="226" cy="183" r="4" '
            'fill="#2b1d12"/>',
            '<path d="M168,170 Q180,162 192,168" fill="none" stroke="#5a3a22" stroke-width="3"/>'
            '<path d="M210,166 Q224,158 236,166" fill="none" stroke="#5a3a22" stroke-width="3"/>',
            '<path d="M200,192 Q196,210 204,214" fill="none" stroke="%s" stroke-width="2.5"/>'
            % skin_dark,
            '<path d="M188,232 Q202,228 214,234" fill="none" stroke="#8a4a32" stroke-width="3"/>',
            # The hand at the chin, and its arm coming up from the coat.
            '<path d="M250,404 C252,330 250,300 236,270 L206,262 C224,300 226,340 214,404 Z" '
            'fill="url(#coat)" stroke="#13301c" stroke-width="3"/>',
            '<path d="M204,268 C196,258 198,242 210,238 L236,240 C246,246 246,262 238,272 Z" '
            'fill="%s" stroke="%s" stroke-width="2.5"/>' % (skin, skin_dark),
            '<path d="M208,246 C200,244 194,250 200,256" fill="none" stroke="%s" '
            'stroke-width="2"/>' % skin_dark,
            '<path d="M214,238 C214,226 222,224 224,238" fill="%s" stroke="%s" '
            'stroke-width="2"/>' % (skin, skin_dark),
            ]
    return svg(404, 404, '\n'.join(body))


# --- icons -----------------------------------------------------------------

def suit_icon(name):
    # A thin light rim keeps the black suits visible on dark backgrounds.
    return svg(32, 32, '<g transform="translate(2,2) scale(0.28)" fill="%s" stroke="#ffffff" '
                       'stroke-width="3" stroke-opacity="0.6">%s</g>'
               % (SUIT_COLOUR[name], SUIT_SHAPES[name]))


def sad_face():
    return svg(32, 32, '\n'.join([
        '<defs><radialGradient id="f" gradientUnits="userSpaceOnUse" cx="12.5" cy="11" '
        'r="20">'
        '<stop offset="0" stop-color="#fff27a"/><stop offset="1" stop-color="#f0b400"/>'
        '</radialGradient></defs>',
        '<circle cx="16" cy="16" r="14.5" fill="url(#f)" stroke="#8a5a00" stroke-width="1.2"/>',
        '<path d="M8.5,11.5 Q10.5,9.6 13,9" stroke="#4a3000" stroke-width="1.2" fill="none" '
        'stroke-linecap="round"/>',
        '<path d="M23.5,11.5 Q21.5,9.6 19,9" stroke="#4a3000" stroke-width="1.2" fill="none" '
        'stroke-linecap="round"/>',
        '<ellipse cx="11.5" cy="14.5" rx="1.7" ry="2.2" fill="#3a2400"/>',
        '<ellipse cx="20.5" cy="14.5" rx="1.7" ry="2.2" fill="#3a2400"/>',
        '<path d="M9.5,24.5 Q16,18.5 22.5,24.5" stroke="#3a2400" stroke-width="1.8" '
        'fill="none" stroke-linecap="round"/>',
        '<path d="M21.8,17 Q20.2,20.2 21.8,21.6 Q23.4,20.2 21.8,17 Z" fill="#3d8fe0" '
        'stroke="#1f5fa8" stroke-width="0.5"/>',
    ]))


def pay_pot_button():
    coins = []
    for k in range(4):
        y = 29 - k * 5
        coins.append('<ellipse cx="17" cy="%d" rx="11" ry="4" fill="#d9a520" stroke="#7a5200" '
                     'stroke-width="1"/>' % (y + 1.5))
        coins.append('<rect x="6" y="%d" width="22" height="2" fill="#d9a520"/>' % (y - 0.5))
        coins.append('<ellipse cx="17" cy="%d" rx="11" ry="4" fill="#f7d354" stroke="#7a5200" '
                     'stroke-width="1"/>' % y)
    coins.append('<text x="17" y="16.5" font-size="6" font-weight="bold" fill="#7a5200" '
                 'text-anchor="middle" %s>$</text>' % FONT)
    return svg(94, 38, '\n'.join([
        '<defs><linearGradient id="g" gradientUnits="userSpaceOnUse" x1="0" y1="0" x2="0" '
        'y2="38">'
        '<stop offset="0" stop-color="#fff8dc"/><stop offset="1" stop-color="#e7d9a8"/>'
        '</linearGradient></defs>',
        '<rect x="0.5" y="0.5" width="93" height="37" rx="5" fill="url(#g)" stroke="#8a6d1e" '
        'stroke-width="1"/>',
        ''.join(coins),
        '<text x="62" y="16" font-size="11" font-weight="bold" fill="#5a2a00" '
        'text-anchor="middle" %s>Pay the</text>' % FONT,
        '<text x="62" y="32" font-size="15" font-weight="bold" fill="#8a1020" '
        'text-anchor="middle" %s>POT</text>' % FONT,
    ]))


def program_icon():
    return svg(256, 256, '\n'.join([
        '<defs><radialGradient id="felt" gradientUnits="userSpaceOnUse" cx="128" cy="102" '
        'r="190">'
        '<stop offset="0" stop-color="#3c9a57"/><stop offset="1" stop-color="#145229"/>'
        '</radialGradient></defs>',
        '<rect x="8" y="8" width="240" height="240" rx="44" fill="url(#felt)" '
        'stroke="#0c3519" stroke-width="6"/>',
        small_card(46, 64, 96, 136, '7', 'club', -20),
        small_card(92, 44, 96, 136, '7', 'spade', -4),
        small_card(124, 56, 96, 136, '7', 'heart', 14),
    ]))


def help_picture():
    # The four sevens that open the four rows, fanned out.
    cards = [small_card(14 + 40 * i, 30 - (6 if i in (1, 2) else 0), 60, 84, '7', name,
                        -12 + 8 * i) for i, name in enumerate(SUIT_ORDER)]
    return svg(200, 130, '\n'.join(cards))


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    files = {
        'background_100.svg': background_100(random.Random(100)),
        'background_200.svg': background_200(random.Random(200)),
        'background_300.svg': background_300(random.Random(300)),
        'background_400.svg': background_400(random.Random(400)),
        'bitmap_101.svg': thinking_figure(random.Random(101)),
        'sad_face.svg': sad_face(),
        'pay_pot.svg': pay_pot_button(),
        'corvane.svg': program_icon(),
        'help.svg': help_picture(),
    }
    for i, name in enumerate(SUIT_ORDER):
        files['suit_%d.svg' % (100 + i)] = suit_icon(name)
    for name, text in files.items():
        path = os.path.join(folder, name)
        with open(path, 'w', encoding='utf-8') as out:
            out.write(text)
        print('%s  %d bytes' % (path, len(text)))


if __name__ == '__main__':
    main()
