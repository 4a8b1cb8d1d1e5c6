// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "strumlet/palm/PalmErrors.h"

#include <algorithm>
#include <iterator>

#include "strumlet/core/CodePage.h"
#include "strumlet/palm/PalmEntryPoints.h"

namespace strumlet {
namespace {

struct ErrorRow {
  int32_t code;
  const char* text;  // Windows-1252 bytes
};

// Sorted by code for the binary search below.
constexpr ErrorRow kRows[] = {
    // Conduit Manager
    {-1017, "The value or feature that you specified is no longer supported."},
    {-1016,
     "The specified communications port type is not valid. You must use one of the Conduit "
     "Communications Port Constants."},
    {palm::kInvalidConduitType,
     "The specified conduit type is not valid.\nYou must use one of the Conduit Information Type "
     "Constants."},
    {palm::kInvalidPointer, "The specified pointer is not a valid pointer."},
    {palm::kInvalidCreator, "The specified conduit creator ID is not valid."},
    {-1011, "The specified value could not be found in the configuration entries for the conduit."},
    {palm::kConduitBufferTooSmall, "The buffer is too small to hold the requested information."},
    {-1009, "The specified structure handle is not valid."},
    {palm::kValueNotSet, "The specified conduit configuration entry value could not be set."},
    {palm::kConduitNotInstalled, "The conduit could not be installed."},
    {palm::kRegistryUnavailable, "Unable to access the Palm configuration entries."},
    {palm::kCreatorInUse,
     "The creator ID that you specified to use as a new creator ID in the configuration entry is "
     "already in use."},
    {-1004, "Not enough memory to perform the requested operation."},
    {palm::kConduitNotFound, "The specified conduit does not exist."},
    {palm::kConduitNotDeleted,
     "The configuration entries for the specified conduit could not be deleted."},
    {-1001, "The specified index value is out of range."},
    {-1000, "An otherwise nonspecific Conduit Manager error occurred."},
    // Install Aide
    {-701, "The PltGetFileCount function does not recognize the extension type."},
    {palm::kUserNotFound, "The specified user name could not be found in the database."},
    {palm::kNullBuffer, "A buffer parameter is NULL."},
    {-515, "A file parameter is not a valid file type for use with the function."},
    {palm::kIndexTooLarge, "An index parameter exceeds the maximum value allowed for the index."},
    {palm::kInvalidInstallFile, "A file passed to the install function is not a valid file."},
    {palm::kAlreadyQueued,
     "An attempt was made to install a file that is already installed in the user\x92s install "
     "directory."},
    {-511, "The path parameter passed to the PltSetPath function is NULL."},
    {palm::kInstallPathUnknown,
     "The requested path information is not stored in the Palm configuration entries. Running "
     "the Palm Desktop installation program corrects this problem."},
    {-509, "The path type parameter value is not a valid path type value."},
    {-507,
     "The value of the index parameter passed to the PltGetFileName function is greater than the "
     "number of files."},
    {palm::kNullFileName,
     "The file name parameter value in a call to the PltInstallFile function is NULL."},
    {palm::kInvalidUserName,
     "The user name parameter value is either NULL or is not a valid user name."},
    {palm::kInstallCopyFailed, "The PltInstallFile function could not copy the file."},
    {-503, "There is no users data file specified in the Palm configuration entries."},
    {palm::kBufferTooSmall,
     "The buffer supplied as a parameter to a function is too small to contain the information "
     "that the function attempted to store."},
    {palm::kUserIndexOutOfRange,
     "The value of the index parameter sent to the PltGetUser function is greater than the "
     "number of users."},
    {-500, "The users data file does not contain any user information."},
    // General and the system's own step codes
    {palm::kNonspecificError, "A nonspecific error occurred."},
    {palm::kOk, "The function call was successful."},
    {palm::kNoConduitManager, "Installation failed, could not find CondMgr.dll\n"},
    {palm::kNoInstallCreator, "Installation failed, CmInstallCreator failed\n"},
    {palm::kNoSetCreatorName, "Installation failed, CmSetCreatorName failed\n"},
    {palm::kNoSetCreatorDirectory, "Installation failed, CmSetCreatorDirectory failed\n"},
    {palm::kNoSetCreatorTitle, "Installation failed, CmSetCreatorTitle failed\n"},
    {palm::kNoHotSyncLibrary,
     "Installation failed, HSAPI.dll not found.  Please Exit and then re-launch the HotSync "
     "Manager to use the Strumlet conduit.\n"},
    {palm::kNoSetAppStatus, "Installation failed, HsSetAppStatus failed\n"},
    {palm::kNoRemoveConduit, "Strumlet conduit removal failed, CmRemoveConduitByCreatorID\n"},
    {palm::kNoCorePath, "Get conduit filepath failed, CmGetCorePath\n"},
    {palm::kCoreFileMissing, "The Strumlet conduit, strumcond.dll, could not be found.\n"},
    {palm::kCopyFailed, "Error copying file."},
    {palm::kNoInstallAide, "Could not locate Instaide.dll to install the Palm application"},
    {palm::kNoGetUserCount, "Install Aide Get User count function not available!"},
    {palm::kNoGetUser, "Install Aide Get User function not available!"},
    {palm::kNoInstallFile, "Install Aide Install File function not available!"},
    // HotSync API
    {palm::kHotSyncNotRunning, "HotSync Manager is not running."},
    {0x10000002,
     "The specified connection type is not one defined in the HotSync API Connection Type "
     "(HSConnectionType) Constants."},
    {0x10000003, "The API cannot communicate with the HotSync Manager."},
    {0x10000004, "The API cannot access configuration entries."},
    {0x10000005, "Unknown HotSync Manager error."},
    {0x10000006, "The API cannot close the HotSync Manager application."},
    {0x10000008, "The API cannot start the HotSync Manager application."},
    {palm::kUnknownAppStatus,
     "The specified connection type status is not one defined in the HotSync API Connection Type "
     "Status Constants."},
};

static_assert(std::is_sorted(std::begin(kRows), std::end(kRows),
                             [](const ErrorRow& a, const ErrorRow& b) { return a.code < b.code; }));

}  // namespace

std::string GetErrorText(int32_t code) {
  const auto row = std::lower_bound(std::begin(kRows), std::end(kRows), code,
                                    [](const ErrorRow& r, int32_t c) { return r.code < c; });
  if (row == std::end(kRows) || row->code != code) return "Unknown CMainFrame error.";
  return CodePageToUtf8(row->text);
}

}  // namespace strumlet
