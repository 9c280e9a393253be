#!/usr/bin/env python3
"""Renders the recognition benchmark's evaluation corpus.

  bench/recognition/corpus.py OUT_DIR

Lines of real Chinese text (Debian 12's Chinese package descriptions, fetched by
scripts/fetch-eval-corpus, which runs first when they are missing) rendered with ImageMagick in three typefaces (WenQuanYi Micro Hei,
Noto Sans CJK SC, AR PL UMing) into pages of 20 lines:

  ui        12, 14 and 16 px: for each typeface and size a region page (the lines stacked as in a
            dialog or a panel one captures) and a screen page (1920 x 1080, lines scattered at
            every height and indentation, some on grey or blue panels, as on a desktop)
  document  20, 24 and 28 px: for each typeface and size two pages of stacked lines

Each page is OUT_DIR/<band>/<name>.png with its lines in <name>.txt (UTF-8, in reading order).
The choice of lines and places is seeded: the same input gives the same pages. Pages are only
rendered when missing.
"""

import os
import random
import subprocess
import sys
import unicodedata

CACHE = os.environ.get("LUMENTA_DEPS_CACHE", os.path.expanduser("~/.cache/lumenta-deps"))
MATERIAL = os.path.join(CACHE, "eval-corpus-1")

TYPEFACES = [("microhei", "WenQuanYi-Micro-Hei"), ("notosans", "Noto-Sans-CJK-SC"),
             ("uming", "AR-PL-UMing-CN")]
UI_SIZES = [12, 14, 16]
DOCUMENT_SIZES = [20, 24, 28]
LINES_PER_PAGE = 20

# (text colour, background) of screen lines: plain, a dialog's grey, a selected row's blue.
SCREEN_SCHEMES = [("black", "white"), ("#202020", "#F0F0F0"), ("#333333", "#E5F1FB"),
                  ("white", "#0078D7")]


def is_cjk(c):
    return "\u4e00" <= c <= "\u9fff" or "\u3000" <= c <= "\u303f" or "\uff00" <= c <= "\uffef"


def corpus_lines():
    """The description lines, each once, that are mostly Chinese, of a line's length, and
    written in GBK (the program's text; the three typefaces cover it)."""
    path = os.path.join(MATERIAL, "Translation-zh_CN")
    seen, lines = set(), []
    with open(path, encoding="utf-8") as f:
        for raw in f:
            if raw.startswith("Description-zh_CN:"):
                line = raw[len("Description-zh_CN:"):].strip()
            elif raw.startswith(" "):
                line = raw.strip()
            else:
                continue
            line = unicodedata.normalize("NFC", line)
            if line == "." or line in seen or not 8 <= len(line) <= 30:
                continue
            if sum(map(is_cjk, line)) < len(line) * 0.5 or line[0] in "@-":
                continue
            try:
                line.encode("gbk")
            except UnicodeEncodeError:
                continue
            seen.add(line)
            lines.append(line)
    return lines


def label(text, font, size, fill, background, border):
    """A label with a border of its background (WxH) around it, as one image of the list."""
    # A label is a format string: "%" escapes.
    return ["(", "-background", background, "-fill", fill, "-font", font, "-pointsize",
            str(size), "label:" + text.replace("%", "%%"), "-bordercolor", background,
            "-border", border, ")"]


def render(out_png, command):
    subprocess.run(["convert", *command, "-strip", "-define", "png:exclude-chunks=date,time",
                    out_png], check=True, env=dict(os.environ, FONTCONFIG_FILE=os.path.join(
                        MATERIAL, "fonts.conf")))


def stacked_page(lines, font, size, margin, spacing):
    """Lines one under the other, left-aligned, on white."""
    command = ["-density", "72"]
    gap = max(1, round(size * (spacing - 1)))
    for line in lines:
        command += label(line, font, size, "black", "white", f"0x{gap // 2}")
    command += ["-gravity", "northwest", "-background", "white", "-append", "-bordercolor",
                "white", "-border", str(margin)]
    return command


def screen_page(lines, font, size, rng):
    """1920 x 1080, every line at its own height (so that the reading order is unambiguous),
    indented anywhere, some on panels."""
    width, height = 1920, 1080
    command = ["-density", "72", "-size", f"{width}x{height}", "xc:white"]
    # Panels: a few grey and blue rectangles in the background, as windows and lists make.
    for _ in range(4):
        x0, y0 = rng.randrange(0, width - 400), rng.randrange(0, height - 200)
        colour = rng.choice(["#F0F0F0", "#E5F1FB", "#F7F7F7"])
        command += ["-fill", colour, "-draw",
                    f"rectangle {x0},{y0} {x0 + rng.randrange(300, 900)},"
                    f"{y0 + rng.randrange(100, 400)}"]
    slot = (height - 40) // len(lines)
    for i, line in enumerate(lines):
        fill, background = rng.choice(SCREEN_SCHEMES)
        if rng.random() < 0.6:
            fill, background = "black", "white"
        y = 20 + i * slot + rng.randrange(0, max(1, slot - size * 2))
        x = rng.randrange(10, width - 12 * size - len(line) * size)
        command += label(line, font, size, fill, background, "6x3")
        command += ["-geometry", f"+{x}+{y}", "-composite"]
    return command


def build(out_dir):
    lines = corpus_lines()
    rng = random.Random(20261210)
    rng.shuffle(lines)
    taken = 0

    def take():
        nonlocal taken
        page = lines[taken:taken + LINES_PER_PAGE]
        taken += LINES_PER_PAGE
        return page

    pages = []
    for key, font in TYPEFACES:
        for size in UI_SIZES:
            pages.append(("ui", f"region-{key}-{size}px", take(),
                          lambda p, f=font, s=size: stacked_page(p, f, s, 8, 1.5)))
            page_rng = random.Random(f"{key}-{size}")
            pages.append(("ui", f"screen-{key}-{size}px", take(),
                          lambda p, f=font, s=size, r=page_rng: screen_page(p, f, s, r)))
        for size in DOCUMENT_SIZES:
            for n in (1, 2):
                pages.append(("document", f"page{n}-{key}-{size}px", take(),
                              lambda p, f=font, s=size: stacked_page(p, f, s, s, 1.5)))
    made = 0
    for band, name, page_lines, layout in pages:
        os.makedirs(os.path.join(out_dir, band), exist_ok=True)
        png = os.path.join(out_dir, band, name + ".png")
        txt = os.path.join(out_dir, band, name + ".txt")
        if os.path.exists(png) and os.path.exists(txt):
            continue
        render(png, layout(page_lines))
        with open(txt, "w", encoding="utf-8") as f:
            f.write("\n".join(page_lines) + "\n")
        made += 1
    print(f"corpus: {len(pages)} pages in {out_dir} ({made} rendered now), "
          f"{taken} of {len(lines)} lines", file=sys.stderr)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    if not os.path.exists(os.path.join(MATERIAL, ".complete")):
        subprocess.run([os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(
            os.path.abspath(__file__)))), "scripts", "fetch-eval-corpus")], check=True)
    build(sys.argv[1])
