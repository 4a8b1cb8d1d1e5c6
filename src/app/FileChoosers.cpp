// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/app/FileChoosers.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <string_view>

#include "strumlet/core/Messenger.h"

namespace strumlet {
namespace {

// A name typed into the chooser may name a file that does not exist yet, but its folder must.
class PdbFileDialog final : public QFileDialog {
 public:
  using QFileDialog::QFileDialog;

  void accept() override {
    const QStringList files = selectedFiles();
    if (!files.isEmpty()) {
      const QFileInfo chosen(files.first());
      if (!chosen.isDir() && !chosen.absoluteDir().exists()) {
        ShowMessage(windowTitle().toStdString(),
                    "'" + chosen.absolutePath().toStdString() + "' is not a valid folder.",
                    MessageIcon::Exclamation);
        return;
      }
    }
    QFileDialog::accept();
  }
};

// Points `dialog` at `startPath`: a folder is entered, a file's folder entered and the file
// selected. A path that does not exist leaves the chooser where it opens by default.
void StartAt(QFileDialog& dialog, const std::string& startPath) {
  if (startPath.empty()) {
    return;
  }
  const QFileInfo start(QString::fromStdString(startPath));
  if (start.isDir()) {
    dialog.setDirectory(start.absoluteFilePath());
  } else if (start.absoluteDir().exists()) {
    dialog.setDirectory(start.absolutePath());
    dialog.selectFile(start.fileName());
  }
}

// Our own chooser widgets, offering one file type and then every file, started at `startPath`.
std::unique_ptr<QFileDialog> MakeFileDialog(QWidget* parent, const QString& title,
                                            QFileDialog::AcceptMode acceptMode,
                                            QFileDialog::FileMode fileMode,
                                            const QString& typeFilter,
                                            const std::string& startPath) {
  auto dialog = std::make_unique<QFileDialog>(parent, title);
  dialog->setOption(QFileDialog::DontUseNativeDialog, true);
  dialog->setAcceptMode(acceptMode);
  dialog->setFileMode(fileMode);
  dialog->setNameFilters({typeFilter, QFileDialog::tr("All Files (*)")});
  StartAt(*dialog, startPath);
  return dialog;
}

std::optional<std::string> Run(QFileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  return QFileInfo(dialog.selectedFiles().first()).absoluteFilePath().toStdString();
}

}  // namespace

std::unique_ptr<QFileDialog> MakePdbFileDialog(QWidget* parent, const std::string& startPath) {
  auto dialog = std::make_unique<PdbFileDialog>(parent, QFileDialog::tr("Open"));
  dialog->setOption(QFileDialog::DontUseNativeDialog, true);
  dialog->setAcceptMode(QFileDialog::AcceptOpen);
  dialog->setFileMode(QFileDialog::AnyFile);
  dialog->setDefaultSuffix(QStringLiteral("pdb"));
  // "*.*" means every file, as the text says, also one without a dot in its name.
  dialog->setNameFilters({QString::fromLatin1(kPdbFilter), QStringLiteral("All Files (*)")});
  // The dialog folds the blanks of a filter's text; its list shows the texts as written.
  const QStringList filters{QString::fromLatin1(kPdbFilter), QString::fromLatin1(kAllFilesFilter)};
  if (auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))) {
    for (int i = 0; i < types->count() && i < filters.size(); ++i) {
      types->setItemText(i, filters[i]);
    }
  }
  // Several databases may be chosen at once; each opens in a window of its own.
  for (const char* name : {"listView", "treeView"}) {
    if (auto* view = dialog->findChild<QAbstractItemView*>(QString::fromLatin1(name))) {
      view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    }
  }
  StartAt(*dialog, startPath);
  return dialog;
}

std::optional<std::string> ChoosePdbFile(QWidget* parent, const std::string& startPath) {
  const std::unique_ptr<QFileDialog> dialog = MakePdbFileDialog(parent, startPath);
  if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  std::vector<std::string> paths;
  for (const QString& file : dialog->selectedFiles()) {
    paths.push_back(QFileInfo(file).absoluteFilePath().toStdString());
  }
  return paths.size() == 1 ? paths.front() : PathListText(paths);
}

std::string PathListText(const std::vector<std::string>& paths) {
  std::string text;
  for (const std::string& path : paths) text += (text.empty() ? "\"" : " \"") + path + '"';
  return text;
}

std::vector<std::string> PathsOfText(const std::string& text) {
  constexpr std::string_view kBetween = "\" \"";
  if (text.size() < 2 || text.front() != '"' || text.back() != '"' ||
      text.find(kBetween) == std::string::npos) {
    return {text};
  }
  std::vector<std::string> paths;
  std::size_t start = 1;
  for (;;) {
    const std::size_t end = text.find(kBetween, start);
    if (end == std::string::npos) {
      paths.push_back(text.substr(start, text.size() - 1 - start));
      return paths;
    }
    paths.push_back(text.substr(start, end - start));
    start = end + kBetween.size();
  }
}

std::unique_ptr<QFileDialog> MakeFontFileDialog(QWidget* parent, const std::string& currentFile) {
  return MakeFileDialog(parent, QFileDialog::tr("Chord Font File"), QFileDialog::AcceptOpen,
                        QFileDialog::ExistingFile, QFileDialog::tr("TrueType Fonts (*.ttf *.TTF)"),
                        currentFile);
}

std::optional<std::string> ChooseFontFile(QWidget* parent, const std::string& currentFile) {
  return Run(*MakeFontFileDialog(parent, currentFile));
}

std::unique_ptr<QFileDialog> MakeExportFileDialog(QWidget* parent, const OutputFormat& format,
                                                  const std::string& proposedFile) {
  const QString name = QString::fromLatin1(format.name);
  const QString suffix = QString::fromLatin1(format.extension).mid(1);
  auto dialog = MakeFileDialog(parent, QFileDialog::tr("Export as %1").arg(name),
                               QFileDialog::AcceptSave, QFileDialog::AnyFile,
                               QFileDialog::tr("%1 Files (*.%2)").arg(name, suffix), proposedFile);
  dialog->setDefaultSuffix(suffix);
  return dialog;
}

std::optional<std::string> ChooseExportFile(QWidget* parent, const OutputFormat& format,
                                            const std::string& proposedFile) {
  return Run(*MakeExportFileDialog(parent, format, proposedFile));
}

std::unique_ptr<QFileDialog> MakeChordProFileDialog(QWidget* parent,
                                                    const std::string& proposedFile) {
  return MakeExportFileDialog(parent, *FindOutputFormat("chordpro"), proposedFile);
}

}  // namespace strumlet
