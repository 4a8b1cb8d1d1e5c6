#include "ui/StrumletViewerView.h"

#include <QUrl>
#include <QWebEnginePage>

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
  connect(this, &QWebEngineView::loadFinished, this, [](bool) { DebugTiming("page-loaded"); });
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
