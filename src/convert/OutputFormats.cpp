// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/convert/OutputFormats.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace strumlet {
namespace {

constexpr OutputFormat kFormats[] = {
    {"jpeg", "JPEG", ".html", nullptr, nullptr, true, ImageKind::kJpeg},
    {"png", "PNG", ".html", nullptr, nullptr, true, ImageKind::kPng},
    {"svg", "SVG", ".html", nullptr, nullptr, false, ImageKind::kSvg},
    {"chordpro", "ChordPro", ".cho", "&ChordPro...",
     "Write the chords of the active database as a ChordPro file, for songbook programs", true,
     std::nullopt, &ChordProText},
    {"musicxml", "MusicXML", ".musicxml", "&MusicXML...",
     "Write the chords of the active database as a MusicXML file, for notation programs", true,
     std::nullopt, &MusicXmlText},
    {"json", "JSON", ".json", "&JSON...",
     "Write the chords of the active database as a JSON file, for web chord apps", true,
     std::nullopt, &ChordJsonText},
    {"pdf", "PDF", ".pdf", "&PDF Chord Book...",
     "Write the chords of the active database as a PDF chord book, to print", true, std::nullopt,
     nullptr, &WritePdfBookFile},
    {"midi", "MIDI", ".mid", "M&IDI...",
     "Write the chords of the active database as a MIDI file, each strummed for a bar", false,
     std::nullopt, &MidiText},
};

// The word that names two page kinds at once, kept from before SVG pages were made.
constexpr std::string_view kBoth = "both";
constexpr std::array<std::string_view, 2> kBothWords = {"jpeg", "png"};
constexpr std::string_view kAll = "all";

// "a, b or c".
std::string JoinOr(const std::vector<std::string>& words, const char* last) {
  std::string text;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i > 0) text += i + 1 == words.size() ? last : ", ";
    text += words[i];
  }
  return text;
}

std::string CountWord(std::size_t count) {
  static constexpr const char* kWords[] = {"no",   "one", "two",   "three", "four",
                                           "five", "six", "seven", "eight", "nine"};
  return count < std::size(kWords) ? kWords[count] : std::to_string(count);
}

template <typename Keep>
std::vector<std::string> Words(Keep keep) {
  std::vector<std::string> words;
  for (const OutputFormat& format : kFormats) {
    if (keep(format)) words.emplace_back(format.word);
  }
  return words;
}

bool IsPage(const OutputFormat& format) { return format.page.has_value(); }

}  // namespace

std::span<const OutputFormat> OutputFormats() { return kFormats; }

const OutputFormat* FindOutputFormat(std::string_view word) {
  for (const OutputFormat& format : kFormats) {
    if (word == format.word) return &format;
  }
  return nullptr;
}

std::optional<std::vector<const OutputFormat*>> ParseFormats(const std::string& text) {
  std::vector<bool> chosen(std::size(kFormats), false);
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(',', start);
    const std::string_view word = std::string_view(text).substr(start, comma - start);
    bool known = word == kBoth || word == kAll;
    for (std::size_t i = 0; i < std::size(kFormats); ++i) {
      const OutputFormat& format = kFormats[i];
      const bool inBoth =
          std::find(kBothWords.begin(), kBothWords.end(), format.word) != kBothWords.end();
      if (word == format.word || (word == kBoth && inBoth) || (word == kAll && format.inAll)) {
        chosen[i] = true;
        known = true;
      }
    }
    if (!known) return std::nullopt;
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  std::vector<const OutputFormat*> formats;
  for (std::size_t i = 0; i < std::size(kFormats); ++i) {
    if (chosen[i]) formats.push_back(&kFormats[i]);
  }
  return formats;
}

std::string FormatHelp() {
  std::vector<std::string> pages = Words(IsPage);
  std::vector<std::string> both(kBothWords.begin(), kBothWords.end());
  pages.push_back(std::string(kBoth) + " (" + JoinOr(both, " and ") + ")");
  const std::vector<std::string> files = Words([](const OutputFormat& f) { return !IsPage(f); });
  std::vector<std::string> all = Words([](const OutputFormat& f) { return IsPage(f) && f.inAll; });
  const std::size_t allFiles =
      Words([](const OutputFormat& f) { return !IsPage(f) && f.inAll; }).size();
  all.push_back("the " + CountWord(allFiles) + " files");
  return "pages with " + JoinOr(pages, " or ") + " images; " + JoinOr(files, " or ") +
         " files; or " + std::string(kAll) + " (" + JoinOr(all, " and ") +
         "); several joined by commas, such as svg,musicxml (default: jpeg)";
}

std::string FormatProblem(const std::string& value) {
  std::vector<std::string> words = Words(IsPage);
  words.emplace_back(kBoth);
  for (const std::string& word : Words([](const OutputFormat& f) { return !IsPage(f); })) {
    words.push_back(word);
  }
  words.emplace_back(kAll);
  return value + " is not " + JoinOr(words, " or ") + ", nor several of them joined by commas";
}

}  // namespace strumlet
