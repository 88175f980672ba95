"""Drawing kit shared by the generated artwork: an SVG document, the suite's
palette, the Lumi star mascot and the small flat-illustration motifs
(clouds, hills, trees, flowers, leaves, snow) that the month pictures and
the day pages are built from.

Everything returns SVG text; coordinates are pixels of the final image.
"""

import math

FONT = "Noto Sans CJK SC"

# The suite's palette: warm paper, soft plum ink, pastel accents.
INK = "#4b3d5e"
INK_SOFT = "#7a6a8a"
PAPER = "#fffaf2"
PAPER_SHADE = "#f3eadb"
STAR = "#ffd34d"
STAR_DEEP = "#ffad2e"
BLUSH = "#ff9aa8"


def fmt(v):
    """Compact number text for SVG attributes."""
    if isinstance(v, float):
        text = f"{v:.2f}".rstrip("0").rstrip(".")
        return text if text not in ("", "-0") else "0"
    return str(v)


class Svg:
    """An SVG document with a shared <defs> block and unique ids."""

    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.defs = []
        self.body = []
        self._ids = 0

    def uid(self, stem):
        self._ids += 1
        return f"{stem}{self._ids}"

    def add(self, *parts):
        self.body.extend(p for p in parts if p)

    def linear(self, stops, x1=0, y1=0, x2=0, y2=1, user=False):
        """A linear gradient; stops are (offset, colour[, opacity])."""
        gid = self.uid("g")
        units = ' gradientUnits="userSpaceOnUse"' if user else ""
        self.defs.append(
            f'<linearGradient id="{gid}" x1="{fmt(x1)}" y1="{fmt(y1)}" x2="{fmt(x2)}" '
            f'y2="{fmt(y2)}"{units}>{_stops(stops)}</linearGradient>')
        return f"url(#{gid})"

    def radial(self, stops, cx=0.5, cy=0.5, r=0.5, user=False, fx=None, fy=None):
        gid = self.uid("g")
        units = ' gradientUnits="userSpaceOnUse"' if user else ""
        focus = ""
        if fx is not None:
            focus = f' fx="{fmt(fx)}" fy="{fmt(fy)}"'
        self.defs.append(
            f'<radialGradient id="{gid}" cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r)}"{focus}{units}>'
            f'{_stops(stops)}</radialGradient>')
        return f"url(#{gid})"

    def blur(self, deviation):
        fid = self.uid("f")
        self.defs.append(
            f'<filter id="{fid}" x="-50%" y="-50%" width="200%" height="200%">'
            f'<feGaussianBlur stdDeviation="{fmt(deviation)}"/></filter>')
        return f"url(#{fid})"

    def clip(self, shape):
        cid = self.uid("c")
        self.defs.append(f'<clipPath id="{cid}">{shape}</clipPath>')
        return f"url(#{cid})"

    def text(self):
        return (
            f'<svg xmlns="http://www.w3.org/2000/svg" width="{self.width}" '
            f'height="{self.height}" viewBox="0 0 {self.width} {self.height}">\n'
            f'<defs>{"".join(self.defs)}</defs>\n' + "\n".join(self.body) + "\n</svg>\n")


def _stops(stops):
    out = []
    for stop in stops:
        offset, colour = stop[0], stop[1]
        opacity = f' stop-opacity="{fmt(stop[2])}"' if len(stop) > 2 else ""
        out.append(f'<stop offset="{fmt(offset)}" stop-color="{colour}"{opacity}/>')
    return "".join(out)


def attrs(**kw):
    parts = []
    for key, value in kw.items():
        if value is None:
            continue
        name = key.rstrip("_").replace("_", "-")
        parts.append(f'{name}="{fmt(value) if isinstance(value, (int, float)) else value}"')
    return " ".join(parts)


def rect(x, y, w, h, r=0, **kw):
    return f'<rect x="{fmt(x)}" y="{fmt(y)}" width="{fmt(w)}" height="{fmt(h)}" rx="{fmt(r)}" {attrs(**kw)}/>'


def circle(cx, cy, r, **kw):
    return f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r)}" {attrs(**kw)}/>'


def ellipse(cx, cy, rx, ry, **kw):
    return f'<ellipse cx="{fmt(cx)}" cy="{fmt(cy)}" rx="{fmt(rx)}" ry="{fmt(ry)}" {attrs(**kw)}/>'


def path(d, **kw):
    return f'<path d="{d}" {attrs(**kw)}/>'


def group(content, transform=None, **kw):
    t = f' transform="{transform}"' if transform else ""
    a = attrs(**kw)
    return f'<g{t}{" " + a if a else ""}>{"".join(content) if isinstance(content, list) else content}</g>'


def text(x, y, s, size, fill=INK, weight=400, anchor="middle", family=FONT, **kw):
    return (f'<text x="{fmt(x)}" y="{fmt(y)}" font-family="{family}" font-size="{fmt(size)}" '
            f'font-weight="{weight}" text-anchor="{anchor}" fill="{fill}" {attrs(**kw)}>{s}</text>')


def rounded_polygon(points, radius):
    """Path of a polygon whose corners are rounded by quadratic curves."""
    n = len(points)
    d = []
    for i in range(n):
        px, py = points[i - 1]
        cx, cy = points[i]
        nx, ny = points[(i + 1) % n]
        l1 = math.hypot(px - cx, py - cy)
        l2 = math.hypot(nx - cx, ny - cy)
        r = min(radius, l1 / 2, l2 / 2)
        ax, ay = cx + (px - cx) * r / l1, cy + (py - cy) * r / l1
        bx, by = cx + (nx - cx) * r / l2, cy + (ny - cy) * r / l2
        d.append(("M" if i == 0 else "L") + f"{fmt(ax)} {fmt(ay)}")
        d.append(f"Q{fmt(cx)} {fmt(cy)} {fmt(bx)} {fmt(by)}")
    return " ".join(d) + "Z"


def star_points(cx, cy, r, inner=0.5, rotation=0.0, points=5):
    pts = []
    for i in range(points * 2):
        a = math.radians(rotation) - math.pi / 2 + i * math.pi / points
        rr = r if i % 2 == 0 else r * inner
        pts.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
    return pts


def star(cx, cy, r, fill=STAR, inner=0.5, rotation=0.0, rounding=None, **kw):
    return path(rounded_polygon(star_points(cx, cy, r, inner, rotation),
                                r * 0.22 if rounding is None else rounding), fill=fill, **kw)


def mascot(svg, cx, cy, r, rotation=-8.0, mood="smile", glow=True):
    """Lumi, the little star: a plump rounded star with a face."""
    parts = []
    if glow:
        halo = svg.radial([(0, "#fff6c8", 0.75), (0.55, "#ffe98a", 0.3), (1, "#ffe98a", 0)])
        parts.append(circle(cx, cy, r * 1.55, fill=halo))
    body = svg.linear([(0, "#fff08a"), (0.55, STAR), (1, STAR_DEEP)], 0.2, 0, 0.8, 1)
    pts = star_points(cx, cy, r, 0.56, rotation)
    shape = rounded_polygon(pts, r * 0.3)
    parts.append(path(shape, fill="#e89a2a", opacity=0.35, transform=f"translate(0 {fmt(r * 0.08)})"))
    parts.append(path(shape, fill=body))
    # a soft highlight on the upper left arm
    hx, hy = cx - r * 0.32, cy - r * 0.28
    parts.append(ellipse(hx, hy, r * 0.16, r * 0.09, fill="#ffffff", opacity=0.7,
                         transform=f"rotate(-35 {fmt(hx)} {fmt(hy)})"))
    # face, turned with the body
    a = math.radians(rotation)
    def turn(dx, dy):
        return (cx + dx * math.cos(a) - dy * math.sin(a), cy + dx * math.sin(a) + dy * math.cos(a))
    ex = r * 0.2
    for side in (-1, 1):
        x, y = turn(side * ex, r * 0.02)
        if mood == "sleep":
            parts.append(path(f"M{fmt(x - r * 0.08)} {fmt(y)} q{fmt(r * 0.08)} {fmt(r * 0.07)} {fmt(r * 0.16)} 0",
                              fill="none", stroke=INK, stroke_width=max(0.8, r * 0.05), stroke_linecap="round"))
        else:
            parts.append(ellipse(x, y, r * 0.065, r * 0.095, fill=INK))
            parts.append(circle(x + r * 0.02, y - r * 0.035, r * 0.025, fill="#ffffff"))
        bx, by = turn(side * r * 0.34, r * 0.17)
        parts.append(ellipse(bx, by, r * 0.09, r * 0.055, fill=BLUSH, opacity=0.8))
    mx, my = turn(0, r * 0.15)
    w = r * 0.11
    if mood == "open":
        parts.append(path(f"M{fmt(mx - w)} {fmt(my - r * 0.02)} q{fmt(w)} {fmt(r * 0.2)} {fmt(2 * w)} 0 z",
                          fill="#e0566a"))
    else:
        parts.append(path(f"M{fmt(mx - w)} {fmt(my)} q{fmt(w)} {fmt(r * 0.1)} {fmt(2 * w)} 0",
                          fill="none", stroke=INK, stroke_width=max(0.8, r * 0.05), stroke_linecap="round"))
    return group(parts)


def sparkle(cx, cy, r, fill="#ffffff", opacity=0.9):
    """A four-pointed twinkle."""
    k = r * 0.22
    d = (f"M{fmt(cx)} {fmt(cy - r)} Q{fmt(cx + k)} {fmt(cy - k)} {fmt(cx + r)} {fmt(cy)} "
         f"Q{fmt(cx + k)} {fmt(cy + k)} {fmt(cx)} {fmt(cy + r)} Q{fmt(cx - k)} {fmt(cy + k)} "
         f"{fmt(cx - r)} {fmt(cy)} Q{fmt(cx - k)} {fmt(cy - k)} {fmt(cx)} {fmt(cy - r)}Z")
    return path(d, fill=fill, opacity=opacity)


def cloud(cx, cy, w, fill="#ffffff", opacity=1.0):
    """A flat cloud: overlapping circles on a rounded base."""
    h = w * 0.32
    parts = [
        rect(cx - w / 2, cy - h * 0.45, w, h * 0.9, h * 0.45),
        circle(cx - w * 0.18, cy - h * 0.45, h * 0.55),
        circle(cx + w * 0.12, cy - h * 0.6, h * 0.72),
    ]
    return group(parts, fill=fill, opacity=opacity)


def hills(svg, width, base, layers, seed=0):
    """Rolling hills, back to front: layers is [(height, top colour, bottom colour)]."""
    out = []
    for i, (height, top, bottom) in enumerate(layers):
        grad = svg.linear([(0, top), (1, bottom)])
        y = base - height
        phase = (seed * 37 + i * 53) % 100 / 100.0
        d = [f"M0 {fmt(base + 200)} L0 {fmt(y + 8 * math.sin(phase * 6.28))}"]
        steps = 8
        for s in range(1, steps + 1):
            x = width * s / steps
            yy = y + 10 * math.sin(phase * 6.28 + s * (1.1 + 0.3 * i))
            cxp = width * (s - 0.5) / steps
            cyp = yy - 10 * math.cos(phase * 3 + s)
            d.append(f"Q{fmt(cxp)} {fmt(cyp)} {fmt(x)} {fmt(yy)}")
        d.append(f"L{fmt(width)} {fmt(base + 200)} Z")
        out.append(path(" ".join(d), fill=grad))
    return out


def pine(x, base, h, fill="#3f8f6b", shade="#2f7358", snow=False):
    """A layered fir tree standing on (x, base)."""
    parts = [rect(x - h * 0.05, base - h * 0.16, h * 0.1, h * 0.18, 1, fill="#8a5a3c")]
    for i, (w, top, bottom) in enumerate(((0.5, 0.42, 0.12), (0.4, 0.68, 0.36), (0.3, 1.0, 0.62))):
        pts = [(x, base - h * top), (x + h * w / 1.2, base - h * bottom), (x - h * w / 1.2, base - h * bottom)]
        parts.append(path(rounded_polygon(pts, h * 0.05), fill=fill))
        half = [(x, base - h * top), (x + h * w / 1.2, base - h * bottom), (x, base - h * bottom)]
        parts.append(path(rounded_polygon(half, h * 0.04), fill=shade, opacity=0.55))
        if snow:
            parts.append(path(f"M{fmt(x - h * w * 0.35)} {fmt(base - h * (top * 0.55 + bottom * 0.45))} "
                              f"Q{fmt(x)} {fmt(base - h * (top * 0.9 + bottom * 0.1))} "
                              f"{fmt(x + h * w * 0.35)} {fmt(base - h * (top * 0.55 + bottom * 0.45))} Z",
                              fill="#ffffff", opacity=0.9))
    return group(parts)


def round_tree(x, base, h, crown="#7cc47f", shade="#5aa865", trunk="#9a6a48", fruit=None):
    parts = [path(f"M{fmt(x - h * 0.06)} {fmt(base)} L{fmt(x - h * 0.03)} {fmt(base - h * 0.5)} "
                  f"L{fmt(x + h * 0.03)} {fmt(base - h * 0.5)} L{fmt(x + h * 0.06)} {fmt(base)} Z", fill=trunk)]
    cy = base - h * 0.62
    parts.append(circle(x, cy, h * 0.36, fill=crown))
    parts.append(circle(x - h * 0.2, cy + h * 0.08, h * 0.24, fill=crown))
    parts.append(circle(x + h * 0.2, cy + h * 0.1, h * 0.22, fill=shade))
    parts.append(circle(x + h * 0.08, cy - h * 0.12, h * 0.14, fill="#ffffff", opacity=0.18))
    if fruit:
        for dx, dy in ((-0.18, 0.0), (0.12, -0.14), (0.2, 0.12), (-0.05, 0.18), (0.02, -0.02)):
            parts.append(circle(x + h * dx, cy + h * dy, h * 0.05, fill=fruit))
    return group(parts)


def blossom(cx, cy, r, petal="#ffc2d4", centre="#ff8fab", rotation=0.0, petals=5, opacity=1.0):
    """A five-petal flower (cherry, plum) seen from the front."""
    parts = []
    for i in range(petals):
        a = rotation + i * 360 / petals
        parts.append(ellipse(cx, cy - r * 0.55, r * 0.36, r * 0.5, fill=petal,
                             transform=f"rotate({fmt(a)} {fmt(cx)} {fmt(cy)})"))
    parts.append(circle(cx, cy, r * 0.22, fill=centre))
    return group(parts, opacity=opacity)


def petal(cx, cy, r, rotation=0.0, fill="#ffc9d8", opacity=0.9):
    d = (f"M{fmt(cx)} {fmt(cy - r)} Q{fmt(cx + r * 0.8)} {fmt(cy - r * 0.2)} {fmt(cx)} {fmt(cy + r)} "
         f"Q{fmt(cx - r * 0.8)} {fmt(cy - r * 0.2)} {fmt(cx)} {fmt(cy - r)} Z")
    return path(d, fill=fill, opacity=opacity, transform=f"rotate({fmt(rotation)} {fmt(cx)} {fmt(cy)})")


def leaf(cx, cy, r, rotation=0.0, fill="#7cc47f", vein="#5aa865"):
    d = (f"M{fmt(cx)} {fmt(cy - r)} Q{fmt(cx + r * 0.7)} {fmt(cy)} {fmt(cx)} {fmt(cy + r)} "
         f"Q{fmt(cx - r * 0.7)} {fmt(cy)} {fmt(cx)} {fmt(cy - r)} Z")
    return group([path(d, fill=fill),
                  path(f"M{fmt(cx)} {fmt(cy - r * 0.8)} L{fmt(cx)} {fmt(cy + r)}", stroke=vein,
                       stroke_width=max(0.6, r * 0.08), fill="none", stroke_linecap="round")],
                 transform=f"rotate({fmt(rotation)} {fmt(cx)} {fmt(cy)})")


def maple(cx, cy, r, rotation=0.0, fill="#f0643c"):
    """A maple leaf: a seven-lobed star with a stem."""
    pts = []
    lobes = [(-90, 1.0), (-45, 0.9), (0, 0.75), (45, 0.55), (135, 0.55), (180, 0.75), (225, 0.9)]
    for i, (deg, length) in enumerate(lobes):
        a = math.radians(deg)
        pts.append((cx + r * length * math.cos(a), cy + r * length * math.sin(a)))
        nxt = lobes[(i + 1) % len(lobes)][0]
        if nxt < deg:
            nxt += 360
        m = math.radians((deg + nxt) / 2)
        pts.append((cx + r * 0.35 * math.cos(m), cy + r * 0.35 * math.sin(m)))
    shape = path(rounded_polygon(pts, r * 0.12), fill=fill)
    stem = path(f"M{fmt(cx)} {fmt(cy)} L{fmt(cx)} {fmt(cy + r * 0.95)}", stroke=fill,
                stroke_width=max(0.8, r * 0.1), stroke_linecap="round", fill="none")
    return group([stem, shape], transform=f"rotate({fmt(rotation)} {fmt(cx)} {fmt(cy)})")


def ginkgo(cx, cy, r, rotation=0.0, fill="#f6c445"):
    d = (f"M{fmt(cx)} {fmt(cy)} L{fmt(cx - r * 0.9)} {fmt(cy - r * 0.7)} "
         f"Q{fmt(cx)} {fmt(cy - r * 1.25)} {fmt(cx + r * 0.9)} {fmt(cy - r * 0.7)} Z")
    stem = path(f"M{fmt(cx)} {fmt(cy)} L{fmt(cx)} {fmt(cy + r * 0.7)}", stroke="#c99a2e",
                stroke_width=max(0.7, r * 0.1), fill="none", stroke_linecap="round")
    return group([stem, path(d, fill=fill)], transform=f"rotate({fmt(rotation)} {fmt(cx)} {fmt(cy)})")


def snowflake(cx, cy, r, fill="#ffffff", opacity=0.9):
    arms = []
    for i in range(6):
        a = i * 60
        arms.append(path(
            f"M{fmt(cx)} {fmt(cy)} L{fmt(cx)} {fmt(cy - r)} M{fmt(cx - r * 0.3)} {fmt(cy - r * 0.75)} "
            f"L{fmt(cx)} {fmt(cy - r * 0.5)} L{fmt(cx + r * 0.3)} {fmt(cy - r * 0.75)}",
            transform=f"rotate({a} {fmt(cx)} {fmt(cy)})"))
    return group(arms, stroke=fill, stroke_width=max(0.7, r * 0.16), stroke_linecap="round",
                 stroke_linejoin="round", fill="none", opacity=opacity)


def snow_dots(seed, count, x0, y0, w, h, rmin=0.8, rmax=2.2, fill="#ffffff", opacity=0.85):
    rng = Rng(seed)
    return group([circle(x0 + rng.next() * w, y0 + rng.next() * h, rmin + rng.next() * (rmax - rmin))
                  for _ in range(count)], fill=fill, opacity=opacity)


def sun(svg, cx, cy, r, colour="#ffcf5a", glow="#fff2b8"):
    g = svg.radial([(0, glow, 0.9), (1, glow, 0)])
    face = svg.radial([(0, "#fff3b0"), (1, colour)], 0.4, 0.35, 0.7)
    return group([circle(cx, cy, r * 2.1, fill=g), circle(cx, cy, r, fill=face)])


def moon(svg, cx, cy, r, colour="#fff3c4", crescent=False, sky="#2b3566"):
    g = svg.radial([(0, "#fff8d8", 0.55), (1, "#fff8d8", 0)])
    parts = [circle(cx, cy, r * 2.2, fill=g), circle(cx, cy, r, fill=colour)]
    if crescent:
        parts.append(circle(cx + r * 0.45, cy - r * 0.2, r * 0.85, fill=sky))
    else:
        parts.append(circle(cx - r * 0.3, cy + r * 0.2, r * 0.18, fill="#f1e2a6"))
        parts.append(circle(cx + r * 0.3, cy - r * 0.25, r * 0.12, fill="#f1e2a6"))
    return group(parts)


class Rng:
    """A small deterministic generator, so the artwork is the same on every build."""

    def __init__(self, seed):
        self.state = (int(seed) * 2654435761 + 12345) & 0xFFFFFFFF

    def next(self):
        self.state = (self.state * 1103515245 + 12345) & 0x7FFFFFFF
        return self.state / 0x7FFFFFFF

    def between(self, lo, hi):
        return lo + (hi - lo) * self.next()


def drop_shadow_rect(svg, x, y, w, h, r, spread=3.0, opacity=0.35, dy=1.5, colour="#3a2a4a"):
    """A soft shadow under a rounded rectangle, drawn as blurred shape."""
    return rect(x, y + dy, w, h, r, fill=colour, opacity=opacity, filter=svg.blur(spread))
