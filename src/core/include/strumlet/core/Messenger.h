// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace strumlet {

// The picture a message box shows beside its text.
enum class MessageIcon { None, Information, Exclamation, Error };

// The one way the lower layers tell the user something. The application shows a modal
// message box, the command line prints one line on standard error, tests record the texts.
// The lower layers call it only on the thread that started their work (for a conversion, the
// thread that called CStrumletViewerDoc::OnOpenDocument), never on a helper thread, so a
// messenger may show a window. No lower layer ends the process: the front ends decide that.
class Messenger {
 public:
  virtual ~Messenger() = default;
  // Shows one message and returns when the user has seen it. `caption` may be empty, meaning
  // the application's own title.
  virtual void ShowMessage(const std::string& caption, const std::string& text,
                           MessageIcon icon) = 0;
};

// Drops every message, for runs nobody watches (fuzzing, benchmarks).
class SilentMessenger final : public Messenger {
 public:
  void ShowMessage(const std::string&, const std::string&, MessageIcon) override {}
};

// What a RecordingMessenger was told.
struct RecordedMessage {
  std::string caption;
  std::string text;
  MessageIcon icon = MessageIcon::None;
  bool operator==(const RecordedMessage&) const = default;
};

// Keeps every message instead of showing it, for tests and benchmarks.
class RecordingMessenger final : public Messenger {
 public:
  void ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon) override {
    std::lock_guard lock(mutex_);
    messages.push_back({caption, text, icon});
  }
  // The messages as (caption, text) pairs, for comparing whole conversations.
  std::vector<std::pair<std::string, std::string>> Pairs() const {
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const auto& m : messages) pairs.emplace_back(m.caption, m.text);
    return pairs;
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& m : messages) texts.push_back(m.text);
    return texts;
  }
  std::vector<std::string> Captions() const {
    std::vector<std::string> captions;
    for (const auto& m : messages) captions.push_back(m.caption);
    return captions;
  }
  std::vector<RecordedMessage> messages;

 private:
  std::mutex mutex_;
};

// The process-wide messenger. Until one is installed, messages go to standard error.
Messenger& GetMessenger();
// Installs `messenger` (not owned; nullptr restores the standard-error default) and returns the
// previous one, so a caller can put it back.
Messenger* SetMessenger(Messenger* messenger);

// Shorthand for GetMessenger().ShowMessage(caption, text, icon).
void ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon);
// A message as the application framework shows one when no icon is asked for: under the
// application's title (empty caption) with the exclamation mark, under any other caption plain.
void ShowMessage(const std::string& caption, const std::string& text);

// Installs a messenger for the lifetime of the guard.
class ScopedMessenger {
 public:
  explicit ScopedMessenger(Messenger& messenger) : previous_(SetMessenger(&messenger)) {}
  ~ScopedMessenger() { SetMessenger(previous_); }
  ScopedMessenger(const ScopedMessenger&) = delete;
  ScopedMessenger& operator=(const ScopedMessenger&) = delete;

 private:
  Messenger* previous_;
};

}  // namespace strumlet
