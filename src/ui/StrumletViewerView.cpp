#include "StrumletViewerView.h"

#include <QChildEvent>
#include <QDesktopServices>
#include <QKeySequence>
#include <QShortcut>
#include <QTimer>
#include <QUrl>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWheelEvent>
#include <memory>

#include "PageScheme.h"
#include "strumlet/app/DebugTiming.h"

// The resources are linked from a static library, so they are registered by hand.
static void InitResources() { Q_INIT_RESOURCE(strumletviewer); }

namespace strumlet {

namespace {

// Loads our own content only. A click on a web or mail link (the footer's site address) goes to
// the opener; any other address is refused.
class GuardedPage final : public QWebEnginePage {
 public:
  explicit GuardedPage(QObject* parent) : QWebEnginePage(parent) {}

  CStrumletViewerView::LinkOpener opener = [](const QUrl& url) { QDesktopServices::openUrl(url); };

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool) override {
    if (IsOwnContentUrl(url)) {
      return true;
    }
    const QString scheme = url.scheme();
    const bool outsideLink = scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
                             scheme == QLatin1String("mailto");
    if (outsideLink && type == NavigationTypeLinkClicked && opener) {
      opener(url);
    }
    return false;
  }
};

}  // namespace

CStrumletViewerView::CStrumletViewerView(QWidget* parent) : QWebEngineView(parent) {
  InitResources();
  CPageSchemeHandler::Install();
  setObjectName(QStringLiteral("htmlView"));
  setAccessibleName(tr("Page"));
  auto* page = new GuardedPage(this);
  // Our pages need no scripts (only the Back button calls one); a page put in the output folder
  // by someone else gets none run either.
  page->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
  setPage(page);
  // The way back that the page's Back button no longer gives (the context menu has it too).
  auto* back = new QShortcut(QKeySequence::Back, this, this, &QWebEngineView::back);
  back->setContext(Qt::WidgetWithChildrenShortcut);
  if (DebugTimingEnabled()) {
    WatchLoadForTiming();
  }
  // The browser's own widget, which gets the wheel, is a child made and replaced by the view.
  for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    child->installEventFilter(this);
  }
}

bool CStrumletViewerView::event(QEvent* event) {
  if (event->type() == QEvent::ChildAdded) {
    if (QObject* child = static_cast<QChildEvent*>(event)->child(); child->isWidgetType()) {
      child->installEventFilter(this);
    }
  }
  if (TakeZoomWheel(event)) {
    return true;
  }
  return QWebEngineView::event(event);
}

bool CStrumletViewerView::eventFilter(QObject* watched, QEvent* event) {
  if (TakeZoomWheel(event)) {
    return true;
  }
  return QWebEngineView::eventFilter(watched, event);
}

bool CStrumletViewerView::TakeZoomWheel(QEvent* event) {
  if (event->type() != QEvent::Wheel) {
    return false;
  }
  const auto* wheel = static_cast<QWheelEvent*>(event);
  if (!(wheel->modifiers() & Qt::ControlModifier)) {
    wheelRemainder_ = 0;
    return false;
  }
  // One notch is 120; a touchpad sends less at a time. Every Ctrl+wheel turn is taken, so that
  // the browser never zooms the page by itself, past the window's setting.
  wheelRemainder_ += wheel->angleDelta().y();
  const int steps = wheelRemainder_ / QWheelEvent::DefaultDeltasPerStep;
  wheelRemainder_ %= QWheelEvent::DefaultDeltasPerStep;
  if (steps != 0) {
    emit zoomStepsRequested(steps);
  }
  return true;
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
    // Scripts of our own still run, apart from the page's.
    page()->runJavaScript(firstShown, QWebEngineScript::ApplicationWorld,
                          [poll, shown](const QVariant& v) {
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

void CStrumletViewerView::SetLinkOpener(LinkOpener opener) {
  if (auto* guarded = dynamic_cast<GuardedPage*>(page())) {
    guarded->opener = std::move(opener);
  }
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
