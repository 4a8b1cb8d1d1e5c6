// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The C entry points of the four Palm Desktop libraries, as the callers in this folder use them
// and as our own libraries (palmdesktop/) define them. Every text is a zero-terminated byte
// string (our libraries keep names as the UTF-8 their files hold). A "size" argument points to the
// buffer's size in bytes on the way in.

#include <cstdint>

namespace strumlet::palm {

// Buffer sizes the callers hand over first; a library that answers a path does not fit is asked
// again with the room it says it needs (or twice as much).
inline constexpr int32_t kRootDirectorySize = 512;  // UmGetRootDirectory
inline constexpr int32_t kUserNameSize = 64;        // UmGetUserName, PltGetUser
inline constexpr int32_t kUserFolderSize = 260;     // UmGetUserDirectory
inline constexpr int32_t kCorePathSize = 512;       // CmGetCorePath

// The library file names. "UserData.dll" and "CondMgr.dll" are loaded by bare name;
// "Instaide.dll" and "HSAPI.dll" by full path from the core folder.
inline constexpr const char* kUserDataLibrary = "UserData.dll";
inline constexpr const char* kConduitManagerLibrary = "CondMgr.dll";
inline constexpr const char* kHotSyncLibrary = "HSAPI.dll";
inline constexpr const char* kInstallAideLibrary = "Instaide.dll";

// --- Result codes ------------------------------------------------------------------------
// GetErrorText (PalmErrors.h) has the user's text for each.

// Every library: success, and a failure it says nothing more about.
inline constexpr int32_t kOk = 0;
inline constexpr int32_t kNonspecificError = -1;

// The users and the Install Aide.
inline constexpr int32_t kUserIndexOutOfRange = -501;
inline constexpr int32_t kBufferTooSmall = -502;
inline constexpr int32_t kInstallCopyFailed = -504;
inline constexpr int32_t kInvalidUserName = -505;
inline constexpr int32_t kNullFileName = -506;
inline constexpr int32_t kInstallPathUnknown = -510;
inline constexpr int32_t kAlreadyQueued = -512;
inline constexpr int32_t kInvalidInstallFile = -513;
inline constexpr int32_t kIndexTooLarge = -514;
inline constexpr int32_t kNullBuffer = -516;
inline constexpr int32_t kUserNotFound = -553;

// The Conduit Manager.
inline constexpr int32_t kConduitNotDeleted = -1002;
inline constexpr int32_t kConduitNotFound = -1003;
inline constexpr int32_t kCreatorInUse = -1005;
inline constexpr int32_t kRegistryUnavailable = -1006;
inline constexpr int32_t kConduitNotInstalled = -1007;
inline constexpr int32_t kValueNotSet = -1008;
inline constexpr int32_t kConduitBufferTooSmall = -1010;
inline constexpr int32_t kInvalidCreator = -1012;
inline constexpr int32_t kInvalidPointer = -1013;
inline constexpr int32_t kInvalidConduitType = -1015;

// The HotSync API.
inline constexpr int32_t kHotSyncNotRunning = 0x10000001;
inline constexpr int32_t kUnknownAppStatus = 0x10000009;

// Our own steps: CPalmInstaller's results when a library or one of its entry points is not
// there, or a file of the core folder is missing or cannot be copied.
inline constexpr int32_t kNoConduitManager = 1;
inline constexpr int32_t kNoInstallCreator = 2;
inline constexpr int32_t kNoSetCreatorName = 3;
inline constexpr int32_t kNoSetCreatorDirectory = 4;
inline constexpr int32_t kNoSetCreatorTitle = 5;
inline constexpr int32_t kNoHotSyncLibrary = 6;
inline constexpr int32_t kNoSetAppStatus = 7;
inline constexpr int32_t kNoRemoveConduit = 8;
inline constexpr int32_t kNoCorePath = 9;
inline constexpr int32_t kCoreFileMissing = 10;
inline constexpr int32_t kCopyFailed = 11;
inline constexpr int32_t kNoInstallAide = 12;
inline constexpr int32_t kNoGetUserCount = 13;
inline constexpr int32_t kNoGetUser = 14;
inline constexpr int32_t kNoInstallFile = 15;
// PalmUserDirectory's: the user-data library cannot be loaded (beyond the table of texts), the
// root cannot be read, an entry point for listing the users is missing (the numbers of the
// installer's steps that fail alike).
inline constexpr int32_t kNoUserDataLibrary = 16;
inline constexpr int32_t kNoRootDirectory = kNoCorePath;
inline constexpr int32_t kNoUserCountEntry = kNoGetUserCount;
inline constexpr int32_t kNoUserNameEntry = kNoGetUser;
// CPalmInstaller's: a library of the core folder was not loaded since other users could have
// changed it (the installer's message names the file and why; no text of the table).
inline constexpr int32_t kUntrustedLibrary = 17;

// Arguments with a meaning of their own.
inline constexpr int32_t kApplicationConduit = 0;  // CmInstallCreator's conduit types
inline constexpr int32_t kSystemConduit = 1;
inline constexpr int32_t kRestartHotSync = 2;  // HsSetAppStatus
// CmRemoveConduitByCreatorID: besides kOk, this too means removed.
inline constexpr int32_t kConduitRemoved = 1;

// Result codes our own Palm Desktop libraries give beyond the Palm Desktop's.
//
// UmAddUser: the users file is there but could not be read whole (unreadable, or too large), so
// it was left as it is and nobody was added.
inline constexpr int32_t kUsersFileUnreadable = -2;
// PltInstallFile for the J-Pilot handheld: J-Pilot's install list ("jpilot.install") could not
// be locked, read or added to; the list is as it was.
inline constexpr int32_t kJPilotListNotWritten = -590;

}  // namespace strumlet::palm

extern "C" {

// --- UserData.dll: the Palm Desktop users -------------------------------------------------

// Fills `buffer` with the root of the user folders. Non-zero: success; 0: failure (the buffer
// then holds a zero-terminated text, possibly empty).
typedef int32_t (*UmGetRootDirectoryFn)(char* buffer, int32_t* size);
// The number of users; callers use only its low 16 bits, as a signed number.
typedef int32_t (*UmGetUserCountFn)(void);
// The id of the user at `index` (0 to count - 1). 0: success.
typedef int32_t (*UmGetUserIDFn)(int32_t index, uint32_t* userId);
// The name of user `userId`. Greater than 0: the buffer holds the name; 0: no such user, stop;
// negative: an error code.
typedef int32_t (*UmGetUserNameFn)(uint32_t userId, char* buffer, int32_t* size);
// The id of the user called `name`. 0: found.
typedef int32_t (*UmGetIDFromNameFn)(const char* name, uint32_t* userId);
// The folder of user `userId`, relative to the root. 0: success.
typedef int32_t (*UmGetUserDirectoryFn)(uint32_t userId, char* buffer, int32_t* size);
// Ours only, for strumlet-palm: adds a user called `name` (at most 63 bytes) with its folders.
// kOk: added, `userId` filled; kInvalidUserName: an unusable name; kUsersFileUnreadable: the
// users file could not be read whole; kNonspecificError: the name is taken or the users file
// cannot be written.
typedef int32_t (*UmAddUserFn)(const char* name, uint32_t* userId);

// --- Instaide.dll: the Install Aide --------------------------------------------------------

// The number of users; 0 or less: none.
typedef int32_t (*PltGetUserCountFn)(void);
// The name of the user at `index`. Greater than 0: the buffer holds the name; 0: no more users;
// negative: an error code.
typedef int32_t (*PltGetUserFn)(int32_t index, char* buffer, int32_t* size);
// Queues the file at `path` for user `userName`'s next sync. 0: queued; else an error code
// (ours also kJPilotListNotWritten).
typedef int32_t (*PltInstallFileFn)(const char* userName, const char* path);

// --- CondMgr.dll: the Conduit Manager ------------------------------------------------------

// Fills `buffer` with the core folder, without a trailing separator. 0: success.
typedef int32_t (*CmGetCorePathFn)(char* buffer, int32_t* size);
// Creates the conduit entry of `creator` (a four-character text) of conduit type `type`.
// 0: success; kCreatorInUse: the creator is registered already.
typedef int32_t (*CmInstallCreatorFn)(const char* creator, int32_t type);
// Set one value of the entry of `creator`. 0: success.
typedef int32_t (*CmSetCreatorNameFn)(const char* creator, const char* name);
typedef int32_t (*CmSetCreatorDirectoryFn)(const char* creator, const char* directory);
typedef int32_t (*CmSetCreatorTitleFn)(const char* creator, const char* title);
// Removes the entry of `creator`. 0 or 1: removed; else an error code.
typedef int32_t (*CmRemoveConduitByCreatorIDFn)(const char* creator);

// --- HSAPI.dll: the HotSync API ------------------------------------------------------------

// Asks the sync program to change state (2: restart). 0: done; else an error code.
typedef int32_t (*HsSetAppStatusFn)(int32_t status, uint32_t flags);

}  // extern "C"
