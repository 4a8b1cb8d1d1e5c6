// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ConversionRunner.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QShortcut>
#include <QThread>
#include <QTimer>
#include <mutex>
#include <optional>

#include "strumlet/app/DebugTiming.h"
#include "strumlet/convert/StrumletViewerDoc.h"
#include "strumlet/core/Messenger.h"

namespace strumlet {
namespace {

constexpr int kProgressDelayMs = 500;
constexpr int kProgressRefreshMs = 50;
constexpr const char* kProgressName = "conversionProgress";

// Swallows user input to every window but message boxes and the progress window (its Cancel)
// while a conversion runs, so nothing can start a second one or close the window under it.
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
        return qobject_cast<QMessageBox*>(widget->window()) == nullptr &&
               widget->window()->objectName() != QLatin1String(kProgressName);
      }
      default:
        return false;
    }
  }
};

// Cancel, Escape and the window manager's close button ask the conversion to stop; the window
// stays up, saying so, until the database being written is whole.
class ProgressWindow final : public QProgressDialog {
 public:
  explicit ProgressWindow(QWidget* parent) : QProgressDialog(parent) {
    // QProgressDialog would hide itself and forget its text at once.
    disconnect(this, SIGNAL(canceled()), this, SLOT(cancel()));
  }

  void reject() override { emit canceled(); }

  // QProgressDialog shows itself some seconds after it was made, also while a message waits for
  // its answer: here only the runner shows it.
  void setVisible(bool visible) override {
    if (!visible || revealing_) {
      QProgressDialog::setVisible(visible);
    }
  }
  void Reveal() {
    revealing_ = true;
    show();
    revealing_ = false;
  }

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->ignore();
    emit canceled();
  }

 private:
  bool revealing_ = false;
};

// Passes the conversion's messages to `next` on the window thread, with the progress window
// hidden first: a modal window over a message box would take every answer from it.
class MessageGate final : public Messenger {
 public:
  MessageGate(Messenger& next, QProgressDialog& progress, QTimer& showLater)
      : next_(next), progress_(progress), showLater_(showLater) {}

  void ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon) override {
    const auto show = [&] {
      showLater_.stop();
      progress_.hide();
      next_.ShowMessage(caption, text, icon);
      showLater_.start();
    };
    if (QThread::currentThread() == progress_.thread()) {
      show();
    } else {
      QMetaObject::invokeMethod(&progress_, show, Qt::BlockingQueuedConnection);
    }
  }

 private:
  Messenger& next_;
  QProgressDialog& progress_;
  QTimer& showLater_;
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

  ProgressWindow dialog(parent);
  dialog.setObjectName(QLatin1String(kProgressName));
  dialog.setWindowTitle(QApplication::translate("ConversionRunner", "StrumletViewer"));
  auto* cancel = new QPushButton(QApplication::translate("ConversionRunner", "Cancel"), &dialog);
  dialog.setCancelButton(cancel);
  // Its own Escape key would hide it at once; the dialog's Escape asks to stop, as Cancel does.
  for (QShortcut* shortcut : dialog.findChildren<QShortcut*>()) {
    shortcut->setEnabled(false);
  }
  bool stopping = false;
  document.RequestStop(false);
  QObject::connect(&dialog, &QProgressDialog::canceled, &dialog, [&] {
    stopping = true;
    document.RequestStop();
    cancel->setEnabled(false);
    dialog.setLabelText(QApplication::translate("ConversionRunner",
                                                "Stopping after the database being written..."));
  });
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
    if (!progress || stopping) {
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
  QTimer showLater;
  showLater.setSingleShot(true);
  showLater.setInterval(kProgressDelayMs);
  QObject::connect(&showLater, &QTimer::timeout, &dialog, [&] {
    if (worker->isRunning()) {
      refresh();
      dialog.Reveal();
    }
  });
  showLater.start();
  MessageGate gate(GetMessenger(), dialog, showLater);
  const ScopedMessenger gated(gate);

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
