// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/export/MusicXmlWriter.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

#include "strumlet/core/CodePage.h"
#include "strumlet/core/MarkupText.h"
#include "strumlet/export/ChordName.h"
#include "strumlet/export/ChordShape.h"
#include "strumlet/pdb/HeadingTracker.h"

namespace strumlet {
namespace {

constexpr std::string_view kProlog =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
    "<!DOCTYPE score-partwise PUBLIC \"-//Recordare//DTD MusicXML 4.0 Partwise//EN\" "
    "\"http://www.musicxml.org/dtds/partwise.dtd\">\n";
// The lines of a staff that has no chord to take them from.
constexpr int kDefaultLines = 6;
constexpr std::string_view kIncomplete =
    "The database could not be read to its end: only the chords read completely are here.";

// Text inside an XML comment, which must not hold "--".
std::string CommentText(const std::string& utf8) {
  std::string out = EscapeXml(utf8, "?");
  for (std::size_t at; (at = out.find("--")) != std::string::npos;) out.replace(at, 2, "- -");
  return out;
}

std::string Alter(const char* element, int alter) {
  return alter == 0
             ? std::string()
             : "<" + std::string(element) + ">" + std::to_string(alter) + "</" + element + ">";
}

// The staff of `instrument`: one line per string, lowest-pitched at the bottom.
std::string StaffAttributes(const ExportInstrument& instrument, int strings, bool first) {
  std::string out = "      <attributes>\n";
  if (first) {
    out +=
        "        <divisions>1</divisions>\n"
        "        <key><fifths>0</fifths></key>\n"
        "        <time><beats>4</beats><beat-type>4</beat-type></time>\n";
  }
  out += "        <clef><sign>TAB</sign><line>5</line></clef>\n";
  out += "        <staff-details>\n          <staff-lines>" + std::to_string(strings) +
         "</staff-lines>\n";
  for (std::size_t i = 0; i < instrument.openMidi.size(); ++i) {
    // Spelled from the pitch, so that a tuning with a sharp needs nothing but its row.
    const NoteName note = SharpSpelling(instrument.openMidi[i]);
    out += "          <staff-tuning line=\"" + std::to_string(i + 1) + "\"><tuning-step>" +
           std::string(1, note.step) + "</tuning-step>" + Alter("tuning-alter", note.alter) +
           "<tuning-octave>" + std::to_string(instrument.openMidi[i] / 12 - 1) +
           "</tuning-octave></staff-tuning>\n";
  }
  out += "        </staff-details>\n      </attributes>\n";
  return out;
}

std::string Direction(const char* type, const std::string& utf8) {
  return "      <direction placement=\"above\"><direction-type><" + std::string(type) + ">" +
         EscapeXml(utf8, "?") + "</" + type + "></direction-type></direction>\n";
}

// The pitch class of the lowest sounding string, spelled with sharps: the root a chord whose
// name gives none has for a listener. None when nothing sounds or the tuning is unknown.
std::optional<NoteName> LowestNote(const ExportInstrument& instrument, const ChordShape& shape) {
  std::optional<int> lowest;
  for (const StringSound& s : shape.strings) {
    const std::optional<int> note = MidiNote(instrument, shape, s);
    if (note && (!lowest || *note < *lowest)) lowest = note;
  }
  if (!lowest) return std::nullopt;
  return SharpSpelling(*lowest);
}

std::string Harmony(const ChordShape& shape, const ExportInstrument& instrument) {
  const ChordName name = ParseChordName(shape.name);
  std::string out = "      <harmony>\n";
  if (name.root) {
    out += "        <root><root-step>" + std::string(1, name.root->step) + "</root-step>" +
           Alter("root-alter", name.root->alter) + "</root>\n";
    out +=
        "        <kind text=\"" + EscapeXml(name.kindText, "?") + "\">" + name.kind + "</kind>\n";
  } else if (const std::optional<NoteName> root = LowestNote(instrument, shape)) {
    // The name gives no root: the lowest note stands for it, so that a reader that prints a
    // root anyway shows one the chord has; the empty text asks it to show the name alone.
    out += "        <root><root-step text=\"\">" + std::string(1, root->step) + "</root-step>" +
           Alter("root-alter", root->alter) + "</root>\n";
    out += "        <kind text=\"" + EscapeXml(shape.name, "?") + "\">other</kind>\n";
  } else {
    // Nothing to take a root from: the name as the chord's function, which names no pitch.
    out += "        <function>" + EscapeXml(shape.name, "?") + "</function>\n";
    out += "        <kind text=\"\">none</kind>\n";
  }
  if (name.root && name.bass) {
    out += "        <bass><bass-step>" + std::string(1, name.bass->step) + "</bass-step>" +
           Alter("bass-alter", name.bass->alter) + "</bass>\n";
  }
  if (name.root) {
    for (const ChordDegree& degree : name.degrees) {
      // Shown after the kind's text, which leaves the degrees out.
      out += "        <degree><degree-value>" + std::to_string(degree.value) +
             "</degree-value><degree-alter>" + std::to_string(degree.alter) +
             "</degree-alter><degree-type>" + degree.type + "</degree-type></degree>\n";
    }
  }

  // The diagram: a frame note for each sounding string; a muted string has none.
  const int strings = static_cast<int>(shape.strings.size());
  std::string notes;
  const std::vector<ShapeBarre> barres = BarresOf(shape);
  for (int i = 0; i < strings; ++i) {
    const StringSound& s = shape.strings[i];
    if (s.kind == StringSound::kMuted) continue;
    notes += "          <frame-note><string>" + std::to_string(strings - i) + "</string><fret>" +
             std::to_string(s.kind == StringSound::kOpen ? 0 : s.fret) + "</fret>";
    const int finger = shape.fingers.empty() ? 0 : shape.fingers[i];
    if (finger != 0) notes += "<fingering>" + std::to_string(finger) + "</fingering>";
    for (const ShapeBarre& barre : barres) {
      if (s.kind == StringSound::kBarred && s.fret == barre.fret) {
        if (i == barre.first) notes += "<barre type=\"start\"/>";
        if (i == barre.last) notes += "<barre type=\"stop\"/>";
      }
    }
    notes += "</frame-note>\n";
  }
  if (!notes.empty()) {
    // A string without a frame note is muted: said, so that no reader shows it open.
    out += "        <frame unplayed=\"x\">\n          <frame-strings>" + std::to_string(strings) +
           "</frame-strings>\n          <frame-frets>" + std::to_string(shape.FretsShown()) +
           "</frame-frets>\n";
    if (shape.baseFret > 1) {
      out += "          <first-fret>" + std::to_string(shape.baseFret) + "</first-fret>\n";
    }
    out += notes + "        </frame>\n";
  }
  out += "      </harmony>\n";
  return out;
}

}  // namespace

std::string WriteMusicXml(const std::string& title, const ChordCollection& chords,
                          const CategoryTable& categories, int sortOrder, bool complete) {
  const std::string name = EscapeXml(FileNameText(title), "?");
  std::string out(kProlog);
  out += "<score-partwise version=\"4.0\">\n";
  out += "  <work><work-title>" + name + "</work-title></work>\n";
  out +=
      "  <identification><encoding><software>StrumletViewer</software></encoding>"
      "</identification>\n";

  // One part per instrument, in the order the chords bring them in: notation programs keep
  // the staff a part starts with. A chord without strings stays in the part before it.
  ExportParts score = PartsOf(chords);
  std::vector<ExportParts::Part>& parts = score.parts;
  const std::vector<std::size_t>& partOf = score.partOf;
  if (parts.empty()) {
    // No chord with strings: the first chord's instrument on a staff of the usual lines.
    parts.push_back(
        {chords.empty() ? ExportInstrument() : InstrumentOf(*chords.begin()), kDefaultLines});
  }

  out += "  <part-list>\n";
  for (std::size_t p = 0; p < parts.size(); ++p) {
    const std::string id = "P" + std::to_string(p + 1);
    out += "    <score-part id=\"" + id + "\"><part-name>" + name + "</part-name>";
    if (!parts[p].instrument.name.empty()) {
      out += "<score-instrument id=\"" + id + "-I1\"><instrument-name>" +
             EscapeXml(parts[p].instrument.name, "?") + "</instrument-name></score-instrument>";
    }
    out += "</score-part>\n";
  }
  out += "  </part-list>\n";

  // Every part has a measure for every chord, so that the parts line up; a chord stands in
  // its own part's measure, the others rest.
  const std::size_t measures = std::max<std::size_t>(chords.size(), 1);
  for (std::size_t p = 0; p < parts.size(); ++p) {
    out += "  <part id=\"P" + std::to_string(p + 1) + "\">\n";
    HeadingTracker headings(categories, sortOrder);
    std::optional<std::string> instrument;
    auto record = chords.begin();
    for (std::size_t m = 0; m < measures; ++m) {
      out += "    <measure number=\"" + std::to_string(m + 1) + "\">\n";
      if (m == 0) {
        out += StaffAttributes(parts[p].instrument, parts[p].strings, true);
        if (!complete && p == 0) out += Direction("words", std::string(kIncomplete));
      }
      if (record != chords.end()) {
        const std::optional<std::string> heading = headings.Next(*record);
        if (partOf[m] == p) {
          const ChordShape shape = ShapeOf(*record);
          const ExportInstrument own = InstrumentOf(*record);
          if (instrument != own.name) {
            out += Direction("words", own.name);
            instrument = own.name;
          }
          if (heading && !heading->empty()) out += Direction("rehearsal", CodePageToUtf8(*heading));
          for (const std::string& remark : shape.remarks) {
            out += "      <!-- " + CommentText(shape.name + ": " + remark) + " -->\n";
          }
          if (shape.strings.empty()) {
            out += "      <!-- " + CommentText(shape.name + ": the chord has no strings to show") +
                   " -->\n";
          }
          out += Harmony(shape, own);
        }
        ++record;
      }
      out += "      <note><rest measure=\"yes\"/><duration>4</duration></note>\n    </measure>\n";
    }
    out += "  </part>\n";
  }
  out += "</score-partwise>\n";
  return out;
}

}  // namespace strumlet
