#include "app/OpenCommandFlow.h"

#include <QFileDialog>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

#include "app/SettingsStore.h"

namespace strumlet {
namespace {

// The output folder must exist for the conversion; on this system nothing makes the default
// one beforehand. A folder that cannot be made is reported by the conversion.
void MakeOutputFolder(const std::string& folder) {
  if (!folder.empty()) {
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
  }
}

ProcessingSettings SettingsFrom(const OpenCommandValues& values) {
  ProcessingSettings settings;
  settings.m_nSort = values.sort;
  settings.m_bJpeg = values.jpeg == 1;
  settings.m_bPng = values.jpeg != 1;
  settings.m_nChordPercent = values.chordPercent;
  settings.m_bBorder = values.border != 0;
  settings.m_strFontFile = values.fontFile;
  settings.m_strOutputPath = values.outputPath;
  settings.m_nFontSize = values.fontSize;
  settings.m_strDefaultPath = values.defaultPath;
  return settings;
}

}  // namespace

// Until the processing options dialog is in, the Open command asks only for the database and
// keeps every other stored value.
std::optional<std::string> ChooseOpenPath(QWidget* parent, ProfileStore& store,
                                          ProcessingSettings& settings,
                                          const std::string& proposedPath) {
  OpenCommandValues values = ReadOpenCommandValues(store);
  std::string path = proposedPath;
  if (path.empty()) {
    const QString start = QFileInfo(QString::fromStdString(values.defaultPath)).path();
    const QString chosen =
        QFileDialog::getOpenFileName(parent, QObject::tr("Select a single .PDB File..."), start,
                                     QObject::tr("Palm Database Files (*.pdb)"));
    if (chosen.isEmpty()) {
      return std::nullopt;
    }
    path = chosen.toStdString();
  }
  values.defaultPath = path;
  StoreOpenCommandChoices(store, values, settings);
  MakeOutputFolder(settings.m_strOutputPath);
  return path;
}

ProcessingSettings ProposedOpenSettings(ProfileStore& store) {
  ProcessingSettings settings = SettingsFrom(ReadOpenCommandValues(store));
  MakeOutputFolder(settings.m_strOutputPath);
  return settings;
}

void ChoosePathSettings(QWidget*, ProfileStore&, ProcessingSettings&) {}

bool PathSettingsAvailable() { return false; }

}  // namespace strumlet
