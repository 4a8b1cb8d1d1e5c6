// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/export/MusicXmlWriter.h"

#include <optional>
#include <string_view>
#include <vector>

#include "strumlet/core/CodePage.h"
#include "strumlet/core/XmlText.h"
#include "strumlet/export/ChordName.h"
#include "strumlet/export/ChordShape.h"

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
std::string StaffAttributes(const Instrument& instrument, int strings, bool first) {
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
  for (std::size_t i = 0; i < instrument.tuning.size(); ++i) {
    out += "          <staff-tuning line=\"" + std::to_string(i + 1) + "\"><tuning-step>" +
           instrument.tuning[i] + "</tuning-step><tuning-octave>" +
           std::to_string(instrument.openMidi[i] / 12 - 1) + "</tuning-octave></staff-tuning>\n";
  }
  out += "        </staff-details>\n      </attributes>\n";
  return out;
}

std::string Direction(const char* type, const std::string& utf8) {
  return "      <direction placement=\"above\"><direction-type><" + std::string(type) + ">" +
         EscapeXml(utf8, "?") + "</" + type + "></direction-type></direction>\n";
}

std::string Harmony(const ChordShape& shape) {
  const ChordName name = ParseChordName(shape.name);
  std::string out = "      <harmony>\n";
  if (name.root) {
    out += "        <root><root-step>" + std::string(1, name.root->step) + "</root-step>" +
           Alter("root-alter", name.root->alter) + "</root>\n";
    out += "        <kind text=\"" + EscapeXml(name.suffix, "?") + "\">" + name.kind + "</kind>\n";
  } else {
    // No root to show: a reader shows the name's own text in its place.
    out += "        <root><root-step text=\"\">C</root-step></root>\n";
    out += "        <kind text=\"" + EscapeXml(shape.name, "?") + "\">other</kind>\n";
  }
  if (name.root && name.bass) {
    out += "        <bass><bass-step>" + std::string(1, name.bass->step) + "</bass-step>" +
           Alter("bass-alter", name.bass->alter) + "</bass>\n";
  }
  if (name.root) {
    for (const ChordDegree& degree : name.degrees) {
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
    out += "        <frame>\n          <frame-strings>" + std::to_string(strings) +
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
  // The instrument a notation program sets the part up for: the first chord's.
  const std::string instrumentName =
      chords.empty() ? std::string() : InstrumentOf(*chords.begin()).name;
  out += "  <part-list>\n    <score-part id=\"P1\"><part-name>" + name + "</part-name>";
  if (!instrumentName.empty()) {
    out += "<score-instrument id=\"P1-I1\"><instrument-name>" + EscapeXml(instrumentName, "?") +
           "</instrument-name></score-instrument>";
  }
  out += "</score-part>\n  </part-list>\n";
  out += "  <part id=\"P1\">\n";

  HeadingTracker headings(categories, sortOrder);
  std::optional<std::string> instrument;
  int measure = 0;
  // Opens the next measure, with the staff for `strings` strings of `staff` when given.
  auto open = [&](const Instrument* staff, int strings) {
    out += "    <measure number=\"" + std::to_string(++measure) + "\">\n";
    if (staff) out += StaffAttributes(*staff, strings, measure == 1);
    if (measure == 1 && !complete) out += Direction("words", std::string(kIncomplete));
  };
  auto close = [&] {
    out += "      <note><rest measure=\"yes\"/><duration>4</duration></note>\n    </measure>\n";
  };
  for (const ChordRecord& record : chords) {
    const ChordShape shape = ShapeOf(record);
    const Instrument thisInstrument = InstrumentOf(record);
    const int strings = static_cast<int>(shape.strings.size());
    if (instrument != thisInstrument.name) {
      // A staff of no lines is no staff: a chord without strings keeps the one before.
      const bool newStaff = strings > 0 || measure == 0;
      open(newStaff ? &thisInstrument : nullptr, strings > 0 ? strings : kDefaultLines);
      out += Direction("words", thisInstrument.name);
      instrument = thisInstrument.name;
    } else {
      open(nullptr, 0);
    }
    if (const std::optional<std::string> heading = headings.Next(record);
        heading && !heading->empty()) {
      out += Direction("rehearsal", CodePageToUtf8(*heading));
    }
    for (const std::string& remark : shape.remarks) {
      out += "      <!-- " + CommentText(shape.name + ": " + remark) + " -->\n";
    }
    if (shape.strings.empty()) {
      out +=
          "      <!-- " + CommentText(shape.name + ": the chord has no strings to show") + " -->\n";
    }
    out += Harmony(shape);
    close();
  }
  if (measure == 0) {
    const Instrument none;
    open(&none, kDefaultLines);
    close();
  }
  out += "  </part>\n</score-partwise>\n";
  return out;
}

}  // namespace strumlet
