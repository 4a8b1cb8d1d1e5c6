#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The StrumletViewer developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Real readers read back the pages of --page-style modern.

usage: page-readback.py MODE CONVERT FIXTURE SAMPLES READBACK_DIRS [SHOTS_DIR]

MODE validators: the Nu HTML checker and html-validate find no error and no warning on the
    pages (JPEG, PNG and SVG diagrams; left-handed; every sort order; framed) and the folder
    index, the samples and databases of odd names alike.
MODE browser: headless Chromium, driven by puppeteer-core, lays the sample pages (PNG and
    left-handed SVG diagrams) out on a phone (375 px, device scale 2, touch): every diagram 96 CSS px wide or more, nothing to
    scroll sideways; its accessibility tree has the headings at levels 1 and 2 and one named
    image per chord; a page of 100 chords printed on A4 leaves no heading at the foot of a page
    and no figure split over two. Screenshots of a phone, a desktop and dark mode go to
    SHOTS_DIR.

A reader that is not installed skips the test (status 77), naming what installs it.
"""
import glob
import json
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
NODE_READERS = os.path.join(HERE, "node")
CHROMIUM = "/usr/bin/chromium"
ROOTS = ["C", "Db", "D", "Eb", "E", "F", "F#", "G", "Ab", "A", "Bb", "B"]


def skip(reason):
    print("SKIP: " + reason + " (scripts/install-deps.sh installs it)")
    sys.exit(77)


def need_node_package(package):
    if not shutil.which("node"):
        skip("node is not installed")
    if not os.path.isdir(os.path.join(NODE_READERS, "node_modules", package)):
        skip("the npm package %s is not installed in %s" % (package, NODE_READERS))


def hundred_chords():
    # Twelve categories of 1 to 16 chords: headings fall all over the printed pages.
    lines = ['database "Hundred Chords"', "category 0 Unfiled id 0"]
    lines += ['category %d "Group %d"' % (c, c) for c in range(1, 13)]
    chord, category = 0, 1
    while chord < 100:
        for _ in range(min(category * 5 % 16 + 1, 100 - chord)):
            lines.append('{define: "%s%s" base-fret %d frets x %d %d 0 %d 1 fingers x 1 2 0 3 1}'
                         % (ROOTS[chord * 5 % 12], ["", "m", "7", "sus4"][chord % 4],
                            chord % 9 + 1, chord % 4 + 1, chord // 4 % 4 + 1, chord % 3 + 1))
            lines.append("category %d" % category)
            chord += 1
        category = category % 12 + 1
    return "\n".join(lines) + "\n"


def databases(fixture, samples, readback, work):
    source = os.path.join(work, "in")
    os.makedirs(source)
    for pdb in glob.glob(os.path.join(samples, "*.pdb")):
        shutil.copy(pdb, source)
    text = os.path.join(work, "Hundred Chords.txt")
    with open(text, "w", encoding="utf-8") as f:
        f.write(hundred_chords())
    subprocess.run([fixture, text, os.path.join(source, "Hundred Chords.pdb")], check=True)
    for folder in readback.split(":"):
        for text in glob.glob(os.path.join(folder, "*.txt")):
            name = os.path.splitext(os.path.basename(text))[0] + ".pdb"
            subprocess.run([fixture, text, os.path.join(source, name)], check=True,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    # A name with markup, an ampersand, a quote and a byte that is no UTF-8.
    odd = os.path.join(source.encode(), b'Odd <&> "\xff".pdb')
    shutil.copy(os.path.join(samples, "Ukulele Chords.pdb"), odd)
    return source


def convert(tool, source, out, extra):
    # Status 1 is a damaged database read in part: its chords read completely are written.
    result = subprocess.run([tool, "-q", "--page-style", "modern", "-o", out, source] + extra,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    if result.returncode not in (0, 1):
        print("FAIL: strumlet-convert %s ended with status %d" % (extra, result.returncode))
        sys.exit(1)
    pages = sorted(glob.glob(os.path.join(glob.escape(out), "*", "*.html")))
    if not pages or not os.path.isfile(os.path.join(out, "index.html")):
        print("FAIL: no pages or no index in " + out)
        sys.exit(1)
    return pages


RUNS = [["-f", "jpeg", "-s", "category"], ["-f", "png", "-s", "name", "--left-handed"],
        ["-f", "svg,json", "-s", "position", "--frame", "--scale", "200"]]


def validators(tool, source, work):
    if not shutil.which("java"):
        skip("java is not installed (default-jre-headless)")
    need_node_package("vnu-jar")
    need_node_package("html-validate")
    files = []
    for i, extra in enumerate(RUNS):
        out = os.path.join(work, "out%d" % i)
        files += convert(tool, source, out, extra) + [os.path.join(out, "index.html")]
    failures = 0
    vnu = os.path.join(NODE_READERS, "node_modules", "vnu-jar", "build", "dist", "vnu.jar")
    checked = subprocess.run(["java", "-jar", vnu, "--format", "gnu", "--Werror"] + files,
                             capture_output=True, text=True, errors="replace")
    if checked.returncode != 0 or checked.stdout.strip() or checked.stderr.strip():
        print("FAIL: the Nu HTML checker:\n" + checked.stdout + checked.stderr)
        failures += 1
    config = os.path.join(work, "htmlvalidate.json")
    with open(config, "w") as f:
        json.dump({"extends": ["html-validate:recommended"]}, f)
    checker = os.path.join(NODE_READERS, "node_modules", "html-validate", "bin",
                           "html-validate.mjs")
    checked = subprocess.run(["node", checker, "--config", config, "--max-warnings", "0",
                              "--formatter", "text"] + files,
                             capture_output=True, text=True, errors="replace")
    if checked.returncode != 0 or checked.stdout.strip():
        print("FAIL: html-validate:\n" + checked.stdout + checked.stderr)
        failures += 1
    print("%d pages and indexes checked by two validators" % len(files))
    return failures


def browser(tool, source, work, shots):
    if not os.access(CHROMIUM, os.X_OK):
        skip("Chromium is not installed (chromium)")
    if not shutil.which("pdftotext"):
        skip("pdftotext is not installed (poppler-utils)")
    need_node_package("puppeteer-core")
    checks = []
    # The PNG pages by category, and SVG diagrams of a left hand by name.
    for kind, extra in (("png", ["-s", "category"]), ("svg", ["-s", "name", "--left-handed"])):
        out = os.path.join(work, kind)
        for page in convert(tool, source, out, ["-f", kind] + extra):
            folder = os.path.dirname(page)
            chords = len(glob.glob(os.path.join(glob.escape(folder), "*." + kind)))
            name = os.path.basename(folder)
            if kind == "png" and name in ("Banjo Chords", "Ukulele Chords", "Hundred Chords"):
                checks.append({"page": page, "chords": chords, "print": name == "Hundred Chords"})
            elif name == "Guitar Chords":
                checks.append({"page": page, "chords": chords, "print": False, "shots": kind})
        if kind == "png":
            checks.append({"page": os.path.join(out, "index.html"), "chords": 0, "print": False})
    os.makedirs(shots, exist_ok=True)
    script = os.path.join(NODE_READERS, "page-browser.cjs")
    result = subprocess.run(["node", script, CHROMIUM, shots, json.dumps(checks)],
                            capture_output=True, text=True, errors="replace", timeout=300)
    sys.stdout.write(result.stdout)
    sys.stderr.write(result.stderr)
    return 0 if result.returncode == 0 else 1


def main():
    if len(sys.argv) < 6:
        print(__doc__)
        return 2
    mode, tool, fixture, samples, readback = sys.argv[1:6]
    with tempfile.TemporaryDirectory() as work:
        source = databases(fixture, samples, readback, work)
        if mode == "validators":
            failures = validators(tool, source, work)
        else:
            shots = sys.argv[6] if len(sys.argv) > 6 else os.path.join(work, "shots")
            failures = browser(tool, source, work, shots)
    print("%d failed" % failures if failures else "all checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
