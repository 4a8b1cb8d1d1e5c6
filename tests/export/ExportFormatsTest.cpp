// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The MusicXML frame and the JSON position of a chord, whatever its record holds, and the
// export of a database file to each format.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ExportSupport.h"
#include "Fixture.h"
#include "FixtureDatabase.h"
#include "TestCommon.h"
#include "strumlet/core/Messenger.h"
#include "strumlet/export/ChordJsonWriter.h"
#include "strumlet/export/ChordProWriter.h"
#include "strumlet/export/ChordShape.h"
#include "strumlet/export/DatabaseExport.h"
#include "strumlet/export/MusicXmlWriter.h"
#include "strumlet/export/NameCheck.h"
#include "strumlet/pdb/ByteSource.h"
#include "strumlet/pdb/ChordDatabase.h"
#include "strumlet/pdb/Tuning.h"

namespace strumlet {
namespace {

ChordDatabase Read(const std::string& text, int sortOrder = kSortByPosition) {
  return testing::ReadFixtureDatabase(text, sortOrder);
}

std::string Xml(const std::string& text, int sortOrder = kSortByPosition) {
  const ChordDatabase db = Read(text, sortOrder);
  return WriteMusicXml("Songs", db.chords, db.categories, sortOrder, db.complete);
}

std::string Json(const std::string& text) {
  const ChordDatabase db = Read(text);
  return WriteChordJson("Songs", db.chords, db.categories, kSortByPosition, db.complete);
}

// The lines from the first one holding `from` up to the next one holding `to`, each stripped
// of its indent and joined.
std::string Between(const std::string& text, const std::string& from, const std::string& to) {
  std::istringstream in(text);
  std::string out;
  bool inside = false;
  for (std::string line; std::getline(in, line);) {
    if (!inside && line.find(from) != std::string::npos) inside = true;
    if (!inside) continue;
    out += line.substr(line.find_first_not_of(' '));
    if (line.find(to) != std::string::npos) break;
  }
  return out;
}

std::string Frame(const std::string& text) {
  return Between(Xml(text), "<frame unplayed=\"x\">", "</frame>");
}
std::string Position(const std::string& text) {
  const std::string json = Json(text);
  const std::size_t at = json.find("\"positions\": [");
  return at == std::string::npos ? "" : json.substr(at + 14, json.find('\n', at) - at - 14 - 1);
}

std::string Note(int string, int fret, const std::string& more = "") {
  return "<frame-note><string>" + std::to_string(string) + "</string><fret>" +
         std::to_string(fret) + "</fret>" + more + "</frame-note>";
}

TEST(ExportShape, OpenChordWithFingers) {
  const std::string c = "{define: C frets x 3 2 0 1 0 fingers x 3 2 0 1 0}";
  EXPECT_EQ(Frame(c),
            "<frame unplayed=\"x\"><frame-strings>6</frame-strings><frame-frets>4</frame-frets>" +
                Note(5, 3, "<fingering>3</fingering>") + Note(4, 2, "<fingering>2</fingering>") +
                Note(3, 0) + Note(2, 1, "<fingering>1</fingering>") + Note(1, 0) + "</frame>");
  EXPECT_EQ(Position(c),
            "{\"frets\": [-1, 3, 2, 0, 1, 0], \"fingers\": [0, 3, 2, 0, 1, 0], \"baseFret\": 1, "
            "\"barres\": [], \"capo\": false, \"midi\": [48, 52, 55, 60, 64]}");
}

TEST(ExportShape, BarresSpanTheirOutermostStrings) {
  // F: the barred strings stored as the diagram's open circles under the barre at fret 1.
  const std::string f = "{define: F frets 1 3 3 2 1 1}\nbarre 1\nset frets 0 0 0 2 3 3 0";
  EXPECT_EQ(Frame(f),
            "<frame unplayed=\"x\"><frame-strings>6</frame-strings><frame-frets>4</frame-frets>" +
                Note(6, 1, "<fingering>1</fingering><barre type=\"start\"/>") + Note(5, 3) +
                Note(4, 3) + Note(3, 2) + Note(2, 1, "<fingering>1</fingering>") +
                Note(1, 1, "<fingering>1</fingering><barre type=\"stop\"/>") + "</frame>");
  EXPECT_EQ(Position(f),
            "{\"frets\": [1, 3, 3, 2, 1, 1], \"fingers\": [1, 0, 0, 0, 1, 1], \"baseFret\": 1, "
            "\"barres\": [1], \"capo\": false, \"midi\": [41, 48, 53, 57, 60, 65]}");
  // A partial barre over the three highest strings, and a muted string under a barre.
  EXPECT_NE(Frame("{define: D frets x x 0 2 3 2}\nbarres 0 0 0 2 0 2")
                .find(Note(3, 2, "<fingering>1</fingering><barre type=\"start\"/>") + Note(2, 3) +
                      Note(1, 2, "<fingering>1</fingering><barre type=\"stop\"/>")),
            std::string::npos);
  EXPECT_NE(Position("{define: Bb frets x 1 3 3 3 1}\nbarre 1")
                .find("\"frets\": [-1, 1, 3, 3, "
                      "3, 1]"),
            std::string::npos);
  // A barre over one string only is a plain note.
  const std::string one = "{define: E frets 0 2 2 1 0 0}\nbarres 0 0 0 1 0 0";
  EXPECT_EQ(Frame(one).find("barre"), std::string::npos);
  EXPECT_NE(Position(one).find("\"barres\": []"), std::string::npos);
}

TEST(ExportShape, BaseFretsCountFromTheFirstRow) {
  // MusicXML: absolute frets under a first fret; JSON: frets relative to baseFret.
  const std::string a = "{define: A base-fret 5 frets 1 3 3 2 1 1 fingers 1 3 4 2 1 1}";
  EXPECT_EQ(Between(Xml(a), "<frame-frets>", "<first-fret>"),
            "<frame-frets>4</frame-frets><first-fret>5</first-fret>");
  EXPECT_NE(Frame(a).find(Note(5, 7, "<fingering>3</fingering>")), std::string::npos);
  EXPECT_EQ(Position(a),
            "{\"frets\": [1, 3, 3, 2, 1, 1], \"fingers\": [1, 3, 4, 2, 1, 1], \"baseFret\": 5, "
            "\"barres\": [], \"capo\": false, \"midi\": [45, 52, 57, 61, 64, 69]}");
  // A barre shape stored from the nut is counted from its barre.
  EXPECT_NE(Position("{define: Ab frets 4 6 6 5 4 4}\nbarre 4")
                .find("\"frets\": [1, 3, 3, 2, 1, 1], \"fingers\": [1, 0, 0, 0, 1, 1], "
                      "\"baseFret\": 4, \"barres\": [1]"),
            std::string::npos);
  // A stretch over more than four rows gets a grid that holds it.
  EXPECT_NE(Frame("{define: W base-fret 3 frets 1 5 x x x x}").find("<frame-frets>5</frame-frets>"),
            std::string::npos);
}

TEST(ExportShape, TheBanjosShortFifthString) {
  // Under a barre at or below the fifth fret the short string stays open (its open g).
  const std::string f = "instrument 4\n{define: F frets 0 3 3 3 3}\nbarre 3";
  EXPECT_NE(Frame(f).find(Note(5, 0) + Note(4, 3,
                                            "<fingering>1</fingering><barre "
                                            "type=\"start\"/>")),
            std::string::npos);
  EXPECT_EQ(Position(f),
            "{\"frets\": [0, 3, 3, 3, 3], \"fingers\": [0, 1, 1, 1, 1], \"baseFret\": 1, "
            "\"barres\": [3], \"capo\": false, \"midi\": [67, 53, 58, 62, 65]}");
  // A barre at the seventh fret covers it; its frets carry the neck's numbers.
  EXPECT_NE(Position("instrument 4\n{define: D frets 0 7 7 7 7}\nbarre 7")
                .find("\"baseFret\": 7, \"barres\": [1], \"capo\": false, "
                      "\"midi\": [69, 57, 62, 66, 69]"),
            std::string::npos);
  const std::string xml = Xml("instrument 4\n{define: G frets 0 0 0 0 0}");
  EXPECT_NE(xml.find("<staff-lines>5</staff-lines>\n"
                     "          <staff-tuning line=\"1\"><tuning-step>G</tuning-step>"
                     "<tuning-octave>4</tuning-octave></staff-tuning>"),
            std::string::npos);
}

TEST(ExportShape, HeadingsInstrumentsAndSymbols) {
  const std::string xml =
      Xml("category 0 Unfiled id 0\ncategory 1 \"Open & <Easy>\" id 1\n"
          "{define: D/F# frets 2 0 0 2 3 2}\ncategory 1\n"
          "{define: Hendrix frets x 7 6 7 8 x}\n"
          "{define: C frets 0 0 0 3}\ninstrument 1\n",
          kSortByCategory);
  EXPECT_NE(xml.find("<rehearsal>Open &amp; &lt;Easy&gt;</rehearsal>"), std::string::npos);
  EXPECT_NE(xml.find("<rehearsal>Unfiled</rehearsal>"), std::string::npos);
  EXPECT_NE(xml.find("<root><root-step>D</root-step></root>\n        <kind text=\"\">major</kind>\n"
                     "        <bass><bass-step>F</bass-step><bass-alter>1</bass-alter></bass>"),
            std::string::npos);
  // A name without a root takes the lowest string's note, never a root the chord lacks.
  EXPECT_NE(xml.find("<root><root-step text=\"\">E</root-step></root>\n"
                     "        <kind text=\"Hendrix\">other</kind>"),
            std::string::npos);
  // A part of its own for each instrument, with every measure so that the parts line up.
  EXPECT_NE(xml.find("<score-part id=\"P2\"><part-name>Songs</part-name><score-instrument "
                     "id=\"P2-I1\"><instrument-name>Ukulele, 4 strings</instrument-name>"),
            std::string::npos);
  const std::string ukulele = xml.substr(xml.find("<part id=\"P2\">"));
  EXPECT_NE(ukulele.find("<staff-lines>4</staff-lines>"), std::string::npos);
  EXPECT_NE(ukulele.find("<measure number=\"3\">"), std::string::npos);
  EXPECT_EQ(ukulele.find("<harmony>"), ukulele.rfind("<harmony>"));
  EXPECT_EQ(xml.find("<staff-lines>4</staff-lines>"), xml.rfind("<staff-lines>4</staff-lines>"));
  // The kind's text leaves out the degree that readers print after it.
  EXPECT_NE(Xml("{define: E7#9 frets 0 7 6 7 8 x}")
                .find("<kind text=\"7\">dominant</kind>\n        <degree><degree-value>9"),
            std::string::npos);
  const std::string json =
      Json("{define: C frets x 3 2 0 1 0}\n{define: G7 frets 0 2 1 2}\ninstrument 1\n");
  EXPECT_NE(json.find("\"tunings\": {\"standard\": [\"E\", \"A\", \"D\", \"G\", \"B\", \"E\"]}"),
            std::string::npos);
  EXPECT_NE(json.find("\"instrument\": {\n        \"name\": \"Ukulele, 4 strings\""),
            std::string::npos);
}

TEST(ExportShape, MalformedRecordsGiveWellFormedFiles) {
  // A name with markup, quotes and a control character; a fret value the diagram draws
  // nothing for; a note below the base fret; a record without strings; one all muted.
  const std::string text =
      "{define: \"<a href=\\\"x\\\">&'\\x01--\" frets 0 2 2 0 0 0}\n"
      "set frets 0 0 0 0 2 2 120\n"
      "{define: G frets 3 2 0 0 0 3}\nset frets 3 3 0 0 0 2 3\n"
      "{define: Odd frets 0}\nentry-count 1\n"
      "{define: X frets x x x x x x}\n";
  const std::string xml = Xml(text);
  EXPECT_NE(xml.find("<kind text=\"&lt;a href=&quot;x&quot;&gt;&amp;&apos;?--\">other</kind>"),
            std::string::npos);
  EXPECT_NE(xml.find("<!-- &lt;a href=&quot;x&quot;&gt;&amp;&apos;?- -: fret value 120 on string "
                     "6"),
            std::string::npos);
  EXPECT_NE(xml.find("<!-- G: a note at fret 2 lies below"), std::string::npos);
  EXPECT_NE(xml.find("<!-- Odd: the chord has no strings to show -->"), std::string::npos);
  // No frame without a frame note: the all-muted chord is a symbol alone.
  EXPECT_EQ(Between(xml, "<function>X</function>", "</harmony>").find("<frame"), std::string::npos);
  EXPECT_EQ(xml.find("<frame unplayed=\"x\">\n          <frame-strings>0"), std::string::npos);

  const std::string json = Json(text);
  EXPECT_NE(json.find("\"name\": \"<a href=\\\"x\\\">&'\\u0001--\""), std::string::npos);
  EXPECT_NE(json.find("\"remarks\": [\"fret value 120 on string 6"), std::string::npos);
  EXPECT_NE(json.find("\"frets\": [-1, 2, 2, 0, 0, 0]"), std::string::npos);
  EXPECT_NE(json.find("\"name\": \"Odd\",\n      \"category\": \"Unfiled\",\n"
                      "      \"instrument\": {"),
            std::string::npos);
  EXPECT_NE(json.find("\"positions\": []"), std::string::npos);
  // Fret values far up the neck give no MIDI note above the MIDI range.
  EXPECT_NE(Position("{define: Hi frets x x x x x 90}").find("\"midi\": []"), std::string::npos);
}

TEST(ExportShape, EmptyAndTruncatedDatabases) {
  const std::string xml = Xml("");
  EXPECT_NE(xml.find("<measure number=\"1\">"), std::string::npos);
  EXPECT_EQ(xml.find("<harmony>"), std::string::npos);
  EXPECT_NE(Json("").find("\"instrument\": null,\n  \"categories\": [\"Unfiled\"],\n"
                          "  \"chords\": []\n}"),
            std::string::npos);
  const std::string cut =
      "{define: C frets x 3 2 0 1 0}\n{define: Am frets x 0 2 2 1 0}\ntruncate -3";
  EXPECT_NE(Xml(cut).find("<words>The database could not be read to its end"), std::string::npos);
  EXPECT_NE(Json(cut).find("\"complete\": false"), std::string::npos);
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(DatabaseExport, EachFormatWritesItsFileOrLeavesTheOldOne) {
  testing::TempFolder folder;
  fixture::WriteFile(folder / "Guitar.pdb",
                     fixture::BuildDatabase("{define: C frets x 3 2 0 1 0}"));
  RecordingMessenger messages;
  ScopedMessenger scoped(messages);
  for (const auto& [format, extension] :
       {std::pair{&ChordProText, ".cho"}, std::pair{&MusicXmlText, ".musicxml"},
        std::pair{&ChordJsonText, ".json"}}) {
    const std::string out = folder / (std::string("out") + extension);
    { std::ofstream(out) << "old"; }
    EXPECT_FALSE(testing::ExportAndTell(format, folder / "missing.pdb", kSortByPosition, out));
    EXPECT_EQ(ReadText(out), "old");
    ASSERT_TRUE(testing::ExportAndTell(format, folder / "Guitar.pdb", kSortByPosition, out));
    EXPECT_NE(ReadText(out).find("Guitar"), std::string::npos) << extension;
    ::mkdir((folder / "taken").c_str(), 0755);
    EXPECT_FALSE(
        testing::ExportAndTell(format, folder / "Guitar.pdb", kSortByPosition, folder / "taken"));
    EXPECT_NE(messages.messages.back().text.find("Could not write '" + (folder / "taken")),
              std::string::npos);
  }
  EXPECT_EQ(ReadText(folder / "out.json").rfind("{\n  \"name\": \"Guitar\",\n", 0), 0u);
  EXPECT_EQ(ReadText(folder / "out.musicxml").rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"", 0),
            0u);
}

// A chord is misnamed when it sounds a note its name's chord lacks; a voicing that leaves
// tones out is no fault, and a name the parser cannot read is listed apart.
TEST(NameCheck, NotesOutsideTheNamedChordAreFound) {
  const ChordDatabase db = Read(
      "{define: Am frets x 0 2 2 2 0}\n"     // A E C#: an A major
      "{define: C frets x 3 2 0 1 0}\n"      // as named
      "{define: G7 frets 3 x 0 0 0 1}\n"     // no fifth, no third but one: still G7
      "{define: Em7 frets 0 2 2 0 3 0}\n"    // as named
      "{define: E7#9 frets 0 7 6 7 8 x}\n"   // the sharp nine is the chord's own
      "{define: Dm frets x x 0 2 3 1}\n"     // D A D F: as named
      "{define: C/E frets 0 3 2 0 1 0}\n"    // as named, the bass among its notes
      "{define: Gmaj7 frets 3 2 0 0 0 1}\n"  // an F: G7, not Gmaj7
      "{define: Hendrix frets x 7 6 7 8 x}\n"
      "{define: F frets x x x x x x}\n"                // nothing sounds: nothing to say
      "{define: A frets x 2 2 2 2}\ninstrument 2\n");  // no known tuning
  int misnamed = 0, unread = 0;
  EXPECT_EQ(NameCheckReport("Songs", db.chords, misnamed, unread),
            "Songs: Am (x 0 2 2 2 0) sounds A E C# \u2014 that is A, not Am\n"
            "Songs: Gmaj7 (3 2 0 0 0 1) sounds G B D F \u2014 that is G7, not Gmaj7\n"
            "Songs: names not read as chords: Hendrix\n");
  EXPECT_EQ(misnamed, 2);
  EXPECT_EQ(unread, 1);
}

// Every export names the notes of the tunings chosen, and keeps instruments of two tunings
// apart.
TEST(ExportTunings, EveryFormatFollowsTheTuningChosen) {
  struct UsualTuningsAfter {
    ~UsualTuningsAfter() { UseTunings({}); }
  } restore;
  UseTunings(std::vector<Tuning>{*ReadTuningChoice("guitar=drop-d"),
                                 *ReadTuningChoice("2=C3 G3 D4 A4"),
                                 *ReadTuningChoice("3=mandolin")});
  const std::string text =
      "{define: D5 frets 0 0 0 2 3 x}\n"
      "{define: C frets 0 0 2 3}\ninstrument 2\n"
      "{define: G frets 0 0 2 3}\ninstrument 3\n"
      "{define: Am frets 0 0 2 3}\ninstrument 3\n";
  const ChordDatabase db = Read(text);

  const std::string json = Json(text);
  EXPECT_NE(json.find("\"name\": \"Guitar, 6 strings, Drop D tuning\""), std::string::npos);
  EXPECT_NE(json.find("\"tunings\": {\"standard\": [\"D\", \"A\", \"D\", \"G\", \"B\", \"E\"]}"),
            std::string::npos);
  EXPECT_NE(json.find("\"midi\": [38, 45, 50, 57, 62]"), std::string::npos);
  EXPECT_NE(json.find("\"name\": \"4 strings, tuned C3 G3 D4 A4\""), std::string::npos);
  EXPECT_NE(json.find("\"midi\": [48, 55, 64, 72]"), std::string::npos);
  EXPECT_NE(json.find("\"name\": \"Mandolin, 4 strings\""), std::string::npos);
  EXPECT_NE(json.find("\"midi\": [55, 62, 71, 79]"), std::string::npos);

  // A part for each of the three, each staff tuned as its strings are.
  const ExportParts parts = PartsOf(db.chords);
  ASSERT_EQ(parts.parts.size(), 3u);
  EXPECT_EQ(parts.parts[1].instrument.openMidi, (std::vector<int>{48, 55, 62, 69}));
  EXPECT_EQ(parts.parts[2].instrument.openMidi, (std::vector<int>{55, 62, 69, 76}));
  EXPECT_EQ(parts.parts[2].instrument.midiProgram, 25);
  EXPECT_EQ(parts.partOf, (std::vector<std::size_t>{0, 1, 2, 2}));
  const std::string xml = Xml(text);
  EXPECT_NE(xml.find("<instrument-name>Guitar, 6 strings, Drop D tuning</instrument-name>"),
            std::string::npos);
  EXPECT_NE(xml.find("<staff-tuning line=\"1\"><tuning-step>D</tuning-step><tuning-octave>2"),
            std::string::npos);
  EXPECT_NE(xml.find("<staff-tuning line=\"4\"><tuning-step>E</tuning-step><tuning-octave>5"),
            std::string::npos);

  const std::string chordPro = WriteChordPro("Songs", db.chords, db.categories, kSortByPosition);
  EXPECT_NE(chordPro.find("{comment: Guitar, 6 strings, Drop D tuning}\n"), std::string::npos);
  EXPECT_NE(chordPro.find("{comment: Mandolin, 4 strings}\n"), std::string::npos);
  EXPECT_NE(chordPro.find("{define-mandolin: G base-fret 1 frets 0 0 2 3}"), std::string::npos);

  // On the mandolin those frets make a G, not the A minor they would on a ukulele.
  int misnamed = 0, unread = 0;
  EXPECT_EQ(NameCheckReport("Songs", db.chords, misnamed, unread),
            "Songs: Am (0 0 2 3) sounds G D B \u2014 that is G, not Am\n");
}

}  // namespace
}  // namespace strumlet
