// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/render/DiagramText.h"

#include <vector>

#include "strumlet/core/CodePage.h"
#include "strumlet/pdb/Instrument.h"
#include "strumlet/pdb/StringSound.h"
#include "strumlet/pdb/Tuning.h"

namespace strumlet {
namespace {

std::string Joined(const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& word : words) text += (text.empty() ? "" : " ") + word;
  return text;
}

}  // namespace

std::string DescribeDiagram(const ChordRecord& record, bool notes) {
  const std::vector<StringSound> sounds = SoundsLowestFirst(record);
  std::vector<std::string> frets, fingers, barres;
  bool anyBarre = false, oneBarre = true;
  int firstBarre = 0;
  for (const StringSound& s : sounds) {
    const int barre = BarreOver(record, s.string);
    barres.push_back(std::to_string(barre));
    if (barre != 0) {
      if (anyBarre && barre != firstBarre) oneBarre = false;
      if (!anyBarre) firstBarre = barre;
      anyBarre = true;
    }
    switch (s.kind) {
      case StringSound::kMuted:
        // Values past the cross show nothing at all: the string is not played either way.
        frets.emplace_back("x");
        fingers.emplace_back("x");
        break;
      case StringSound::kOpen:
        frets.emplace_back("0");
        fingers.emplace_back("0");
        break;
      case StringSound::kFretted:
      case StringSound::kBarred: {
        frets.push_back(std::to_string(s.fret));
        const int finger = record.fingers[s.string];
        fingers.push_back(std::to_string(finger >= 1 && finger <= 9 ? finger : 0));
        break;
      }
    }
  }

  std::string text = record.name.empty() ? "Unnamed chord" : CodePageToUtf8(record.name);
  text += ":";
  // A record of no strings still tells a listener what the empty diagram means.
  text += frets.empty() ? " no strings" : " " + Joined(frets);
  if (record.baseFret() >= 1 && record.baseFret() < kMutedFret) {
    text += ", base fret " + std::to_string(record.baseFret());
  }
  if (anyBarre) {
    // One barre across the strings it covers, or each string's own where they differ.
    text += oneBarre ? ", barre " + std::to_string(firstBarre) : ", barres " + Joined(barres);
  }
  if ((record.flags & ChordRecord::kFingers) != 0 && !fingers.empty()) {
    text += ", fingers " + Joined(fingers);
  }
  if (notes) {
    std::vector<std::string> names;
    for (const int note : SoundingNotes(record)) names.push_back(PitchClassName(note));
    if (!names.empty()) text += ", notes " + Joined(names);
  }
  return text;
}

}  // namespace strumlet
