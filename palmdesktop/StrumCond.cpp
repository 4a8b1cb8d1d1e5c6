// SPDX-FileCopyrightText: 2026 The StrumletViewer developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// strumcond.dll: the Strumlet conduit as registered for creator "STRM". The sync itself is the
// sync program's: the Strumlet databases are backed up with the handheld's other databases, and
// the converter reads them from the backup folder. The conduit names itself so that a registry
// entry can be checked against the file it points to.

#include <cstdint>
#include <cstring>

#include "Export.h"
#include "PalmHome.h"

namespace palm = strumlet::palm;

PALM_EXPORT int32_t GetConduitName(char* buffer, int32_t* size) {
  return strumlet::palmdesktop::PutText("Strumlet Conduit", buffer, size)
             ? palm::kOk
             : palm::kConduitBufferTooSmall;
}

PALM_EXPORT uint32_t GetConduitVersion(void) { return 0x0100; }
