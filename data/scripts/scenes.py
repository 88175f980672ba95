"""Seasonal scenes, one per month, drawn into a box of any size.

scene(svg, month, w, h, variant, seed) returns SVG text for a picture that
fills (0, 0)-(w, h); the caller places and clips it. variant 0 is the
month's main scene and 1 its second half (a change of light or of motif),
so the day pages can follow the solar terms through the month.
"""

import math

import lumiart as L
from lumiart import circle, ellipse, group, path, rect, fmt

# Sky gradients (top, bottom) and the month's accent, by month.
SKIES = {
    1: ("#a9d4f5", "#ffe3e8"), 2: ("#bfe0f7", "#fff1f4"), 3: ("#bde8f2", "#f9f7dc"),
    4: ("#bfe3fb", "#fff0f5"), 5: ("#8fd0f7", "#e4f7ff"), 6: ("#b7c8e0", "#e8eef6"),
    7: ("#6cc6f0", "#d9f5ff"), 8: ("#68bdf2", "#fff3c9"), 9: ("#253066", "#6b5f9e"),
    10: ("#ffd8a8", "#fff2df"), 11: ("#f9d9a6", "#fff6e3"), 12: ("#1f2a5c", "#4d5a94"),
}


def _sky(svg, month, w, h, variant):
    top, bottom = SKIES[month]
    if variant == 1 and month in (1, 2, 3, 4, 5, 8, 10, 11):
        # the second half of the month gets a warmer late-afternoon light
        bottom = {1: "#ffd6c2", 2: "#ffe0d0", 3: "#ffe9c9", 4: "#ffe2e2", 5: "#fff0c8",
                  8: "#ffd9a8", 10: "#ffc9a0", 11: "#ffd3a3"}[month]
    return rect(0, 0, w, h, 0, fill=svg.linear([(0, top), (1, bottom)]))


def scene(svg, month, w, h, variant=0, seed=0):
    draw = [None, _jan, _feb, _mar, _apr, _may, _jun, _jul, _aug, _sep, _oct, _nov, _dec][month]
    return group([_sky(svg, month, w, h, variant)] + draw(svg, w, h, variant, L.Rng(seed * 31 + month)))


def _ground(svg, w, h, top, bottom, y):
    return path(f"M0 {fmt(y + 6)} Q{fmt(w * 0.3)} {fmt(y - 6)} {fmt(w * 0.6)} {fmt(y + 2)} "
                f"T{fmt(w)} {fmt(y - 2)} L{fmt(w)} {fmt(h)} L0 {fmt(h)} Z",
                fill=svg.linear([(0, top), (1, bottom)]))


def _jan(svg, w, h, v, rng):
    s = h / 100
    out = [L.sun(svg, w * 0.72, h * 0.4, 9 * s, "#ffb37a", "#ffe0c0")]
    out += L.hills(svg, w, h * 0.72, [(18 * s, "#e8f1fb", "#cfe0f2"), (10 * s, "#ffffff", "#e6eef8")], 1)
    out.append(L.pine(w * 0.14, h * 0.8, 34 * s, snow=True))
    out.append(L.pine(w * 0.28, h * 0.78, 24 * s, snow=True))
    out.append(L.pine(w * 0.9, h * 0.76, 20 * s, snow=True))
    out.append(_ground(svg, w, h, "#ffffff", "#e3ecf7", h * 0.84))
    # a snow bunny by the trees, then Lumi greeting the new year
    bx, by = w * 0.55, h * 0.86
    out.append(ellipse(bx, by, 9 * s, 5.5 * s, fill="#ffffff", stroke="#d8e2ef", stroke_width=0.6 * s))
    out.append(ellipse(bx - 3 * s, by - 4.5 * s, 1.6 * s, 4 * s, fill="#7cc47f"))
    out.append(ellipse(bx + 1 * s, by - 4.5 * s, 1.6 * s, 4 * s, fill="#7cc47f"))
    out.append(circle(bx - 4 * s, by - 0.5 * s, 1 * s, fill="#e0566a"))
    out.append(circle(bx - 6.5 * s, by - 0.5 * s, 1 * s, fill="#e0566a"))
    if v == 0:
        out.append(L.mascot(svg, w * 0.4, h * 0.3, 9 * s, mood="open"))
    out.append(L.snow_dots(rng.next() * 1000, 26, 0, 0, w, h * 0.8, 0.6 * s, 1.6 * s))
    return out


def _feb(svg, w, h, v, rng):
    s = h / 100
    out = L.hills(svg, w, h * 0.8, [(16 * s, "#eef5fb", "#d8e6f3")], 2)
    out.append(_ground(svg, w, h, "#ffffff", "#e5eef7", h * 0.82))
    # a snowman with a red scarf
    x, y = w * 0.7, h * 0.88
    out.append(ellipse(x, y + 1 * s, 14 * s, 3 * s, fill="#c9d8ea", opacity=0.7))
    out.append(circle(x, y - 9 * s, 11 * s, fill="#ffffff", stroke="#dce6f2", stroke_width=0.6 * s))
    out.append(circle(x, y - 25 * s, 7.5 * s, fill="#ffffff", stroke="#dce6f2", stroke_width=0.6 * s))
    out.append(rect(x - 8 * s, y - 19.5 * s, 16 * s, 3.2 * s, 1.5 * s, fill="#e8546a"))
    out.append(rect(x + 2 * s, y - 19 * s, 3.2 * s, 8 * s, 1.5 * s, fill="#d84a60"))
    out.append(circle(x - 2.5 * s, y - 26.5 * s, 0.9 * s, fill=L.INK))
    out.append(circle(x + 2.5 * s, y - 26.5 * s, 0.9 * s, fill=L.INK))
    out.append(path(f"M{fmt(x)} {fmt(y - 24.5 * s)} l{fmt(5 * s)} {fmt(1 * s)} l{fmt(-5 * s)} {fmt(1 * s)}Z",
                    fill="#ff9b45"))
    # a red plum branch reaching in from the left
    bx = 0
    out.append(path(f"M{fmt(bx)} {fmt(h * 0.28)} Q{fmt(w * 0.25)} {fmt(h * 0.2)} {fmt(w * 0.42)} {fmt(h * 0.34)} "
                    f"M{fmt(w * 0.2)} {fmt(h * 0.24)} Q{fmt(w * 0.28)} {fmt(h * 0.42)} {fmt(w * 0.3)} {fmt(h * 0.52)}",
                    stroke="#6b4a3a", stroke_width=2.2 * s, fill="none", stroke_linecap="round"))
    for fx, fy, r in ((0.1, 0.24, 5), (0.22, 0.2, 4.5), (0.33, 0.27, 5.5), (0.41, 0.34, 4),
                      (0.26, 0.38, 4.5), (0.3, 0.5, 4), (0.16, 0.3, 3)):
        out.append(L.blossom(w * fx, h * fy, r * s, "#ff7d9a" if v == 0 else "#ffb0c4", "#ffe08a",
                             rotation=rng.between(0, 70)))
    if v == 1:
        out.append(L.mascot(svg, w * 0.45, h * 0.62, 8 * s))
    out.append(L.snow_dots(rng.next() * 1000, 14, 0, 0, w, h * 0.7, 0.5 * s, 1.3 * s))
    return out


def butterfly(x, y, s, colour="#ffb347", rotation=0.0):
    return group([
        ellipse(x - 3 * s, y - 2 * s, 3.2 * s, 2.6 * s, fill=colour),
        ellipse(x + 3 * s, y - 2 * s, 3.2 * s, 2.6 * s, fill=colour),
        ellipse(x - 2.2 * s, y + 1.8 * s, 2 * s, 1.7 * s, fill=colour, opacity=0.8),
        ellipse(x + 2.2 * s, y + 1.8 * s, 2 * s, 1.7 * s, fill=colour, opacity=0.8),
        rect(x - 0.5 * s, y - 3 * s, 1 * s, 6 * s, 0.5 * s, fill=L.INK),
    ], transform=f"rotate({fmt(rotation)} {fmt(x)} {fmt(y)})")


def tulip(x, base, s, colour):
    return group([
        path(f"M{fmt(x)} {fmt(base)} L{fmt(x)} {fmt(base - 12 * s)}", stroke="#5aa865",
             stroke_width=1.2 * s, fill="none"),
        L.leaf(x + 2.5 * s, base - 4 * s, 4 * s, 30, "#7cc47f", "#5aa865"),
        path(f"M{fmt(x - 3.5 * s)} {fmt(base - 17 * s)} L{fmt(x - 3.5 * s)} {fmt(base - 12 * s)} "
             f"Q{fmt(x)} {fmt(base - 9 * s)} {fmt(x + 3.5 * s)} {fmt(base - 12 * s)} L{fmt(x + 3.5 * s)} "
             f"{fmt(base - 17 * s)} L{fmt(x + 1.7 * s)} {fmt(base - 15 * s)} L{fmt(x)} {fmt(base - 18 * s)} "
             f"L{fmt(x - 1.7 * s)} {fmt(base - 15 * s)} Z", fill=colour),
    ])


def _mar(svg, w, h, v, rng):
    s = h / 100
    out = [L.cloud(w * 0.7, h * 0.2, 26 * s, opacity=0.9), L.cloud(w * 0.2, h * 0.14, 18 * s, opacity=0.8)]
    out += L.hills(svg, w, h * 0.74, [(20 * s, "#c8ecb0", "#a5d98c"), (8 * s, "#b2e39a", "#8ccd78")], 3)
    out.append(L.round_tree(w * 0.8, h * 0.76, 38 * s, "#ffc7d9", "#ffb0c8", fruit=None))
    out.append(_ground(svg, w, h, "#a8dd8e", "#86c471", h * 0.82))
    for i, colour in enumerate(("#ff7d9a", "#ffcf4d", "#ff9b5a", "#c99cff", "#ff7d9a")):
        out.append(tulip(w * (0.1 + 0.12 * i), h * (0.95 - (i % 2) * 0.03), s * 1.1, colour))
    out.append(butterfly(w * 0.5, h * 0.42, 1.5 * s, "#ffb347", -15))
    out.append(butterfly(w * 0.32, h * 0.3, 1.1 * s, "#9ad0ff", 20))
    if v == 1:
        out.append(L.mascot(svg, w * 0.6, h * 0.62, 8 * s, mood="open"))
    return out


def _apr(svg, w, h, v, rng):
    s = h / 100
    out = [L.cloud(w * 0.78, h * 0.16, 22 * s, opacity=0.85)]
    out += L.hills(svg, w, h * 0.78, [(16 * s, "#cdeeb8", "#addf94")], 4)
    # a big cherry tree
    x, base = w * 0.32, h * 0.84
    out.append(path(f"M{fmt(x - 4 * s)} {fmt(base)} Q{fmt(x - 1 * s)} {fmt(base - 22 * s)} {fmt(x - 8 * s)} "
                    f"{fmt(base - 38 * s)} M{fmt(x - 2 * s)} {fmt(base - 20 * s)} Q{fmt(x + 8 * s)} "
                    f"{fmt(base - 30 * s)} {fmt(x + 16 * s)} {fmt(base - 36 * s)}",
                    stroke="#7a5240", stroke_width=4 * s, fill="none", stroke_linecap="round"))
    for cx, cy, r, c in ((-14, -44, 16, "#ffc3d6"), (8, -48, 18, "#ffd0df"), (22, -38, 13, "#ffb7cd"),
                         (-22, -32, 11, "#ffb7cd"), (-2, -34, 14, "#ffc9da"), (14, -56, 9, "#ffdbe6")):
        out.append(circle(x + cx * s, base + cy * s, r * s, fill=c))
    for i in range(12):
        out.append(L.blossom(x + rng.between(-28, 30) * s, base + rng.between(-58, -28) * s, 2.4 * s,
                             "#ffffff", "#ff8fab", rng.between(0, 70), opacity=0.85))
    out.append(_ground(svg, w, h, "#b4e49e", "#92cf7e", h * 0.86))
    for i in range(14 if v == 0 else 22):
        out.append(L.petal(rng.between(0, w), rng.between(h * 0.1, h * 0.95), rng.between(1.4, 2.4) * s,
                           rng.between(0, 180)))
    out.append(L.mascot(svg, w * 0.74, h * 0.7, 8.5 * s, mood="smile" if v == 0 else "open"))
    return out


def koinobori(x, y, length, s, colour, belly="#ffffff"):
    h = 7 * s
    body = (f"M{fmt(x)} {fmt(y - h)} Q{fmt(x + length * 0.6)} {fmt(y - h * 1.2)} {fmt(x + length)} {fmt(y - h * 0.6)} "
            f"L{fmt(x + length * 0.88)} {fmt(y)} L{fmt(x + length)} {fmt(y + h * 0.6)} "
            f"Q{fmt(x + length * 0.6)} {fmt(y + h * 1.2)} {fmt(x)} {fmt(y + h)} Z")
    parts = [path(body, fill=colour)]
    for i in range(3):
        sx = x + length * (0.3 + 0.18 * i)
        parts.append(path(f"M{fmt(sx)} {fmt(y - h * 0.7)} q{fmt(4 * s)} {fmt(h * 0.7)} 0 {fmt(h * 1.4)}",
                          stroke=belly, stroke_width=0.9 * s, fill="none", opacity=0.6))
    parts.append(circle(x + length * 0.14, y - h * 0.15, 2.6 * s, fill="#ffffff"))
    parts.append(circle(x + length * 0.14, y - h * 0.15, 1.3 * s, fill=L.INK))
    return group(parts)


def _may(svg, w, h, v, rng):
    s = h / 100
    out = [L.sun(svg, w * 0.85, h * 0.15, 7 * s), L.cloud(w * 0.62, h * 0.3, 20 * s, opacity=0.9)]
    out += L.hills(svg, w, h * 0.76, [(22 * s, "#9fdc8a", "#7cc47f"), (10 * s, "#8ed27a", "#6bbd6c")], 5)
    px = w * 0.14
    out.append(rect(px - 1.3 * s, h * 0.1, 2.6 * s, h * 0.78, 1 * s, fill="#b08660"))
    out.append(circle(px, h * 0.1, 2.6 * s, fill="#ffcf4d"))
    for i, (colour, length) in enumerate((("#3d5a9e", 40), ("#e8546a", 34), ("#4fb0a5", 28))):
        out.append(koinobori(px + 1.3 * s, h * (0.2 + 0.15 * i), length * s, s, colour))
    out.append(_ground(svg, w, h, "#8ed27a", "#6bbd6c", h * 0.86))
    out.append(L.round_tree(w * 0.82, h * 0.9, 30 * s))
    if v == 1:
        out.append(L.mascot(svg, w * 0.62, h * 0.66, 8 * s, mood="open"))
    return out


def hydrangea(x, y, r, colours):
    parts = [L.leaf(x - r * 0.9, y + r * 0.6, r * 0.6, -60, "#5aa865", "#3f8f6b"),
             L.leaf(x + r * 0.9, y + r * 0.6, r * 0.6, 60, "#5aa865", "#3f8f6b")]
    rng = L.Rng(int(x * 7 + y * 13))
    parts.append(circle(x, y, r, fill=colours[0]))
    for _ in range(14):
        a = rng.between(0, 6.28)
        d = rng.between(0, r * 0.8)
        fx, fy = x + d * math.cos(a), y + d * math.sin(a)
        parts.append(L.blossom(fx, fy, r * 0.32, colours[1 + int(rng.next() * 2)], "#ffffff", rng.between(0, 90),
                               petals=4))
    return group(parts)


def _jun(svg, w, h, v, rng):
    s = h / 100
    out = [L.cloud(w * 0.3, h * 0.14, 34 * s, "#dfe6f0"), L.cloud(w * 0.78, h * 0.2, 28 * s, "#e8edf4")]
    out += L.hills(svg, w, h * 0.8, [(16 * s, "#a9cfa4", "#8dbb8c")], 6)
    out.append(_ground(svg, w, h, "#9cc89a", "#7fb27e", h * 0.84))
    out.append(hydrangea(w * 0.18, h * 0.78, 12 * s, ("#8aa6ea", "#a6bdf5", "#c3a6ef")))
    out.append(hydrangea(w * 0.4, h * 0.84, 10 * s, ("#c7a0e6", "#dcbaf2", "#f0b8d8")))
    out.append(hydrangea(w * 0.9, h * 0.82, 11 * s, ("#7fb6e6", "#a3cdf2", "#b8a9f0")))
    # Lumi under a little umbrella
    ux, uy = w * 0.66, h * 0.56
    out.append(path(f"M{fmt(ux)} {fmt(uy)} L{fmt(ux)} {fmt(uy + 24 * s)} q0 {fmt(3 * s)} {fmt(-3 * s)} {fmt(3 * s)}",
                    stroke="#6b4a3a", stroke_width=1.3 * s, fill="none", stroke_linecap="round"))
    out.append(path(f"M{fmt(ux - 16 * s)} {fmt(uy + 2 * s)} Q{fmt(ux)} {fmt(uy - 16 * s)} {fmt(ux + 16 * s)} "
                    f"{fmt(uy + 2 * s)} Q{fmt(ux + 8 * s)} {fmt(uy - 2 * s)} {fmt(ux)} {fmt(uy + 2 * s)} "
                    f"Q{fmt(ux - 8 * s)} {fmt(uy - 2 * s)} {fmt(ux - 16 * s)} {fmt(uy + 2 * s)} Z",
                    fill="#ff8fa8" if v == 0 else "#ffcf4d"))
    out.append(L.mascot(svg, ux + 1 * s, uy + 14 * s, 7 * s, glow=False))
    for _ in range(34):
        x, y = rng.between(0, w), rng.between(0, h * 0.9)
        out.append(path(f"M{fmt(x)} {fmt(y)} l{fmt(-1.5 * s)} {fmt(5 * s)}", stroke="#7f9cc9",
                        stroke_width=0.8 * s, stroke_linecap="round", opacity=0.7))
    return out


def _jul(svg, w, h, v, rng):
    s = h / 100
    out = [L.sun(svg, w * 0.78, h * 0.2, 8 * s, "#ffd84d"), L.cloud(w * 0.3, h * 0.22, 30 * s)]
    sea = svg.linear([(0, "#3fb6e8"), (1, "#1f8fd0")])
    out.append(rect(0, h * 0.56, w, h * 0.44, 0, fill=sea))
    for i in range(5):
        y = h * (0.62 + 0.07 * i)
        out.append(path(" ".join(f"M{fmt(x)} {fmt(y)} q{fmt(4 * s)} {fmt(-2.5 * s)} {fmt(8 * s)} 0"
                                 for x in [rng.between(0, w) for _ in range(4)]),
                        stroke="#ffffff", stroke_width=1 * s, fill="none", opacity=0.55, stroke_linecap="round"))
    out.append(path(f"M0 {fmt(h * 0.86)} Q{fmt(w * 0.4)} {fmt(h * 0.78)} {fmt(w)} {fmt(h * 0.9)} L{fmt(w)} {fmt(h)} L0 {fmt(h)} Z",
                    fill=svg.linear([(0, "#ffe7b0"), (1, "#f6d28c")])))
    # a sailboat on the horizon and a beach umbrella
    bx, by = w * 0.6, h * 0.6
    out.append(path(f"M{fmt(bx - 8 * s)} {fmt(by)} L{fmt(bx + 8 * s)} {fmt(by)} L{fmt(bx + 5 * s)} {fmt(by + 3 * s)} "
                    f"L{fmt(bx - 5 * s)} {fmt(by + 3 * s)} Z", fill="#ffffff"))
    out.append(path(f"M{fmt(bx)} {fmt(by - 1 * s)} L{fmt(bx)} {fmt(by - 16 * s)} L{fmt(bx + 8 * s)} {fmt(by - 2 * s)} Z",
                    fill="#ff8a5c"))
    ux, uy = w * 0.2, h * 0.68
    out.append(path(f"M{fmt(ux)} {fmt(uy)} L{fmt(ux + 3 * s)} {fmt(h * 0.9)}", stroke="#ffffff",
                    stroke_width=1.4 * s))
    out.append(path(f"M{fmt(ux - 16 * s)} {fmt(uy + 3 * s)} Q{fmt(ux)} {fmt(uy - 12 * s)} {fmt(ux + 16 * s)} {fmt(uy + 3 * s)} Z",
                    fill="#ff6f8a"))
    out.append(path(f"M{fmt(ux - 5 * s)} {fmt(uy + 3 * s)} Q{fmt(ux)} {fmt(uy - 11 * s)} {fmt(ux + 5 * s)} {fmt(uy + 3 * s)} Z",
                    fill="#ffffff"))
    out.append(L.mascot(svg, w * 0.5, h * 0.86, 7 * s, mood="open"))
    if v == 1:
        out.append(L.star(w * 0.85, h * 0.92, 4 * s, "#ff9e7a", rotation=12))
    return out


def sunflower(x, base, s, height):
    top = base - height * s
    parts = [path(f"M{fmt(x)} {fmt(base)} L{fmt(x)} {fmt(top)}", stroke="#4f9a55", stroke_width=1.6 * s, fill="none"),
             L.leaf(x + 4 * s, base - height * 0.45 * s, 4.5 * s, 55, "#6bbd6c", "#4f9a55"),
             L.leaf(x - 4 * s, base - height * 0.3 * s, 4 * s, -55, "#6bbd6c", "#4f9a55")]
    for i in range(12):
        parts.append(ellipse(x, top - 6 * s, 1.9 * s, 4 * s, fill="#ffc928",
                             transform=f"rotate({i * 30} {fmt(x)} {fmt(top)})"))
    parts.append(circle(x, top, 4.2 * s, fill="#8a5a2e"))
    parts.append(circle(x - 1 * s, top - 1 * s, 1.6 * s, fill="#a8703c"))
    return group(parts)


def _aug(svg, w, h, v, rng):
    s = h / 100
    out = [L.cloud(w * 0.72, h * 0.3, 40 * s), L.sun(svg, w * 0.2, h * 0.16, 7 * s, "#ffd84d")]
    out += L.hills(svg, w, h * 0.78, [(14 * s, "#8fd07a", "#6bbd6c")], 8)
    out.append(_ground(svg, w, h, "#7cc47f", "#5aa865", h * 0.84))
    for i, (fx, hh) in enumerate(((0.12, 52), (0.3, 60), (0.5, 46), (0.7, 56), (0.9, 44))):
        out.append(sunflower(w * fx, h * 1.02, s, hh))
    out.append(L.mascot(svg, w * 0.42, h * 0.3, 8 * s, mood="open"))
    if v == 1:
        out.append(butterfly(w * 0.62, h * 0.22, 1.2 * s, "#ffffff", 10))
    return out


def _sep(svg, w, h, v, rng):
    s = h / 100
    out = []
    for _ in range(18):
        out.append(circle(rng.between(0, w), rng.between(0, h * 0.6), rng.between(0.4, 1.1) * s,
                          fill="#ffffff", opacity=rng.between(0.4, 0.9)))
    out.append(L.moon(svg, w * 0.66, h * 0.28, 14 * s, sky=SKIES[9][0]))
    out += L.hills(svg, w, h * 0.8, [(16 * s, "#3d3f7a", "#2d2f62")], 9)
    out.append(_ground(svg, w, h, "#34366e", "#262858", h * 0.86))
    # pampas grass
    for i in range(9):
        x = w * (0.04 + 0.1 * i) + rng.between(-3, 3) * s
        lean = rng.between(6, 14) * s
        out.append(path(f"M{fmt(x)} {fmt(h)} Q{fmt(x + lean * 0.3)} {fmt(h * 0.7)} {fmt(x + lean)} {fmt(h * 0.52)}",
                        stroke="#c9b48a", stroke_width=0.9 * s, fill="none"))
        out.append(ellipse(x + lean, h * 0.55, 2.2 * s, 7 * s, fill="#f0e2bf", opacity=0.9,
                           transform=f"rotate({fmt(20 + rng.between(0, 15))} {fmt(x + lean)} {fmt(h * 0.55)})"))
    # moon-viewing dumplings on a stand
    dx, dy = w * 0.3, h * 0.86
    out.append(path(f"M{fmt(dx - 10 * s)} {fmt(dy)} L{fmt(dx + 10 * s)} {fmt(dy)} L{fmt(dx + 7 * s)} {fmt(dy + 5 * s)} "
                    f"L{fmt(dx - 7 * s)} {fmt(dy + 5 * s)} Z", fill="#c08a5a"))
    for cx, cy in ((-5, -2.5), (0, -2.5), (5, -2.5), (-2.5, -7), (2.5, -7), (0, -11.5)):
        out.append(circle(dx + cx * s, dy + cy * s, 2.5 * s, fill="#fff8e8"))
    if v == 1:
        # a rabbit watching the moon
        rx, ry = w * 0.82, h * 0.84
        out.append(ellipse(rx, ry, 6 * s, 4.5 * s, fill="#f4f0ff"))
        out.append(circle(rx - 5 * s, ry - 4 * s, 3.4 * s, fill="#f4f0ff"))
        out.append(ellipse(rx - 5 * s, ry - 10 * s, 1.2 * s, 4 * s, fill="#f4f0ff"))
        out.append(ellipse(rx - 3 * s, ry - 10 * s, 1.2 * s, 4 * s, fill="#f4f0ff",
                           transform=f"rotate(15 {fmt(rx - 3 * s)} {fmt(ry - 10 * s)})"))
    else:
        out.append(L.mascot(svg, w * 0.82, h * 0.56, 7 * s, mood="smile"))
    return out


def _oct(svg, w, h, v, rng):
    s = h / 100
    out = [L.sun(svg, w * 0.8, h * 0.2, 7 * s, "#ffb347", "#ffe0b0")]
    out += L.hills(svg, w, h * 0.74, [(22 * s, "#f2a66b", "#e58a55"), (10 * s, "#e9b070", "#d8955a")], 10)
    out.append(L.round_tree(w * 0.2, h * 0.86, 44 * s, "#f0643c", "#d9502f", "#8a5a3c"))
    out.append(L.round_tree(w * 0.5, h * 0.84, 30 * s, "#ffa53c", "#f08a2a", "#8a5a3c", fruit="#ff7a2a"))
    out.append(_ground(svg, w, h, "#e8b46e", "#d39a58", h * 0.86))
    for _ in range(10 if v == 0 else 16):
        out.append(L.maple(rng.between(0, w), rng.between(h * 0.05, h * 0.95), rng.between(2.5, 4.5) * s,
                           rng.between(-40, 40), ("#f0643c", "#ff8a3c", "#e84a4a", "#ffb347")[int(rng.next() * 4)]))
    out.append(L.mascot(svg, w * 0.76, h * 0.66, 8 * s))
    return out


def _nov(svg, w, h, v, rng):
    s = h / 100
    out = [L.cloud(w * 0.3, h * 0.16, 22 * s, opacity=0.9)]
    out += L.hills(svg, w, h * 0.78, [(16 * s, "#e9c98e", "#d9b274")], 11)
    for fx, hh in ((0.16, 46), (0.46, 56), (0.8, 40)):
        x, base = w * fx, h * 0.88
        out.append(rect(x - 1.5 * s, base - hh * 0.5 * s, 3 * s, hh * 0.5 * s, 1, fill="#8a6a48"))
        out.append(path(rounded_triangle(x, base - hh * s, base - hh * 0.3 * s, hh * 0.34 * s), fill="#f6c445"))
        out.append(path(rounded_triangle(x + hh * 0.08 * s, base - hh * 0.8 * s, base - hh * 0.3 * s, hh * 0.24 * s),
                        fill="#eeb12e", opacity=0.8))
    out.append(_ground(svg, w, h, "#f1d58e", "#e2bd6a", h * 0.88))
    for _ in range(14 if v == 0 else 22):
        out.append(L.ginkgo(rng.between(0, w), rng.between(h * 0.1, h * 0.98), rng.between(2.4, 3.6) * s,
                            rng.between(-60, 60)))
    if v == 1:
        out.append(L.mascot(svg, w * 0.63, h * 0.8, 7 * s, mood="sleep"))
    return out


def rounded_triangle(x, top, bottom, half):
    return L.rounded_polygon([(x, top), (x + half, bottom), (x - half, bottom)], half * 0.35)


def _dec(svg, w, h, v, rng):
    s = h / 100
    out = []
    for _ in range(16):
        out.append(circle(rng.between(0, w), rng.between(0, h * 0.5), rng.between(0.4, 1) * s,
                          fill="#ffffff", opacity=rng.between(0.4, 0.9)))
    out.append(L.moon(svg, w * 0.82, h * 0.16, 6 * s, crescent=True, sky=SKIES[12][0]))
    out += L.hills(svg, w, h * 0.8, [(14 * s, "#dde6f5", "#c3d0ea")], 12)
    out.append(_ground(svg, w, h, "#f4f7fd", "#d9e2f2", h * 0.86))
    # the decorated tree with Lumi on top
    x, base = w * 0.44, h * 0.9
    out.append(L.pine(x, base, 62 * s, "#3f9a72", "#2f7a5a", snow=True))
    for cx, cy, c in ((-8, -14, "#ff6f8a"), (7, -20, "#ffcf4d"), (-4, -28, "#6fc3ff"), (9, -33, "#ff6f8a"),
                      (-6, -40, "#ffcf4d"), (3, -46, "#c99cff"), (-12, -20, "#6fc3ff")):
        out.append(circle(x + cx * s, base + cy * s, 1.8 * s, fill=c))
    out.append(L.mascot(svg, x, base - 64 * s, 7.5 * s, rotation=0, mood="open"))
    # a present beside the tree
    gx, gy = w * 0.72, h * 0.84
    out.append(rect(gx, gy, 12 * s, 9 * s, 1.5 * s, fill="#ff6f8a"))
    out.append(rect(gx + 5 * s, gy, 2 * s, 9 * s, 0, fill="#ffe08a"))
    out.append(path(f"M{fmt(gx + 6 * s)} {fmt(gy)} q{fmt(-4 * s)} {fmt(-5 * s)} {fmt(-5 * s)} 0 "
                    f"M{fmt(gx + 6 * s)} {fmt(gy)} q{fmt(4 * s)} {fmt(-5 * s)} {fmt(5 * s)} 0",
                    stroke="#ffe08a", stroke_width=1.2 * s, fill="none"))
    out.append(L.snow_dots(rng.next() * 1000, 30 if v == 1 else 18, 0, 0, w, h, 0.5 * s, 1.4 * s))
    return out
