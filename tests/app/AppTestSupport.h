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

// Remembers every message, installed for its own lifetime.
class RecordingMessenger final : public Messenger {
 public:
  struct Message {
    std::string caption;
    std::string text;
    MessageIcon icon;
  };
  RecordingMessenger() : previous_(SetMessenger(this)) {}
  ~RecordingMessenger() override { SetMessenger(previous_); }
  void ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon) override {
    messages.push_back({caption, text, icon});
  }
  std::vector<std::string> texts() const {
    std::vector<std::string> result;
    for (const Message& m : messages) result.push_back(m.text);
    return result;
  }
  std::vector<Message> messages;

 private:
  Messenger* previous_;
};

}  // namespace strumlet::testing
