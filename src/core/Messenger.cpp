// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/core/Messenger.h"

#include <atomic>
#include <cstdio>
#include <mutex>

namespace strumlet {
namespace {

class StderrMessenger final : public Messenger {
 public:
  void ShowMessage(const std::string& caption, const std::string& text, MessageIcon) override {
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    if (caption.empty()) {
      std::fprintf(stderr, "%s\n", text.c_str());
    } else {
      std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    }
  }
};

StderrMessenger defaultMessenger;
std::atomic<Messenger*> current{nullptr};

}  // namespace

Messenger& GetMessenger() {
  Messenger* m = current.load();
  return m ? *m : defaultMessenger;
}

Messenger* SetMessenger(Messenger* messenger) { return current.exchange(messenger); }

void ShowMessage(const std::string& caption, const std::string& text, MessageIcon icon) {
  GetMessenger().ShowMessage(caption, text, icon);
}

void ShowMessage(const std::string& caption, const std::string& text) {
  ShowMessage(caption, text, caption.empty() ? MessageIcon::Exclamation : MessageIcon::None);
}

}  // namespace strumlet
