#include "recorder/space_walk.h"

namespace lorix {

SpaceStep SpaceBarStep(const RecorderControls& controls, const WorkflowState& state) {
  if (controls.ButtonCreateOpenMail.enabled) return SpaceStep::kCreateOpenMail;
  // Step 3 is open while a recording runs, so the space bar stops and compresses it.
  if (controls.ButtonComprDecomprAndPlay.enabled) return SpaceStep::kComprDecomprAndPlay;
  if (state.LevelMeterOn && controls.ButtonRecord.enabled) return SpaceStep::kRecord;
  if (controls.ButtonRecordLevelOnOff.enabled) return SpaceStep::kRecordLevelOnOff;
  return SpaceStep::kNone;
}

}  // namespace lorix
