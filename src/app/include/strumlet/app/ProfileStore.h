// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <memory>
#include <string>

namespace strumlet {

// The per-user key-value store of the application: integers and strings by section and value
// name. A missing value, or an integer that is not a number, gives the caller's default.
// Failures to write are ignored.
class ProfileStore {
 public:
  virtual ~ProfileStore() = default;
  virtual int GetProfileInt(const std::string& section, const std::string& name,
                            int defaultValue) = 0;
  virtual std::string GetProfileString(const std::string& section, const std::string& name,
                                       const std::string& defaultValue) = 0;
  virtual void WriteProfileInt(const std::string& section, const std::string& name, int value) = 0;
  virtual void WriteProfileString(const std::string& section, const std::string& name,
                                  const std::string& value) = 0;
};

// The store in the user's configuration folder, under the company "Quillory Software" and the
// application "StrumletViewer". Every write reaches the file at once.
class SettingsFileStore final : public ProfileStore {
 public:
  SettingsFileStore();
  ~SettingsFileStore() override;
  SettingsFileStore(const SettingsFileStore&) = delete;
  SettingsFileStore& operator=(const SettingsFileStore&) = delete;
  int GetProfileInt(const std::string& section, const std::string& name, int defaultValue) override;
  std::string GetProfileString(const std::string& section, const std::string& name,
                               const std::string& defaultValue) override;
  void WriteProfileInt(const std::string& section, const std::string& name, int value) override;
  void WriteProfileString(const std::string& section, const std::string& name,
                          const std::string& value) override;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace strumlet
