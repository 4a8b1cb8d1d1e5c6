// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/app/AppIcon.h"

#include <QPainter>
#include <QPixmap>

namespace strumlet {

QIcon ApplicationIcon() {
  // A chord diagram: six strings, five frets, three finger dots.
  QPixmap picture(64, 64);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(QColor(0xfa, 0xf3, 0xe0));
  painter.setPen(QPen(QColor(0x5a, 0x3a, 0x1a), 2));
  painter.drawRoundedRect(QRectF(3, 3, 58, 58), 8, 8);
  painter.setPen(QPen(Qt::black, 1.5));
  for (int s = 0; s < 6; ++s) {
    const double x = 12 + s * 8;
    painter.drawLine(QPointF(x, 14), QPointF(x, 54));
  }
  painter.setPen(QPen(Qt::black, 4));
  painter.drawLine(QPointF(12, 14), QPointF(52, 14));
  painter.setPen(QPen(Qt::black, 1.5));
  for (int f = 1; f <= 4; ++f) {
    const double y = 14 + f * 10;
    painter.drawLine(QPointF(12, y), QPointF(52, y));
  }
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0x1f, 0x4e, 0x9c));
  painter.drawEllipse(QPointF(28, 29), 3.5, 3.5);
  painter.drawEllipse(QPointF(36, 39), 3.5, 3.5);
  painter.drawEllipse(QPointF(44, 39), 3.5, 3.5);
  painter.end();
  return QIcon::fromTheme(QStringLiteral("org.strumletviewer.StrumletViewer"), QIcon(picture));
}

}  // namespace strumlet
