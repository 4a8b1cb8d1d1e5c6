// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "FallbackIcons.h"

#include <QPainter>
#include <QPixmap>

namespace strumlet {

QIcon DrawFallbackIcon(FallbackIcon kind) {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0x30, 0x30, 0x30), 2));
  p.setBrush(Qt::white);
  switch (kind) {
    case FallbackIcon::Print:
      p.drawRect(9, 3, 14, 9);
      p.setBrush(QColor(0xb0, 0xb0, 0xb0));
      p.drawRoundedRect(3, 12, 26, 11, 2, 2);
      p.setBrush(Qt::white);
      p.drawRect(9, 19, 14, 10);
      break;
    case FallbackIcon::Cut:
      p.drawLine(10, 3, 20, 20);
      p.drawLine(22, 3, 12, 20);
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(QPoint(9, 24), 5, 5);
      p.drawEllipse(QPoint(23, 24), 5, 5);
      break;
    case FallbackIcon::Copy:
      p.drawRect(4, 4, 15, 18);
      p.drawRect(13, 10, 15, 18);
      break;
    case FallbackIcon::Paste:
      p.setBrush(QColor(0xc8, 0x9b, 0x5a));
      p.drawRoundedRect(5, 5, 22, 25, 2, 2);
      p.setBrush(QColor(0x90, 0x90, 0x90));
      p.drawRect(11, 2, 10, 6);
      p.setBrush(Qt::white);
      p.drawRect(10, 12, 12, 14);
      break;
  }
  p.end();
  return QIcon(pixmap);
}

}  // namespace strumlet
