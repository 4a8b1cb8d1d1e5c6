// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Converts a folder of databases with the built strumlet-convert and opens the result in a
// headless browser engine: the pages must load, every image must arrive at its file's size and
// the index links must lead to the database pages, also for names with blanks.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>
#include <QUrl>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "Fixture.h"
#include "TestCommon.h"

namespace {

namespace fs = std::filesystem;
using strumlet::testing::ShellQuote;

constexpr int kWaitMs = 30000;

std::pair<int, int> PngSize(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  unsigned char header[24] = {};
  in.read(reinterpret_cast<char*>(header), sizeof header);
  if (!in || header[1] != 'P' || header[2] != 'N' || header[3] != 'G') {
    return {-1, -1};
  }
  auto u32 = [&](int at) {
    return (header[at] << 24) | (header[at + 1] << 16) | (header[at + 2] << 8) | header[at + 3];
  };
  return {u32(16), u32(20)};
}

// Loads pages and runs scripts, never waiting longer than kWaitMs for either.
class Browser {
 public:
  Browser() : profile_(new QWebEngineProfile()), page_(new QWebEnginePage(profile_)) {}
  ~Browser() {
    delete page_;
    delete profile_;
  }

  bool Load(const QUrl& url) {
    page_->load(url);
    return WaitForLoad();
  }

  // Waits for the navigation a script started.
  bool WaitForLoad() {
    QEventLoop loop;
    std::optional<bool> finished;
    auto connection = QObject::connect(page_, &QWebEnginePage::loadFinished, &loop, [&](bool ok) {
      finished = ok;
      loop.quit();
    });
    QTimer::singleShot(kWaitMs, &loop, &QEventLoop::quit);
    loop.exec();
    QObject::disconnect(connection);
    return finished.value_or(false);
  }

  QVariant Run(const QString& script) {
    QEventLoop loop;
    QVariant result;
    page_->runJavaScript(script, [&](const QVariant& value) {
      result = value;
      loop.quit();
    });
    QTimer::singleShot(kWaitMs, &loop, &QEventLoop::quit);
    loop.exec();
    return result;
  }

  QString Title() const { return page_->title(); }
  QUrl Url() const { return page_->url(); }

 private:
  QWebEngineProfile* profile_;
  QWebEnginePage* page_;
};

class BrowserTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string pattern = (fs::temp_directory_path() / "strumlet-browser-XXXXXX").string();
    root_ = ::mkdtemp(pattern.data());
    const std::string in = root_ + "/in";
    fs::create_directories(in);
    // The project's samples when there are any, and always a name with a blank.
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(STRUMLET_SAMPLES_DIR, ignored)) {
      if (entry.path().extension() == ".pdb") {
        fs::copy_file(entry.path(), in + "/" + entry.path().filename().string(), ignored);
      }
    }
    strumlet::fixture::WriteFile(
        in + "/Guitar Chords.pdb",
        strumlet::fixture::BuildDatabase(
            "category 0 Unfiled id 0\ncategory 1 Major\n"
            "{define: C frets x 3 2 0 1 0 fingers x 3 2 0 1 0}\ncategory 1\n"
            "{define: Bm base-fret 2 frets x 1 3 3 2 1 fingers x 1 3 4 2 1}\n"
            "{define: F frets 1 3 3 2 1 1 fingers 1 3 4 2 1 1}\nbarre 1\n"));
    const std::string command = ShellQuote(STRUMLET_CONVERT) + " -q -f png -s category -o " +
                                ShellQuote(root_ + "/out") + " " + ShellQuote(in) + " >" +
                                ShellQuote(root_ + "/stdout") + " 2>&1";
    const int raw = std::system(command.c_str());
    convertStatus_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }
  static void TearDownTestSuite() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  // Every image of the loaded page arrived, at the size its file has.
  void ExpectImagesLoaded(Browser& browser, const std::string& folder) {
    const QVariantList images =
        browser
            .Run(
                "Array.from(document.images).map(i => [i.getAttribute('src'), i.complete, "
                "i.naturalWidth, i.naturalHeight])")
            .toList();
    EXPECT_FALSE(images.isEmpty());
    for (const QVariant& item : images) {
      const QVariantList image = item.toList();
      ASSERT_EQ(image.size(), 4);
      const std::string src = image[0].toString().toStdString();
      const auto [width, height] = PngSize(folder + "/" + src);
      EXPECT_TRUE(image[1].toBool()) << src;
      EXPECT_EQ(image[2].toInt(), width) << src;
      EXPECT_EQ(image[3].toInt(), height) << src;
    }
  }

  static std::string root_;
  static int convertStatus_;
};

std::string BrowserTest::root_;
int BrowserTest::convertStatus_ = -1;

TEST_F(BrowserTest, IndexLinksLeadToPagesWhoseImagesAllLoad) {
  ASSERT_EQ(convertStatus_, 0);
  Browser browser;
  ASSERT_TRUE(browser.Load(QUrl::fromLocalFile(QString::fromStdString(root_ + "/out/index.html"))));
  EXPECT_EQ(browser.Title(), "Strumlet - index.html");

  // Follow the link the way a reader would: by clicking it.
  const QVariant clicked = browser.Run(
      "(() => { const a = Array.from(document.links).find(l => l.textContent === 'Guitar "
      "Chords'); if (!a) return false; a.click(); return true; })()");
  ASSERT_TRUE(clicked.toBool());
  ASSERT_TRUE(browser.WaitForLoad());
  EXPECT_EQ(browser.Title(), "Strumlet - Guitar Chords.html");
  EXPECT_EQ(browser.Url().toLocalFile().toStdString(),
            root_ + "/out/Guitar Chords/Guitar Chords.html");
  ExpectImagesLoaded(browser, root_ + "/out/Guitar Chords");
}

TEST_F(BrowserTest, EveryConvertedDatabasePageLoadsWithItsImages) {
  ASSERT_EQ(convertStatus_, 0);
  Browser browser;
  for (const auto& entry : fs::directory_iterator(root_ + "/out")) {
    if (!entry.is_directory()) {
      continue;
    }
    const std::string name = entry.path().filename().string();
    ASSERT_TRUE(browser.Load(
        QUrl::fromLocalFile(QString::fromStdString(entry.path().string() + "/" + name + ".html"))))
        << name;
    EXPECT_EQ(browser.Title().toStdString(), "Strumlet - " + name + ".html");
    ExpectImagesLoaded(browser, entry.path().string());
  }
}

}  // namespace

int main(int argc, char** argv) {
  // Headless, and without the engine's sandbox where it cannot run (as root, in containers).
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  if (::geteuid() == 0) {
    ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
  }
  ::setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu", 0);
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
