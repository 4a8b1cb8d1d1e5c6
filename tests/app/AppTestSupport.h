// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <map>
#include <string>
#include <vector>

#include "RecordingStore.h"
#include "strumlet/app/ProfileStore.h"
#include "strumlet/core/Messenger.h"

namespace strumlet::testing {

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
