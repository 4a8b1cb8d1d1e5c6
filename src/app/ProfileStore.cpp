// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/app/ProfileStore.h"

#include <QSettings>
#include <QString>
#include <QVariant>

namespace strumlet {
namespace {

QString Key(const std::string& section, const std::string& name) {
  return QString::fromStdString(section) + '/' + QString::fromStdString(name);
}

}  // namespace

struct SettingsFileStore::Impl {
  QSettings settings{QStringLiteral("Quillory Software"), QStringLiteral("StrumletViewer")};
};

SettingsFileStore::SettingsFileStore() : impl_(std::make_unique<Impl>()) {}

SettingsFileStore::~SettingsFileStore() = default;

int SettingsFileStore::GetProfileInt(const std::string& section, const std::string& name,
                                     int defaultValue) {
  const QVariant value = impl_->settings.value(Key(section, name));
  if (!value.isValid()) {
    return defaultValue;
  }
  bool ok = false;
  const int number = value.toString().trimmed().toInt(&ok);
  return ok ? number : defaultValue;
}

std::string SettingsFileStore::GetProfileString(const std::string& section, const std::string& name,
                                                const std::string& defaultValue) {
  const QVariant value = impl_->settings.value(Key(section, name));
  return value.isValid() ? value.toString().toStdString() : defaultValue;
}

void SettingsFileStore::WriteProfileInt(const std::string& section, const std::string& name,
                                        int value) {
  impl_->settings.setValue(Key(section, name), value);
  impl_->settings.sync();
}

void SettingsFileStore::WriteProfileString(const std::string& section, const std::string& name,
                                           const std::string& value) {
  impl_->settings.setValue(Key(section, name), QString::fromStdString(value));
  impl_->settings.sync();
}

}  // namespace strumlet
