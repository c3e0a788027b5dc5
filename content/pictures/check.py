#!/usr/bin/env python3
"""Checks a picture's shape counts per fill against its page, and renders the
standard and the hard page to PNG files beside it (needs rsvg-convert)."""

import re
import subprocess
import sys
import xml.etree.ElementTree as ET

PAINTS = {
    1: ["d8ff69", "6f9400", "9f8300", "ffd94a", "964b00", "ff7800", "eb6900", "db5b00"],
    2: ["d89d00", "f9fb3e", "999400", "483c32", "005535", "6f6100", "007b65", "556b2f"],
    3: ["fdf860", "000000", "8601e7", "ffc1cc", "d3d3d3", "808080", "654321", "483c32", "cd7f32"],
    4: ["73e200", "483c32", "a7ff44", "85bb65", "556b2f", "85fba0", "f0ffae", "006538", "5e5200"],
    5: ["fdf758", "1f003f", "ffa400", "b6eff9", "ffeab3", "c28e00", "746cc0", "b5641c"],
    6: ["006960", "f3fd41", "3b3700", "4e4400", "808080", "483c32", "004a2b", "556b2f", "c2b280"],
    7: ["544800", "483c32", "556b2f", "57018f", "7803a1", "c507e0", "f45eda", "fe70ae", "ff625c"],
    8: ["ff6f46", "f3fd31", "e5e4e2", "ffb376", "808080", "483c32", "8a4400", "556b2f", "aebcff"],
    9: ["fefba2", "ffdb00", "ff8300", "fffabf", "cd7f32", "654321", "ffd569", "976c00", "483c32"],
    10: ["5300e2", "ffff66", "483c32", "808080", "c2b280", "ffe3bf", "c0b6ff"],
    11: ["380078", "ffc1cc", "ffcc00", "fff47f", "ff6600", "a09a00", "5b5c00", "000000", "395400"],
    12: ["483c32", "c2b280", "808080", "9acd32", "c0c0c0", "6e7f80", "654321", "ffcfab", "434800"],
    13: ["4a00ab", "e5e4e2", "808080", "512900", "916400", "483c32", "833500", "ffff66", "fddde6"],
    14: ["556b2f", "808080", "c2b280", "483c32", "d2b48c", "e5b73b", "ffdf00", "007364"],
    15: ["ffcc01", "fefaa6", "fff076", "ff8000", "cd9e00", "c2b280", "483c32", "c0c0c0", "808080"],
}
STANDARD = {
    1: [2, 5, 3, 6, 4, 6, 2, 3], 2: [4, 4, 7, 2, 3, 6, 9, 3], 3: [3, 3, 2, 3, 2, 3, 7, 5, 6],
    4: [1, 1, 12, 49, 4, 8, 4, 2, 2], 5: [8, 2, 3, 4, 6, 4, 2, 2],
    6: [1, 6, 3, 7, 14, 20, 3, 11, 1], 7: [7, 6, 5, 1, 5, 6, 6, 4, 4],
    8: [5, 3, 3, 3, 7, 5, 6, 3, 1], 9: [3, 13, 2, 3, 2, 14, 2, 7, 4], 10: [9, 8, 8, 5, 2, 7, 6],
    11: [1, 4, 5, 6, 1, 5, 3, 2, 3], 12: [5, 8, 7, 5, 6, 5, 7, 4, 5],
    13: [1, 2, 7, 1, 1, 2, 2, 3, 4], 14: [8, 8, 2, 11, 5, 2, 6, 1],
    15: [1, 2, 7, 9, 5, 14, 1, 2, 3],
}
HARD = {
    1: [16, 10, 5, 6, 6, 15, 6, 5], 2: [6, 6, 7, 3, 6, 6, 23, 22],
    3: [6, 9, 20, 3, 6, 3, 9, 5, 11], 4: [1, 3, 14, 55, 4, 12, 5, 4, 2],
    5: [30, 13, 3, 7, 8, 4, 4, 3], 6: [12, 7, 6, 9, 22, 20, 5, 15, 1],
    7: [12, 12, 9, 5, 12, 8, 9, 6, 10], 8: [15, 4, 5, 3, 16, 8, 9, 3, 2],
    9: [3, 16, 6, 3, 14, 16, 9, 7, 4], 10: [17, 11, 15, 8, 2, 16, 12],
    11: [12, 7, 5, 6, 8, 7, 10, 11, 10], 12: [18, 16, 9, 7, 24, 6, 9, 4, 13],
    13: [15, 2, 7, 3, 7, 3, 3, 3, 4], 14: [23, 14, 9, 14, 6, 3, 7, 15],
    15: [2, 4, 7, 31, 5, 48, 1, 3, 4],
}
SHAPES = {"path", "circle", "ellipse", "rect", "polygon"}
FORBIDDEN = {"stroke", "opacity", "fill-opacity", "style", "clip-path", "mask", "filter"}


def local(tag):
    return tag.rsplit("}", 1)[-1]


def shapes_in(group, problems):
    found = []
    for element in group.iter():
        name = local(element.tag)
        if name in SHAPES:
            fill = (element.get("fill") or "").lower().lstrip("#")
            found.append(fill)
            bad = FORBIDDEN.intersection(element.attrib)
            if bad:
                problems.append(f"{name} with {sorted(bad)}")
        elif name not in {"g", "title", "desc"} and element is not group:
            problems.append(f"unsupported element <{name}>")
    return found


def main(path):
    page = int(re.search(r"(\d\d)\.svg$", path).group(1))
    root = ET.parse(path).getroot()
    groups = {g.get("id"): g for g in root if local(g.tag) == "g"}
    problems = []
    if list(groups) != ["standard", "hard"]:
        problems.append(f"top-level groups are {list(groups)}, want ['standard', 'hard']")
    standard = shapes_in(groups.get("standard", ET.Element("g")), problems)
    hard = standard + shapes_in(groups.get("hard", ET.Element("g")), problems)
    paints = PAINTS[page] + (["ffffff"] if page == 7 else [])
    for label, fills, counts in (("standard", standard, STANDARD), ("hard", hard, HARD)):
        want = counts[page] + ([2] if page == 7 else [])
        for number, colour in enumerate(paints, 1):
            have = fills.count(colour)
            mark = "ok" if have == want[number - 1] else "WRONG"
            print(f"{label:8} paint {number:2} #{colour}: {have:3} of {want[number - 1]:3} {mark}")
            if have != want[number - 1]:
                problems.append(f"{label}: paint {number} has {have} shapes, wants {want[number - 1]}")
        strays = sorted({f for f in fills if f not in paints})
        if strays:
            problems.append(f"{label}: fills not in the palette: {strays}")

    base = path[:-4]
    ET.register_namespace("", "http://www.w3.org/2000/svg")
    hard_only = ET.tostring(root, encoding="unicode")
    if "hard" in groups:
        root.remove(groups["hard"])
    standard_only = ET.tostring(root, encoding="unicode")
    outlined = [re.sub(r"<((?:path|circle|ellipse|rect|polygon)\b)", r'<\1 stroke="#000" stroke-width="2"', svg)
                for svg in (standard_only, hard_only)]
    renders = (("standard", standard_only), ("hard", hard_only),
               ("standard-outlines", outlined[0]), ("hard-outlines", outlined[1]))
    for suffix, svg in renders:
        subprocess.run(["rsvg-convert", "-o", f"{base}-{suffix}.png"], input=svg.encode(),
                       check=True)
        print(f"rendered {base}-{suffix}.png")
    for problem in problems:
        print("PROBLEM:", problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
