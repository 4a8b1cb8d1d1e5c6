// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "TestCommon.h"
#include "strumlet/core/Messenger.h"

namespace strumlet {
// Readable failure output for recorded messages.
inline std::ostream& operator<<(std::ostream& out, const RecordedMessage& m) {
  return out << "[" << m.caption << "|" << m.text << "|" << static_cast<int>(m.icon) << "]";
}
}  // namespace strumlet

namespace strumlet::testing {

// The scripted stand-in library, whole or without one entry point.
inline std::string FakeLibrary(const std::string& without = "") {
  return std::string(FAKE_LIBRARY_DIR) +
         (without.empty() ? "/fake_full.dll" : "/fake_without_" + without + ".dll");
}

using ShownMessage = RecordedMessage;

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Clears every script variable of the stand-in and logs its calls into a fresh file.
class FakeScript {
 public:
  FakeScript() {
    for (const char* name : {"FAKE_USERS",
                             "FAKE_BAD_IDS",
                             "FAKE_ROOT",
                             "FAKE_CORE",
                             "FAKE_FOLDER",
                             "FAKE_UmGetRootDirectory",
                             "FAKE_UmGetUserCount",
                             "FAKE_UmGetUserName",
                             "FAKE_UmGetIDFromName",
                             "FAKE_UmGetUserDirectory",
                             "FAKE_PltGetUserCount",
                             "FAKE_PltGetUser",
                             "FAKE_PltInstallFile",
                             "FAKE_CmGetCorePath",
                             "FAKE_CmInstallCreator",
                             "FAKE_CmSetCreatorName",
                             "FAKE_CmSetCreatorDirectory",
                             "FAKE_CmSetCreatorTitle",
                             "FAKE_CmRemoveConduitByCreatorID",
                             "FAKE_HsSetAppStatus"}) {
      unsetenv(name);
    }
    setenv("FAKE_PALM_LOG", log_.c_str(), 1);
  }
  ~FakeScript() { unsetenv("FAKE_PALM_LOG"); }
  void Set(const char* name, const std::string& value) { setenv(name, value.c_str(), 1); }
  void ClearCalls() { WriteFile(log_, ""); }
  std::vector<std::string> Calls() const { return Lines(ReadFile(log_)); }
  const TempFolder& folder() const { return folder_; }

 private:
  TempFolder folder_;
  std::string log_ = folder_ / "calls.log";
};

}  // namespace strumlet::testing
