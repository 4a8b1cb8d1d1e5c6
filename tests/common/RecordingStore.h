// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <map>
#include <string>
#include <vector>

#include "strumlet/app/ProfileStore.h"

namespace strumlet::testing {

// A settings store in memory that remembers every value name read and every write, in order,
// as "name=value".
class RecordingStore final : public ProfileStore {
 public:
  int GetProfileInt(const std::string& section, const std::string& name,
                    int defaultValue) override {
    reads.push_back(name);
    auto found = ints.find(section + "/" + name);
    return found == ints.end() ? defaultValue : found->second;
  }
  std::string GetProfileString(const std::string& section, const std::string& name,
                               const std::string& defaultValue) override {
    reads.push_back(name);
    auto found = strings.find(section + "/" + name);
    return found == strings.end() ? defaultValue : found->second;
  }
  void WriteProfileInt(const std::string& section, const std::string& name, int value) override {
    ints[section + "/" + name] = value;
    writes.push_back(name + "=" + std::to_string(value));
  }
  void WriteProfileString(const std::string& section, const std::string& name,
                          const std::string& value) override {
    strings[section + "/" + name] = value;
    writes.push_back(name + "=" + value);
  }
  std::map<std::string, int> ints;
  std::map<std::string, std::string> strings;
  std::vector<std::string> reads;
  std::vector<std::string> writes;
};

}  // namespace strumlet::testing
