#!/usr/bin/env python3
"""Writes the twelve month pictures of LumiMonthly as SVG ("01.svg" ...).

    make_monthly.py OUTDIR

A picture is 369 x 222: the month's scene fills it; on the right a paper card
carries the weekday header and five rows of printed day cells on the grid
the program draws its numerals into (origin 169, 60; pitch 24 x 27). The
sixth row stays plain card, because the program copies cells down from the
fifth row when a month needs it. The year is drawn by the program at
(14, 20)-(66, 40) in the month's colour, so a plate behind it keeps the
digits readable. Files are rewritten only when their text changes.
"""

import os
import sys

import lumiart as L
import scenes
from lumiart import group, rect, text

WIDTH, HEIGHT = 369, 222
GRID_X, GRID_Y = 169, 60
PITCH_X, PITCH_Y = 24, 27

MONTH_NAMES = ["一月", "二月", "三月", "四月", "五月", "六月", "七月", "八月", "九月", "十月", "十一月", "十二月"]
MOTTOS = ["瑞雪迎新春", "梅香报春来", "春风拂大地", "樱花烂漫时", "鲤鱼乘风起", "梅雨润花开",
          "碧海映蓝天", "向阳花盛开", "月圆人团圆", "枫红满山间", "银杏染金秋", "星光照雪夜"]
# The colour the program gives the year digits, by month.
YEAR_COLOURS = [0xFF0000, 0xFD0073, 0xFF9365, 0xFFA2A2, 0x33CE90, 0x04B4D6,
                0x00FFF0, 0xFF813C, 0xC000FF, 0xDB974A, 0x835C55, 0x0072BC]
# Card tints: (card, printed cell, header accent) by month.
CARDS = {
    1: ("#fffaf5", "#f2f0f7", "#d9475a"), 2: ("#fff8f8", "#f8eef2", "#d94c7c"),
    3: ("#fffbf2", "#f5f0e2", "#e07a4a"), 4: ("#fff8fa", "#f9edf1", "#e0708a"),
    5: ("#f8fff8", "#e9f4ea", "#2f9a6a"), 6: ("#f7fafe", "#e8eef7", "#3a8ab0"),
    7: ("#f5fcff", "#e2f2f8", "#1a8fb8"), 8: ("#fffcf0", "#f6efd8", "#e0702a"),
    9: ("#f9f7ff", "#ece9f7", "#7a4ad0"), 10: ("#fffaf2", "#f5ebdc", "#c0702a"),
    11: ("#fffbf2", "#f4ecda", "#8a6450"), 12: ("#f7f9ff", "#e7ecf7", "#2a62b0"),
}


def luminance(rgb):
    r, g, b = (rgb >> 16) & 255, (rgb >> 8) & 255, rgb & 255
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def picture(month):
    svg = L.Svg(WIDTH, HEIGHT)
    card, cell, accent = CARDS[month]
    # The scene behind the card fills the picture; the one on the left is
    # composed for the visible part.
    svg.add(scenes.scene(svg, month, WIDTH, HEIGHT, 1, seed=month + 40))
    left = svg.clip(rect(0, 0, 165, HEIGHT))
    svg.add(group(scenes.scene(svg, month, 172, HEIGHT, 0, seed=month), clip_path=left))

    # The year plate: light behind dark year colours, dark behind light ones.
    light_year = luminance(YEAR_COLOURS[month - 1]) > 150
    plate = "#3f3452" if light_year else "#ffffff"
    svg.add(L.drop_shadow_rect(svg, 7, 14, 86, 32, 11, 2.0, 0.25))
    svg.add(rect(7, 14, 86, 32, 11, fill=plate, opacity=0.88))
    svg.add(text(79, 36, "年", 14, fill="#ffffff" if light_year else accent, weight=700))

    # The card with header, weekday row and printed cells.
    cx, cy, cw, ch = 161, 8, 184, 208
    svg.add(L.drop_shadow_rect(svg, cx, cy, cw, ch, 10, 3.0, 0.3, 2))
    svg.add(rect(cx, cy, cw, ch, 10, fill=card))
    svg.add(rect(cx, cy, cw, 30, 10, fill=accent, opacity=0.12))
    svg.add(rect(cx, cy + 20, cw, 10, 0, fill=card))
    svg.add(text(cx + 10, 31, str(month), 22, fill=accent, weight=700, anchor="start"))
    svg.add(text(cx + 12 + 13 * len(str(month)), 31, "月", 13, fill=accent, weight=700, anchor="start"))
    svg.add(text(cx + cw - 10, 29, MOTTOS[month - 1], 11, fill=L.INK_SOFT, anchor="end"))
    svg.add(L.star(cx + cw - 10 - 11 * 5 - 9, 25, 4.2, L.STAR, rotation=-10))

    for col, name in enumerate("日一二三四五六"):
        colour = "#e0506a" if col == 0 else "#4a82c8" if col == 6 else L.INK_SOFT
        svg.add(text(GRID_X + PITCH_X * col + 12.5, 54, name, 11, fill=colour, weight=700))
    svg.add(rect(GRID_X + 2, 57.2, PITCH_X * 7 - 4, 0.8, 0.4, fill=L.INK_SOFT, opacity=0.35))

    cells = []
    for row in range(5):
        for col in range(7):
            x, y = GRID_X + PITCH_X * col, GRID_Y + PITCH_Y * row
            cells.append(rect(x + 1.5, y + 0.5, 21, 17, 4, fill=cell))
    svg.add(group(cells))
    return svg.text()


def write_if_changed(path, content):
    try:
        with open(path, encoding="utf-8") as f:
            if f.read() == content:
                return False
    except FileNotFoundError:
        pass
    with open(path, "w", encoding="utf-8") as f:
        f.write(content)
    return True


def main(argv):
    if len(argv) != 1:
        print(__doc__, file=sys.stderr)
        return 2
    os.makedirs(argv[0], exist_ok=True)
    for month in range(1, 13):
        write_if_changed(os.path.join(argv[0], f"{month:02d}.svg"), picture(month))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
