// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ChordPlayback.h"

#include "PageScheme.h"

namespace strumlet {

CChordPlayback::CChordPlayback(Teller teller, QObject* parent)
    : QObject(parent), teller_(std::move(teller)), opener_([] { return StrumPlayer::Open(); }) {}

QString CChordPlayback::UnavailableText(const QString& problem) {
  return tr("Chords cannot be played: %1. Everything else works as before; Options > Play "
            "Chords on Click turns clicking for sound off.")
      .arg(problem);
}

void CChordPlayback::Play(const std::string& pagePath, const std::string& image) {
  const std::shared_ptr<const DiagramStrums> strums = PageStrums(pagePath);
  if (!strums || unavailable_) return;
  const auto found = strums->find(image);
  if (found == strums->end() || found->second.notes.empty()) return;
  if (!player_) {
    Result<std::unique_ptr<StrumPlayer>> opened = opener_();
    if (!opened) {
      unavailable_ = true;
      if (teller_) teller_(UnavailableText(QString::fromStdString(opened.error().reason)));
      return;
    }
    player_ = std::move(*opened);
  }
  const std::string key = pagePath + '\n' + image;
  if (player_->Sounding() && key == playing_) {
    player_->Stop();
    playing_.clear();
    return;
  }
  player_->Play(found->second);
  playing_ = key;
}

void CChordPlayback::Stop() {
  if (player_) player_->Stop();
  playing_.clear();
}

}  // namespace strumlet
