#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 The StrumletViewer developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Real readers read the exports back.

  readback.py MODE CONVERT FIXTURE SAMPLES READBACK [SCHEMA]

Converts the bundled samples and the databases built from the descriptions in READBACK (folders
separated by ":") with `strumlet-convert -f all,midi`, then, by MODE:
  schema:     validates every JSON file against SCHEMA with a real JSON Schema validator and
              every MusicXML file against the MusicXML 4.0 schema (musicxml-4.0/ beside this
              script) with xmllint, and reads every text export as UTF-8, each naming its
              database as the others do;
  musescore:  has the notation program (MuseScore 3) convert every MusicXML file to its own
              format and finds each chord again as a fret diagram (the dots, crosses, open
              strings and barres of the JSON positions) and as a chord symbol that spells the
              chord's name, each in the part of its instrument;
  musescore4: the same through MuseScore 4's engine (npm webmscore, node/ beside this script);
  chordpro:   reads every ChordPro file with a songbook parser (npm chordsheetjs) and reaches
              every chord of the database by a name (node/chordsheet.cjs);
  midi:       has MuseScore 3 import every MIDI file and finds each chord's sounding notes (the
              JSON positions' MIDI notes) in its bar of its instrument's staff, and no others;
  sound:      has a synthesizer (fluidsynth, with the small General MIDI SoundFont) play every
              MIDI file and finds each note of each chord (the JSON positions' MIDI notes) in the
              spectrum of its bar, within 25 cents;
              both also for the guitar sample in drop D and a mandolin (instrument code 2) given
              with --tuning, whose JSON notes are first checked against the tuning's own pitches;
  ogg:        converts with --sound too, decodes every chord's audio file (python3-soundfile),
              checks that the page links it, its length and rate, and finds each note of the
              chord in its spectrum, within 25 cents;
  reactchords: renders every JSON position with a web chord library (npm react-chords,
              scripts/readback-react-chords/check.js);
  notation:   has two web notation engines (npm opensheetmusicdisplay and verovio,
              node/notation.cjs) read every MusicXML file and finds each chord's name among the
              chord symbols they show, in the part of its instrument.
A reader that is missing fails the test, naming what installs it.
"""
import glob
import json
import os
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
NODE_READERS = os.path.join(HERE, "node")

# Database file names that are no UTF-8: an overlong "/", a surrogate, lead byte F5, a
# code point past U+10FFFF, a truncated sequence, Latin-1, and a code Windows-1252 leaves
# undefined.
ODD_NAMES = [b"C\xc0\xafD", b"\xed\xa0\x80x", b"F\xf5\x80\x80\x80", b"G\xf4\x90\x80\x80",
             b"A\xe2\x82", b"Jos\xe9", b"x\x81"]


def missing(reason):
    print("FAIL: " + reason + " (scripts/install-deps.sh installs it)")
    sys.exit(1)


def node_reader(package):
    if not shutil.which("node"):
        missing("node is not installed")
    if not os.path.isdir(os.path.join(NODE_READERS, "node_modules", package)):
        missing("the npm package %s is not installed in %s" % (package, NODE_READERS))
    return shutil.which("node")


def convert(convert_tool, fixture_tool, samples, readback, work, odd_names, extra=()):
    source = os.path.join(work, "in")
    os.makedirs(source)
    for pdb in glob.glob(os.path.join(samples, "*.pdb")):
        shutil.copy(pdb, source)
    for folder in readback.split(":"):
        for text in glob.glob(os.path.join(folder, "*.txt")):
            name = os.path.splitext(os.path.basename(text))[0] + ".pdb"
            subprocess.run([fixture_tool, text, os.path.join(source, name)], check=True)
    sample = glob.glob(os.path.join(source, "*.pdb"))[0]
    for name in ODD_NAMES if odd_names else []:
        shutil.copy(sample, os.path.join(os.fsencode(source), name + b".pdb"))
    out = os.path.join(work, "out")
    # Status 1 is a damaged database read in part: its chords read completely are exported.
    result = subprocess.run([convert_tool, "-q", "-f", "all,midi", *extra, "-o", out, source],
                            stdout=subprocess.DEVNULL)
    if result.returncode not in (0, 1):
        print("FAIL: strumlet-convert ended with status %d" % result.returncode)
        sys.exit(1)
    databases = sorted(glob.glob(os.path.join(out, "*", "*.json")))
    if len(databases) != len(os.listdir(source)):
        print("FAIL: %d databases, JSON files for %s" % (len(os.listdir(source)), databases))
        sys.exit(1)
    return [os.path.splitext(path)[0] for path in databases]


# Converted again with --tuning: the databases, the tuning, and its open strings as MIDI notes
# (the diagram's left string first).
MANDOLIN = """database "Mandolin Chords"
instrument 2
{define: G frets 0 0 2 3}
{define: C frets 0 2 3 0}
{define: D frets 2 0 0 2}
{define: Am frets 2 2 0 0}
{define: E7 base-fret 2 frets 1 1 1 x}
"""
TUNED = [("Guitar Chords", "guitar=drop-d", [38, 45, 50, 55, 59, 64]),
         ("Mandolin Chords", "2=mandolin", [55, 62, 69, 76])]


def tuned(convert_tool, fixture_tool, samples, work):
    """The bases of the tuned conversions, and how many of their chords sound other notes than
    their tuning gives."""
    source = os.path.join(work, "tuned-in")
    os.makedirs(source)
    shutil.copy(os.path.join(samples, "Guitar Chords.pdb"), source)
    with open(os.path.join(source, "Mandolin Chords.txt"), "w", encoding="utf-8") as f:
        f.write(MANDOLIN)
    subprocess.run([fixture_tool, os.path.join(source, "Mandolin Chords.txt"),
                    os.path.join(source, "Mandolin Chords.pdb")], check=True)
    bases, failures = [], 0
    for name, tuning, open_strings in TUNED:
        out = os.path.join(work, "tuned-out")
        subprocess.run([convert_tool, "-q", "-f", "json,midi", "--tuning", tuning, "-o", out,
                        os.path.join(source, name + ".pdb")], check=True,
                       stdout=subprocess.DEVNULL)
        base = os.path.join(out, name, name)
        with open(base + ".json", encoding="utf-8") as f:
            data = json.load(f)
        for chord in data["chords"]:
            position = chord["positions"][0]
            want = [open_strings[i] + (fret + position["baseFret"] - 1 if fret > 0 else 0)
                    for i, fret in enumerate(position["frets"]) if fret >= 0]
            if sorted(set(want)) != sorted(set(position["midi"])):
                print("FAIL: %s with %s: %s sounds %s, its tuning gives %s" %
                      (name, tuning, chord["name"], position["midi"], want))
                failures += 1
        bases.append(base)
    print("%d databases converted with --tuning: their chords sound the tuning's notes" %
          len(bases))
    return bases, failures


def validate(bases, schema_path):
    try:
        import jsonschema
    except ImportError:
        missing("python3-jsonschema is not installed")
    with open(schema_path, encoding="utf-8") as f:
        schema = json.load(f)
    validator = jsonschema.Draft202012Validator(schema)
    jsonschema.Draft202012Validator.check_schema(schema)
    failures = chords = 0
    for base in bases:
        with open(base + ".json", encoding="utf-8") as f:
            data = json.load(f)
        for error in validator.iter_errors(data):
            print("FAIL: %s.json: %s at %s" % (base, error.message, list(error.absolute_path)))
            failures += 1
        chords += len(data["chords"])
    print("%d JSON files, %d chords validated against %s" % (len(bases), chords, schema_path))
    return failures


def validate_musicxml(bases):
    if not shutil.which("xmllint"):
        missing("xmllint (libxml2-utils) is not installed")
    schema = os.path.join(HERE, "musicxml-4.0", "musicxml.xsd")
    result = subprocess.run(["xmllint", "--noout", "--nonet", "--schema", schema] +
                            [base + ".musicxml" for base in bases], capture_output=True, text=True,
                            errors="replace")
    failures = [line for line in result.stderr.splitlines() if not line.endswith(" validates")]
    for line in failures:
        print("FAIL: " + line)
    print("%d MusicXML files validated against the MusicXML 4.0 schema" % len(bases))
    return len(failures) + (result.returncode != 0 and not failures)


def file_name_text(raw):
    """A file name read by Python's codecs: UTF-8, else Windows-1252 (U+FFFD for no character)."""
    try:
        return raw.decode("utf-8")
    except UnicodeDecodeError:
        return raw.decode("cp1252", errors="replace")


def names(bases):
    """Every text export reads as UTF-8 and names its database as the others do."""
    failures = 0
    for base in bases:
        try:
            with open(base + ".json", encoding="utf-8") as f:
                found = [json.load(f)["name"]]
            with open(base + ".cho", encoding="utf-8") as f:
                found.append(f.readline()[len("{title: "):-len("}\n")])
            xml = ET.parse(base + ".musicxml").getroot()
            found += [xml.findtext("./work/work-title"),
                      xml.findtext("./part-list/score-part/part-name")]
        except (UnicodeDecodeError, ET.ParseError) as error:
            found = [error]
        raw = os.fsencode(os.path.basename(base))
        want = file_name_text(raw) if raw in ODD_NAMES else found[0]
        if found != [want] * 4:
            print("FAIL: %r: named %r, expected %r" % (base, found, want))
            failures += 1
    print("%d databases: the names in their JSON, ChordPro and MusicXML files compared"
          % len(bases))
    return failures


STEPS = "FCGDAEB"


def spell(tpc):
    """A pitch class as the notation program numbers it (C = 14) spelled as a chord name."""
    tpc = int(tpc)
    alter = (tpc - 13) // 7
    return STEPS[(tpc + 1) % 7] + ("#" * alter if alter > 0 else "b" * -alter)


def expected_diagram(chord):
    """(per string: 'x', 'o' or the absolute fret; the barres as absolute frets)."""
    if not chord["positions"]:
        return None
    position = chord["positions"][0]
    base = position["baseFret"]
    strings = []
    for fret in position["frets"]:
        strings.append("x" if fret < 0 else "o" if fret == 0 else fret + base - 1)
    if all(s == "x" for s in strings):
        return None  # nothing sounds: no diagram a notation file can hold
    return strings, sorted(b + base - 1 for b in position["barres"])


def read_diagram(element, string_count):
    diagram = element.find("fretDiagram")
    offset = int(element.findtext("fretOffset", "0"))
    strings = ["x"] * string_count  # a string without a frame note is muted
    for string in diagram.findall("string"):
        no = int(string.get("no"))
        marker = string.findtext("marker")
        dot = string.find("dot")
        if dot is not None:
            strings[no] = int(dot.get("fret")) + offset
        elif marker == "circle":
            strings[no] = "o"
        elif marker == "cross":
            strings[no] = "x"
    barres = sorted(int(b.text) + offset for b in diagram.findall("barre"))
    return strings, barres


def instrument_parts(data):
    """The part (index into the staves) of each chord: one per instrument, in the order the
    chords with strings bring them in; a chord without strings stays in the part before it."""
    parts, chords = [], []
    for chord in data["chords"]:
        name = chord.get("instrument", data["instrument"])["name"]
        if chord["positions"]:
            if name not in parts:
                parts.append(name)
            chords.append(parts.index(name))
        else:
            chords.append(chords[-1] if chords else 0)
    return chords


def musescore3(source, target):
    """MuseScore 3 converts `source` into its own format, `target`; False when it could not."""
    program = shutil.which("mscore3") or shutil.which("musescore3")
    if not program:
        missing("musescore3 is not installed")
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    result = subprocess.run([program, "-o", target, source], env=env, capture_output=True,
                            text=True, timeout=300)
    if result.returncode != 0 or not os.path.exists(target):
        print("FAIL: %s was not read: %s" % (source, result.stderr[-2000:]))
        return False
    return True


def musescore_files(bases):
    """MuseScore 3 converts each file by itself."""
    for base in bases:
        musescore3(base + ".musicxml", base + ".mscx")
    return "MuseScore 3", ".mscx", False


def musescore4_files(bases):
    """MuseScore 4's engine converts every file in one process."""
    node = node_reader("webmscore")
    result = subprocess.run([node, os.path.join(NODE_READERS, "musescore4.cjs")] +
                            [base + ".musicxml" for base in bases],
                            capture_output=True, text=True, timeout=600)
    if result.returncode != 0:
        print("FAIL: MuseScore 4's engine: %s" % result.stderr[-2000:])
    return "MuseScore 4's engine (webmscore)", ".ms4.mscx", True


def musescore(bases, convert_all):
    program, suffix, reads_function = convert_all(bases)
    failures = chords = diagrams = symbols = 0
    for base in bases:
        with open(base + ".json", encoding="utf-8") as f:
            data = json.load(f)
        if not os.path.exists(base + suffix):
            print("FAIL: %s.musicxml was not read" % base)
            failures += 1
            continue
        staves = ET.parse(base + suffix).getroot().findall("./Score/Staff")
        parts = instrument_parts(data)
        measures = [staff.findall("Measure") for staff in staves]
        if len(staves) != max(parts, default=0) + 1 or \
                any(len(m) != max(1, len(data["chords"])) for m in measures):
            print("FAIL: %s: %d parts of %s measures for %d chords" %
                  (base, len(staves), [len(m) for m in measures], len(data["chords"])))
            failures += 1
            continue
        for index, chord in enumerate(data["chords"]):
            measure = measures[parts[index]][index]
            chords += 1
            where = "%s: %s" % (os.path.basename(base), chord["name"])
            want = expected_diagram(chord)
            found = measure.find("./voice/FretDiagram")
            if want is None or found is None:
                if (want is None) != (found is None):
                    print("FAIL: %s: diagram expected %s, found %s" % (where, want, found))
                    failures += 1
            else:
                got = read_diagram(found, len(want[0]))
                if got != want:
                    print("FAIL: %s: diagram %s, expected %s" % (where, got, want))
                    failures += 1
                else:
                    diagrams += 1
            harmony = measure.find("./voice/Harmony")
            if harmony is None:
                print("FAIL: %s: no chord symbol" % where)
                failures += 1
                continue
            name = harmony.findtext("name", "")
            if chord["name"][:1] in STEPS:
                symbol = spell(harmony.findtext("root")) + name
                if harmony.find("base") is not None:
                    symbol += "/" + spell(harmony.findtext("base"))
            else:
                symbol = name  # no root to parse: the name stands as the symbol's text
            if not (chord["positions"] and chord["positions"][0]["midi"]) and not reads_function:
                # Nothing sounds to take a root from: the name is the harmony's function, which
                # MuseScore 3 leaves empty rather than showing a root the chord does not have.
                symbol = chord["name"] if symbol == "" else symbol
            # The engines write the tones in their own way ("7b9#11" for "7(b9,#11)").
            if symbol_letters(symbol) != symbol_letters(chord["name"]):
                print("FAIL: %s: chord symbol %r" % (where, symbol))
                failures += 1
            else:
                symbols += 1
    print("%d MusicXML files read by %s: %d chords, %d fret diagrams and %d chord symbols "
          "as exported" % (len(bases), program, chords, diagrams, symbols))
    return failures


# The read-backs' names with a root and a suffix that no MusicXML kind with its degrees spells.
WITHOUT_KIND = {"C7 (high)", "Caf\u00e9", "C\u00e2\u2122\u00afm", "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345"}

# Kind labels the engines print their own way, as the names spell them.
ENGINE_LABELS = [("maj6", "6"), ("omit", "no")]


def symbol_letters(text):
    """A chord symbol as a bag of letters: accidentals as the names write them, the engines'
    own labels as the names spell them, and no brackets, commas, slashes, blanks or "add"."""
    text = text.replace("\u266f", "#").replace("\u266d", "b")
    for label, name in ENGINE_LABELS:
        text = text.replace(label, name)
    for mark in ("add", "(", ")", ",", "/", " "):
        text = text.replace(mark, "")
    return sorted(text)


def harmony_roots(base):
    """Whether each chord's harmony in the exported file has a root, by measure."""
    kinds = {}
    for part in ET.parse(base + ".musicxml").getroot().findall("part"):
        for number, measure in enumerate(part.findall("measure")):
            harmony = measure.find("harmony")
            if harmony is not None:
                kinds[number] = harmony.find("root") is not None
    return kinds


def notation(bases):
    node = node_reader("opensheetmusicdisplay")
    node_reader("verovio")
    node_reader("jsdom")
    result = subprocess.run([node, os.path.join(NODE_READERS, "notation.cjs")] +
                            [base + ".musicxml" for base in bases],
                            capture_output=True, text=True, timeout=600)
    if result.returncode != 0:
        print("FAIL: the notation engines: %s" % result.stderr[-2000:])
        return 1
    mei = "{http://www.music-encoding.org/ns/mei}"
    failures = chords = whole = roots = refused = 0
    for base in bases:
        with open(base + ".json", encoding="utf-8") as f:
            data = json.load(f)
        with open(base + ".osmd.json", encoding="utf-8") as f:
            osmd = json.load(f)
        verovio = []
        for measure in ET.parse(base + ".mei").getroot().iter(mei + "measure"):
            staves = {}
            for harm in measure.iter(mei + "harm"):
                staves.setdefault(int(harm.get("staff")) - 1, []).append("".join(harm.itertext()))
            verovio.append(staves)
        if isinstance(osmd, dict):
            # Its tablature staves have 3 to 8 lines; records wider than that stay out of reach.
            lines = max(int(n.text) for n in ET.parse(base + ".musicxml").iter("staff-lines"))
            if lines <= 8 or "number of lines" not in osmd["refused"]:
                print("FAIL: %s: OpenSheetMusicDisplay refused it: %s" % (base, osmd["refused"]))
                failures += 1
            refused += 1
            osmd = [[None] * (max(instrument_parts(data), default=0) + 1)] * len(verovio)
        kinds = harmony_roots(base)
        parts = instrument_parts(data)
        if len(osmd) != max(1, len(data["chords"])) or len(verovio) != len(osmd):
            print("FAIL: %s: %d and %d measures for %d chords" %
                  (base, len(osmd), len(verovio), len(data["chords"])))
            failures += 1
            continue
        for index, chord in enumerate(data["chords"]):
            chords += 1
            name = chord["name"]
            where = "%s: %s" % (os.path.basename(base), name)
            midi = chord["positions"][0]["midi"] if chord["positions"] else []
            lowest = spell(14 + [0, 7, 2, 9, 4, 11, 6, 1, 8, 3, 10, 5].index(min(midi) % 12)) \
                if midi else ""
            rooted = kinds.get(index, False)
            if not midi and not rooted:
                # Nothing sounds and the name gives no root: the symbol names no pitch.
                want = {"Verovio": [[], [""], [name]], "OSMD": [[], [""], [name]]}
            elif name[:1] in STEPS:
                # The one engine that builds the symbol from the kind alone shows the root of a
                # name no kind spells.
                root = name[:2] if name[1:2] in ("b", "#") else name[:1]
                want = {"Verovio": [[name]],
                        "OSMD": [[name]] + ([[root]] if name in WITHOUT_KIND else [])}
            else:
                # No root in the name: the lowest sounding note stands for it.
                want = {"Verovio": [[lowest + name]], "OSMD": [[lowest + name], [lowest]]}
            for engine, shown in (("OSMD", osmd[index][parts[index]] if parts[index] < len(
                    osmd[index]) else None), ("Verovio", verovio[index].get(parts[index], []))):
                if engine == "OSMD" and refused and osmd[index][parts[index]] is None:
                    continue
                bags = [[symbol_letters(text) for text in names] for names in want[engine]]
                if shown is None or [symbol_letters(text) for text in shown] not in bags:
                    print("FAIL: %s: %s shows %r, expected one of %r" %
                          (where, engine, shown, want[engine]))
                    failures += 1
                elif shown and symbol_letters(shown[0]) == symbol_letters(name):
                    whole += 1
                else:
                    roots += 1
    print("%d MusicXML files read by OpenSheetMusicDisplay and Verovio: %d chords; of their "
          "symbols, %d spell the whole name, %d the root alone or nothing; %d files with staves "
          "of more than 8 lines refused by OpenSheetMusicDisplay" % (len(bases), chords, whole,
                                                                      roots, refused))
    return failures


def midi(bases):
    failures = chords = sounding = 0
    for base in bases:
        with open(base + ".json", encoding="utf-8") as f:
            data = json.load(f)
        if not musescore3(base + ".mid", base + ".mid.mscx"):
            failures += 1
            continue
        notes = [sorted(set(c["positions"][0]["midi"])) if c["positions"] else [] for c in
                 data["chords"]]
        # A track whose chords are all silent is no staff to the importer.
        parts = instrument_parts(data)
        heard = sorted({parts[i] for i, n in enumerate(notes) if n})
        staves = ET.parse(base + ".mid.mscx").getroot().findall("./Score/Staff")
        if len(staves) != len(heard):
            print("FAIL: %s.mid: %d staves for the parts %s" % (base, len(staves), heard))
            failures += 1
            continue
        found = [[sorted({int(n.findtext("pitch")) for n in m.iter("Note")})
                  for m in staff.findall("Measure")] for staff in staves]
        for index, chord in enumerate(data["chords"]):
            chords += 1
            sounding += bool(notes[index])
            for number, part in enumerate(heard):
                want = notes[index] if part == parts[index] else []
                got = found[number][index] if index < len(found[number]) else []
                if got != want:
                    print("FAIL: %s.mid: %s: bar %d of staff %d holds %s, expected %s" %
                          (os.path.basename(base), chord["name"], index + 1, number + 1, got, want))
                    failures += 1
    print("%d MIDI files read by MuseScore 3: %d chords, %d of them sounding, in their bars" %
          (len(bases), chords, sounding))
    return failures


SOUNDFONT = "/usr/share/sounds/sf2/TimGM6mb.sf2"
SECONDS_PER_BAR = 2.0  # 4/4 at 120 beats a minute


def heard_notes(numpy, samples, rate, want):
    """Each wanted MIDI note with how far (cents) the strongest peak near it lies from it, and
    that peak's strength against the loudest of the spectrum."""
    size = 1 << 18  # zero-padded: a bin is 0.08 Hz at 22,050 Hz, a cent of the lowest E 0.05 Hz
    freqs = numpy.fft.rfftfreq(size, 1 / rate)
    spectrum = numpy.abs(numpy.fft.rfft(samples * numpy.hanning(len(samples)), size))
    loudest = spectrum.max()
    heard = []
    for note in want:
        f = 440 * 2 ** ((note - 69) / 12)
        band = (freqs >= f * 2 ** (-50 / 1200)) & (freqs <= f * 2 ** (50 / 1200))
        peak = numpy.argmax(spectrum * band)
        cents = 1200 * numpy.log2(freqs[peak] / f) if freqs[peak] > 0 else 1200
        heard.append((note, cents, spectrum[peak] / loudest if loudest > 0 else 0))
    return heard


OGG_SECONDS = 2.3  # two seconds of ringing and the strings' release
OGG_RATE = 22050


def ogg(bases):
    try:
        import numpy
        import soundfile
    except ImportError:
        missing("python3-numpy or python3-soundfile is not installed")
    import re
    failures = files = notes = size = 0
    worst = 0.0
    for base in bases:
        with open(base + ".json", encoding="utf-8") as f:
            data = json.load(f)
        with open(base + ".html", "rb") as f:
            page = f.read()
        links = [m.decode() for m in re.findall(rb'<a href="([^"]+\.ogg)"><img ', page)]
        sounding = [c for c in data["chords"] if c["positions"] and c["positions"][0]["midi"]]
        if len(links) != len(sounding):
            print("FAIL: %s.html links %d sounds for %d sounding chords" %
                  (os.path.basename(base), len(links), len(sounding)))
            failures += 1
            continue
        folder = os.path.dirname(base)
        for link, chord in zip(links, sounding):
            path = os.path.join(folder, link)
            files += 1
            size += os.path.getsize(path)
            samples, rate = soundfile.read(path, dtype="float64")
            seconds = len(samples) / rate
            if rate != OGG_RATE or abs(seconds - OGG_SECONDS) > 0.05 or samples.ndim != 1:
                print("FAIL: %s: %.3f s at %d Hz, %d channels" %
                      (link, seconds, rate, 1 if samples.ndim == 1 else samples.shape[1]))
                failures += 1
                continue
            # The strum has begun; before the strings are let go.
            bar = samples[int(0.2 * rate):int(1.95 * rate)]
            want = sorted(set(chord["positions"][0]["midi"]))
            for note, cents, strength in heard_notes(numpy, bar, rate, want):
                notes += 1
                worst = max(worst, abs(cents))
                if abs(cents) > 25 or strength < 1 / 30:
                    print("FAIL: %s: %s: MIDI note %d heard %+.1f cents off at %.3f of the "
                          "loudest" % (link, chord["name"], note, cents, strength))
                    failures += 1
    if files == 0:
        print("FAIL: no chord sounds were written")
        failures += 1
    print("%d chord sounds decoded (%d bytes each on average): %d notes each heard within 25 "
          "cents (the farthest %.1f cents off)" % (files, size // max(files, 1), notes, worst))
    return failures


def sound(bases):
    program = shutil.which("fluidsynth")
    if not program:
        missing("fluidsynth is not installed")
    if not os.path.exists(SOUNDFONT):
        missing("the SoundFont %s (timgm6mb-soundfont) is not installed" % SOUNDFONT)
    try:
        import numpy
    except ImportError:
        missing("python3-numpy is not installed")
    import wave
    failures = chords = notes = 0
    worst = 0.0
    for base in bases:
        with open(base + ".json", encoding="utf-8") as f:
            data = json.load(f)
        wav = base + ".wav"
        result = subprocess.run([program, "-ni", "-q", "-F", wav, "-r", "22050", SOUNDFONT,
                                 base + ".mid"], capture_output=True, text=True, timeout=300)
        if result.returncode != 0 or not os.path.exists(wav):
            print("FAIL: %s.mid was not played: %s" % (base, result.stderr[-2000:]))
            failures += 1
            continue
        with wave.open(wav) as w:
            rate, channels = w.getframerate(), w.getnchannels()
            samples = numpy.frombuffer(w.readframes(w.getnframes()), dtype=numpy.int16)
        samples = samples.reshape(-1, channels).mean(axis=1)
        for index, chord in enumerate(data["chords"]):
            want = sorted(set(chord["positions"][0]["midi"])) if chord["positions"] else []
            if not want:
                continue
            chords += 1
            # The bar after the strum has begun, before the next one.
            start = int((index * SECONDS_PER_BAR + 0.2) * rate)
            bar = samples[start:int((index * SECONDS_PER_BAR + 1.95) * rate)]
            for note, cents, strength in heard_notes(numpy, bar, rate, want):
                notes += 1
                worst = max(worst, abs(cents))
                if abs(cents) > 25 or strength < 1 / 30:
                    print("FAIL: %s: %s: MIDI note %d heard %+.1f cents off at %.3f of the "
                          "loudest" % (os.path.basename(base), chord["name"], note, cents, strength))
                    failures += 1
    print("%d MIDI files played by fluidsynth: %d sounding chords, %d notes each heard within "
          "25 cents (the farthest %.1f cents off)" % (len(bases), chords, notes, worst))
    return failures


def react_chords(bases):
    node = node_reader("@tombatossals/react-chords")
    check = os.path.join(HERE, "..", "..", "scripts", "readback-react-chords", "check.js")
    env = dict(os.environ, NODE_PATH=os.path.join(NODE_READERS, "node_modules"))
    result = subprocess.run([node, check] + [base + ".json" for base in bases], env=env,
                            timeout=600)
    return result.returncode != 0


def chordpro(bases):
    node = node_reader("chordsheetjs")
    result = subprocess.run([node, os.path.join(NODE_READERS, "chordsheet.cjs")] +
                            [base + ".cho" for base in bases], timeout=600)
    return result.returncode != 0


def main():
    if len(sys.argv) < 6:
        print(__doc__)
        return 2
    mode, convert_tool, fixture_tool, samples, readback = sys.argv[1:6]
    with tempfile.TemporaryDirectory() as work:
        # The readers other than the validators open no file whose path is not UTF-8.
        bases = convert(convert_tool, fixture_tool, samples, readback, work, mode == "schema",
                        ["--sound"] if mode == "ogg" else [])
        if mode == "schema":
            failures = names(bases) or validate(bases, sys.argv[6]) + validate_musicxml(bases)
        elif mode == "musescore":
            failures = musescore(bases, musescore_files)
        elif mode == "musescore4":
            failures = musescore(bases, musescore4_files)
        elif mode == "notation":
            failures = notation(bases)
        elif mode in ("midi", "sound"):
            more, failures = tuned(convert_tool, fixture_tool, samples, work)
            failures += (midi if mode == "midi" else sound)(bases + more)
        elif mode == "ogg":
            failures = ogg(bases)
        elif mode == "reactchords":
            failures = react_chords(bases)
        else:
            failures = chordpro(bases)
    print("%d failed" % failures)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
