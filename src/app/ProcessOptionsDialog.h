// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "PalmUserList.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace strumlet {

// The scale list of the options dialog, in the order it shows them.
inline constexpr std::array<const char*, 10> kScaleChoices = {"400", "200", "150", "125", "100",
                                                              "88",  "75",  "63",  "50",  "25"};

// The scale text as a percent: leading blanks, an optional sign and the leading digits; whatever
// follows is ignored ("75%" is 75) and text without leading digits is 0. A number too large for
// an int stays out of every range check.
int ParseScaleText(const std::string& text);

// The font size text as an unsigned number: digits only, blanks around them allowed; none for
// anything else, an empty text or a number too large.
std::optional<unsigned> ParseUnsignedText(const std::string& text);

// The font hint under the font box: its first line, then two lines naming the font file that
// fontconfig matches for "Times New Roman", the one proposed when none is stored.
std::string FontHintText();

// What the dialog's buttons open. Each gets the dialog as parent and the path to start from, and
// returns the chosen path, or none when the user cancels. Tests put their own in.
struct DialogChoosers {
  using Chooser = std::function<std::optional<std::string>(QWidget*, const std::string&)>;
  Chooser pdbFile;  // "Select a single .PDB File..."
  Chooser folder;   // a folder picker with the caption word "Select"
  Chooser fontFile;
};

// The file and folder choosers of the desktop.
DialogChoosers StandardChoosers();

// The layout shared by the processing options dialog and the path settings dialog. Every
// control carries its identifier as object name, so tests and the accessibility bridge find it:
//   user list "combo1018", file button "button1010", path box "edit1005" with its Browse button
//   "button1006", image buttons "radio1007" (JPEG), "radio1008" (PNG) and "radioSvg" (SVG), sort
//   box "group1015" with "radio1009" (Category), "radio1011" (Name), "radio1012" (Position), scale
//   box "combo1013", frame box "check1014", output box "edit1001" with "buttonBrowseOutput", font
//   box "edit1000" with "buttonBrowseFont", size box "edit1003", OK "button1", Cancel "button2".
// Every control has a label with a mnemonic (a box through its buddy label), so a screen reader
// announces the label with it; Tab follows the reading order. The focus starts in the path box;
// OK is the default button, enabled while the path box holds a path; Escape cancels.
class COptionsDialogLayout : public QDialog {
  Q_OBJECT

 public:
  explicit COptionsDialogLayout(QWidget* parent);

  // Replaces the file and folder choosers (tests).
  void SetChoosers(DialogChoosers choosers) { choosers_ = std::move(choosers); }

 protected:
  // The size box as an unsigned number, or none after "Please enter a positive integer."
  // has been shown; the focus then moves to the size box.
  std::optional<unsigned> ReadFontSize();
  // Shows one of the dialog's checks, under the application's title.
  static void Warn(const std::string& text);
  static std::string Text(const QLineEdit* box);

  QComboBox* users_ = nullptr;
  QPushButton* pdbButton_ = nullptr;
  QLineEdit* pathBox_ = nullptr;
  QPushButton* pathBrowse_ = nullptr;
  QButtonGroup* formatGroup_ = nullptr;
  QRadioButton* jpeg_ = nullptr;
  QRadioButton* png_ = nullptr;
  QRadioButton* svg_ = nullptr;
  QButtonGroup* sortGroup_ = nullptr;
  std::array<QRadioButton*, 3> sortButtons_{};  // Category, Name, Position
  QComboBox* scaleBox_ = nullptr;
  QCheckBox* frameBox_ = nullptr;
  QCheckBox* leftHandedBox_ = nullptr;
  QCheckBox* modernPageBox_ = nullptr;
  QLineEdit* outputBox_ = nullptr;
  QPushButton* outputBrowse_ = nullptr;
  QLineEdit* fontBox_ = nullptr;
  QPushButton* fontBrowse_ = nullptr;
  QLineEdit* sizeBox_ = nullptr;
  QPushButton* okButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  DialogChoosers choosers_;
};

// The processing options dialog of the Open command, titled "Process Strumlet backup databases
// into web pages". It only collects and checks the choices; the caller stores them and opens the
// path. On OK the checks run in this order, each keeping the dialog open with its message:
// the scale (25 to 400), then the font size (an unsigned number, then 8 to 36; the focus goes to
// the size box). Path, output folder and font file are returned as typed.
class CProcessOptionsDialog : public COptionsDialogLayout {
  Q_OBJECT

 public:
  // `imageChoice`: 0 the "JPEG" button, 1 the "PNG" button, 2 the "SVG" button. `sort`: 0 Category,
  // 1 Name, 2 Position; any other value checks no sort button. `border`: 1 checks "Frame diagrams".
  // `users` fills the user list after its single-space entry (none: the Palm Desktop's own).
  CProcessOptionsDialog(QWidget* parent, const std::string& path, const std::string& outputFolder,
                        const std::string& fontFile, int imageChoice, int sort, int percent,
                        unsigned fontSize, int border,
                        std::unique_ptr<PalmUserList> users = nullptr);
  ~CProcessOptionsDialog() override;

  // The values after OK.
  int imageChoice() const { return imageChoice_; }
  int sort() const { return sort_; }  // -1 when no sort button is checked
  int border() const { return border_; }
  // "Left-handed diagrams": set before the dialog runs, read after OK.
  void setLeftHanded(bool on);
  bool leftHanded() const { return leftHanded_; }
  // "Pages for today's browsers" (the modern page style): likewise.
  void setModernPage(bool on);
  bool modernPage() const { return modernPage_; }
  const std::string& path() const { return path_; }
  const std::string& fontFile() const { return fontFile_; }
  const std::string& outputFolder() const { return outputFolder_; }
  const std::string& scaleText() const { return scaleText_; }
  unsigned fontSize() const { return fontSize_; }
  int percent() const { return percent_; }

  // Runs the checks, reads the values and closes with OK; stays open after a message.
  void accept() override;

 private:
  void ChooseUser(int index);
  void ChoosePdbFile();

  int imageChoice_ = 0;
  int sort_ = -1;
  int border_ = 0;
  bool leftHanded_ = false;
  bool modernPage_ = false;
  std::string path_;
  std::string fontFile_;
  std::string outputFolder_;
  std::string scaleText_;
  unsigned fontSize_ = 0;
  int percent_ = 0;
  std::unique_ptr<PalmUserList> palmUsers_;
};

// The path settings dialog: only the two values it sets, the path the Open command proposes
// ("edit1005" with "button1006") and the font file ("edit1000" with "buttonBrowseFont"), each
// with its label and Browse button, and OK and Cancel.
class CPathSettingsDialog : public QDialog {
  Q_OBJECT

 public:
  CPathSettingsDialog(QWidget* parent, const std::string& defaultPath, const std::string& fontFile);

  // Replaces the file and folder choosers (tests).
  void SetChoosers(DialogChoosers choosers) { choosers_ = std::move(choosers); }

  const std::string& defaultPath() const { return defaultPath_; }
  const std::string& fontFile() const { return fontFile_; }

  void accept() override;

 private:
  QLineEdit* pathBox_;
  QLineEdit* fontBox_;
  DialogChoosers choosers_;
  std::string defaultPath_;
  std::string fontFile_;
};

}  // namespace strumlet
