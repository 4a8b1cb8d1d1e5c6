// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/export/NameCheck.h"

#include <algorithm>
#include <optional>

#include "strumlet/export/ChordName.h"
#include "strumlet/export/ChordShape.h"

namespace strumlet {

NameCheck CheckChordName(const ChordRecord& record) {
  NameCheck check;
  const ChordShape shape = ShapeOf(record);
  const ExportInstrument instrument = InstrumentOf(record);
  std::vector<int> classes;
  std::optional<int> lowest;
  for (const StringSound& s : shape.strings) {
    if (!check.frets.empty()) check.frets += ' ';
    check.frets += s.kind == StringSound::kMuted  ? std::string("x")
                   : s.kind == StringSound::kOpen ? std::string("0")
                                                  : std::to_string(s.fret);
    const std::optional<int> note = MidiNote(instrument, shape, s);
    if (!note) continue;
    if (!lowest || *note < *lowest) lowest = note;
    if (std::find(classes.begin(), classes.end(), *note % 12) != classes.end()) continue;
    classes.push_back(*note % 12);
    const NoteName spelled = SharpSpelling(*note);
    check.notes.push_back(std::string(1, spelled.step) + (spelled.alter != 0 ? "#" : ""));
  }
  const ChordName name = ParseChordName(shape.name);
  const std::vector<int> tones = ChordTones(name);
  if (tones.empty()) {
    check.verdict = NameCheck::Verdict::kUnread;
    return check;
  }
  if (classes.empty()) return check;
  const bool fits = std::all_of(classes.begin(), classes.end(), [&](int c) {
    return std::find(tones.begin(), tones.end(), c) != tones.end();
  });
  check.verdict = fits ? NameCheck::Verdict::kMatches : NameCheck::Verdict::kMisnamed;
  if (!fits) check.soundsLike = NameOfTones(classes, *lowest % 12);
  return check;
}

std::string NameCheckReport(const std::string& title, const ChordCollection& chords, int& misnamed,
                            int& unread) {
  std::string report;
  std::string unreadNames;
  for (const ChordRecord& record : chords) {
    const NameCheck check = CheckChordName(record);
    const std::string name = ShapeOf(record).name;
    if (check.verdict == NameCheck::Verdict::kUnread) {
      unreadNames += (unreadNames.empty() ? "" : ", ") + name;
      ++unread;
    } else if (check.verdict == NameCheck::Verdict::kMisnamed) {
      std::string notes;
      for (const std::string& note : check.notes) notes += (notes.empty() ? "" : " ") + note;
      report += title + ": " + name + " (" + check.frets + ") sounds " + notes + " \u2014 ";
      report += check.soundsLike.empty() ? "not " + name
                                         : "that is " + check.soundsLike + ", not " + name;
      report += '\n';
      ++misnamed;
    }
  }
  if (!unreadNames.empty()) report += title + ": names not read as chords: " + unreadNames + '\n';
  return report;
}

}  // namespace strumlet
