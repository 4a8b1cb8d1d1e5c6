// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "AppTestSupport.h"
#include "ProcessOptionsDialog.h"

namespace strumlet {
namespace {

using testing::RecordingMessages;

class FakeUsers final : public PalmUserList {
 public:
  explicit FakeUsers(std::vector<std::string> names) : names_(std::move(names)) {}
  std::vector<std::string> UserNames() override { return names_; }
  std::optional<std::string> BackupFolder(const std::string& name) override {
    return "/palm/" + name + "/Backup/";
  }

 private:
  std::vector<std::string> names_;
};

struct Opened {
  std::unique_ptr<CProcessOptionsDialog> dialog;
  std::vector<std::string> chooserStarts;  // what each chooser was opened on, "kind:path"
  std::optional<std::string> chooserResult;
};

// A dialog opened with the Open command's defaults unless a test says otherwise.
std::unique_ptr<Opened> Open(int percent = 100, int sort = 2, unsigned fontSize = 12,
                             std::vector<std::string> users = {}) {
  auto opened = std::make_unique<Opened>();
  opened->dialog = std::make_unique<CProcessOptionsDialog>(
      nullptr, "/start/Chords.pdb", "/out/", "/fonts/serif.ttf", 0, sort, percent, fontSize, 0,
      std::make_unique<FakeUsers>(std::move(users)));
  Opened* raw = opened.get();
  auto chooser = [raw](const char* kind) {
    return [raw, kind](QWidget*, const std::string& start) {
      raw->chooserStarts.push_back(std::string(kind) + ":" + start);
      return raw->chooserResult;
    };
  };
  opened->dialog->SetChoosers({chooser("pdb"), chooser("folder"), chooser("font")});
  return opened;
}

template <typename T>
T* Control(QWidget& dialog, const char* name) {
  T* control = dialog.findChild<T*>(QLatin1String(name));
  EXPECT_NE(control, nullptr) << name;
  return control;
}

std::string EditText(QWidget& dialog, const char* name) {
  return Control<QLineEdit>(dialog, name)->text().toStdString();
}

void SetEdit(QWidget& dialog, const char* name, const char* text) {
  Control<QLineEdit>(dialog, name)->setText(QString::fromUtf8(text));
}

void SetScale(QWidget& dialog, const char* text) {
  Control<QComboBox>(dialog, "combo1013")->setEditText(QString::fromUtf8(text));
}

void ShowActive(QWidget& dialog) {
  dialog.show();
  QApplication::setActiveWindow(&dialog);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
}

TEST(ScaleText, ReadsBlanksSignAndLeadingDigitsOnly) {
  EXPECT_EQ(ParseScaleText("88"), 88);
  EXPECT_EQ(ParseScaleText(" 50"), 50);
  EXPECT_EQ(ParseScaleText("\t50 %"), 50);
  EXPECT_EQ(ParseScaleText("75%"), 75);
  EXPECT_EQ(ParseScaleText("+125"), 125);
  EXPECT_EQ(ParseScaleText("-30"), -30);
  EXPECT_EQ(ParseScaleText("%50"), 0);
  EXPECT_EQ(ParseScaleText(""), 0);
  EXPECT_EQ(ParseScaleText("- 5"), 0);
  // A long run of digits saturates instead of wrapping into the accepted range.
  EXPECT_EQ(ParseScaleText("4294967396"), INT_MAX);
  EXPECT_EQ(ParseScaleText("-99999999999999999999"), -INT_MAX);
}

TEST(FontSizeText, AcceptsAnUnsignedNumberAndNothingElse) {
  EXPECT_EQ(ParseUnsignedText("12"), 12U);
  EXPECT_EQ(ParseUnsignedText(" 36 "), 36U);
  EXPECT_EQ(ParseUnsignedText("0"), 0U);
  EXPECT_EQ(ParseUnsignedText("4294967295"), UINT_MAX);
  EXPECT_FALSE(ParseUnsignedText(""));
  EXPECT_FALSE(ParseUnsignedText("  "));
  EXPECT_FALSE(ParseUnsignedText("12a"));
  EXPECT_FALSE(ParseUnsignedText("-5"));
  EXPECT_FALSE(ParseUnsignedText("1 2"));
  EXPECT_FALSE(ParseUnsignedText("4294967296"));
}

TEST(ProcessOptionsDialog, ShowsEveryControlWithItsText) {
  auto opened = Open();
  CProcessOptionsDialog& d = *opened->dialog;
  EXPECT_EQ(d.windowTitle(), "Process Strumlet backup databases into web pages");

  QStringList labels;
  for (const QLabel* label : d.findChildren<QLabel*>()) labels << label->text();
  for (const char* text :
       {"Select by &User:", "or", "or &Folder/.pdb file:", "OUTPUT:", "&Scale:", "%",
        "HTML Ou&tput Folder:", "Chord Font F&ile:", "Font Si&ze:",
        "Note:  This must be twice the size because I shrink by 50% for better resolution."}) {
    EXPECT_TRUE(labels.contains(QString::fromUtf8(text))) << text;
  }
  QStringList groups;
  for (const QGroupBox* group : d.findChildren<QGroupBox*>()) groups << group->title();
  EXPECT_EQ(groups, (QStringList{"Chord diagram image type", "Sort by"}));
  EXPECT_EQ(Control<QGroupBox>(d, "group1015")->title(), "Sort by");

  const std::map<const char*, const char*> buttons = {
      {"radio1007", "&JPEG"},
      {"radio1008", "&PNG"},
      {"radioSvg", "S&VG"},
      {"radio1009", "&Category"},
      {"radio1011", "&Name"},
      {"radio1012", "P&osition"},
      {"check1014", "Fra&me diagrams"},
      {"checkLeftHanded", "&Left-handed diagrams"},
      {"checkModernPage", "Pages for today's b&rowsers"},
      {"button1006", "&Browse..."},
      {"buttonBrowseOutput", "Bro&wse..."},
      {"buttonBrowseFont", "Brows&e..."},
      {"button1010", "Select a single .P&DB File..."},
      {"button1", "OK"},
      {"button2", "Cancel"}};
  for (const auto& [name, text] : buttons) {
    EXPECT_EQ(Control<QAbstractButton>(d, name)->text(), text) << name;
  }
  EXPECT_TRUE(Control<QPushButton>(d, "button1")->isDefault());

  // Screen readers announce each box by its label, and its mnemonic reaches it.
  for (const auto& [label, box] :
       std::map<QString, const char*>{{"or &Folder/.pdb file:", "edit1005"},
                                      {"HTML Ou&tput Folder:", "edit1001"},
                                      {"Chord Font F&ile:", "edit1000"},
                                      {"Font Si&ze:", "edit1003"},
                                      {"&Scale:", "combo1013"},
                                      {"Select by &User:", "combo1018"}}) {
    bool found = false;
    for (const QLabel* l : d.findChildren<QLabel*>()) {
      if (l->text() == label) {
        EXPECT_EQ(l->buddy(), Control<QWidget>(d, box)) << box;
        found = true;
      }
    }
    EXPECT_TRUE(found) << label.toStdString();
  }
  // List boxes would otherwise be announced by their current entry (the user list's is blank).
  QAccessibleInterface* users =
      QAccessible::queryAccessibleInterface(Control<QWidget>(d, "combo1018"));
  EXPECT_EQ(users->text(QAccessible::Name), "Palm users");
  EXPECT_EQ(users->text(QAccessible::Value), " ");
  EXPECT_EQ(Control<QWidget>(d, "combo1013")->accessibleName(), "Scale:");

  QStringList scales;
  auto* scale = Control<QComboBox>(d, "combo1013");
  for (int i = 0; i < scale->count(); ++i) scales << scale->itemText(i);
  EXPECT_EQ(scales, (QStringList{"400", "200", "150", "125", "100", "88", "75", "63", "50", "25"}));
  EXPECT_TRUE(scale->isEditable());

  EXPECT_EQ(EditText(d, "edit1005"), "/start/Chords.pdb");
  EXPECT_EQ(EditText(d, "edit1001"), "/out/");
  EXPECT_EQ(EditText(d, "edit1000"), "/fonts/serif.ttf");
  EXPECT_EQ(EditText(d, "edit1003"), "12");
  EXPECT_TRUE(Control<QRadioButton>(d, "radio1007")->isChecked());
  EXPECT_TRUE(Control<QRadioButton>(d, "radio1012")->isChecked());
  EXPECT_FALSE(Control<QCheckBox>(d, "check1014")->isChecked());
}

TEST(ProcessOptionsDialog, FontHintNamesTheFontconfigMatchOnItsLaterLines) {
  const QStringList lines = QString::fromStdString(FontHintText()).split('\n');
  ASSERT_EQ(lines.size(), 3);
  EXPECT_EQ(lines[0], "full path to a true type font file, for Times it should be");
  EXPECT_TRUE(lines[1].contains("Times New Roman"));
  EXPECT_FALSE(lines[2].contains("WINNT"));
}

TEST(ProcessOptionsDialog, SelectsTheStoredScaleOnlyWhenItIsInTheList) {
  auto listed = Open(150);
  auto* scale = Control<QComboBox>(*listed->dialog, "combo1013");
  EXPECT_EQ(scale->currentIndex(), 2);
  EXPECT_EQ(scale->currentText(), "150");

  auto unlisted = Open(40);
  scale = Control<QComboBox>(*unlisted->dialog, "combo1013");
  EXPECT_EQ(scale->currentIndex(), -1);
  EXPECT_EQ(scale->currentText(), "40");
}

TEST(ProcessOptionsDialog, StoredSortOutsideTheButtonsChecksNoneAndReturnsMinusOne) {
  RecordingMessages messenger;
  auto opened = Open(100, 5);
  CProcessOptionsDialog& d = *opened->dialog;
  for (const char* name : {"radio1009", "radio1011", "radio1012"}) {
    EXPECT_FALSE(Control<QRadioButton>(d, name)->isChecked());
  }
  d.accept();
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_EQ(d.sort(), -1);
  EXPECT_TRUE(messenger.messages().empty());
}

TEST(ProcessOptionsDialog, OkReadsEveryControlBack) {
  RecordingMessages messenger;
  auto opened = Open();
  CProcessOptionsDialog& d = *opened->dialog;
  Control<QRadioButton>(d, "radio1008")->setChecked(true);
  Control<QRadioButton>(d, "radio1011")->setChecked(true);
  Control<QCheckBox>(d, "check1014")->setChecked(true);
  SetEdit(d, "edit1005", "/new/folder");
  SetEdit(d, "edit1001", "/new/out");
  SetEdit(d, "edit1000", "/new/font.ttf");
  SetEdit(d, "edit1003", "24");
  SetScale(d, " 75 %");
  d.accept();
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_EQ(d.imageChoice(), 1);
  EXPECT_EQ(d.sort(), 1);
  EXPECT_EQ(d.border(), 1);
  EXPECT_EQ(d.path(), "/new/folder");
  EXPECT_EQ(d.outputFolder(), "/new/out");
  EXPECT_EQ(d.fontFile(), "/new/font.ttf");
  EXPECT_EQ(d.fontSize(), 24U);
  EXPECT_EQ(d.scaleText(), " 75 %");
  EXPECT_EQ(d.percent(), 75);
  EXPECT_TRUE(messenger.messages().empty());

  Control<QRadioButton>(d, "radioSvg")->setChecked(true);
  d.accept();
  EXPECT_EQ(d.imageChoice(), 2);
}

// Each case: scale text, size text, the messages shown; the dialog stays open after any.
TEST(ProcessOptionsDialog, ChecksTheScaleFirstThenTheFontSize) {
  struct Case {
    const char* scale;
    const char* size;
    std::vector<std::string> messages;
  };
  const std::string scaleMessage = "The scale must be between 25 and 400.";
  const std::string positive = "Please enter a positive integer.";
  const std::string range = "Please enter an integer between 8 and 36.";
  const std::vector<Case> cases = {
      {"88", "12", {}},
      {"25", "8", {}},
      {"400", "36", {}},
      {"50 %", "12", {}},
      {"24", "12", {scaleMessage}},
      {"401", "12", {scaleMessage}},
      {"%50", "12", {scaleMessage}},
      {"", "12", {scaleMessage}},
      {"10", "99", {scaleMessage}},
      {"100", "7", {range}},
      {"100", "37", {range}},
      {"100", "", {positive}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.scale) + " / " + c.size);
    RecordingMessages messenger;
    auto opened = Open();
    CProcessOptionsDialog& d = *opened->dialog;
    ShowActive(d);
    SetScale(d, c.scale);
    SetEdit(d, "edit1003", c.size);
    Control<QPushButton>(d, "button1")->setFocus();
    d.accept();
    EXPECT_EQ(messenger.Texts(), c.messages);
    for (const auto& m : messenger.messages()) {
      EXPECT_EQ(m.caption, "");  // the application's title
      EXPECT_EQ(m.icon, MessageIcon::Exclamation);
    }
    EXPECT_EQ(d.isVisible(), !c.messages.empty());
    if (!c.messages.empty() && c.messages[0] != scaleMessage) {
      EXPECT_EQ(QApplication::focusWidget(), Control<QWidget>(d, "edit1003"));
    }
    if (!c.messages.empty() && c.messages[0] == scaleMessage) {
      EXPECT_EQ(QApplication::focusWidget(), Control<QWidget>(d, "button1"));
      EXPECT_EQ(EditText(d, "edit1003"), c.size);
    }
  }
}

TEST(ProcessOptionsDialog, FocusStartsInThePathAndTabFollowsTheReadingOrder) {
  auto opened = Open();
  CProcessOptionsDialog& d = *opened->dialog;
  ShowActive(d);
  std::vector<std::string> visited;
  for (int i = 0; i < 19; ++i) {
    visited.push_back(QApplication::focusWidget()->objectName().toStdString());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  visited.push_back(QApplication::focusWidget()->objectName().toStdString());
  // Tab stops once in each radio group, at its checked button (Position here); the arrow keys
  // move within it.
  EXPECT_EQ(
      visited,
      (std::vector<std::string>{
          "edit1005",  "button1006",       "radio1007",       "radio1012",  "combo1013",
          "check1014", "checkLeftHanded",  "checkModernPage", "edit1001",   "buttonBrowseOutput",
          "edit1000",  "buttonBrowseFont", "edit1003",        "button1",    "button2",
          "combo1018", "button1010",       "edit1005",        "button1006", "radio1007"}));

  // With no sort button checked, Tab enters the group at its first button.
  auto unchecked = Open(100, 5);
  ShowActive(*unchecked->dialog);
  Control<QWidget>(*unchecked->dialog, "button1006")->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget()->objectName(), "radio1009");
}

TEST(ProcessOptionsDialog, WithoutAPathOkWaitsForOne) {
  CProcessOptionsDialog d(nullptr, "", "/out/", "/font.ttf", 0, 2, 100, 12, 0,
                          std::make_unique<FakeUsers>(std::vector<std::string>{}));
  ShowActive(d);
  auto* ok = Control<QPushButton>(d, "button1");
  EXPECT_FALSE(ok->isEnabled());
  QTest::keyClick(Control<QLineEdit>(d, "edit1005"), Qt::Key_Return);
  EXPECT_TRUE(d.isVisible());
  QTest::keyClicks(Control<QLineEdit>(d, "edit1005"), "/music");
  EXPECT_TRUE(ok->isEnabled());
}

TEST(ProcessOptionsDialog, EnterConfirmsAndEscapeCancels) {
  RecordingMessages messenger;
  auto confirmed = Open();
  ShowActive(*confirmed->dialog);
  QTest::keyClick(Control<QLineEdit>(*confirmed->dialog, "edit1005"), Qt::Key_Return);
  EXPECT_EQ(confirmed->dialog->result(), QDialog::Accepted);
  EXPECT_FALSE(confirmed->dialog->isVisible());

  // Escape checks nothing, even with a scale that OK would refuse.
  auto cancelled = Open();
  ShowActive(*cancelled->dialog);
  SetScale(*cancelled->dialog, "1");
  QTest::keyClick(Control<QLineEdit>(*cancelled->dialog, "edit1005"), Qt::Key_Escape);
  EXPECT_EQ(cancelled->dialog->result(), QDialog::Rejected);
  EXPECT_FALSE(cancelled->dialog->isVisible());
  EXPECT_TRUE(messenger.messages().empty());
}

TEST(ProcessOptionsDialog, SizeBoxTakesDigitsOnly) {
  auto opened = Open();
  auto* size = Control<QLineEdit>(*opened->dialog, "edit1003");
  size->clear();
  QTest::keyClicks(size, "1a-2 4");
  EXPECT_EQ(size->text(), "124");
}

TEST(ProcessOptionsDialog, UserListIsSortedAfterTheBlankEntryAndFillsThePathBox) {
  auto opened = Open(100, 2, 12, {"zed", "Anna", "bob"});
  CProcessOptionsDialog& d = *opened->dialog;
  auto* users = Control<QComboBox>(d, "combo1018");
  QStringList names;
  for (int i = 0; i < users->count(); ++i) names << users->itemText(i);
  EXPECT_EQ(names, (QStringList{" ", "Anna", "bob", "zed"}));
  EXPECT_FALSE(users->isEditable());

  SetEdit(d, "edit1005", "/typed");
  emit users->activated(0);  // the blank entry is no user: the box keeps what was typed
  EXPECT_EQ(EditText(d, "edit1005"), "/typed");
  emit users->activated(2);
  EXPECT_EQ(EditText(d, "edit1005"), "/palm/bob/Backup/");
  EXPECT_EQ(d.path(), "/start/Chords.pdb");  // the value changes only on OK

  // The file chooser still starts at the path the dialog opened with.
  Control<QPushButton>(d, "button1010")->click();
  EXPECT_EQ(opened->chooserStarts, (std::vector<std::string>{"pdb:/start/Chords.pdb"}));
  EXPECT_EQ(EditText(d, "edit1005"), "/palm/bob/Backup/");  // cancelled: nothing changes

  d.accept();
  EXPECT_EQ(d.path(), "/palm/bob/Backup/");
}

TEST(ProcessOptionsDialog, WithoutPalmUsersTheListHoldsTheBlankEntryOnly) {
  CProcessOptionsDialog d(nullptr, "/start", "/out/", "/font.ttf", 0, 2, 100, 12, 0);
  auto* users = Control<QComboBox>(d, "combo1018");
  ASSERT_EQ(users->count(), 1);
  EXPECT_EQ(users->itemText(0), " ");
  emit users->activated(0);
  EXPECT_EQ(EditText(d, "edit1005"), "/start");
}

// The Palm Desktop the tests see (set up by the test main) with two users in its users file.
TEST(ProcessOptionsDialog, ListsThePalmDesktopUsersAndPutsTheChosenOnesBackupFolder) {
  const char* home = std::getenv("STRUMLET_PALM_HOME");
  ASSERT_NE(home, nullptr);
  std::filesystem::create_directories(home);
  const std::string usersFile = std::string(home) + "/users";
  std::ofstream(usersFile) << "7\tzoe\tZoe Smith\n3\tanna\tanna b\n";
  // The other tests see an empty Palm Desktop again, whatever happens here.
  struct RemoveUsers {
    std::string path;
    ~RemoveUsers() { std::filesystem::remove(path); }
  } removeUsers{usersFile};
  CProcessOptionsDialog d(nullptr, "/start", "/out/", "/font.ttf", 0, 2, 100, 12, 0);
  auto* users = Control<QComboBox>(d, "combo1018");
  QStringList names;
  for (int i = 0; i < users->count(); ++i) names << users->itemText(i);
  EXPECT_EQ(names, (QStringList{" ", "anna b", "Zoe Smith"}));
  emit users->activated(2);
  EXPECT_EQ(EditText(d, "edit1005"), std::string(home) + "/zoe/Backup/");
}

TEST(ProcessOptionsDialog, ChosenFileBecomesThePathAndTheNextStart) {
  auto opened = Open();
  CProcessOptionsDialog& d = *opened->dialog;
  opened->chooserResult = "/music/Guitar Chords.pdb";
  Control<QPushButton>(d, "button1010")->click();
  EXPECT_EQ(EditText(d, "edit1005"), "/music/Guitar Chords.pdb");
  EXPECT_EQ(d.path(), "/music/Guitar Chords.pdb");
  SetEdit(d, "edit1005", "/typed/elsewhere");
  opened->chooserResult.reset();
  Control<QPushButton>(d, "button1010")->click();
  EXPECT_EQ(opened->chooserStarts.back(), "pdb:/music/Guitar Chords.pdb");
  EXPECT_EQ(EditText(d, "edit1005"), "/typed/elsewhere");
}

TEST(ProcessOptionsDialog, BrowseButtonsStartAtTheirBoxesAndFillThemOnOk) {
  auto opened = Open();
  CProcessOptionsDialog& d = *opened->dialog;
  SetEdit(d, "edit1005", "/typed/path");
  opened->chooserResult = "/picked";
  Control<QPushButton>(d, "button1006")->click();
  Control<QPushButton>(d, "buttonBrowseOutput")->click();
  opened->chooserResult = "/fonts/other.ttf";
  Control<QPushButton>(d, "buttonBrowseFont")->click();
  EXPECT_EQ(opened->chooserStarts, (std::vector<std::string>{"folder:/typed/path", "folder:/out/",
                                                             "font:/fonts/serif.ttf"}));
  EXPECT_EQ(EditText(d, "edit1005"), "/picked");
  EXPECT_EQ(EditText(d, "edit1001"), "/picked");
  EXPECT_EQ(EditText(d, "edit1000"), "/fonts/other.ttf");

  opened->chooserResult.reset();  // Cancel changes nothing
  Control<QPushButton>(d, "button1006")->click();
  EXPECT_EQ(EditText(d, "edit1005"), "/picked");
}

TEST(PathSettingsDialog, ShowsOnlyTheProposedPathAndTheFontFile) {
  CPathSettingsDialog d(nullptr, "/home/me/Backup", "/fonts/serif.ttf");
  EXPECT_EQ(EditText(d, "edit1005"), "/home/me/Backup");
  EXPECT_EQ(EditText(d, "edit1000"), "/fonts/serif.ttf");
  EXPECT_EQ(d.findChildren<QLineEdit*>().size(), 2);
  EXPECT_TRUE(d.findChildren<QComboBox*>().isEmpty());
  EXPECT_TRUE(d.findChildren<QAbstractButton*>("radio1007").isEmpty());
  SetEdit(d, "edit1005", "/elsewhere");
  SetEdit(d, "edit1000", "/fonts/sans.ttf");
  d.accept();
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_EQ(d.defaultPath(), "/elsewhere");
  EXPECT_EQ(d.fontFile(), "/fonts/sans.ttf");
}

}  // namespace
}  // namespace strumlet
