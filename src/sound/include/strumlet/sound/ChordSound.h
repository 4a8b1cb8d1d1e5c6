// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "strumlet/core/Result.h"
#include "strumlet/sound/ChordSynth.h"

namespace strumlet {

// The extension of a chord's audio file.
inline constexpr char kSoundExtension[] = ".ogg";
// Its sample rate: a plucked chord has next to nothing above 11 kHz, and half the samples of
// 44.1 kHz take half the time to synthesise and to encode.
inline constexpr int kSoundFileRate = 22050;

// Mono samples at `sampleRate` as the bytes of an Ogg Vorbis file. Fails with kUnavailable when
// the encoder refuses them.
Result<std::string> EncodeOgg(const std::vector<float>& samples, int sampleRate);

// Writes the sound of `strum`, rendered at the synthesiser's rate (kSoundFileRate for files), to
// `path` (whole or not at all). Fails with kIo and the errno value when the file cannot be
// written.
Result<void> WriteChordSound(ChordSynth& synth, const ChordStrum& strum,
                             const std::filesystem::path& path);

}  // namespace strumlet
