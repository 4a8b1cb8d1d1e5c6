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
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <system_error>
#include <vector>

#include "strumlet/core/FileSystem.h"
#include "strumlet/core/StartDirectory.h"

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

QUrl PageSchemeUrl(const std::string& path) {
  // The path's own bytes, escaped: a file name need not be UTF-8, and a QString would lose
  // what is not.
  const std::string absolute = AbsolutePath(path, StartDirectory());
  QUrl url;
  url.setScheme(QString::fromLatin1(kScheme));
  url.setPath(QString::fromLatin1(QByteArray::fromStdString(absolute).toPercentEncoding("/")),
              QUrl::TolerantMode);
  return url;
}

QUrl PageSchemeUrl(const QString& path) {
  return PageSchemeUrl(QFile::encodeName(path).toStdString());
}

std::string PageSchemePath(const QUrl& url) {
  return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}

namespace {

// The canonical form of `path` (links and ".." resolved), empty when it cannot be resolved.
std::string CanonicalPath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path canonical = std::filesystem::canonical(path, error);
  return error ? std::string() : canonical.string();
}

struct PageWordsEntry {
  std::string canonicalPath;
  std::weak_ptr<const DiagramWords> words;
};

std::vector<PageWordsEntry>& PageWordsRegistry() {
  static std::vector<PageWordsEntry> registry;
  return registry;
}

std::shared_ptr<const DiagramWords> WordsFor(const std::string& canonicalPath) {
  auto& registry = PageWordsRegistry();
  std::shared_ptr<const DiagramWords> found;
  std::erase_if(registry, [&](const PageWordsEntry& entry) {
    auto words = entry.words.lock();
    if (words && entry.canonicalPath == canonicalPath) found = words;
    return !words;
  });
  return found;
}

// The value of attribute `name` (e.g. " alt=") in one tag, without its quotes, or none.
std::optional<QByteArrayView> AttributeValue(QByteArrayView tag, QByteArrayView name) {
  const qsizetype at = tag.indexOf(name);
  if (at < 0 || at + name.size() >= tag.size() || tag[at + name.size()] != '"') {
    return std::nullopt;
  }
  const qsizetype begin = at + name.size() + 1;
  const qsizetype close = tag.indexOf('"', begin);
  if (close < 0) return std::nullopt;
  return tag.sliced(begin, close - begin);
}

}  // namespace

namespace {

struct PageStrumsEntry {
  std::string canonicalPath;
  std::weak_ptr<const DiagramStrums> strums;
};

std::vector<PageStrumsEntry>& PageStrumsRegistry() {
  static std::vector<PageStrumsEntry> registry;
  return registry;
}

std::shared_ptr<const DiagramStrums> StrumsFor(const std::string& canonicalPath) {
  std::shared_ptr<const DiagramStrums> found;
  std::erase_if(PageStrumsRegistry(), [&](const PageStrumsEntry& entry) {
    auto strums = entry.strums.lock();
    if (strums && entry.canonicalPath == canonicalPath) found = strums;
    return !strums;
  });
  return found;
}

std::function<bool()>& PlayButtonsOn() {
  static std::function<bool()> on;
  return on;
}

}  // namespace

void SetPageStrums(const std::string& pagePath,
                   const std::shared_ptr<const DiagramStrums>& strums) {
  const std::string canonical = CanonicalPath(pagePath);
  if (canonical.empty() || !strums) return;
  StrumsFor(canonical);
  auto& registry = PageStrumsRegistry();
  std::erase_if(registry, [&](const PageStrumsEntry& e) { return e.canonicalPath == canonical; });
  registry.push_back({canonical, strums});
}

std::shared_ptr<const DiagramStrums> PageStrums(const std::string& pagePath) {
  const std::string canonical = CanonicalPath(pagePath);
  return canonical.empty() ? nullptr : StrumsFor(canonical);
}

void SetPlayButtons(std::function<bool()> on) { PlayButtonsOn() = std::move(on); }

QByteArray WithPlayButtons(QByteArray html) {
  static const QByteArray kTag = QByteArrayLiteral("<img src=");
  static const QByteArray kSoundLinkEnd = QByteArrayLiteral("</a>");
  static const QByteArray kClass = QByteArrayLiteral("strumlet-play");
  QByteArray served;
  served.reserve(html.size() + html.count(kTag) * 120);
  qsizetype from = 0;
  bool any = false;
  for (;;) {
    const qsizetype at = html.indexOf(kTag, from);
    const qsizetype end = at < 0 ? -1 : html.indexOf('>', at);
    if (end < 0) break;
    const QByteArrayView tag(html.constData() + at, end + 1 - at);
    const auto source = AttributeValue(tag, "<img src=");
    // A diagram linked to its audio file: `<a href="STEM.ogg"><img ...></a>`.
    qsizetype before = at;
    qsizetype after = end + 1;
    const qsizetype link = html.lastIndexOf("<a href=\"", at);
    if (link >= from && html.indexOf('>', link) == at - 1 &&
        QByteArrayView(html.constData() + link, at - link).endsWith(".ogg\">") &&
        html.sliced(after).startsWith(kSoundLinkEnd)) {
      before = link;
      after += kSoundLinkEnd.size();
    }
    served.append(html.constData() + from, before - from);
    if (source) {
      served.append("<button type=\"submit\" form=\"" + kClass + "\" name=\"");
      served.append(kPlayField);
      served.append("\" value=\"");
      served.append(source->data(), source->size());
      served.append("\" class=\"" + kClass + "\">");
      served.append(tag.data(), tag.size());
      served.append("</button>");
      any = true;
    } else {
      served.append(tag.data(), tag.size());
    }
    from = after;
  }
  served.append(html.constData() + from, html.size() - from);
  if (any) {
    // One form for every button, in the body (the page opens it after its head); the buttons
    // take no room of their own, and show where the keyboard is.
    const qsizetype head = served.indexOf("</head>");
    const qsizetype at = head < 0 ? 0 : head + 7;
    served.insert(at, "<form id=\"" + kClass + "\" method=\"get\"></form>");
    const qsizetype headStart = served.indexOf("<head>");
    served.insert(headStart < 0 ? 0 : headStart + 6,
                  "<style>." + kClass + "{all:unset;cursor:pointer}." + kClass +
                      ":focus-visible{outline:2px solid Highlight}</style>");
  }
  return served;
}

void SetPageWords(const std::string& pagePath, const std::shared_ptr<const DiagramWords>& words) {
  const std::string canonical = CanonicalPath(pagePath);
  if (canonical.empty() || !words) return;
  WordsFor(canonical);  // drops the entries of documents that are gone
  auto& registry = PageWordsRegistry();
  std::erase_if(registry, [&](const PageWordsEntry& e) { return e.canonicalPath == canonical; });
  registry.push_back({canonical, words});
}

QByteArray WithDeferredImages(QByteArray html, const DiagramWords* words) {
  // The pages are our own output: every image tag is written as "<img src=...". Their width and
  // height keep each image's place until it comes. The first screenful keeps its addresses, so
  // the top of the page is drawn as it is parsed, without waiting for the script.
  constexpr int kEagerImages = 60;
  static const QByteArray kTag = QByteArrayLiteral("<img src=");
  static const QByteArray kDeferred = QByteArray("<img ") + kDeferredSourceAttribute + "=";
  static const QByteArray kWordsOpen =
      QByteArray("<span class=\"") + kFindWordsClass + "\" aria-hidden=\"true\">";
  // The words beside the diagrams are text the browser lays out as one paragraph with the
  // images: beyond some thousands of diagrams that took minutes and gigabytes, so the largest
  // pages are found by their headings only (their diagrams keep their names for screen readers).
  constexpr qsizetype kMostFindWords = 10000;
  const qsizetype images = html.count(kTag);
  const bool findWords = images <= kMostFindWords;
  QByteArray served;
  served.reserve(html.size() + images * (kDeferred.size() - kTag.size()));
  bool anyWords = false;
  qsizetype from = 0;
  for (int seen = 0;; ++seen) {
    const qsizetype at = html.indexOf(kTag, from);
    const qsizetype end = at < 0 ? -1 : html.indexOf('>', at);
    if (end < 0) {
      break;
    }
    served.append(html.constData() + from, at - from);
    served.append(seen < kEagerImages ? kTag : kDeferred);
    const QByteArrayView tag(html.constData() + at, end + 1 - at);
    QByteArrayView rest = tag.sliced(kTag.size());  // "\"NAME\" width=... >"

    // An image waiting for its address shows its alt text in its place, drawn by the browser
    // as a small document of its own: thousands of them cost gigabytes. Until the view asks for
    // it, such an image is named for screen readers by aria-label instead.
    const bool deferred = seen >= kEagerImages;
    QByteArrayView text;
    const auto alt = AttributeValue(tag, " alt=");
    if (alt) {
      text = *alt;
    } else if (const auto source = AttributeValue(tag, "<img src="); source && words) {
      const auto found = words->find(std::string(source->data(), source->size()));
      if (found != words->end()) text = QByteArrayView(found->second.data(), found->second.size());
    }
    if (alt && deferred) {
      QByteArray renamed(rest.data(), rest.size());
      renamed.replace(" alt=\"", " aria-label=\"");
      served.append(renamed);
    } else if (!alt && !text.isEmpty()) {
      // After the quoted address: `"NAME" alt="WORDS" width=...`.
      const qsizetype close = rest.indexOf('"', 1) + 1;
      served.append(rest.data(), close);
      served.append(deferred ? " aria-label=\"" : " alt=\"");
      served.append(text.data(), text.size());
      served.append('"');
      served.append(rest.data() + close, rest.size() - close);
    } else {
      served.append(rest.data(), rest.size());
    }
    if (findWords && !text.isEmpty()) {
      served.append(kWordsOpen);
      served.append(text.data(), text.size());
      served.append("</span>");
      anyWords = true;
    }
    from = end + 1;
  }
  served.append(html.constData() + from, html.size() - from);
  // The database's (or folder's) name in large bold type and the category and root headings,
  // table cells in bold italics, are told to screen readers as headings, so that they can be
  // jumped to.
  served.replace("Database:<font size=\"+2\"><b>",
                 "Database:<font size=\"+2\" role=\"heading\" aria-level=\"1\"><b>");
  served.replace("<p><font size=\"+2\"><b><a ",
                 "<p><font size=\"+2\" role=\"heading\" aria-level=\"1\"><b><a ");
  served.replace("<td width=\"30\"><b><i>",
                 "<td width=\"30\" role=\"heading\" aria-level=\"2\"><b><i>");
  if (anyWords) {
    // Text of no size: nothing moves and nothing shows, yet find in page reaches the words, at
    // their diagram. Nothing positioned or clipped: each such box would cost the browser a layer.
    const qsizetype head = served.indexOf("<head>");
    served.insert(head < 0 ? 0 : head + 6,
                  QByteArray("<style>.") + kFindWordsClass + "{font-size:0}</style>");
  }
  return served;
}

QByteArray PageSchemeMimeType(const QString& path) {
  // Named here rather than left to the system's type database: without it (or with an old one)
  // a diagram would be served as plain text and shown as a broken image.
  if (path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
    return QByteArrayLiteral("image/svg+xml");
  }
  return QMimeDatabase().mimeTypeForFile(path).name().toLatin1();
}

bool IsOwnContentUrl(const QUrl& url) {
  const QString scheme = url.scheme();
  return scheme == QLatin1String(kScheme) || scheme == QLatin1String("qrc") ||
         scheme == QLatin1String("data");
}

void CPageSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
  // Checked and read by the resolved path, so that a link or a ".." cannot lead out of the
  // folders allowed.
  const std::string path = CanonicalPath(PageSchemePath(job->requestUrl()));
  const Access& access = CurrentAccess();
  if (path.empty() || !access || !access(path)) {
    job->fail(QWebEngineUrlRequestJob::RequestDenied);
    return;
  }
  // Read whole and closed at once: no file stays open while the browser takes its time.
  std::ifstream file(path, std::ios::binary);
  if (!IsRegularFile(path) || !file) {
    job->fail(QWebEngineUrlRequestJob::UrlNotFound);
    return;
  }
  std::ostringstream content;
  content << file.rdbuf();
  if (file.bad()) {
    job->fail(QWebEngineUrlRequestJob::RequestFailed);
    return;
  }
  QByteArray data = QByteArray::fromStdString(content.str());
  const QByteArray mime = PageSchemeMimeType(QString::fromUtf8(path));
  if (mime == "text/html") {
    if (const auto& on = PlayButtonsOn(); on && on() && StrumsFor(path)) {
      data = WithPlayButtons(std::move(data));
    }
    const std::shared_ptr<const DiagramWords> words = WordsFor(path);
    data = WithDeferredImages(std::move(data), words.get());
    // The page's Back button runs a script, and the view runs none: served as a button that
    // submits its form, which the view takes as the way back (kBackQuery).
    data.replace("type=\"BUTTON\" value=\"Back\"  onClick=\"history.go(-1)\"",
                 "type=\"submit\" value=\"Back\"");
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
