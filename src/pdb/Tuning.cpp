// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/pdb/Tuning.h"

#include <array>
#include <cctype>
#include <charconv>

#include "strumlet/pdb/Instrument.h"

namespace strumlet {
namespace {

constexpr CommonTuning kGuitar[] = {
    {"standard", "Standard", "E2 A2 D3 G3 B3 E4", {}, -1},
    {"drop-d", "Drop D", "D2 A2 D3 G3 B3 E4", {}, -1},
    {"dadgad", "DADGAD", "D2 A2 D3 G3 A3 D4", {}, -1},
    {"open-g", "Open G", "D2 G2 D3 G3 B3 D4", {}, -1},
    {"open-d", "Open D", "D2 A2 D3 F#3 A3 D4", {}, -1},
    {"half-step-down", "Half step down", "Eb2 Ab2 Db3 Gb3 Bb3 Eb4", {}, -1},
};
constexpr CommonTuning kUkulele[] = {
    {"standard", "Standard", "G4 C4 E4 A4", {}, -1},
    {"low-g", "Low G", "G3 C4 E4 A4", {}, -1},
    {"d", "D", "A4 D4 F#4 B4", {}, -1},
    {"baritone", "Baritone", "D3 G3 B3 E4", {}, -1},
};
// General MIDI programs, counted from 0.
constexpr int kNylonGuitar = 24;
constexpr int kSteelGuitar = 25;
constexpr int kAcousticBass = 32;
constexpr int kBanjoProgram = 105;
// The database format names no four-string instrument but the ukulele: a tuning says which.
constexpr CommonTuning kFourStrings[] = {
    {"unknown", "Unknown (strings only)", "", {}, -1},
    {"mandolin", "Mandolin", "G3 D4 A4 E5", "Mandolin", kSteelGuitar},
    {"tenor-banjo", "Tenor banjo", "C3 G3 D4 A4", "Tenor banjo", kBanjoProgram},
    {"tenor-guitar", "Tenor guitar", "C3 G3 D4 A4", "Tenor guitar", kSteelGuitar},
    {"baritone-ukulele", "Baritone ukulele", "D3 G3 B3 E4", "Baritone ukulele", kNylonGuitar},
    {"bass", "Bass", "E1 A1 D2 G2", "Bass", kAcousticBass},
};
// The short fifth string first, as it lies on the neck.
constexpr CommonTuning kBanjo[] = {
    {"open-g", "Open G", "G4 D3 G3 B3 D4", {}, -1},
    {"double-c", "Double C", "G4 C3 G3 C4 D4", {}, -1},
    {"open-d", "Open D", "F#4 D3 F#3 A3 D4", {}, -1},
};

constexpr const char* kSharpNames[] = {"C",  "C#", "D",  "D#", "E",  "F",
                                       "F#", "G",  "G#", "A",  "A#", "B"};
constexpr int kHighestMidiNote = 127;

// A key as the user may type it: letters and digits only, lower case, without a closing
// "tuning" ("Drop D tuning" is drop-d).
std::string Folded(std::string_view text) {
  std::string folded;
  for (const char c : text) {
    if (std::isalnum(static_cast<unsigned char>(c)) != 0) {
      folded += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
  }
  constexpr std::string_view kTuning = "tuning";
  if (folded.size() > kTuning.size() && folded.ends_with(kTuning)) {
    folded.resize(folded.size() - kTuning.size());
  }
  return folded;
}

std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = text.find_first_of(" \t,", at);
    if (end != at) words.push_back(text.substr(at, end - at));
    if (end == std::string_view::npos) break;
    at = end + 1;
  }
  return words;
}

// "E2", "F#3", "Bb3" (also with the sharp and flat signs), as a MIDI note.
std::optional<int> ReadPitch(std::string_view word) {
  static constexpr int kSteps[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  if (word.empty()) return std::nullopt;
  const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
  if (letter < 'A' || letter > 'G') return std::nullopt;
  int pitch = kSteps[letter - 'A'];
  word.remove_prefix(1);
  if (word.starts_with('#') || word.starts_with("\u266F")) {
    ++pitch;
    word.remove_prefix(word[0] == '#' ? 1 : 3);
  } else if (word.starts_with('b') || word.starts_with("\u266D")) {
    --pitch;
    word.remove_prefix(word[0] == 'b' ? 1 : 3);
  }
  int octave = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), octave);
  if (error != std::errc() || end != word.data() + word.size() || word.empty()) return std::nullopt;
  const long note = (static_cast<long>(octave) + 1) * 12 + pitch;
  if (note < 0 || note > kHighestMidiNote) return std::nullopt;
  return static_cast<int>(note);
}

std::string Subject(uint8_t code) {
  const std::string word = InstrumentWord(code);
  return word.starts_with("code") ? "instrument " + word : "the " + word;
}

Error Refused(std::string reason) {
  Error error;
  error.kind = Error::Kind::kRefused;
  error.reason = std::move(reason);
  return error;
}

std::string KeyList(uint8_t code) {
  std::string keys;
  for (const CommonTuning& common : CommonTunings(code)) {
    keys += (keys.empty() ? "" : ", ") + std::string(common.key);
  }
  return keys;
}

}  // namespace

std::span<const CommonTuning> CommonTunings(uint8_t code) {
  switch (code) {
    case kGuitarCode:
      return kGuitar;
    case kUkuleleCode:
      return kUkulele;
    case 2:
    case 3:
      return kFourStrings;
    case kBanjoCode:
      return kBanjo;
    default:
      return {};
  }
}

std::string InstrumentWord(uint8_t code) {
  switch (code) {
    case kGuitarCode:
      return "guitar";
    case kUkuleleCode:
      return "ukulele";
    case kBanjoCode:
      return "banjo";
    default:
      return "code " + std::to_string(code);
  }
}

std::string PitchClassName(int midi) { return kSharpNames[((midi % 12) + 12) % 12]; }

std::string PitchName(int midi) { return PitchClassName(midi) + std::to_string(midi / 12 - 1); }

Result<Tuning> ReadTuning(uint8_t code, std::string_view text) {
  const std::span<const CommonTuning> commons = CommonTunings(code);
  if (commons.empty()) return Refused("there is no instrument code " + std::to_string(code));
  Tuning tuning;
  tuning.code = code;
  const std::string folded = Folded(text);
  for (const CommonTuning& common : commons) {
    if (folded == Folded(common.key)) {
      tuning.key = std::string(common.key);
      for (const std::string_view word : Words(common.pitches))
        tuning.notes.push_back(*ReadPitch(word));
      return tuning;
    }
  }
  const int strings = InstrumentFor(code).strings;
  const std::vector<std::string_view> words = Words(text);
  if (words.size() == 1 && !ReadPitch(words[0])) {
    return Refused("'" + std::string(text) + "' is no tuning " + Subject(code) + " knows (" +
                   KeyList(code) + ") nor " + std::to_string(strings) + " pitches such as " +
                   std::string(commons.front().pitches.empty() ? commons[1].pitches
                                                               : commons.front().pitches));
  }
  for (const std::string_view word : words) {
    const std::optional<int> note = ReadPitch(word);
    if (!note) {
      return Refused(Subject(code) + "'s tuning '" + std::string(text) + "': '" +
                     std::string(word) +
                     "' is no pitch (a letter A to G, then # or b, then an octave: E2, F#3, Bb3)");
    }
    tuning.notes.push_back(*note);
  }
  if (static_cast<int>(tuning.notes.size()) != strings) {
    return Refused(Subject(code) + " has " + std::to_string(strings) + " strings: '" +
                   std::string(text) + "' gives " + std::to_string(tuning.notes.size()) +
                   (tuning.notes.size() == 1 ? " pitch" : " pitches"));
  }
  for (const CommonTuning& common : commons) {
    // Typed pitches are a common tuning of a named instrument; they say nothing of what an
    // unnamed one is.
    if (!common.instrument.empty()) continue;
    std::vector<int> notes;
    for (const std::string_view word : Words(common.pitches)) notes.push_back(*ReadPitch(word));
    if (notes == tuning.notes) {
      tuning.key = std::string(common.key);
      break;
    }
  }
  return tuning;
}

Result<Tuning> ReadTuningChoice(std::string_view text) {
  const std::size_t equals = text.find('=');
  const std::string_view word = text.substr(0, equals);
  std::optional<uint8_t> code;
  for (uint8_t c = 0; c < Instruments().size(); ++c) {
    if (Folded(word) == Folded(InstrumentWord(c)) || word == std::to_string(c)) code = c;
  }
  if (!code) {
    return Refused("'" + std::string(word) +
                   "' is not guitar, ukulele, banjo nor an instrument code 0 to " +
                   std::to_string(Instruments().size() - 1));
  }
  if (equals == std::string_view::npos) {
    return Refused("'" + std::string(text) +
                   "' names no tuning: INSTRUMENT=TUNING, such as guitar=dadgad");
  }
  return ReadTuning(*code, text.substr(equals + 1));
}

std::string TuningText(const Tuning& tuning) {
  if (!tuning.key.empty()) return tuning.key;
  std::string text;
  for (const int note : tuning.notes) text += (text.empty() ? "" : " ") + PitchName(note);
  return text;
}

}  // namespace strumlet
