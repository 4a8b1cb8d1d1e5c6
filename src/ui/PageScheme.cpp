// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "PageScheme.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <memory>

namespace strumlet {

namespace {

const QByteArray kScheme = QByteArrayLiteral("strumlet-page");

CPageSchemeHandler::Access& CurrentAccess() {
  static CPageSchemeHandler::Access access;
  return access;
}

// The device a job reads from lives as long as the job.
void Reply(QWebEngineUrlRequestJob* job, const QByteArray& mime, QIODevice* device) {
  QObject::connect(job, &QObject::destroyed, device, &QObject::deleteLater);
  job->reply(mime, device);
}

}  // namespace

void RegisterPageScheme() {
  QWebEngineUrlScheme scheme(kScheme);
  // Path syntax, so that "images/C.jpg" and "Guitar Chords/Guitar Chords.html" resolve against
  // the page's own address as they did with file: URLs. Local: pages on the net cannot reach it.
  scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
  scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::LocalScheme);
  QWebEngineUrlScheme::registerScheme(scheme);
}

QUrl PageSchemeUrl(const QString& path) {
  QUrl url;
  url.setScheme(QString::fromLatin1(kScheme));
  url.setPath(QFileInfo(path).absoluteFilePath());
  return url;
}

QByteArray WithDeferredImages(QByteArray html) {
  // The pages are our own output: every image tag is written as "<img src=...". Their width and
  // height keep each image's place until it comes. The first screenful keeps its addresses, so
  // the top of the page is drawn as it is parsed, without waiting for the script.
  constexpr int kEagerImages = 60;
  static const QByteArray kTag = QByteArrayLiteral("<img src=");
  static const QByteArray kDeferred = QByteArray("<img ") + kDeferredSourceAttribute + "=";
  QByteArray served;
  served.reserve(html.size() + html.count(kTag) * (kDeferred.size() - kTag.size()));
  qsizetype from = 0;
  for (int seen = 0;; ++seen) {
    const qsizetype at = html.indexOf(kTag, from);
    if (at < 0) {
      break;
    }
    served.append(html.constData() + from, at - from);
    served.append(seen < kEagerImages ? kTag : kDeferred);
    from = at + kTag.size();
  }
  served.append(html.constData() + from, html.size() - from);
  return served;
}

bool IsOwnContentUrl(const QUrl& url) {
  const QString scheme = url.scheme();
  return scheme == QLatin1String(kScheme) || scheme == QLatin1String("qrc") ||
         scheme == QLatin1String("data");
}

void CPageSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
  // Checked and read by the resolved path, so that a link or a ".." cannot lead out of the
  // folders allowed.
  const QString path = QFileInfo(job->requestUrl().path()).canonicalFilePath();
  const Access& access = CurrentAccess();
  if (path.isEmpty() || !access || !access(path)) {
    job->fail(QWebEngineUrlRequestJob::RequestDenied);
    return;
  }
  auto file = std::make_unique<QFile>(path);
  if (!QFileInfo(path).isFile() || !file->open(QIODevice::ReadOnly)) {
    job->fail(QWebEngineUrlRequestJob::UrlNotFound);
    return;
  }
  const QByteArray mime = QMimeDatabase().mimeTypeForFile(path).name().toLatin1();
  // Read whole and closed at once: no file stays open while the browser takes its time.
  QByteArray data = file->readAll();
  file->close();
  if (mime == "text/html") {
    data = WithDeferredImages(std::move(data));
  }
  auto* buffer = new QBuffer;
  buffer->setData(data);
  buffer->open(QIODevice::ReadOnly);
  Reply(job, mime, buffer);
}

void CPageSchemeHandler::Install() {
  QWebEngineProfile* profile = QWebEngineProfile::defaultProfile();
  if (profile->urlSchemeHandler(kScheme) == nullptr) {
    profile->installUrlSchemeHandler(kScheme, new CPageSchemeHandler(profile));
    profile->setUrlRequestInterceptor(new CRequestGuard(profile));
  }
}

void CPageSchemeHandler::SetAccess(Access access) { CurrentAccess() = std::move(access); }

void CRequestGuard::interceptRequest(QWebEngineUrlRequestInfo& info) {
  if (!IsOwnContentUrl(info.requestUrl())) {
    info.block(true);
  }
}

}  // namespace strumlet
