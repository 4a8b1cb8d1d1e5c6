#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 The StrumletViewer developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""PDF readers read the chord books back.

  pdf-readback.py CONVERT FIXTURE SAMPLES READBACK

Converts the bundled samples and the databases built from the descriptions in READBACK (folders
separated by ":") with `strumlet-convert -f pdf,json`, sorted by category on A4 and by name on
Letter (left-handed, with the diagrams' words), and reads every book with the poppler and qpdf
tools:
  qpdf --check finds no fault in its structure;
  pdffonts lists every font as embedded;
  pdfinfo gives the paper asked for, as many pages as the footers count ("3 / 12"), the title,
    and a tagged document;
  pdftotext gives the title, then the headings and every chord name (from the JSON file) in
    their order, and with --alt-text every diagram's words;
  the outline (qpdf --json) lists every heading, and on the page each one leads to there is
    something below it (pdftotext -bbox): no heading is the last thing on a page.
Without --paper the book takes the paper settings (PAPERSIZE, the PAPERCONF file), else the
locale's paper (a Letter locale built with localedef into the work folder).
A reader that is missing fails the test, naming what installs it.
"""
import glob
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

# A database whose fifteen categories of 1 to 23 chords put headings all over the pages.
ROOTS = ["C", "Db", "D", "Eb", "E", "F", "F#", "G", "Ab", "A", "Bb", "B"]


def many_headings():
    lines = ['database "Many Headings"', "category 0 Unfiled id 0"]
    lines += ["category %d Group%d" % (c, c) for c in range(1, 16)]
    chord = 0
    for c in range(1, 16):
        for _ in range(c * 7 % 23 + 1):
            lines.append('{define: "%s%s" base-fret %d frets x %d %d 0 %d 1 fingers x 1 2 0 3 1}'
                         % (ROOTS[chord * 5 % 12], ["", "m", "7", "sus4"][chord % 4],
                            chord % 9 + 1, chord % 4 + 1, chord // 4 % 4 + 1, chord % 3 + 1))
            lines.append("category %d" % c)
            chord += 1
    return "\n".join(lines) + "\n"


PAPERS = {"a4": (595.28, 841.89), "letter": (612.0, 792.0)}
RUNS = [("category", "a4", []), ("name", "letter", ["--left-handed", "--alt-text"]),
        ("category", "letter", ["--font-size", "36"])]


def fail(text):
    print("FAIL: " + text)


def need(tool, package):
    if not shutil.which(tool):
        print("FAIL: %s is not installed (%s; scripts/install-deps.sh installs it)"
              % (tool, package))
        sys.exit(1)


def run(*args):
    return subprocess.run(list(args), capture_output=True, text=True, errors="replace")


def convert(convert_tool, fixture_tool, samples, readback, work, sort, paper, extra):
    source = os.path.join(work, "in")
    if not os.path.isdir(source):
        os.makedirs(source)
        text = os.path.join(work, "Many Headings.txt")
        with open(text, "w", encoding="utf-8") as f:
            f.write(many_headings())
        subprocess.run([fixture_tool, text, os.path.join(source, "Many Headings.pdb")],
                       check=True)
        for pdb in glob.glob(os.path.join(samples, "*.pdb")):
            shutil.copy(pdb, source)
        for folder in readback.split(":"):
            for text in glob.glob(os.path.join(folder, "*.txt")):
                name = os.path.splitext(os.path.basename(text))[0] + ".pdb"
                subprocess.run([fixture_tool, text, os.path.join(source, name)], check=True)
    out = os.path.join(work, "%s-%s" % (sort, paper))
    # Status 1 is a damaged database read in part: its chords read completely are written.
    result = subprocess.run([convert_tool, "-q", "-f", "pdf,json", "-s", sort, "--paper", paper,
                             "-o", out, source] + extra, stdout=subprocess.DEVNULL)
    if result.returncode not in (0, 1):
        fail("strumlet-convert ended with status %d" % result.returncode)
        sys.exit(1)
    bases = sorted(os.path.splitext(p)[0] for p in glob.glob(os.path.join(out, "*", "*.json")))
    books = sorted(glob.glob(os.path.join(out, "*", "*.pdf")))
    if len(books) != len(bases) or not bases:
        fail("%d JSON files but %d PDF files in %s" % (len(bases), len(books), out))
        sys.exit(1)
    return bases


def outline(pdf):
    """(title, page from 1, top in PDF units) of every outline entry, depth first."""
    result = run("qpdf", "--json", "--json-key=outlines", pdf)
    entries = []

    def walk(items):
        for item in items:
            dest = item.get("dest") or []
            top = dest[3] if len(dest) > 3 and isinstance(dest[3], (int, float)) else None
            entries.append((item["title"], item.get("destpageposfrom1"), top))
            walk(item.get("kids", []))
    walk(json.loads(result.stdout)["outlines"])
    return entries


def bbox_pages(pdf):
    """Per page: (width, height, [(word, yMin, yMax)])."""
    result = run("pdftotext", "-bbox", pdf, "-")
    xhtml = re.sub(r"<!DOCTYPE[^>]*>", "", result.stdout)
    root = ET.fromstring(xhtml)
    pages = []
    for page in root.iter("{http://www.w3.org/1999/xhtml}page"):
        words = [(w.text or "", float(w.get("yMin")), float(w.get("yMax")))
                 for w in page.iter("{http://www.w3.org/1999/xhtml}word")]
        pages.append((float(page.get("width")), float(page.get("height")), words))
    return pages


def nameless(chord):
    """A chord without a name, which its diagram shows none for: the exports name it by its
    record, as the hexadecimal stem of its image."""
    return re.fullmatch(r"[0-9a-f]+", chord["name"]) is not None


def in_order(words, wanted, optional=()):
    """The first of `wanted` (each a run of words) not found in `words` after the one before;
    those in `optional` may be missing."""
    at = 0
    for text in wanted:
        run_ = text.split()
        if not run_:
            continue
        start = at
        while at + len(run_) <= len(words) and words[at:at + len(run_)] != run_:
            at += 1
        if at + len(run_) <= len(words):
            at += len(run_)
        elif text in optional:
            at = start
        else:
            return text
    return None


def check_book(base, sort, paper, extra):
    pdf = base + ".pdf"
    name = os.path.basename(pdf)
    failures = 0
    with open(base + ".json", encoding="utf-8") as f:
        data = json.load(f)

    check = run("qpdf", "--check", pdf)
    if check.returncode != 0 or "WARNING" in check.stdout + check.stderr:
        fail("%s: qpdf --check: %s" % (name, (check.stdout + check.stderr).strip()[-400:]))
        failures += 1

    fonts = run("pdffonts", pdf).stdout.splitlines()[2:]
    if not fonts:
        fail("%s: pdffonts lists no font" % name)
        failures += 1
    for line in fonts:
        # name type encoding emb sub uni object ID: the emb column is the fourth from the end.
        if line.split()[-5] != "yes":
            fail("%s: a font is not embedded: %s" % (name, line))
            failures += 1

    info = dict(line.split(":", 1) for line in run("pdfinfo", pdf).stdout.splitlines()
                if ":" in line)
    size = re.match(r"\s*([\d.]+) x ([\d.]+) pts", info.get("Page size", ""))
    width, height = PAPERS[paper]
    if not size or abs(float(size.group(1)) - width) > 0.5 or \
            abs(float(size.group(2)) - height) > 0.5:
        fail("%s: page size %r, not %s" % (name, info.get("Page size"), paper))
        failures += 1
    if info.get("Title", "").strip() != data["name"]:
        fail("%s: the document title is %r, not %r" % (name, info.get("Title"), data["name"]))
        failures += 1
    pages = int(info.get("Pages", "0"))
    if info.get("Tagged", "").strip() != "yes":
        fail("%s: pdfinfo does not take it for a tagged document" % name)
        failures += 1
    # The structure as a reader sees it: one Document holding the title's H1, then a Figure per
    # chord drawn (the headings' H2 among them), nothing it has to warn of.
    struct = run("pdfinfo", "-struct", pdf)
    elements = [line.split()[0] for line in struct.stdout.splitlines() if line.strip()]
    if elements[:2] != ["Document", "H1"] or "Syntax" in struct.stderr or \
            elements.count("Figure") < sum(1 for chord in data["chords"] if chord["positions"]):
        fail("%s: pdfinfo -struct shows %s... (%d figures); %s" %
             (name, elements[:3], elements.count("Figure"), struct.stderr[:200]))
        failures += 1

    # The title, then the headings and the chord names in order.
    text = run("pdftotext", "-raw", pdf, "-").stdout
    words = text.split()
    wanted = [data["name"]]
    headings = []
    category = None
    for chord in data["chords"]:
        if sort == "category" and chord["category"] != category:
            category = chord["category"]
            headings.append(category)
            wanted.append(category)
        wanted.append(chord["name"])
    missed = in_order(words, wanted, {c["name"] for c in data["chords"] if nameless(c)})
    if missed is not None:
        fail("%s: pdftotext does not give %r where it belongs" % (name, missed))
        failures += 1
    footers = re.findall(r"^(\d+) / (\d+)$", text, re.M)
    if [f for f in footers] != [(str(i + 1), str(pages)) for i in range(pages)]:
        fail("%s: %d pages, but the footers read %s" % (name, pages, footers[:5]))
        failures += 1
    if "--alt-text" in extra:
        named = [c for c in data["chords"] if not nameless(c)]
        described = sum(1 for c in named if (c["name"] + ":") in text)
        if described < len(named):
            fail("%s: the words of only %d of %d named diagrams" % (name, described, len(named)))
            failures += 1

    # The outline: the title, then every heading; none of them the last thing on its page.
    entries = outline(pdf)
    titles = [title for title, _, _ in entries]
    if not titles or titles[0] != data["name"]:
        fail("%s: the outline starts with %r" % (name, titles[:1]))
        failures += 1
    if sort == "category" and titles[1:] != headings:
        fail("%s: the outline lists %r, the headings are %r" % (name, titles[1:], headings))
        failures += 1
    if sort == "name":
        missed = in_order(words, titles)
        if missed is not None or (len(titles) < 2) != (not data["chords"]):
            fail("%s: the outline's heading %r is not in the text" % (name, missed))
            failures += 1
    boxes = bbox_pages(pdf)
    for title, page, top in entries[1:]:
        if page is None or top is None or not 1 <= page <= len(boxes):
            fail("%s: the outline entry %r leads nowhere" % (name, title))
            failures += 1
            continue
        page_width, page_height, page_words = boxes[page - 1]
        heading_top = page_height - top
        footer_top = page_height - 42.52 - 18  # the box of diagrams ends there
        below = [w for w, y0, _ in page_words if heading_top + 20 < y0 < footer_top]
        if not below:
            fail("%s: the heading %r is the last thing on page %d" % (name, title, page))
            failures += 1
    return failures, pages


def page_size(pdf):
    size = re.search(r"Page size:\s*([\d.]+) x ([\d.]+)", run("pdfinfo", pdf).stdout)
    return (round(float(size.group(1)), 2), round(float(size.group(2)), 2)) if size else None


def check_default_paper(convert_tool, samples, work):
    """The system's paper: libpaper's settings first, then the locale's."""
    failures = 0
    sample = sorted(glob.glob(os.path.join(samples, "*.pdb")))[0]
    conf = os.path.join(work, "papersize")
    with open(conf, "w") as f:
        f.write("letter\n")
    missing_conf = os.path.join(work, "no-papersize")
    base = {k: v for k, v in os.environ.items()
            if k not in ("PAPERSIZE", "PAPERCONF", "LANG", "LANGUAGE") and not k.startswith("LC_")}
    cases = [("PAPERSIZE=letter", {"PAPERSIZE": "letter"}, "letter"),
             ("PAPERSIZE=a4", {"PAPERSIZE": "a4", "PAPERCONF": conf}, "a4"),
             ("PAPERCONF naming letter", {"PAPERCONF": conf}, "letter"),
             ("no setting, C locale", {"PAPERCONF": missing_conf, "LC_ALL": "C"}, "a4")]
    locales = os.path.join(work, "locales")
    os.makedirs(locales)
    if shutil.which("localedef") and subprocess.run(
            ["localedef", "-i", "en_US", "-f", "UTF-8", os.path.join(locales, "en_US.UTF-8")],
            capture_output=True).returncode in (0, 1):
        cases.append(("no setting, LC_PAPER=en_US.UTF-8",
                      {"PAPERCONF": missing_conf, "LOCPATH": locales,
                       "LC_PAPER": "en_US.UTF-8"}, "letter"))
        a4_conf = os.path.join(work, "papersize-a4")
        with open(a4_conf, "w") as f:
            f.write("a4\n")
        cases.append(("PAPERCONF naming a4 beats a Letter locale", {"PAPERCONF": a4_conf,
                      "LOCPATH": locales, "LC_ALL": "en_US.UTF-8"}, "a4"))
    else:
        print("note: no localedef: the locale's paper is not tried")
    for name, env, paper in cases:
        out = os.path.join(work, "paper-" + str(len(name)) + "-" + paper)
        shutil.rmtree(out, ignore_errors=True)
        subprocess.run([convert_tool, "-q", "-f", "pdf", "-o", out, sample], env={**base, **env},
                       stdout=subprocess.DEVNULL, check=True)
        books = glob.glob(os.path.join(out, "*", "*.pdf"))
        want = tuple(round(v, 2) for v in PAPERS[paper])
        got = page_size(books[0]) if books else None
        if got is None or abs(got[0] - want[0]) > 0.5 or abs(got[1] - want[1]) > 0.5:
            fail("%s: pages of %s, not %s" % (name, got, paper))
            failures += 1
    print("%d paper settings tried without --paper" % len(cases))
    return failures


def main():
    convert_tool, fixture_tool, samples, readback = sys.argv[1:5]
    need("qpdf", "qpdf")
    for tool in ("pdffonts", "pdfinfo", "pdftotext"):
        need(tool, "poppler-utils")
    failures = 0
    with tempfile.TemporaryDirectory() as work:
        for sort, paper, extra in RUNS:
            bases = convert(convert_tool, fixture_tool, samples, readback, work, sort, paper,
                            extra)
            total = 0
            for base in bases:
                found, pages = check_book(base, sort, paper, extra)
                failures += found
                total += pages
            print("%d books, %d pages on %s sorted by %s %s read back"
                  % (len(bases), total, paper, sort, " ".join(extra)))
        failures += check_default_paper(convert_tool, samples, work)
    if failures:
        print("%d failures" % failures)
        return 1
    print("every book read back")
    return 0


if __name__ == "__main__":
    sys.exit(main())
