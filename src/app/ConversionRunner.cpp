// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ConversionRunner.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <mutex>
#include <optional>

#include "strumlet/app/DebugTiming.h"
#include "strumlet/convert/StrumletViewerDoc.h"

namespace strumlet {
namespace {

constexpr int kProgressDelayMs = 500;
constexpr int kProgressRefreshMs = 50;

// Swallows user input to every window but message boxes while a conversion runs, so nothing
// can start a second one or close the window under it.
class InputBlocker final : public QObject {
 public:
  explicit InputBlocker(QObject* parent) : QObject(parent) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::ShortcutOverride:
      case QEvent::Shortcut:
      case QEvent::Wheel:
      case QEvent::Drop:
      case QEvent::Close: {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget == nullptr) {
          return event->type() == QEvent::Shortcut;
        }
        return qobject_cast<QMessageBox*>(widget->window()) == nullptr;
      }
      default:
        return false;
    }
  }
};

QString ProgressText(const ConversionProgress& progress) {
  if (!progress.waitingFor.empty()) {
    return QApplication::translate("ConversionRunner",
                                   "Waiting for another conversion into %1 to end...")
        .arg(QString::fromStdString(progress.waitingFor));
  }
  if (progress.database.empty()) {
    return QApplication::translate("ConversionRunner", "Preparing the conversion...");
  }
  const QString name = QFileInfo(QString::fromStdString(progress.database)).fileName();
  QString text =
      progress.chordsTotal == 0
          ? QApplication::translate("ConversionRunner", "Reading %1...").arg(name)
          : QApplication::translate("ConversionRunner", "Converting %1: chord %L2 of %L3")
                .arg(name)
                .arg(progress.chordsDone)
                .arg(progress.chordsTotal);
  if (progress.databasesTotal > 1) {
    text += '\n' + QApplication::translate("ConversionRunner", "Database %L1 of %L2")
                       .arg(progress.databasesDone + 1)
                       .arg(progress.databasesTotal);
  }
  return text;
}

}  // namespace

bool RunConversion(CStrumletViewerDoc& document, const std::string& path, QWidget* parent) {
  DebugTiming("open-start");
  std::mutex mutex;
  std::optional<ConversionProgress> latest;
  document.SetProgressCallback([&](const ConversionProgress& progress) {
    const std::lock_guard lock(mutex);
    latest = progress;
  });

  bool opened = false;
  QThread* worker = QThread::create([&] { opened = document.OnOpenDocument(path); });

  QProgressDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("conversionProgress"));
  dialog.setWindowTitle(QApplication::translate("ConversionRunner", "StrumletViewer"));
  dialog.setCancelButton(nullptr);
  dialog.setAutoClose(false);
  dialog.setAutoReset(false);
  dialog.setMinimumDuration(0);
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.setMinimumWidth(420);
  // The label names the database file: shown as it is named, never read as markup.
  auto* label = new QLabel(&dialog);
  label->setTextFormat(Qt::PlainText);
  dialog.setLabel(label);
  dialog.setLabelText(ProgressText({}));
  dialog.hide();

  auto refresh = [&] {
    std::optional<ConversionProgress> progress;
    {
      const std::lock_guard lock(mutex);
      progress = latest;
    }
    if (!progress) {
      return;
    }
    dialog.setLabelText(ProgressText(*progress));
    const int total = static_cast<int>(progress->chordsTotal);
    dialog.setRange(0, total == 0 ? 0 : total);
    if (total != 0) {
      dialog.setValue(static_cast<int>(progress->chordsDone));
    }
  };
  QTimer refresher;
  QObject::connect(&refresher, &QTimer::timeout, &dialog, refresh);
  refresher.start(kProgressRefreshMs);
  QTimer::singleShot(kProgressDelayMs, &dialog, [&] {
    if (worker->isRunning()) {
      refresh();
      dialog.show();
    }
  });

  InputBlocker blocker(nullptr);
  qApp->installEventFilter(&blocker);
  QApplication::setOverrideCursor(Qt::WaitCursor);

  QEventLoop loop;
  QObject::connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
  worker->start();
  loop.exec();
  worker->wait();
  delete worker;

  QApplication::restoreOverrideCursor();
  qApp->removeEventFilter(&blocker);
  refresher.stop();
  document.SetProgressCallback(nullptr);
  DebugTiming("open-end");
  return opened;
}

}  // namespace strumlet
