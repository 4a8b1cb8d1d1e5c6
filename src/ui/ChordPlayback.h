// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "strumlet/sound/StrumPlayer.h"

namespace strumlet {

// The window's sound: plays the chord of a diagram clicked on a page, through the audio output
// opened at the first click. With no audio output or no SoundFont the user is told once, and
// clicks do nothing from then on.
class CChordPlayback final : public QObject {
  Q_OBJECT
 public:
  // Shows the one message about sound that cannot be played.
  using Teller = std::function<void(const QString& text)>;
  // Opens the audio output; StrumPlayer::Open unless a test gives another.
  using Opener = std::function<Result<std::unique_ptr<StrumPlayer>>()>;

  explicit CChordPlayback(Teller teller, QObject* parent = nullptr);
  void SetOpener(Opener opener) { opener_ = std::move(opener); }

  // A click on the diagram showing `image` of the page at `pagePath`: strums its chord, or stops
  // it when it is the chord still sounding. Nothing for a page or diagram without sound.
  void Play(const std::string& pagePath, const std::string& image);
  void Stop();

  // The text told when sound cannot be played (for `problem`, an Error's reason).
  static QString UnavailableText(const QString& problem);

 private:
  Teller teller_;
  Opener opener_;
  std::unique_ptr<StrumPlayer> player_;
  bool unavailable_ = false;
  std::string playing_;  // page and image of the last chord started
};

}  // namespace strumlet
