// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ProcessOptionsDialog.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <algorithm>
#include <cctype>
#include <climits>

#include "FolderDialog.h"
#include "strumlet/app/FileChoosers.h"
#include "strumlet/app/SettingsStore.h"
#include "strumlet/convert/ProcessingSettings.h"
#include "strumlet/core/Messenger.h"

namespace strumlet {
namespace {

constexpr const char* kTitle = "Process Strumlet backup databases into web pages";
constexpr const char* kFolderCaptionWord = "Select";
// The entry that stands for no Palm user.
constexpr const char* kNoUser = " ";

QLabel* RightLabel(const char* text, QWidget* buddy) {
  auto* label = new QLabel(QObject::tr(text));
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  label->setBuddy(buddy);
  return label;
}

QFrame* Separator() {
  auto* line = new QFrame;
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

QPushButton* BrowseButton(const char* objectName, const char* text, const char* accessibleName) {
  auto* button = new QPushButton(QObject::tr(text));
  button->setObjectName(QLatin1String(objectName));
  button->setAccessibleName(QObject::tr(accessibleName));
  button->setAutoDefault(false);
  return button;
}

QRadioButton* Radio(const char* objectName, const char* text) {
  auto* button = new QRadioButton(QObject::tr(text));
  button->setObjectName(QLatin1String(objectName));
  return button;
}

// Tab enters a radio group at its checked button (the first when none is): only that button
// keeps its tab stop until the user moves within the group.
void TabEntersAtChecked(const QButtonGroup& group) {
  const QList<QAbstractButton*> buttons = group.buttons();
  QAbstractButton* entry = group.checkedButton();
  if (entry == nullptr && !buttons.isEmpty()) {
    entry = buttons.first();
  }
  for (QAbstractButton* button : buttons) {
    button->setFocusPolicy(button == entry ? Qt::StrongFocus : Qt::ClickFocus);
  }
}

// A long path shows from its start, as typed.
void SetPath(QLineEdit* box, const std::string& path) {
  box->setText(QString::fromStdString(path));
  box->setCursorPosition(0);
}

// A list box on Linux is named by its current entry, which for the user list is a blank: this
// one is named by its accessible name and tells its entry as its value.
class NamedListAccessible final : public QAccessibleWidget {
 public:
  explicit NamedListAccessible(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

  QString text(QAccessible::Text t) const override {
    auto* box = static_cast<QComboBox*>(widget());
    if (t == QAccessible::Name) return box->accessibleName();
    if (t == QAccessible::Value) return box->currentText();
    return QAccessibleWidget::text(t);
  }
  QStringList actionNames() const override {
    return QAccessibleWidget::actionNames() << showMenuAction();
  }
  void doAction(const QString& action) override {
    if (action == showMenuAction()) {
      static_cast<QComboBox*>(widget())->showPopup();
    } else {
      QAccessibleWidget::doAction(action);
    }
  }
};

constexpr const char* kUserListName = "Palm users";

QAccessibleInterface* UserListAccessible(const QString& key, QObject* object) {
  auto* box = qobject_cast<QComboBox*>(object);
  if (box != nullptr && key == QLatin1String("QComboBox") &&
      box->objectName() == QLatin1String("combo1018")) {
    return new NamedListAccessible(box);
  }
  return nullptr;
}

std::string Trimmed(const std::string& text) {
  const auto isBlank = [](unsigned char c) { return std::isspace(c) != 0; };
  auto begin = std::find_if_not(text.begin(), text.end(), isBlank);
  auto end = std::find_if_not(text.rbegin(), std::string::const_reverse_iterator(begin), isBlank);
  return std::string(begin, end.base());
}

}  // namespace

int ParseScaleText(const std::string& text) {
  std::size_t at = 0;
  while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])) != 0) {
    ++at;
  }
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
    negative = text[at] == '-';
    ++at;
  }
  long long value = 0;
  for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) != 0; ++at) {
    // Saturate: a number of any length stays outside the accepted range instead of wrapping.
    value = std::min<long long>(value * 10 + (text[at] - '0'), INT_MAX);
  }
  return static_cast<int>(negative ? -value : value);
}

std::optional<unsigned> ParseUnsignedText(const std::string& text) {
  const std::string digits = Trimmed(text);
  if (digits.empty() || digits.size() > 10 ||
      !std::all_of(digits.begin(), digits.end(),
                   [](unsigned char c) { return std::isdigit(c) != 0; })) {
    return std::nullopt;
  }
  const unsigned long long value = std::stoull(digits);
  if (value > UINT_MAX) {
    return std::nullopt;
  }
  return static_cast<unsigned>(value);
}

std::string FontHintText() {
  const std::string font = DefaultFontSetting();
  return "full path to a true type font file, for Times it should be\n"
         "on this computer (fontconfig's match for \"Times New Roman\")\n\t" +
         (font.empty() ? std::string("none found: install the package fonts-liberation") : font);
}

DialogChoosers StandardChoosers() {
  DialogChoosers choosers;
  choosers.pdbFile = [](QWidget* parent, const std::string& start) {
    return ChoosePdbFile(parent, start);
  };
  choosers.folder = [](QWidget* parent, const std::string& start) {
    return ChooseFolder(parent, start, kFolderCaptionWord);
  };
  choosers.fontFile = [](QWidget* parent, const std::string& start) {
    return ChooseFontFile(parent, start);
  };
  return choosers;
}

COptionsDialogLayout::COptionsDialogLayout(QWidget* parent)
    : QDialog(parent), choosers_(StandardChoosers()) {
  setWindowTitle(tr(kTitle));
  setModal(true);
  static const bool factoryInstalled = (QAccessible::installFactory(UserListAccessible), true);
  Q_UNUSED(factoryInstalled);

  users_ = new QComboBox;
  users_->setObjectName("combo1018");
  users_->setEditable(false);
  users_->addItem(QString::fromLatin1(kNoUser));
  pdbButton_ = new QPushButton(tr("Select a single .P&DB File..."));
  pdbButton_->setObjectName("button1010");
  pdbButton_->setAutoDefault(false);
  auto* userLabel = new QLabel(tr("Select by &User:"));
  userLabel->setBuddy(users_);
  users_->setAccessibleName(tr(kUserListName));

  pathBox_ = new QLineEdit;
  pathBox_->setObjectName("edit1005");
  pathBrowse_ = BrowseButton("button1006", "&Browse...", "Browse for the folder or .pdb file");

  jpeg_ = Radio("radio1007", "&JPEG");
  png_ = Radio("radio1008", "&PNG");
  svg_ = Radio("radioSvg", "S&VG");
  formatGroup_ = new QButtonGroup(this);
  formatGroup_->addButton(jpeg_, 0);
  formatGroup_->addButton(png_, 1);
  formatGroup_->addButton(svg_, 2);
  auto* formatBox = new QGroupBox(tr("Chord diagram image type"));
  auto* formatLayout = new QVBoxLayout(formatBox);
  formatLayout->addWidget(jpeg_);
  formatLayout->addWidget(png_);
  formatLayout->addWidget(svg_);

  sortButtons_ = {Radio("radio1009", "&Category"), Radio("radio1011", "&Name"),
                  Radio("radio1012", "P&osition")};
  sortGroup_ = new QButtonGroup(this);
  auto* sortBox = new QGroupBox(tr("Sort by"));
  sortBox->setObjectName("group1015");
  auto* sortLayout = new QVBoxLayout(sortBox);
  for (int i = 0; i < 3; ++i) {
    sortGroup_->addButton(sortButtons_[i], i);
    sortLayout->addWidget(sortButtons_[i]);
  }

  scaleBox_ = new QComboBox;
  scaleBox_->setObjectName("combo1013");
  scaleBox_->setEditable(true);
  scaleBox_->setInsertPolicy(QComboBox::NoInsert);
  for (const char* scale : kScaleChoices) {
    scaleBox_->addItem(QString::fromLatin1(scale));
  }
  auto* scaleLabel = new QLabel(tr("&Scale:"));
  scaleLabel->setBuddy(scaleBox_);
  // A list box is announced by what it shows unless it is given its label's name.
  scaleBox_->setAccessibleName(tr("Scale:"));
  scaleBox_->lineEdit()->setAccessibleName(tr("Scale:"));
  frameBox_ = new QCheckBox(tr("Fra&me diagrams"));
  frameBox_->setObjectName("check1014");
  leftHandedBox_ = new QCheckBox(tr("&Left-handed diagrams"));
  leftHandedBox_->setObjectName("checkLeftHanded");
  leftHandedBox_->setToolTip(tr("Draw the diagrams as a left-handed player sees the neck"));
  modernPageBox_ = new QCheckBox(tr("Pages for today's b&rowsers"));
  modernPageBox_->setObjectName("checkModernPage");
  modernPageBox_->setToolTip(
      tr("Write HTML5 pages that fit phones, follow dark mode and print cleanly"));

  outputBox_ = new QLineEdit;
  outputBox_->setObjectName("edit1001");
  outputBrowse_ =
      BrowseButton("buttonBrowseOutput", "Bro&wse...", "Browse for the HTML output folder");
  fontBox_ = new QLineEdit;
  fontBox_->setObjectName("edit1000");
  fontBrowse_ = BrowseButton("buttonBrowseFont", "Brows&e...", "Browse for the chord font file");
  auto* hint = new QLabel(QString::fromStdString(FontHintText()));
  hint->setTextFormat(Qt::PlainText);
  hint->setTextInteractionFlags(Qt::TextSelectableByMouse);
  sizeBox_ = new QLineEdit;
  sizeBox_->setObjectName("edit1003");
  sizeBox_->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), sizeBox_));
  auto* note = new QLabel(
      tr("Note:  This must be twice the size because I shrink by 50% for better resolution."));
  note->setWordWrap(true);

  okButton_ = new QPushButton(tr("OK"));
  okButton_->setObjectName("button1");
  okButton_->setDefault(true);
  cancelButton_ = new QPushButton(tr("Cancel"));
  cancelButton_->setObjectName("button2");
  cancelButton_->setAutoDefault(false);
  connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

  // Rows from top to bottom: what to convert, then how.
  auto* top = new QHBoxLayout;
  top->addWidget(userLabel);
  top->addWidget(users_, 1);
  top->addWidget(new QLabel(tr("or")));
  top->addWidget(pdbButton_);

  auto* grid = new QGridLayout;
  grid->setColumnStretch(1, 1);
  int row = 0;
  grid->addWidget(RightLabel("or &Folder/.pdb file:", pathBox_), row, 0);
  grid->addWidget(pathBox_, row, 1, 1, 3);
  grid->addWidget(pathBrowse_, row, 4);
  grid->addWidget(Separator(), ++row, 0, 1, 5);

  auto* output = new QHBoxLayout;
  auto* heading = new QLabel(tr("OUTPUT:"));
  heading->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  output->addWidget(heading);
  output->addWidget(formatBox);
  output->addWidget(sortBox);
  output->addStretch(1);
  grid->addLayout(output, ++row, 0, 1, 5);

  auto* scaleRow = new QHBoxLayout;
  scaleRow->addWidget(scaleLabel);
  scaleRow->addWidget(scaleBox_);
  scaleRow->addWidget(new QLabel(tr("%")));
  scaleRow->addSpacing(24);
  auto* diagramChecks = new QVBoxLayout;
  diagramChecks->addWidget(frameBox_);
  diagramChecks->addWidget(leftHandedBox_);
  diagramChecks->addWidget(modernPageBox_);
  scaleRow->addLayout(diagramChecks);
  scaleRow->addStretch(1);
  grid->addLayout(scaleRow, ++row, 0, 1, 5);

  grid->addWidget(RightLabel("HTML Ou&tput Folder:", outputBox_), ++row, 0);
  grid->addWidget(outputBox_, row, 1, 1, 3);
  grid->addWidget(outputBrowse_, row, 4);
  grid->addWidget(Separator(), ++row, 0, 1, 5);
  grid->addWidget(RightLabel("Chord Font F&ile:", fontBox_), ++row, 0);
  grid->addWidget(fontBox_, row, 1, 1, 3);
  grid->addWidget(fontBrowse_, row, 4);
  grid->addWidget(hint, ++row, 1, 1, 4);
  grid->addWidget(RightLabel("Font Si&ze:", sizeBox_), ++row, 0);
  grid->addWidget(sizeBox_, row, 1);
  grid->addWidget(note, row, 2, 1, 3);
  grid->setColumnStretch(2, 2);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(okButton_);
  buttons->addWidget(cancelButton_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(grid);
  layout->addLayout(buttons);

  // The keyboard order is the reading order, top to bottom and left to right; Tab enters the
  // image and sort groups at their checked buttons and the arrow keys move within them. The
  // focus starts in the path box: what to convert comes first.
  QWidget* const order[] = {
      users_,         pdbButton_,      pathBox_,        pathBrowse_,     jpeg_,     png_,
      svg_,           sortButtons_[0], sortButtons_[1], sortButtons_[2], scaleBox_, frameBox_,
      leftHandedBox_, modernPageBox_,  outputBox_,      outputBrowse_,   fontBox_,  fontBrowse_,
      sizeBox_,       okButton_,       cancelButton_};
  for (std::size_t i = 1; i < std::size(order); ++i) {
    setTabOrder(order[i - 1], order[i]);
  }
  pathBox_->setFocus(Qt::OtherFocusReason);
  // Nothing to convert until there is a path: Enter in an empty dialog does nothing.
  const auto needPath = [this] { okButton_->setEnabled(!Trimmed(Text(pathBox_)).empty()); };
  connect(pathBox_, &QLineEdit::textChanged, this, needPath);
  needPath();
}

void CProcessOptionsDialog::setLeftHanded(bool on) {
  leftHanded_ = on;
  leftHandedBox_->setChecked(on);
}

void CProcessOptionsDialog::setModernPage(bool on) {
  modernPage_ = on;
  modernPageBox_->setChecked(on);
}

std::string COptionsDialogLayout::Text(const QLineEdit* box) { return box->text().toStdString(); }

void COptionsDialogLayout::Warn(const std::string& text) {
  ShowMessage("", text, MessageIcon::Exclamation);
}

std::optional<unsigned> COptionsDialogLayout::ReadFontSize() {
  std::optional<unsigned> size = ParseUnsignedText(Text(sizeBox_));
  if (!size) {
    Warn("Please enter a positive integer.");
    sizeBox_->setFocus(Qt::OtherFocusReason);
    sizeBox_->selectAll();
  }
  return size;
}

CProcessOptionsDialog::CProcessOptionsDialog(QWidget* parent, const std::string& path,
                                             const std::string& outputFolder,
                                             const std::string& fontFile, int imageChoice, int sort,
                                             int percent, unsigned fontSize, int border,
                                             std::unique_ptr<PalmUserList> users)
    : COptionsDialogLayout(parent),
      imageChoice_(imageChoice),
      sort_(sort),
      border_(border),
      path_(path),
      fontFile_(fontFile),
      outputFolder_(outputFolder),
      scaleText_(std::to_string(percent)),
      fontSize_(fontSize),
      percent_(percent),
      palmUsers_(users ? std::move(users) : OpenPalmUserList()) {
  SetPath(pathBox_, path_);
  SetPath(fontBox_, fontFile_);
  SetPath(outputBox_, outputFolder_);
  sizeBox_->setText(QString::number(fontSize_));
  if (QAbstractButton* image = formatGroup_->button(imageChoice_)) {
    image->setChecked(true);
  }
  if (sort_ >= 0 && sort_ < 3) {
    sortButtons_[sort_]->setChecked(true);
  }
  frameBox_->setChecked(border_ == 1);
  TabEntersAtChecked(*formatGroup_);
  TabEntersAtChecked(*sortGroup_);
  const QString scale = QString::fromStdString(scaleText_);
  scaleBox_->setCurrentIndex(scaleBox_->findText(scale));
  scaleBox_->setEditText(scale);

  // The list keeps itself sorted: the single-space entry sorts before every name.
  QStringList names{QString::fromLatin1(kNoUser)};
  for (const std::string& name : palmUsers_->UserNames()) {
    names << QString::fromStdString(name);
  }
  std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) < 0;
  });
  users_->clear();
  users_->addItems(names);
  connect(users_, &QComboBox::activated, this, &CProcessOptionsDialog::ChooseUser);
  connect(pdbButton_, &QPushButton::clicked, this, &CProcessOptionsDialog::ChoosePdbFile);
  connect(pathBrowse_, &QPushButton::clicked, this, [this] {
    if (auto folder = choosers_.folder(this, Text(pathBox_))) {
      pathBox_->setText(QString::fromStdString(*folder));
    }
  });
  connect(outputBrowse_, &QPushButton::clicked, this, [this] {
    if (auto folder = choosers_.folder(this, Text(outputBox_))) {
      outputBox_->setText(QString::fromStdString(*folder));
    }
  });
  connect(fontBrowse_, &QPushButton::clicked, this, [this] {
    if (auto file = choosers_.fontFile(this, Text(fontBox_))) {
      fontBox_->setText(QString::fromStdString(*file));
    }
  });
}

CProcessOptionsDialog::~CProcessOptionsDialog() = default;

void CProcessOptionsDialog::ChooseUser(int index) {
  const std::string name = users_->itemText(index).toStdString();
  // The single-space entry means no user: the path box keeps what it holds.
  if (name == kNoUser) {
    return;
  }
  if (std::optional<std::string> folder = palmUsers_->BackupFolder(name)) {
    pathBox_->setText(QString::fromStdString(*folder));
  }
}

void CProcessOptionsDialog::ChoosePdbFile() {
  // Starts from the path the dialog opened with or the file last chosen here, not from a
  // user's folder or what is typed in the box.
  if (std::optional<std::string> file = choosers_.pdbFile(this, path_)) {
    path_ = *file;
    pathBox_->setText(QString::fromStdString(path_));
  }
}

void CProcessOptionsDialog::accept() {
  const int percent = ParseScaleText(scaleBox_->currentText().toStdString());
  if (!kScaleRange.Contains(percent)) {
    Warn(kScaleRange.problem);
    return;
  }
  percent_ = percent;
  imageChoice_ = std::max(formatGroup_->checkedId(), 0);  // none checked: JPEG
  sort_ = sortGroup_->checkedId();
  border_ = frameBox_->isChecked() ? 1 : 0;
  leftHanded_ = leftHandedBox_->isChecked();
  modernPage_ = modernPageBox_->isChecked();
  path_ = Text(pathBox_);
  fontFile_ = Text(fontBox_);
  outputFolder_ = Text(outputBox_);
  scaleText_ = scaleBox_->currentText().toStdString();
  const std::optional<unsigned> size = ReadFontSize();
  if (!size) {
    return;
  }
  if (*size > INT_MAX || !kFontSizeRange.Contains(static_cast<int>(*size))) {
    Warn(kFontSizeRange.problem);
    sizeBox_->setFocus(Qt::OtherFocusReason);
    sizeBox_->selectAll();
    return;
  }
  fontSize_ = *size;
  QDialog::accept();
}

CPathSettingsDialog::CPathSettingsDialog(QWidget* parent, const std::string& defaultPath,
                                         const std::string& fontFile)
    : QDialog(parent),
      pathBox_(new QLineEdit),
      fontBox_(new QLineEdit),
      choosers_(StandardChoosers()),
      defaultPath_(defaultPath),
      fontFile_(fontFile) {
  setWindowTitle(tr("Path Settings"));
  setModal(true);
  pathBox_->setObjectName("edit1005");
  fontBox_->setObjectName("edit1000");
  SetPath(pathBox_, defaultPath_);
  SetPath(fontBox_, fontFile_);
  QPushButton* pathBrowse =
      BrowseButton("button1006", "&Browse...", "Browse for the folder or .pdb file");
  QPushButton* fontBrowse =
      BrowseButton("buttonBrowseFont", "Brows&e...", "Browse for the chord font file");
  auto* hint = new QLabel(QString::fromStdString(FontHintText()));
  hint->setTextFormat(Qt::PlainText);
  hint->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("button1");
  buttons->button(QDialogButtonBox::Cancel)->setObjectName("button2");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* grid = new QGridLayout(this);
  grid->setColumnStretch(1, 1);
  grid->addWidget(RightLabel("Proposed &Folder/.pdb file:", pathBox_), 0, 0);
  grid->addWidget(pathBox_, 0, 1);
  grid->addWidget(pathBrowse, 0, 2);
  grid->addWidget(RightLabel("Chord Font F&ile:", fontBox_), 1, 0);
  grid->addWidget(fontBox_, 1, 1);
  grid->addWidget(fontBrowse, 1, 2);
  grid->addWidget(hint, 2, 1, 1, 2);
  grid->addWidget(buttons, 3, 0, 1, 3);
  resize(fontMetrics().averageCharWidth() * 90, sizeHint().height());

  connect(pathBrowse, &QPushButton::clicked, this, [this] {
    if (auto folder = choosers_.folder(this, pathBox_->text().toStdString())) {
      pathBox_->setText(QString::fromStdString(*folder));
    }
  });
  connect(fontBrowse, &QPushButton::clicked, this, [this] {
    if (auto file = choosers_.fontFile(this, fontBox_->text().toStdString())) {
      fontBox_->setText(QString::fromStdString(*file));
    }
  });
  pathBox_->setFocus(Qt::OtherFocusReason);
}

void CPathSettingsDialog::accept() {
  defaultPath_ = pathBox_->text().toStdString();
  fontFile_ = fontBox_->text().toStdString();
  QDialog::accept();
}

}  // namespace strumlet
