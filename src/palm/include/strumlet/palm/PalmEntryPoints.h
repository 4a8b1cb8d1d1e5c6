#pragma once

// The C entry points of the four Palm Desktop libraries, as the callers in this folder use them
// and as our own libraries (palmdesktop/) define them. Every text is a zero-terminated byte
// string (our libraries keep names as the UTF-8 their files hold). A "size" argument points to the
// buffer's size in bytes on the way in.

#include <cstdint>

namespace strumlet::palm {

// Buffer sizes the callers hand over.
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
// 0: added, `userId` filled; -505: an unusable name; kUsersFileUnreadable: the users file could
// not be read whole; -1: the name is taken or the users file cannot be written.
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
// 0: success; -1005: the creator is registered already.
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
