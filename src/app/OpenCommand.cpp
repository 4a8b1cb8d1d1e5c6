// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "OpenCommand.h"

#include <unistd.h>

#include <QDialog>
#include <filesystem>
#include <memory>

#include "ProcessOptionsDialog.h"
#include "strumlet/app/FileChoosers.h"
#include "strumlet/core/FileSystem.h"
#include "strumlet/core/Messenger.h"

namespace strumlet {
namespace {

int Run(QDialog& dialog, const DialogRunner& run) { return run ? run(dialog) : dialog.exec(); }

}  // namespace

std::unique_ptr<CProcessOptionsDialog> MakeProcessOptionsDialog(QWidget* parent,
                                                                const OpenCommandValues& values,
                                                                const std::string& proposedPath) {
  const unsigned fontSize = values.fontSize < 0 ? 0U : static_cast<unsigned>(values.fontSize);
  auto dialog = std::make_unique<CProcessOptionsDialog>(
      parent, proposedPath.empty() ? values.defaultPath : proposedPath, values.outputPath,
      values.fontFile, FlagIsOn(values.jpeg) ? 0 : (FlagIsOn(values.svg) ? 2 : 1), values.sort,
      values.chordPercent, fontSize, FlagIsOn(values.border) ? 1 : 0);
  dialog->setLeftHanded(FlagIsOn(values.leftHanded));
  dialog->setModernPage(FlagIsOn(values.modernPage));
  return dialog;
}

OpenCommandValues ChoicesOf(const CProcessOptionsDialog& dialog) {
  OpenCommandValues choices;
  // Of several databases chosen at once, the first is the one proposed next time.
  choices.defaultPath = PathsOfText(dialog.path()).front();
  choices.outputPath = dialog.outputFolder();
  choices.fontFile = dialog.fontFile();
  choices.jpeg = dialog.imageChoice() == 0 ? 1 : 0;
  choices.svg = dialog.imageChoice() == 2 ? 1 : 0;
  choices.sort = dialog.sort();
  choices.chordPercent = dialog.percent();
  choices.fontSize = static_cast<int>(dialog.fontSize());
  choices.border = dialog.border() == 1 ? 1 : 0;
  choices.leftHanded = dialog.leftHanded() ? 1 : 0;
  choices.modernPage = dialog.modernPage() ? 1 : 0;
  return choices;
}

bool CreateOutputFolder(const std::string& folder) {
  if (const auto made = MakeWritableFolder(folder); !made) {
    ShowMessage("Invalid Destination Folder", "'" + folder + "' " + made.error().reason + ".");
    return false;
  }
  return true;
}

std::optional<std::vector<std::string>> RunOpenCommand(QWidget* parent, ProfileStore& store,
                                                       ProcessingSettings& settings,
                                                       const std::string& proposedPath,
                                                       const DialogRunner& run) {
  const OpenCommandValues values = ReadOpenCommandValues(store);
  const std::unique_ptr<CProcessOptionsDialog> dialog =
      MakeProcessOptionsDialog(parent, values, proposedPath);
  // An output folder that cannot be made or written is told of, and the dialog comes back with
  // the user's choices, to pick another.
  for (;;) {
    if (Run(*dialog, run) != QDialog::Accepted) {
      return std::nullopt;
    }
    const OpenCommandValues choices = ChoicesOf(*dialog);
    StoreOpenCommandChoices(store, choices, settings);
    if (CreateOutputFolder(choices.outputPath)) {
      return PathsOfText(dialog->path());
    }
  }
}

void RunPathSettingsCommand(QWidget* parent, ProfileStore& store, ProcessingSettings& settings,
                            const DialogRunner& run) {
  const OpenCommandValues values = ReadOpenCommandValues(store);
  CPathSettingsDialog dialog(parent, values.defaultPath, values.fontFile);
  if (Run(dialog, run) == QDialog::Accepted) {
    StorePathSettings(store, dialog.defaultPath(), dialog.fontFile(), settings);
  }
}

void CopyProposedOpenSettings(ProfileStore& store, ProcessingSettings& settings) {
  CopyOpenCommandChoices(ReadOpenCommandValues(store), settings);
}

}  // namespace strumlet
