// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "StrumletViewerView.h"

#include <QChildEvent>
#include <QDesktopServices>
#include <QKeySequence>
#include <QPointer>
#include <QShortcut>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWheelEvent>
#include <cstdio>
#include <iterator>
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
  CStrumletViewerView::ChordPlayer player;

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool) override {
    if (type == NavigationTypeFormSubmitted && url.query() == QLatin1String(kBackQuery)) {
      // Not from inside the browser's own call.
      QTimer::singleShot(0, this, [this] { triggerAction(Back); });
      return false;
    }
    if (type == NavigationTypeFormSubmitted && IsOwnContentUrl(url)) {
      // A diagram's play button: the page stays.
      const QUrlQuery query(url);
      if (query.hasQueryItem(QLatin1String(kPlayField))) {
        const std::string image =
            query.queryItemValue(QLatin1String(kPlayField), QUrl::FullyDecoded).toStdString();
        if (player) player(PageSchemePath(url), image);
        return false;
      }
    }
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
  InstallImageLoader();
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

void CStrumletViewerView::InstallImageLoader() {
  // Runs in the view's own script world, so it runs though the page's scripts do not. The view
  // calls it as the page grows, scrolls or is zoomed (ShowImagesNearView): each deferred image
  // within a screen or two of the part in view gets its address back. Nothing watches each image:
  // with tens of thousands of them, observers cost the page renderer seconds and a gigabyte.
  QWebEngineScript script;
  script.setName(QStringLiteral("strumlet-image-loader"));
  script.setWorldId(QWebEngineScript::ApplicationWorld);
  script.setInjectionPoint(QWebEngineScript::DocumentCreation);
  script.setRunsOnSubFrames(false);
  script.setSourceCode(QStringLiteral(R"((() => {
  const attribute = '%1';
  const show = image => {
    const source = image.getAttribute(attribute);
    if (source !== null) {
      image.removeAttribute(attribute);
      image.setAttribute('src', source);
    }
  };
  // The images stand in document order, top to bottom: the first one near the view is found by
  // halving, and the walk stops at the first one below it.
  window.strumletShowNear = () => {
    const images = document.images, margin = 1500, bottom = innerHeight + margin;
    let lo = 0, hi = images.length;
    while (lo < hi) {
      const middle = (lo + hi) >> 1;
      if (images[middle].getBoundingClientRect().bottom <= -margin) lo = middle + 1; else hi = middle;
    }
    for (let k = lo; k < images.length; k++) {
      if (images[k].getBoundingClientRect().top >= bottom) break;
      show(images[k]);
    }
  };
  // Called again and again (for printing): "wait" while the last hundred images are coming,
  // then "more" as it asks for the next hundred, and "done" once every image is in. Timers and
  // events of this world do not run while the page's scripts are off, so the caller's timer
  // drives it.
  let batch = [];
  window.strumletLoadMoreImages = () => {
    if (batch.some(image => !image.complete)) return 'wait';
    batch = [...document.querySelectorAll('img[' + attribute + ']')].slice(0, 100);
    batch.forEach(show);
    return batch.length === 0 ? 'done' : 'more';
  };
})())")
                           .arg(QLatin1String(kDeferredSourceAttribute)));
  page()->scripts().insert(script);

  // Timers and events of the script's world do not run while the page's scripts are off, so the
  // view drives it: whenever the page grows (as it is parsed, or reflowed by a zoom or a new
  // width), scrolls, or has loaded; at most once per interval.
  showNearTimer_ = new QTimer(this);
  showNearTimer_->setSingleShot(true);
  showNearTimer_->setInterval(50);
  connect(showNearTimer_, &QTimer::timeout, this, [this] {
    page()->runJavaScript(QStringLiteral("window.strumletShowNear && window.strumletShowNear()"),
                          QWebEngineScript::ApplicationWorld);
  });
  const auto showNear = [this] {
    if (!showNearTimer_->isActive()) showNearTimer_->start();
  };
  connect(page(), &QWebEnginePage::scrollPositionChanged, this, showNear);
  connect(page(), &QWebEnginePage::contentsSizeChanged, this, showNear);
  connect(page(), &QWebEnginePage::loadFinished, this, showNear);
}

void CStrumletViewerView::LoadEveryImage(std::function<void()> done) {
  auto* poll = new QTimer(this);
  poll->setInterval(20);
  auto ticks = std::make_shared<int>(0);
  auto finished = std::make_shared<bool>(false);
  auto finish = [poll, finished, done = std::move(done)] {
    if (!*finished) {
      *finished = true;
      poll->stop();
      poll->deleteLater();
      done();
    }
  };
  connect(poll, &QTimer::timeout, this, [this, ticks, finish] {
    // Never waits for ever: when no image has come for a minute, prints what there is.
    if (++*ticks > 3000) {
      finish();
      return;
    }
    // A page without the loader (the instructions) has nothing to bring in.
    page()->runJavaScript(QStringLiteral("window.strumletLoadMoreImages ?"
                                         " window.strumletLoadMoreImages() : 'done'"),
                          QWebEngineScript::ApplicationWorld,
                          [ticks, finish](const QVariant& step) {
                            if (step.toString() == QLatin1String("more")) {
                              *ticks = 0;
                            } else if (step.toString() == QLatin1String("done")) {
                              finish();
                            }
                          });
  });
  poll->start();
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
  connect(this, &QWebEngineView::loadFinished, this, [this, poll, shown](bool) {
    poll->stop();
    if (!*shown) {
      *shown = true;
      DebugTiming("page-shown");
    }
    DebugTiming("page-loaded");
    if (url().scheme() != QStringLiteral("qrc")) {
      TourForTiming();
    }
  });
}

void CStrumletViewerView::TourForTiming() {
  // Jumps to the middle of the page, then to its end; at each, "middle-shown" or "end-shown" once
  // every image in view is in (or "...-timeout" after 60 s). Then one line counts the page's
  // images: those in, those that failed and those not asked for yet.
  struct Stop {
    const char* fraction;
    const char* shown;
    const char* timeout;
  };
  static constexpr Stop kStops[] = {{"0.5", "middle-shown", "middle-timeout"},
                                    {"1", "end-shown", "end-timeout"}};
  // The images are in document order, top to bottom: a binary search finds the first in view.
  static const QString kInView =
      QStringLiteral(
          "(() => { const im = document.images, h = innerHeight;"
          " let lo = 0, hi = im.length;"
          " while (lo < hi) { const m = (lo + hi) >> 1;"
          "   if (im[m].getBoundingClientRect().bottom <= 0) lo = m + 1; else hi = m; }"
          " let want = 0, got = 0;"
          " for (let k = lo; k < im.length; k++) { const r = im[k].getBoundingClientRect();"
          "   if (r.top >= h) break; if (r.bottom <= 0) continue; want++;"
          "   if (!im[k].hasAttribute('%1') && im[k].complete && im[k].naturalWidth > 0) got++; }"
          " return want > 0 && got === want; })()")
          .arg(QLatin1String(kDeferredSourceAttribute));
  auto stop = std::make_shared<size_t>(0);
  auto ticks = std::make_shared<int>(0);
  auto* poll = new QTimer(this);
  poll->setInterval(50);
  auto jump = [this, stop, ticks, poll] {
    *ticks = 0;
    page()->runJavaScript(
        QStringLiteral("window.scrollTo(0, (document.documentElement.scrollHeight - innerHeight)"
                       " * %1)")
            .arg(QLatin1String(kStops[*stop].fraction)),
        QWebEngineScript::ApplicationWorld);
    poll->start();
  };
  auto next = [this, stop, poll, jump] {
    poll->stop();
    if (++*stop < std::size(kStops)) {
      jump();
      return;
    }
    poll->deleteLater();
    page()->runJavaScript(
        QStringLiteral("(() => { let i = 0, f = 0, w = 0, l = 0; for (const m of document.images) {"
                       " if (m.hasAttribute('%1')) w++; else if (!m.complete) l++;"
                       " else if (m.naturalWidth > 0) i++; else f++; }"
                       " return i + ' in, ' + f + ' failed, ' + l + ' loading, ' + w +"
                       " ' not asked for'; })()")
            .arg(QLatin1String(kDeferredSourceAttribute)),
        QWebEngineScript::ApplicationWorld, [](const QVariant& v) {
          std::fprintf(stderr, "strumletviewer-images: %s\n", qPrintable(v.toString()));
          DebugTiming("tour-done");
        });
  };
  connect(poll, &QTimer::timeout, this, [this, stop, ticks, poll, next] {
    if (++*ticks > 1200) {
      DebugTiming(kStops[*stop].timeout);
      next();
      return;
    }
    page()->runJavaScript(
        kInView, QWebEngineScript::ApplicationWorld,
        [stop, next, at = *stop, poll = QPointer<QTimer>(poll)](const QVariant& v) {
          // Answers to earlier polls may still arrive after the stop is passed.
          if (v.toBool() && poll && poll->isActive() && *stop == at) {
            DebugTiming(kStops[at].shown);
            next();
          }
        });
  });
  jump();
}

void CStrumletViewerView::SetChordPlayer(ChordPlayer player) {
  if (auto* guarded = dynamic_cast<GuardedPage*>(page())) {
    guarded->player = std::move(player);
  }
}

void CStrumletViewerView::SetLinkOpener(LinkOpener opener) {
  if (auto* guarded = dynamic_cast<GuardedPage*>(page())) {
    guarded->opener = std::move(opener);
  }
}

QUrl CStrumletViewerView::InstructionPageUrl() {
  return QUrl(QStringLiteral("qrc:/strumletviewer/instructions.html"));
}

bool CStrumletViewerView::OnInitialUpdate(const std::string& pagePath) {
  if (!pagePath.empty()) {
    // Not as a file: see PageScheme.h.
    load(PageSchemeUrl(pagePath));
    return false;
  }
  load(InstructionPageUrl());
  return true;
}

}  // namespace strumlet
