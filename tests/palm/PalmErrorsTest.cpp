// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/palm/PalmErrors.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace strumlet {
namespace {

constexpr const char* kUnknown = "Unknown CMainFrame error.";

// Every code with a text of its own, with a piece of that text.
const std::map<int32_t, std::string> kKnown = {
    {-1017, "no longer supported"},
    {-1016, "communications port"},
    {-1015, "conduit type"},
    {-1013, "valid pointer"},
    {-1012, "creator ID is not"},
    {-1011, "could not be found in the"},
    {-1010, "buffer is too small"},
    {-1009, "structure handle"},
    {-1008, "could not be set"},
    {-1007, "could not be installed"},
    {-1006, "Unable to access"},
    {-1005, "already in use"},
    {-1004, "Not enough memory"},
    {-1003, "does not exist"},
    {-1002, "could not be deleted"},
    {-1001, "out of range"},
    {-1000, "nonspecific Conduit"},
    {-701, "PltGetFileCount"},
    {-553, "could not be found in the database"},
    {-516, "buffer parameter is NULL"},
    {-515, "valid file type"},
    {-514, "maximum value"},
    {-513, "not a valid file."},
    {-512, "already installed"},
    {-511, "PltSetPath"},
    {-510, "installation program"},
    {-509, "path type"},
    {-507, "PltGetFileName"},
    {-506, "file name parameter"},
    {-505, "user name parameter"},
    {-504, "could not copy the file"},
    {-503, "no users data file"},
    {-502, "too small to contain"},
    {-501, "PltGetUser function is greater"},
    {-500, "does not contain any user"},
    {-1, "A nonspecific error occurred."},
    {0, "The function call was successful."},
    {1, "could not find CondMgr.dll"},
    {2, "CmInstallCreator failed"},
    {3, "CmSetCreatorName failed"},
    {4, "CmSetCreatorDirectory failed"},
    {5, "CmSetCreatorTitle failed"},
    {6, "HSAPI.dll not found."},
    {7, "HsSetAppStatus failed"},
    {8, "CmRemoveConduitByCreatorID"},
    {9, "CmGetCorePath"},
    {10, "strumcond.dll, could not be found."},
    {11, "Error copying file."},
    {12, "Could not locate Instaide.dll"},
    {13, "Get User count"},
    {14, "Get User function"},
    {15, "Install File function"},
    {0x10000001, "HotSync Manager is not running."},
    {0x10000002, "(HSConnectionType)"},
    {0x10000003, "cannot communicate"},
    {0x10000004, "cannot access configuration"},
    {0x10000005, "Unknown HotSync Manager error."},
    {0x10000006, "cannot close"},
    {0x10000008, "cannot start"},
    {0x10000009, "Type Status Constants."},
};

TEST(GetErrorText, EveryRowHasItsOwnTextAndEveryGapTheDefault) {
  std::set<std::string> texts;
  for (const auto& [code, piece] : kKnown) {
    const std::string text = GetErrorText(code);
    EXPECT_NE(text.find(piece), std::string::npos) << code << ": " << text;
    texts.insert(text);
  }
  EXPECT_EQ(texts.size(), kKnown.size()) << "two codes share a text";

  // Every code near the table's runs that has no row falls to the default.
  int checked = 0;
  auto expectUnknownUnlessKnown = [&](int32_t code) {
    if (kKnown.count(code)) return;
    EXPECT_EQ(GetErrorText(code), kUnknown) << code;
    ++checked;
  };
  for (int32_t code = -1100; code <= 20; ++code) expectUnknownUnlessKnown(code);
  for (int32_t code = 0x0FFFFFF0; code <= 0x10000010; ++code) expectUnknownUnlessKnown(code);
  for (int32_t code : {INT32_MIN, INT32_MAX, -100000, 100000}) expectUnknownUnlessKnown(code);
  EXPECT_GT(checked, 1000);
  EXPECT_EQ(GetErrorText(-508), kUnknown);
  EXPECT_EQ(GetErrorText(-1014), kUnknown);
  EXPECT_EQ(GetErrorText(0x10000007), kUnknown);
}

TEST(GetErrorText, LineFeedsWhereTheyBelong) {
  for (int32_t code = 1; code <= 10; ++code) {
    const std::string text = GetErrorText(code);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\n') << code;
  }
  for (int32_t code : {0, 11, 12, 13, 14, 15}) {
    EXPECT_EQ(GetErrorText(code).find('\n'), std::string::npos) << code;
  }
  EXPECT_EQ(GetErrorText(-1015),
            "The specified conduit type is not valid.\nYou must use one of the Conduit "
            "Information Type Constants.");
  EXPECT_EQ(GetErrorText(6),
            "Installation failed, HSAPI.dll not found.  Please Exit and then re-launch the "
            "HotSync Manager to use the Strumlet conduit.\n");
}

TEST(GetErrorText, RightQuotationMarkOf512IsShownAsSuch) {
  EXPECT_EQ(GetErrorText(-512),
            "An attempt was made to install a file that is already installed in the "
            "user\u2019s install directory.");
}

}  // namespace
}  // namespace strumlet
