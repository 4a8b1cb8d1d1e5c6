// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QUrl>

class QWidget;

namespace strumlet {

// The About box: the program's picture, its version, what it is for, its licence with where to
// read the licence's text, and an OK button. Modal over `parent`; returns when it is closed.
void ShowAboutBox(QWidget* parent);

// Where the licence's full text is read: the copy the system keeps at `systemCopy` when there is
// one (Debian's common licences), else the licence's page on the web.
QUrl LicenceTextUrl(const QString& systemCopy = QStringLiteral("/usr/share/common-licenses/GPL-3"));

}  // namespace strumlet
