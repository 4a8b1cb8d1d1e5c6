#pragma once

#include <map>
#include <string>
#include <vector>

#include "app/ProfileStore.h"
#include "pdb/Messenger.h"

namespace strumlet::testing {

// Keeps values in memory and remembers every write in order, as "name=value".
class RecordingStore final : public ProfileStore {
 public:
  int GetProfileInt(const std::string& section, const std::string& name,
                    int defaultValue) override {
    auto found = ints.find(section + "/" + name);
    return found == ints.end() ? defaultValue : found->second;
  }
  std::string GetProfileString(const std::string& section, const std::string& name,
                               const std::string& defaultValue) override {
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
  std::vector<std::string> writes;
};

// Keeps every message said while it lives.
class RecordingMessages {
 public:
  RecordingMessages() : scope_(recorder_) {}
  const std::vector<RecordedMessage>& messages() const { return recorder_.messages; }
  std::vector<std::string> Texts() const { return recorder_.Texts(); }

 private:
  RecordingMessenger recorder_;
  ScopedMessenger scope_;
};

}  // namespace strumlet::testing
