// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QTimer>
#include <QUrl>
#include <QWebEngineView>
#include <functional>
#include <string>

namespace strumlet {

// The right pane of a document window: the generated page in the embedded browser, or for a
// document without a page the built-in instructions. It shows only our own content, without
// JavaScript; a web or mail link is handed to the user's browser or mail program.
class CStrumletViewerView final : public QWebEngineView {
  Q_OBJECT
 public:
  // Opens a web or mail link outside the program; the default asks the desktop.
  using LinkOpener = std::function<void(const QUrl&)>;

  explicit CStrumletViewerView(QWidget* parent = nullptr);

  void SetLinkOpener(LinkOpener opener);

  // Plays the chord of a diagram's play button: the page's path (as the scheme names it) and the
  // diagram's image file name.
  using ChordPlayer = std::function<void(const std::string& pagePath, const std::string& image)>;
  void SetChordPlayer(ChordPlayer player);

  // Navigates once: to `pagePath` (served through the page scheme), or to the instruction page when
  // it is empty. True when the instructions were shown (the window is then maximised by its frame).
  bool OnInitialUpdate(const std::string& pagePath);

  // Brings in every image of the page that has not come yet, then calls `done` (for printing,
  // which shows the whole page). Gives up when none has come for a minute.
  void LoadEveryImage(std::function<void()> done);

  // Address of the built-in instruction page.
  static QUrl InstructionPageUrl();

 signals:
  // Ctrl and the mouse wheel over the page: `steps` notches away from the user (zoom in) when
  // positive, towards the user (zoom out) when negative. The page itself is not zoomed here.
  void zoomStepsRequested(int steps);

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The script that brings in each image of a page as it nears the part in view, and what calls
  // it.
  void InstallImageLoader();
  // The "page-shown" and "page-loaded" figures of the timing hook.
  void WatchLoadForTiming();
  // The "middle-shown" and "end-shown" figures: scrolls through a loaded page.
  void TourForTiming();
  // True when `event` was a Ctrl+wheel turn, which is then taken from the page.
  bool TakeZoomWheel(QEvent* event);

  // Brings in the images near the part in view, a moment after the page changed or scrolled.
  QTimer* showNearTimer_ = nullptr;
  // The part of a wheel notch turned so far, for wheels and touchpads that send less at a time.
  int wheelRemainder_ = 0;
};

}  // namespace strumlet
