#include "audio/alsa_mixer_layout.h"

#include <cctype>
#include <optional>

namespace lorix {

namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

// The words of a name, lower-cased, split at everything but letters and digits.
std::vector<std::string> Words(std::string_view name) {
  std::vector<std::string> words;
  std::string word;
  for (const char c : Lower(name)) {
    if (std::isalnum(static_cast<unsigned char>(c))) {
      word += c;
    } else if (!word.empty()) {
      words.push_back(std::move(word));
      word.clear();
    }
  }
  if (!word.empty()) words.push_back(std::move(word));
  return words;
}

bool HasWordStartingWith(const std::vector<std::string>& words, std::string_view prefix) {
  for (const std::string& word : words) {
    if (word.rfind(prefix, 0) == 0) return true;
  }
  return false;
}

bool NameIs(const MixerElementCaps& element, std::string_view name) {
  return Lower(element.name) == Lower(name);
}

std::optional<std::size_t> FindNamed(const std::vector<MixerElementCaps>& elements,
                                     std::string_view name) {
  for (std::size_t i = 0; i < elements.size(); ++i) {
    if (NameIs(elements[i], name)) return i;
  }
  return std::nullopt;
}

// The element that carries the microphone's monitoring level: the first microphone element
// with a playback volume, preferring one that is not a boost (input gain) element.
std::optional<std::size_t> FindPlaybackMicrophone(const std::vector<MixerElementCaps>& elements) {
  std::optional<std::size_t> boost;
  for (std::size_t i = 0; i < elements.size(); ++i) {
    const MixerElementCaps& element = elements[i];
    if (!element.playback_volume || SourceComponentType(element.name) != kComponentSrcMicrophone) {
      continue;
    }
    if (!HasWordStartingWith(Words(element.name), "boost")) return i;
    if (!boost) boost = i;
  }
  return boost;
}

class Planner {
 public:
  explicit Planner(const std::vector<MixerElementCaps>& elements) : elements_(elements) {}

  void AddPlayback(std::size_t element, std::uint32_t component_type) {
    const MixerElementCaps& caps = elements_[element];
    if (caps.playback_volume) {
      Add(kControlTypeVolume, component_type, kDestinationPlayback, caps.playback_channels,
          ElementAccess::kPlaybackVolume, element);
    }
    if (caps.playback_switch) {
      Add(kControlTypeMute, component_type, kDestinationPlayback, caps.playback_channels,
          ElementAccess::kPlaybackMute, element);
    }
  }

  void AddCapture(std::size_t element) {
    const MixerElementCaps& caps = elements_[element];
    if (caps.capture_volume) {
      Add(kControlTypeVolume, kComponentDstVoiceIn, kDestinationRecording, caps.capture_channels,
          ElementAccess::kCaptureVolume, element);
      Add(kControlTypeVolume, kComponentSrcMicrophone, kDestinationRecording, caps.capture_channels,
          ElementAccess::kCaptureVolume, element);
    }
    if (caps.capture_switch) {
      Add(kControlTypeMute, kComponentSrcMicrophone, kDestinationRecording, caps.capture_channels,
          ElementAccess::kCaptureMute, element);
    }
  }

  void AddSourceEnum(std::size_t element) {
    const MixerElementCaps& caps = elements_[element];
    if (caps.enum_items.empty()) return;
    PlannedMixerControl& control =
        Add(kControlTypeMux, kComponentDstWaveIn, kDestinationRecording, caps.capture_channels,
            ElementAccess::kCaptureSourceEnum, element);
    for (const std::string& item : caps.enum_items) {
      control.items.push_back({item, SourceComponentType(item)});
    }
    control.info.items = static_cast<std::uint32_t>(control.items.size());
  }

  void AddSourceSwitches(const std::vector<std::size_t>& switches) {
    if (switches.empty()) return;
    PlannedMixerControl& control =
        Add(kControlTypeMixer, kComponentDstWaveIn, kDestinationRecording, 1,
            ElementAccess::kCaptureSwitches, switches.front());
    control.elements = switches;
    for (const std::size_t element : switches) {
      control.items.push_back(
          {elements_[element].name, SourceComponentType(elements_[element].name)});
    }
    control.info.items = static_cast<std::uint32_t>(control.items.size());
  }

  std::vector<PlannedMixerControl> Take() { return std::move(controls_); }

 private:
  PlannedMixerControl& Add(std::uint32_t control_type, std::uint32_t component_type,
                           std::uint32_t destination, std::uint32_t channels, ElementAccess access,
                           std::size_t element) {
    PlannedMixerControl control;
    control.info = {static_cast<std::uint32_t>(controls_.size()),
                    control_type,
                    component_type,
                    destination,
                    channels == 0 ? 1 : channels,
                    0};
    control.access = access;
    control.elements = {element};
    controls_.push_back(std::move(control));
    return controls_.back();
  }

  const std::vector<MixerElementCaps>& elements_;
  std::vector<PlannedMixerControl> controls_;
};

}  // namespace

std::uint32_t SourceComponentType(std::string_view name) {
  const std::vector<std::string> words = Words(name);
  if (HasWordStartingWith(words, "mic") || HasWordStartingWith(words, "mikro")) {
    return kComponentSrcMicrophone;
  }
  if (HasWordStartingWith(words, "line")) return kComponentSrcLine;
  for (const std::string& word : words) {
    if (word == "cd") return kComponentSrcCompactDisc;
  }
  if (HasWordStartingWith(words, "aux")) return kComponentSrcAuxiliary;
  if (HasWordStartingWith(words, "spdif") || HasWordStartingWith(words, "iec958") ||
      HasWordStartingWith(words, "digital")) {
    return kComponentSrcDigital;
  }
  return kComponentSrcUndefined;
}

std::vector<PlannedMixerControl> PlanMixerControls(const std::vector<MixerElementCaps>& elements) {
  Planner planner(elements);
  if (const auto master = FindNamed(elements, "Master")) {
    planner.AddPlayback(*master, kComponentDstSpeakers);
  }
  if (const auto pcm = FindNamed(elements, "PCM")) {
    planner.AddPlayback(*pcm, kComponentSrcWaveOut);
  }
  if (const auto microphone = FindPlaybackMicrophone(elements)) {
    planner.AddPlayback(*microphone, kComponentSrcMicrophone);
  }
  if (const auto capture = FindNamed(elements, "Capture")) {
    planner.AddCapture(*capture);
  }
  bool has_source_enum = false;
  for (std::size_t i = 0; i < elements.size(); ++i) {
    if (elements[i].capture_enum) {
      planner.AddSourceEnum(i);
      has_source_enum = true;
    }
  }
  if (!has_source_enum) {
    // The "Capture" element's switch turns all recording on or off; it selects no source.
    std::vector<std::size_t> switches;
    for (std::size_t i = 0; i < elements.size(); ++i) {
      if (elements[i].capture_switch && !NameIs(elements[i], "Capture")) switches.push_back(i);
    }
    planner.AddSourceSwitches(switches);
  }
  return planner.Take();
}

}  // namespace lorix
