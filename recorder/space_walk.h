#pragma once

// The space bar walks through the four steps: which step a press runs, derived from the
// controls and the workflow state alone.

#include "recorder/recorder_controls.h"
#include "recorder/workflow_state.h"

namespace lorix {

enum class SpaceStep {
  kNone,
  kRecordLevelOnOff,     // step 1
  kRecord,               // step 2, ButtonRecord as sender
  kComprDecomprAndPlay,  // step 3
  kCreateOpenMail,       // step 4
};

// The first open one of: step 4; step 3; step 2 while the level display is on; step 1.
SpaceStep SpaceBarStep(const RecorderControls& controls, const WorkflowState& state);

}  // namespace lorix
