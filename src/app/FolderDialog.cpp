// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "FolderDialog.h"

#include <QAbstractItemView>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

namespace strumlet {

CFolderDialog::CFolderDialog(QWidget* parent, const std::string& initialPath,
                             const std::string& captionWord)
    : QFileDialog(parent), folder_(InitialFolder(initialPath)) {
  // Our own widgets, so the labels can be set and the result read the same way everywhere.
  setOption(QFileDialog::DontUseNativeDialog, true);
  setAcceptMode(QFileDialog::AcceptOpen);
  setFileMode(QFileDialog::Directory);
  const QString caption = QString::fromStdString(captionWord);
  setWindowTitle(caption + tr(" Folder"));
  setLabelText(QFileDialog::Accept, caption);
  setLabelText(QFileDialog::FileName, tr("Folder name:"));
  // Every file is listed, as in any folder view; there is no type to choose.
  for (const char* name : {"fileTypeCombo", "fileTypeLabel"}) {
    if (QWidget* widget = findChild<QWidget*>(QLatin1String(name))) {
      widget->hide();
    }
  }
  // A folder that does not exist yet (a new output folder) opens on its nearest existing
  // parent; the result stays the folder asked for until the user browses.
  QString shown = QString::fromStdString(folder_);
  while (!shown.isEmpty() && !QFileInfo(shown).isDir()) {
    const QString parentPath = QFileInfo(shown).path();
    shown = parentPath == shown ? QString() : parentPath;
  }
  if (!shown.isEmpty()) {
    setDirectory(shown);
  }
  auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  connect(this, &QFileDialog::directoryEntered, this, [this, name](const QString& entered) {
    browsed_ = true;
    typed_ = false;
    // The name box shows the folder that the accept button gives; set once the dialog has
    // finished entering the folder, which empties the box.
    if (name != nullptr) {
      QTimer::singleShot(0, name, [this, name, entered] {
        if (!typed_) {
          name->setText(entered);
        }
      });
    }
  });
  connect(this, &QFileDialog::currentChanged, this, [this] {
    browsed_ = true;
    typed_ = false;
  });
  // The accept button always gives a folder (a selected file leaves the browsed one), so it stays
  // enabled where the file dialog would grey it out for a selected file; re-enabled once the
  // dialog has finished its own update.
  auto keepAcceptEnabled = [this] {
    QTimer::singleShot(0, this, [this] {
      if (auto* buttons = findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))) {
        if (QPushButton* acceptButton = buttons->button(QDialogButtonBox::Open)) {
          acceptButton->setEnabled(true);
        }
      }
    });
  };
  connect(this, &QFileDialog::currentChanged, this, keepAcceptEnabled);
  connect(this, &QFileDialog::directoryEntered, this, keepAcceptEnabled);
  if (name != nullptr) {
    connect(name, &QLineEdit::textChanged, this, keepAcceptEnabled);
    name->setText(QString::fromStdString(folder_));
    connect(name, &QLineEdit::textEdited, this, [this] {
      browsed_ = true;
      typed_ = true;
    });
  }
}

std::string CFolderDialog::InitialFolder(const std::string& initialPath) {
  const std::string::size_type slash = initialPath.rfind('/');
  if (slash == std::string::npos) {
    return initialPath;
  }
  // At the root the cut would leave nothing: the root itself is the folder.
  return slash == 0 ? std::string("/") : initialPath.substr(0, slash);
}

std::string CFolderDialog::CurrentChoice() const {
  std::string browsed = directory().absolutePath().toStdString();
  // A folder typed or pasted into the name box, whole or below the browsed folder, is meant.
  const auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  if (typed_ && name != nullptr) {
    const QString typed = name->text().trimmed();
    if (!typed.isEmpty()) {
      const QFileInfo candidate(directory().absoluteFilePath(typed));
      if (candidate.isDir()) {
        return QDir::cleanPath(candidate.absoluteFilePath()).toStdString();
      }
    }
  }
  const auto* list = findChild<QAbstractItemView*>(QStringLiteral("listView"));
  if (list == nullptr || list->selectionModel() == nullptr) {
    return browsed;
  }
  const QModelIndexList selected = list->selectionModel()->selectedRows();
  if (selected.isEmpty()) {
    return browsed;
  }
  const QString candidate = selected.first().data(QFileSystemModel::FilePathRole).toString();
  if (!candidate.isEmpty() && QFileInfo(candidate).isDir()) {
    return candidate.toStdString();
  }
  return browsed;
}

void CFolderDialog::accept() {
  if (browsed_) {
    folder_ = CurrentChoice();
  }
  QDialog::accept();
}

std::optional<std::string> CFolderDialog::Choose() {
  if (exec() != QDialog::Accepted) {
    return std::nullopt;
  }
  return folder_;
}

std::optional<std::string> ChooseFolder(QWidget* parent, const std::string& initialPath,
                                        const std::string& captionWord) {
  CFolderDialog dialog(parent, initialPath, captionWord);
  return dialog.Choose();
}

}  // namespace strumlet
