#include "ui/StrumletViewerView.h"

#include <QTimer>
#include <QUrl>
#include <QVariant>
#include <QWebEnginePage>
#include <memory>

#include "app/DebugTiming.h"
#include "ui/PageScheme.h"

// The resources are linked from a static library, so they are registered by hand.
static void InitResources() { Q_INIT_RESOURCE(strumletviewer); }

namespace strumlet {

CStrumletViewerView::CStrumletViewerView(QWidget* parent) : QWebEngineView(parent) {
  InitResources();
  CPageSchemeHandler::Install();
  setObjectName(QStringLiteral("htmlView"));
  setAccessibleName(tr("Page"));
  if (DebugTimingEnabled()) {
    WatchLoadForTiming();
  }
}

void CStrumletViewerView::WatchLoadForTiming() {
  // A page of many chords is on screen long before its last image is in: "page-shown" once the
  // first chord's image is drawn (or the document is parsed, for a page without images),
  // "page-loaded" when everything is.
  auto* poll = new QTimer(this);
  poll->setInterval(20);
  auto shown = std::make_shared<bool>(false);
  connect(poll, &QTimer::timeout, this, [this, poll, shown] {
    const QString firstShown = QStringLiteral(
        "(() => { const i = document.images;"
        " return i.length > 0 ? i[0].complete && i[0].naturalWidth > 0"
        " : document.readyState !== 'loading'; })()");
    page()->runJavaScript(firstShown, [poll, shown](const QVariant& v) {
      if (!*shown && v.toBool()) {
        *shown = true;
        poll->stop();
        DebugTiming("page-shown");
      }
    });
  });
  connect(this, &QWebEngineView::loadStarted, this, [poll, shown] {
    *shown = false;
    poll->start();
  });
  connect(this, &QWebEngineView::loadFinished, this, [poll, shown](bool) {
    poll->stop();
    if (!*shown) {
      *shown = true;
      DebugTiming("page-shown");
    }
    DebugTiming("page-loaded");
  });
}

QUrl CStrumletViewerView::InstructionPageUrl() {
  return QUrl(QStringLiteral("qrc:/strumletviewer/instructions.html"));
}

bool CStrumletViewerView::OnInitialUpdate(const QString& pagePath) {
  if (!pagePath.isEmpty()) {
    // Not as a file: see PageScheme.h.
    load(PageSchemeUrl(pagePath));
    return false;
  }
  load(InstructionPageUrl());
  return true;
}

}  // namespace strumlet
