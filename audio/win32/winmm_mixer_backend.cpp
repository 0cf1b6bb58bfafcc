#include "audio/win32/winmm_mixer_backend.h"

// windows.h first: the other system headers build on it.
#include <windows.h>

#include <mmsystem.h>

#include "codec/win32/wide_text.h"

namespace lorix {
namespace {

// Mixer device 0, passed directly as the mixer object.
HMIXEROBJ Device() {
  return reinterpret_cast<HMIXEROBJ>(static_cast<UINT_PTR>(0));
}

std::optional<MIXERCONTROLW> FetchControl(std::uint32_t id, MIXERLINEW& line) {
  MIXERCONTROLW control{};
  control.cbStruct = sizeof(control);
  MIXERLINECONTROLSW controls{};
  controls.cbStruct = sizeof(controls);
  controls.dwControlID = id;
  controls.cControls = 1;
  controls.cbmxctrl = sizeof(control);
  controls.pamxctrl = &control;
  if (mixerGetLineControlsW(Device(), &controls,
                            MIXER_OBJECTF_MIXER | MIXER_GETLINECONTROLSF_ONEBYID) !=
      MMSYSERR_NOERROR) {
    return std::nullopt;
  }
  line = MIXERLINEW{};
  line.cbStruct = sizeof(line);
  line.dwLineID = controls.dwLineID;
  if (mixerGetLineInfoW(Device(), &line, MIXER_OBJECTF_MIXER | MIXER_GETLINEINFOF_LINEID) !=
      MMSYSERR_NOERROR) {
    return std::nullopt;
  }
  return control;
}

// The value record for `items` items of `channels` channels, `size` bytes each.
MIXERCONTROLDETAILS Details(std::uint32_t id, DWORD channels, DWORD items, DWORD size, void* data) {
  MIXERCONTROLDETAILS details{};
  details.cbStruct = sizeof(details);
  details.dwControlID = id;
  details.cChannels = channels;
  details.cMultipleItems = items;
  details.cbDetails = size;
  details.paDetails = data;
  return details;
}

// Channels and items of a list control, as its line and the control itself give them.
bool ListShape(std::uint32_t id, DWORD& channels, DWORD& items) {
  MIXERLINEW line;
  const std::optional<MIXERCONTROLW> control = FetchControl(id, line);
  if (!control) return false;
  channels = (control->fdwControl & MIXERCONTROL_CONTROLF_UNIFORM) ? 1 : line.cChannels;
  items = control->cMultipleItems;
  return items > 0;
}

}  // namespace

std::optional<MixerControlInfo> WinmmMixerBackend::GetControl(std::uint32_t id) {
  MIXERLINEW line;
  const std::optional<MIXERCONTROLW> control = FetchControl(id, line);
  if (!control) return std::nullopt;
  MixerControlInfo info;
  info.id = id;
  info.control_type = control->dwControlType;
  info.component_type = line.dwComponentType;
  info.destination = line.dwDestination;
  info.channels = line.cChannels;
  info.items = control->cMultipleItems;
  return info;
}

std::optional<std::uint32_t> WinmmMixerBackend::ReadValue(std::uint32_t id) {
  MIXERCONTROLDETAILS_UNSIGNED value{};
  MIXERCONTROLDETAILS details = Details(id, 1, 0, sizeof(value), &value);
  if (mixerGetControlDetailsW(Device(), &details,
                              MIXER_OBJECTF_MIXER | MIXER_GETCONTROLDETAILSF_VALUE) !=
      MMSYSERR_NOERROR) {
    return std::nullopt;
  }
  return value.dwValue;
}

bool WinmmMixerBackend::WriteValue(std::uint32_t id, std::uint32_t value) {
  MIXERCONTROLDETAILS_UNSIGNED record{value};
  MIXERCONTROLDETAILS details = Details(id, 1, 0, sizeof(record), &record);
  return mixerSetControlDetails(Device(), &details,
                                MIXER_OBJECTF_MIXER | MIXER_SETCONTROLDETAILSF_VALUE) ==
         MMSYSERR_NOERROR;
}

std::optional<std::vector<MixerListItem>> WinmmMixerBackend::ReadListItems(std::uint32_t id) {
  DWORD channels = 0, items = 0;
  if (!ListShape(id, channels, items)) return std::nullopt;
  std::vector<MIXERCONTROLDETAILS_LISTTEXTW> texts(static_cast<std::size_t>(channels) * items);
  MIXERCONTROLDETAILS details =
      Details(id, channels, items, sizeof(MIXERCONTROLDETAILS_LISTTEXTW), texts.data());
  if (mixerGetControlDetailsW(Device(), &details,
                              MIXER_OBJECTF_MIXER | MIXER_GETCONTROLDETAILSF_LISTTEXT) !=
      MMSYSERR_NOERROR) {
    return std::nullopt;
  }
  std::vector<MixerListItem> list;
  for (DWORD i = 0; i < items; ++i) list.push_back({Narrow(texts[i].szName), texts[i].dwParam2});
  return list;
}

std::optional<std::vector<std::uint32_t>> WinmmMixerBackend::ReadListValues(std::uint32_t id) {
  DWORD channels = 0, items = 0;
  if (!ListShape(id, channels, items)) return std::nullopt;
  std::vector<MIXERCONTROLDETAILS_BOOLEAN> values(static_cast<std::size_t>(channels) * items);
  MIXERCONTROLDETAILS details =
      Details(id, channels, items, sizeof(MIXERCONTROLDETAILS_BOOLEAN), values.data());
  if (mixerGetControlDetailsW(Device(), &details,
                              MIXER_OBJECTF_MIXER | MIXER_GETCONTROLDETAILSF_VALUE) !=
      MMSYSERR_NOERROR) {
    return std::nullopt;
  }
  std::vector<std::uint32_t> list;
  for (DWORD i = 0; i < items; ++i) list.push_back(values[i].fValue ? 1 : 0);
  return list;
}

bool WinmmMixerBackend::WriteListValues(std::uint32_t id,
                                        const std::vector<std::uint32_t>& values) {
  // One channel: the selection applies to all of them.
  std::vector<MIXERCONTROLDETAILS_BOOLEAN> records;
  for (const std::uint32_t value : values) records.push_back({static_cast<LONG>(value)});
  MIXERCONTROLDETAILS details = Details(id, 1, static_cast<DWORD>(records.size()),
                                        sizeof(MIXERCONTROLDETAILS_BOOLEAN), records.data());
  return mixerSetControlDetails(Device(), &details,
                                MIXER_OBJECTF_MIXER | MIXER_SETCONTROLDETAILSF_VALUE) ==
         MMSYSERR_NOERROR;
}

}  // namespace lorix
