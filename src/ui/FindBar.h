// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFrame>
#include <QWebEnginePage>

class QLabel;
class QLineEdit;
class QToolButton;
class QWebEngineView;

namespace strumlet {

// The bar under a page view that finds text in the page: it finds as the user types, Enter and
// Shift+Enter step to the next and previous match, Escape closes it, and a label says which
// match is selected of how many, or "Not found".
//
// It finds what the page shows as text: headings, database and category names, the footer, and
// the words the served page keeps beside each diagram; a match in those outlines its diagram.
class CFindBar final : public QFrame {
  Q_OBJECT
 public:
  explicit CFindBar(QWebEngineView* view, QWidget* parent = nullptr);

  // Shows the bar with the focus in its field and the text there selected; a text already in
  // the field is found again.
  void Open();
  // The next or previous match of the field's text; a closed bar is opened first.
  void FindNext();
  void FindPrevious();
  // Hides the bar, takes the highlight off the page and gives the focus back to the page.
  void Close();

  QLineEdit* field() const { return field_; }
  QLabel* resultLabel() const { return result_; }

 signals:
  // After each search: the address of the diagram now outlined, or empty for none.
  void diagramMarked(const QString& source);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void ShowWithFocus();
  void Find(QWebEnginePage::FindFlags flags);
  void ShowResult(int matches, int active);
  // Outlines the diagram whose words hold match `active` (1-based) of `text`; 0 takes the
  // outline off.
  void MarkDiagram(const QString& text, int active);

  QWebEngineView* view_;
  QLineEdit* field_;
  QToolButton* previous_;
  QToolButton* next_;
  QLabel* result_;
  QToolButton* close_;
  // Counts the searches; only the newest one's answer is shown.
  int search_ = 0;
};

}  // namespace strumlet
