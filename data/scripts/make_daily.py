#!/usr/bin/env python3
"""Writes the 366 day pages of LumiDaily as SVG ("0101.svg" ... "1231.svg").

    make_daily.py OUTDIR

A page is 320 x 184 and its alpha is the window's shape: a tear-off sheet
with a perforated top edge, a clip at the top whose plate carries the
program's date line (x 133-189, y 0-10) and a tab at the bottom for the
weekday label (120, 174, 80 x 14). On the left a seasonal vignette follows
the month and the solar terms; on the right the big day number, the month,
and the solar term, the fixed holiday or a seasonal phrase of the day.
Files are rewritten only when their text changes.
"""

import math
import os
import sys

import lumiart as L
import scenes
from lumiart import circle, group, path, rect, text, fmt

WIDTH, HEIGHT = 320, 184
DAYS = [31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31]
MONTH_NAMES = ["一月", "二月", "三月", "四月", "五月", "六月", "七月", "八月", "九月", "十月", "十一月", "十二月"]
ACCENTS = ["#d9475a", "#d94c7c", "#e07a4a", "#e0708a", "#2f9a6a", "#3a8ab0",
           "#1a8fb8", "#e0702a", "#7a4ad0", "#c0702a", "#8a6450", "#2a62b0"]

# The solar terms on their usual day.
TERMS = {
    (1, 6): "小寒", (1, 20): "大寒", (2, 4): "立春", (2, 19): "雨水", (3, 6): "惊蛰", (3, 21): "春分",
    (4, 5): "清明", (4, 20): "谷雨", (5, 6): "立夏", (5, 21): "小满", (6, 6): "芒种", (6, 21): "夏至",
    (7, 7): "小暑", (7, 23): "大暑", (8, 8): "立秋", (8, 23): "处暑", (9, 8): "白露", (9, 23): "秋分",
    (10, 8): "寒露", (10, 23): "霜降", (11, 7): "立冬", (11, 22): "小雪", (12, 7): "大雪", (12, 22): "冬至",
}
# Holidays that keep their date every year.
FIXED_HOLIDAYS = {
    (1, 1): "元日", (2, 11): "建国纪念日", (2, 23): "天皇诞生日", (4, 29): "昭和之日",
    (5, 3): "宪法纪念日", (5, 4): "绿之日", (5, 5): "儿童节", (8, 11): "山之日",
    (11, 3): "文化节", (11, 23): "勤劳感谢日",
}
# Two phrases a month: before and after its middle solar term.
PHRASES = [
    ("新年新气象", "寒梅傲雪开"), ("春寒犹料峭", "冰雪渐消融"), ("春雷唤万物", "草木始萌动"),
    ("春光正明媚", "花落又花开"), ("初夏风和煦", "麦穗渐饱满"), ("细雨润新绿", "绣球满庭开"),
    ("夏日好时光", "蝉鸣伴海风"), ("向日葵盛放", "晚风送清凉"), ("秋高气也爽", "明月寄相思"),
    ("层林渐尽染", "秋叶舞翩翩"), ("银杏满地金", "初雪悄悄来"), ("围炉话冬夜", "星光照雪夜"),
]


def day_of_year(month, day):
    return sum(DAYS[:month - 1]) + day


def page_shape():
    """The sheet's outline with the perforation holes cut out (even-odd)."""
    body = (f"M13 4 H307 Q317 4 317 14 V172 Q317 182 307 182 H206 V184 H114 V182 H13 Q3 182 3 172 "
            f"V14 Q3 4 13 4 Z")
    holes = []
    for i in range(26):
        x = 14 + i * 11.7
        if 118 < x < 204:
            continue
        holes.append(f"M{fmt(x - 1.6)} 10 a1.6 1.6 0 1 0 3.2 0 a1.6 1.6 0 1 0 -3.2 0 Z")
    return body + " " + " ".join(holes)


def page(month, day):
    svg = L.Svg(WIDTH, HEIGHT)
    accent = ACCENTS[month - 1]
    doy = day_of_year(month, day)
    mid = [k[1] for k in TERMS if k[0] == month][1]
    half = 0 if day < mid else 1
    key = (month, day)
    shape = page_shape()

    # shadow, then the sheet with a faint paper gradient
    svg.add(path(shape, fill="#3a2a4a", opacity=0.35, fill_rule="evenodd", transform="translate(0 1.5)",
                 filter=svg.blur(1.4)))
    paper = svg.linear([(0, "#fffdf8"), (1, "#fbf3e6")])
    svg.add(path(shape, fill=paper, fill_rule="evenodd"))
    svg.add(rect(3, 16, 314, 1, 0, fill="#e9dcc8"))

    # seasonal vignette on the left
    vx, vy, vw, vh = 12, 21, 140, 140
    frame = svg.clip(rect(0, 0, vw, vh, 9))
    vignette = group(scenes.scene(svg, month, vw, vh, half, seed=doy // 3), clip_path=frame)
    border = rect(0, 0, vw, vh, 9, fill="none", stroke="#ffffff", stroke_width=2.5)
    svg.add(group([vignette, border], transform=f"translate({vx} {vy})"))

    # right side: month, big number, the day's word
    cx = 234
    svg.add(text(cx, 42, MONTH_NAMES[month - 1], 15, fill=accent, weight=700))
    svg.add(rect(cx - 30, 49, 60, 1.2, 0.6, fill=accent, opacity=0.35))
    special = FIXED_HOLIDAYS.get(key) is not None
    number_colour = "#e0506a" if special else L.INK
    svg.add(text(cx + 1.5, 119.5, str(day), 68, fill="#000000", weight=700, opacity=0.08))
    svg.add(text(cx, 118, str(day), 68, fill=number_colour, weight=700))
    word = FIXED_HOLIDAYS.get(key) or TERMS.get(key)
    if word:
        badge_w = 16 + 14 * len(word)
        colour = "#e0506a" if special else accent
        svg.add(rect(cx - badge_w / 2, 128, badge_w, 21, 10.5, fill=colour))
        svg.add(text(cx, 143.5, word, 13, fill="#ffffff", weight=700))
    else:
        svg.add(text(cx, 143, PHRASES[month - 1][half], 12, fill=L.INK_SOFT))
    # Lumi visits on the solar terms, the holidays and the first of the month
    if word or day == 1:
        svg.add(L.mascot(svg, 290, 44, 10, rotation=12 if doy % 2 else -12, mood="open" if doy % 3 else "smile"))
    else:
        svg.add(L.star(292, 40, 3.5, L.STAR, rotation=doy * 7 % 72))
        svg.add(L.sparkle(282, 50, 3, L.STAR_DEEP, 0.8))

    # top clip with the plate for the date line
    clip_fill = svg.linear([(0, accent), (1, accent)])
    svg.add(path("M124 0 H198 V11 Q198 17 192 17 H130 Q124 17 124 11 Z", fill=clip_fill))
    svg.add(path("M124 0 H198 V3 H124 Z", fill="#ffffff", opacity=0.25))
    svg.add(rect(130, 0, 62, 12, 3, fill="#fffaf0"))
    # bottom tab for the weekday label
    svg.add(path("M114 184 V172 Q114 168 118 168 H202 Q206 168 206 172 V184 Z", fill="#fffaf0"))
    svg.add(path("M114 184 V172 Q114 168 118 168 H202 Q206 168 206 172 V184", fill="none",
                 stroke=accent, stroke_width=1.2, opacity=0.5))
    return svg.text()


def write_if_changed(path_name, content):
    try:
        with open(path_name, encoding="utf-8") as f:
            if f.read() == content:
                return False
    except FileNotFoundError:
        pass
    with open(path_name, "w", encoding="utf-8") as f:
        f.write(content)
    return True


def main(argv):
    if len(argv) != 1:
        print(__doc__, file=sys.stderr)
        return 2
    os.makedirs(argv[0], exist_ok=True)
    for month in range(1, 13):
        for day in range(1, DAYS[month - 1] + 1):
            write_if_changed(os.path.join(argv[0], f"{month:02d}{day:02d}.svg"), page(month, day))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
