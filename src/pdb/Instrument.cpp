// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/pdb/Instrument.h"

#include <array>

namespace strumlet {
namespace {

constexpr std::array kStandardGuitar = {40, 45, 50, 55, 59, 64};  // E A D G B E
// Its G above middle C (re-entrant).
constexpr std::array kStandardUkulele = {67, 60, 64, 69};  // G C E A
// Open G, the short fifth string's high G first, as it lies on the neck.
constexpr std::array kOpenGBanjo = {67, 50, 55, 59, 62};  // g D G B D

// General MIDI programs, counted from 0.
constexpr int kNylonGuitar = 24;
constexpr int kSteelGuitar = 25;
constexpr int kBanjoProgram = 105;

// Indexed by code: a new instrument is the next row.
constexpr auto kInstruments = std::to_array<Instrument>({
    // General MIDI has no ukulele: a nylon-string guitar comes nearest.
    {kGuitarCode, "Guitar", 6, 4, kStandardGuitar, {}, kSteelGuitar},
    {kUkuleleCode, "Ukulele", 4, 6, kStandardUkulele, {}, kNylonGuitar},
    {2, "", 4, 4, {}, {}, kNylonGuitar},
    {3, "", 4, 4, {}, {}, kNylonGuitar},
    {kBanjoCode, "Banjo", 5, 4, kOpenGBanjo, {5, 5}, kBanjoProgram},
});

}  // namespace

const Instrument& InstrumentFor(uint8_t code) {
  return code < kInstruments.size() ? kInstruments[code] : kInstruments[kGuitarCode];
}

std::span<const Instrument> Instruments() { return kInstruments; }

}  // namespace strumlet
