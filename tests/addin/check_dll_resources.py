#!/usr/bin/env python3
"""Checks the resources inside a built vxhtml.dll without running it: windres
reads them back out of the PE file. The five tree bitmaps must be there with
their sizes and 16 colours, and the string table must hold exactly the texts
below (the category captions as the catalogue fixture lists them), so that a
host without resources of its own still gets a complete tree.

usage: check_dll_resources.py WINDRES DLL CATALOGUE_FIXTURE
"""
import re
import subprocess
import sys

BITMAPS = {  # name: (width, height)
    "HTML0": (16, 16),
    "HTMLP": (32, 32),
    "HTMLSP": (32, 32),
    "HTMLC": (32, 32),
    "HTMLSC": (32, 32),
}

OTHER_STRINGS = {
    5001: "HTML ﾀｸﾞﾒﾆｭｰ",
    5013: "ユーザー定義のタグ",
    6001: "マクロ ﾀｸﾞﾒﾆｭｰ",
    6002: "マクロ  1 - 10",
    6003: "マクロ 11 - 20",
    6004: "マクロ 21 - 30",
    6005: "マクロ 31 - 40",
    6006: "マクロ 41 - 50",
    6007: "マクロ 51 - 60",
    6008: "マクロ 61 - 70",
    6009: "マクロ 71 - 80",
}


def expected_strings(fixture):
    strings = dict(OTHER_STRINGS)
    with open(fixture, encoding="utf-8") as lines:
        for line in lines:
            depth, kind, number, caption = line.rstrip("\n").split("\t")[:4]
            if kind == "category":
                strings[5002 + int(number)] = caption
    return strings


def decode_rc_string(literal):
    # windres writes wide strings with \xNNNN escapes for everything outside ASCII.
    return re.sub(r"\\x([0-9a-fA-F]{4})", lambda m: chr(int(m.group(1), 16)), literal)


def main():
    windres, dll, fixture = sys.argv[1:4]
    read = subprocess.run([windres, "-J", "coff", "-O", "rc", "-i", dll], capture_output=True, text=True)
    if read.returncode != 0:
        print("no resources could be read from %s: %s" % (dll, read.stderr.strip()))
        return 1
    rc = read.stdout
    failures = []

    for name, (width, height) in BITMAPS.items():
        match = re.search(r'^"%s" 2 /\* RT_BITMAP \*/\nBEGIN\n(.*?)^END' % name, rc, re.M | re.S)
        if not match:
            failures.append("bitmap %s missing" % name)
            continue
        words = [int(w.rstrip("L"), 16) for w in re.findall(r"0x[0-9a-fA-F]+L", match.group(1))[:4]]
        got = (words[1], words[2], words[3] >> 16) if len(words) == 4 else None
        if got != (width, height, 4):
            failures.append("bitmap %s: width, height, bits %s, want %s" % (name, got, (width, height, 4)))

    strings = {int(i): decode_rc_string(s)
               for i, s in re.findall(r'^\s+(\d+), L"((?:[^"\\]|\\.)*)"$', rc, re.M)}
    want = expected_strings(fixture)
    for number in sorted(set(want) | set(strings)):
        if strings.get(number) != want.get(number):
            failures.append("string %d: %r, want %r" % (number, strings.get(number), want.get(number)))

    for failure in failures:
        print(failure)
    if not failures:
        print("ok: %d bitmaps, %d strings" % (len(BITMAPS), len(strings)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
