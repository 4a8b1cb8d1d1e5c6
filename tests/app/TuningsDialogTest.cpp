// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Options, Tunings and Tools, Check Chord Names: what they show, what OK keeps, and the store.
#include "strumlet/app/TuningsDialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "RecordingStore.h"
#include "strumlet/app/NameCheckDialog.h"
#include "strumlet/app/SettingsStore.h"

namespace strumlet {
namespace {

QComboBox* Combo(CTuningsDialog& dialog, int code) {
  return dialog.findChild<QComboBox*>(QStringLiteral("comboTuning%1").arg(code));
}

QString LabelOf(CTuningsDialog& dialog, int code) {
  for (QLabel* label : dialog.findChildren<QLabel*>()) {
    if (label->buddy() == Combo(dialog, code)) return label->text();
  }
  return {};
}

TEST(TuningsDialog, ShowsTheTuningsInUseAndNamesWhatCodesTwoAndThreeAre) {
  const std::vector<Tuning> current = {*ReadTuningChoice("guitar=drop-d"),
                                       *ReadTuningChoice("2=mandolin"),
                                       *ReadTuningChoice("3=C3 G3 D4 A4")};
  CTuningsDialog dialog(current);
  EXPECT_EQ(dialog.windowTitle(), "Tunings");
  ASSERT_NE(Combo(dialog, 0), nullptr);
  EXPECT_EQ(Combo(dialog, 0)->currentText(), "Drop D (D2 A2 D3 G3 B3 E4)");
  EXPECT_EQ(Combo(dialog, 1)->currentText(), "Standard (G4 C4 E4 A4)");
  EXPECT_EQ(Combo(dialog, 2)->currentText(), "Mandolin (G3 D4 A4 E5)");
  EXPECT_EQ(Combo(dialog, 3)->currentText(), "C3 G3 D4 A4");
  EXPECT_EQ(Combo(dialog, 4)->currentText(), "Open G (G4 D3 G3 B3 D4)");
  EXPECT_EQ(LabelOf(dialog, 0), "Guitar (6 strings):");
  EXPECT_EQ(LabelOf(dialog, 2), "Code 2, Mandolin (4 strings):");
  EXPECT_EQ(LabelOf(dialog, 3), "Code 3 (4 strings):");
  // The label follows the choice.
  Combo(dialog, 3)->setCurrentIndex(Combo(dialog, 3)->findText("Bass (E1 A1 D2 G2)"));
  EXPECT_EQ(LabelOf(dialog, 3), "Code 3, Bass (4 strings):");
  // Every list ends in the entry to type pitches into.
  for (int code = 0; code <= 4; ++code) {
    QComboBox* combo = Combo(dialog, code);
    EXPECT_TRUE(combo->isEditable());
    EXPECT_EQ(combo->itemText(combo->count() - 1), "Custom (type a pitch per string)");
  }
}

TEST(TuningsDialog, OkKeepsTheDialogWhileATypedTuningDoesNotRead) {
  CTuningsDialog dialog({});
  dialog.show();
  Combo(dialog, 0)->setEditText("D2 A2 D3 G3 A3");
  QString warned;
  QTimer::singleShot(0, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      warned = box->text();
      box->accept();
    }
  });
  dialog.findChild<QPushButton*>("button1")->click();
  EXPECT_EQ(warned, "the guitar has 6 strings: 'D2 A2 D3 G3 A3' gives 5 pitches");
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_TRUE(dialog.Chosen().empty());

  Combo(dialog, 0)->setEditText("d2 a2 d3 g3 a3 d4");  // DADGAD, typed
  Combo(dialog, 2)->setEditText("C3 G3 D4 A4");
  dialog.findChild<QPushButton*>("button1")->click();
  EXPECT_FALSE(dialog.isVisible());
  ASSERT_EQ(dialog.Chosen().size(), 5u);
  EXPECT_EQ(dialog.Chosen()[0].key, "dadgad");
  EXPECT_EQ(dialog.Chosen()[1].key, "standard");
  EXPECT_EQ(TuningText(dialog.Chosen()[2]), "C3 G3 D4 A4");
  EXPECT_EQ(dialog.Chosen()[3].key, "unknown");
  EXPECT_EQ(dialog.Chosen()[4].key, "open-g");
}

TEST(TuningsDialog, TheStoreKeepsEachCodesTuningAndForgetsOneThatNoLongerReads) {
  testing::RecordingStore store;
  EXPECT_TRUE(ReadTunings(store).empty());
  StoreTunings(store, std::vector<Tuning>{*ReadTuningChoice("banjo=double-c"),
                                          *ReadTuningChoice("3=C3 G3 D4 A4")});
  EXPECT_EQ(store.writes, (std::vector<std::string>{"Tuning4=double-c", "Tuning3=C3 G3 D4 A4"}));
  store.strings["Settings/Tuning0"] = "E2 A2 D3";  // a value no version of ours writes
  const std::vector<Tuning> read = ReadTunings(store);
  ASSERT_EQ(read.size(), 2u);
  EXPECT_EQ(read[0].code, 3);
  EXPECT_EQ(read[0].notes, (std::vector<int>{48, 55, 62, 69}));
  EXPECT_EQ(read[1].key, "double-c");
}

TEST(NameCheckDialog, ShowsTheReportToReadAndCopy) {
  const std::string report = "Songs: Am (x 0 2 2 2 0) sounds A E C# \u2014 that is A, not Am\n";
  CNameCheckDialog dialog(report);
  auto* text = dialog.findChild<QPlainTextEdit*>("textNameCheck");
  ASSERT_NE(text, nullptr);
  EXPECT_TRUE(text->isReadOnly());
  EXPECT_EQ(text->toPlainText().toStdString(), report);
  QApplication::clipboard()->clear();
  dialog.findChild<QPushButton*>("buttonCopy")->click();
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), report);
}

}  // namespace
}  // namespace strumlet
