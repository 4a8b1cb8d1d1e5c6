// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlSchemeHandler>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

#include "strumlet/export/ChordStrum.h"

namespace strumlet {

// The generated pages are shown through a URL scheme of our own instead of file: URLs. A page of
// a large database holds one <img> per chord (65,535 at most). Asked for all at once, every image
// is a request, a buffer and a piece of shared memory (a file handle) in the page renderer: a
// desktop's usual limit of 1,024 open files runs out and memory goes into gigabytes. The browser
// defers images (loading="lazy") only for web addresses, so each HTML page is served with its
// images' addresses put aside in an attribute (`kDeferredSourceAttribute`), and a script of the
// view's own puts each back as its image nears the part in view (see StrumletViewerView). The
// files on disk stay as they were written.

// Registers the scheme; must run before the application object is made.
void RegisterPageScheme();

// The address the view loads for the generated file at `path` (its bytes, as the system names
// it; relative to the start directory when not absolute). Relative links and image sources in
// the page resolve to the same scheme, so they are served here too.
QUrl PageSchemeUrl(const std::string& path);
// The same for a path held as text (valid UTF-8 only).
QUrl PageSchemeUrl(const QString& path);
// The file an address of the scheme names, as the bytes of its path.
std::string PageSchemePath(const QUrl& url);

// What the served page's Back button submits: the view goes back instead of loading it.
inline constexpr char kBackQuery[] = "BUTTON=Back";

// The attribute that holds a served image's address until the view asks for the image.
inline constexpr char kDeferredSourceAttribute[] = "data-strumlet-src";

// The words for the diagrams of a page: image file name as the page writes it (src="...") to
// its description, already escaped for an HTML attribute.
using DiagramWords = std::unordered_map<std::string, std::string>;

// Gives the page at `pagePath` the words of its diagrams for as long as `words` lives (the
// document that wrote the page owns them). Pages without words are served with what they have.
void SetPageWords(const std::string& pagePath, const std::shared_ptr<const DiagramWords>& words);

// The chords of a page as they sound: image file name (unescaped) to its strum.
using DiagramStrums = std::unordered_map<std::string, ChordStrum>;

// Gives the page at `pagePath` the sounds of its diagrams for as long as `strums` lives.
void SetPageStrums(const std::string& pagePath, const std::shared_ptr<const DiagramStrums>& strums);
// The sounds of the page at `pagePath`, if it has them.
std::shared_ptr<const DiagramStrums> PageStrums(const std::string& pagePath);

// Asked as each page with sounds is served: whether its diagrams are play buttons (the window's
// setting). Without it (the start) they are not.
void SetPlayButtons(std::function<bool()> on);

// The form field a play button submits, with the diagram's image file name as its value: the
// view plays that chord instead of loading the address.
inline constexpr char kPlayField[] = "strumlet-play";

// `html` with every diagram a button that submits kPlayField: reached with Tab, pressed with a
// click, Enter or Space, drawn as the bare image. A link of a diagram to its audio file is
// dropped, for the view would leave the page for it.
QByteArray WithPlayButtons(QByteArray html);

// The class of the words the served page keeps beside each diagram for find in page.
inline constexpr char kFindWordsClass[] = "strumlet-words";

// The bytes served for an HTML page: `html` with every "<img src=" deferred. Every diagram
// whose words are known (its alt text on disk, or `words`) gets them as its alt text, for
// screen readers, and once more as text beside it that is not drawn and that screen readers
// skip, since find in page does not search alt texts (on pages of up to 10,000 diagrams: on
// larger ones the browser took minutes to lay that text out). Images past the first screenful
// are named by aria-label instead of alt: waiting for their address, they would draw it.
QByteArray WithDeferredImages(QByteArray html, const DiagramWords* words = nullptr);

// The type a file is served as: "image/svg+xml" for an SVG diagram whatever the system's type
// database says, else that database's type for the file.
QByteArray PageSchemeMimeType(const QString& path);

// True for the addresses the view loads itself: our pages, the built-in resources and data:
// URLs. Everything else (the web, file: URLs) stays out of the view.
bool IsOwnContentUrl(const QUrl& url);

// Serves the files behind the scheme's addresses from disk: only those the access check allows.
class CPageSchemeHandler final : public QWebEngineUrlSchemeHandler {
  Q_OBJECT
 public:
  // Decides whether the file at a canonical path (symbolic links and ".." resolved) is served.
  using Access = std::function<bool(const std::string& canonicalPath)>;

  using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
  void requestStarted(QWebEngineUrlRequestJob* job) override;

  // Installs the handler, and the guard that keeps every other request out, on the default
  // profile once.
  static void Install();
  // The check for every request from now on; without one (the start) nothing is served.
  static void SetAccess(Access access);
};

// Blocks every request of the default profile that is not for our own content, so that nothing
// shown in the view reaches the network or other local files.
class CRequestGuard final : public QWebEngineUrlRequestInterceptor {
  Q_OBJECT
 public:
  using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
  void interceptRequest(QWebEngineUrlRequestInfo& info) override;
};

}  // namespace strumlet
