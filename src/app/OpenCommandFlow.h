#pragma once

#include <optional>
#include <string>

#include "app/ProfileStore.h"
#include "html/ProcessingSettings.h"

class QWidget;

namespace strumlet {

// The Open command up to the opening: the stored values proposed (with `proposedPath` in the
// path box when not empty), and on OK the choices stored, copied into `settings` and the output
// folder made. The path to open, or nothing when the user cancelled.
std::optional<std::string> ChooseOpenPath(QWidget* parent, ProfileStore& store,
                                          ProcessingSettings& settings,
                                          const std::string& proposedPath);

// The settings a path named on the command line is converted with: what the Open command would
// propose, nothing stored. Also makes the output folder.
ProcessingSettings ProposedOpenSettings(ProfileStore& store);

// The path settings command (default path and font file).
void ChoosePathSettings(QWidget* parent, ProfileStore& store, ProcessingSettings& settings);

// Whether the path settings command can run yet.
bool PathSettingsAvailable();

}  // namespace strumlet
