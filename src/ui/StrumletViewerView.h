#pragma once

#include <QString>
#include <QWebEngineView>

namespace strumlet {

// The right pane of a document window: the generated page in the embedded browser, or for a
// document without a page the built-in instructions.
class CStrumletViewerView final : public QWebEngineView {
  Q_OBJECT
 public:
  explicit CStrumletViewerView(QWidget* parent = nullptr);

  // Navigates once: to `pagePath` (served through the page scheme), or to the instruction page when
  // it is empty. True when the instructions were shown (the window is then maximised by its frame).
  bool OnInitialUpdate(const QString& pagePath);

  // Address of the built-in instruction page.
  static QUrl InstructionPageUrl();

 private:
  // The "page-shown" and "page-loaded" figures of the timing hook.
  void WatchLoadForTiming();
};

}  // namespace strumlet
