// The recorder's control tables and menu table: every control and item once, inside its block,
// reached by the tab key once, and every part of the state shown by exactly one fitting control.

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "recorder/recorder_form_controls.h"
#include "recorder/recorder_menu_table.h"

namespace lorix {
namespace {

using K = FormControlKind;

std::vector<std::span<const FormControlRow>> Tables() {
  return {MainFormControlTable(), SoundCardFormControlTable()};
}

TEST(FormControlTables, EveryControlOnceWithItsOwnName) {
  std::map<FormControl, int> ids;
  for (const auto table : Tables()) {
    std::set<std::string> names;
    for (const FormControlRow& row : table) {
      ++ids[row.id];
      EXPECT_TRUE(names.insert(row.name).second) << row.name;
      EXPECT_EQ(&FormControlRowOf(row.id), &row) << row.name;
    }
  }
  for (int i = 0; i < static_cast<int>(FormControl::kCount); ++i) {
    EXPECT_EQ(ids[static_cast<FormControl>(i)], 1) << "control " << i;
  }
  EXPECT_EQ(ids.count(FormControl::kCount), 0u);
}

// A block's rectangle is in the form's client area, the others in their block's coordinates.
TEST(FormControlTables, ControlsSitInsideTheirBlockOrGroupWhichComesFirst) {
  const std::map<const void*, FormRect> client{
      {MainFormControlTable().data(), {0, 0, kMainFormClientWidth, kMainFormClientHeight}},
      {SoundCardFormControlTable().data(),
       {0, 0, kSoundCardFormClientWidth, kSoundCardFormClientHeight}}};
  for (const auto table : Tables()) {
    std::set<FormControl> created;
    for (const FormControlRow& row : table) {
      EXPECT_GT(row.rect.w, 0) << row.name;
      EXPECT_GT(row.rect.h, 0) << row.name;
      created.insert(row.id);
      if (row.block == row.id) {
        EXPECT_TRUE(client.at(table.data()).Contains(row.rect)) << row.name;
        continue;
      }
      ASSERT_TRUE(created.count(row.block)) << row.name;
      const FormControlRow& block = FormControlRowOf(row.block);
      ASSERT_TRUE(block.kind == K::kBlock || block.kind == K::kGroup) << row.name;
      const FormRect area =
          block.block == block.id ? FormRect{0, 0, block.rect.w, block.rect.h} : block.rect;
      EXPECT_TRUE(area.Contains(row.rect)) << row.name << " in " << block.name;
    }
  }
}

TEST(FormControlTables, TheTabKeyReachesEveryTabStopOnceInCreationOrder) {
  for (const auto table : Tables()) {
    std::vector<int> orders;
    for (const FormControlRow& row : table) {
      if (IsTabStop(row.kind)) {
        orders.push_back(row.tab_order);
      } else {
        EXPECT_EQ(row.tab_order, 0) << row.name;
      }
    }
    ASSERT_FALSE(orders.empty());
    for (std::size_t i = 0; i < orders.size(); ++i) {
      EXPECT_EQ(orders[i], static_cast<int>(i) + 1) << "tab stop " << i;
    }
  }
}

TEST(FormControlTables, EachRadioRowStartsAGroupAndStandsForEveryValueOnce) {
  std::map<RadioRow, std::vector<int>> values;
  RadioRow previous = RadioRow::kNone;
  for (const FormControlRow& row : MainFormControlTable()) {
    EXPECT_EQ(row.kind == K::kRadioButton, row.radio_row != RadioRow::kNone) << row.name;
    const bool starts_row = row.radio_row != RadioRow::kNone && row.radio_row != previous;
    // The control after a row starts a group of its own, so the arrow keys stay in the row.
    const bool ends_row =
        previous != RadioRow::kNone && row.radio_row != previous && IsTabStop(row.kind);
    if (row.kind == K::kRadioButton || ends_row) {
      EXPECT_EQ((row.flags & kFormGroupStart) != 0, starts_row || ends_row) << row.name;
    }
    if (row.radio_row != RadioRow::kNone) values[row.radio_row].push_back(row.radio_value);
    if (IsTabStop(row.kind)) previous = row.radio_row;
  }
  const auto sorted = [](std::vector<int> v) {
    std::sort(v.begin(), v.end());
    return v;
  };
  EXPECT_EQ(
      sorted(values[RadioRow::kMailMethod]),
      (std::vector<int>{static_cast<int>(MailMethod::kNone), static_cast<int>(MailMethod::kMapi),
                        static_cast<int>(MailMethod::kSystem)}));
  EXPECT_EQ(sorted(values[RadioRow::kAttachmentKind]),
            (std::vector<int>{static_cast<int>(AttachmentChoice::kProgram),
                              static_cast<int>(AttachmentChoice::kAudio),
                              static_cast<int>(AttachmentChoice::kBoth)}));
}

// Member pointers have no order: each expected one is counted in the rows' list.
template <typename Member>
void ExpectEachOnce(const std::vector<Member>& shown, std::initializer_list<Member> expected) {
  EXPECT_EQ(shown.size(), expected.size());
  for (const Member member : expected) {
    EXPECT_EQ(std::count(shown.begin(), shown.end(), member), 1);
  }
}

template <typename Member>
void Collect(std::vector<Member>& list, Member member) {
  if (member) list.push_back(member);
}

TEST(FormControlTables, EveryPartOfTheStateIsShownByOneFittingControl) {
  using R = RecorderControls;
  std::vector<ControlState R::*> states;
  std::vector<TipPanel R::*> tips;
  std::vector<std::string R::*> texts;
  std::vector<int R::*> positions;
  std::vector<bool R::*> flags;
  std::vector<bool RecorderWindowState::*> window_checked;
  std::vector<bool RecorderWindowState::*> window_visible;
  std::vector<std::string SoundCardTexts::*> card_texts;
  std::vector<bool ErrorLog::*> card_checked;
  std::vector<Block> blocks;
  std::vector<VolumeSlider> volumes;
  std::vector<PlaybackPart> playback;
  for (const auto table : Tables()) {
    for (const FormControlRow& row : table) {
      Collect(states, row.state);
      Collect(tips, row.tip);
      Collect(texts, row.text);
      Collect(positions, row.position);
      Collect(flags, row.checked);
      Collect(flags, row.enabled);
      Collect(flags, row.visible);
      Collect(window_checked, row.window_checked);
      Collect(window_visible, row.window_visible);
      Collect(card_texts, row.card_text);
      Collect(card_checked, row.card_checked);
      if (row.shows_block) blocks.push_back(*row.shows_block);
      if (row.volume) volumes.push_back(*row.volume);
      if (row.playback != PlaybackPart::kNone) playback.push_back(row.playback);

      if (row.state) {
        EXPECT_TRUE(row.kind == K::kButton || row.kind == K::kTrackBar) << row.name;
      }
      if (row.tip) {
        EXPECT_EQ(row.kind, K::kStepTip) << row.name;
      }
      if (row.text) {
        EXPECT_TRUE(row.kind == K::kLabel || row.kind == K::kStatusLine ||
                    row.kind == K::kWaitPanel)
            << row.name;
      }
      if (row.position || row.volume) {
        EXPECT_TRUE(row.kind == K::kTrackBar || row.kind == K::kLevelMeter) << row.name;
      }
      if (row.checked || row.window_checked || row.card_checked) {
        EXPECT_EQ(row.kind, K::kCheckBox) << row.name;
      }
      if (row.shows_block) {
        EXPECT_EQ(row.kind, K::kBlock) << row.name;
      }
      // A toggle button shows whether it is pressed, so the state it follows must say so.
      if (row.flags & kFormToggle) {
        EXPECT_NE(row.state, nullptr) << row.name;
      }
    }
  }
  ExpectEachOnce(states, {&R::ButtonRecordLevelOnOff, &R::ButtonRecord,
                          &R::ButtonComprDecomprAndPlay, &R::ButtonCreateOpenMail,
                          &R::ButtonAndPlayOrig, &R::ButtonAndPlay, &R::ButtonReset, &R::ButtonPlay,
                          &R::ButtonPause, &R::ButtonStop, &R::ScrollbarPlay, &R::ButtonSaveLRXFile,
                          &R::ButtonDecompress, &R::ButtonGraphLRX, &R::ButtonSavePCMFile,
                          &R::ButtonCompress, &R::ButtonGraphPCM, &R::ButtonShowMSINFofMail});
  ExpectEachOnce(
      tips, {&R::PanelTipRecordLevelOnOff, &R::PanelTipRecordLevelOnOffMicro, &R::PanelTipRecord,
             &R::PanelTipComprDecomprAndPlay, &R::PanelTipCreateOpenMail});
  ExpectEachOnce(texts,
                 {&R::LabelSmpsRecorded, &R::LabelRecordedOrLoaded, &R::LabelRecordedWAV_File,
                  &R::LabelKBExpectedLRX, &R::LabelLoadedFile, &R::LabelFreq, &R::LabelMSLRXInfo,
                  &R::LabelMSPCMInfo, &R::LabelPCMInfo, &R::LabelCompressLevel, &R::LabelQuality,
                  &R::LabelMuteLevel, &R::LabelMutePercent, &R::PanelWait, &R::PanelBottom});
  ExpectEachOnce(positions, {&R::TBCompressLevel, &R::TBMuteLevel, &R::DbMeterRecordLevel});
  ExpectEachOnce(flags, {&R::CBAndPlayLRXFile, &R::PanelButtons_enabled, &R::PanelWait_visible});
  // The monitoring box and the slider it shows follow one flag; expert mode shows its buttons.
  ExpectEachOnce(window_checked, {&RecorderWindowState::CBMikeToOutEnabled});
  ExpectEachOnce(window_visible,
                 {&RecorderWindowState::CBMikeToOutEnabled, &RecorderWindowState::expert_mode});
  ExpectEachOnce(card_texts, {&SoundCardTexts::Label_In_Count, &SoundCardTexts::LabelWaveFormat,
                              &SoundCardTexts::ButtonStart});
  ExpectEachOnce(card_checked, {&ErrorLog::CBShowWaveErrors});
  ExpectEachOnce(blocks, {Block::kRecord, Block::kOptionsCompress, Block::kPlay, Block::kPlayStatus,
                          Block::kSpecials});
  ExpectEachOnce(volumes, {VolumeSlider::kScrollbarVolWaveout, VolumeSlider::kScrollBarVolSpeakers,
                           VolumeSlider::kScrollBarRecordLevel, VolumeSlider::kScrollBarMikeOut});
  ExpectEachOnce(playback, {PlaybackPart::kScrollbarPlay, PlaybackPart::kLabelPlayPos,
                            PlaybackPart::kLabelPlayFile, PlaybackPart::kLabelPlayStatus,
                            PlaybackPart::kButtonStartApplication});
}

TEST(FormControlTables, BlocksStackInWindowOrderWithoutOverlap) {
  std::vector<FormRect> stacked;
  for (const FormControlRow& row : MainFormControlTable()) {
    // The wait panel lies over the blocks on purpose.
    if (row.block == row.id && row.kind != K::kWaitPanel) stacked.push_back(row.rect);
  }
  ASSERT_GE(stacked.size(), 2u);
  for (std::size_t i = 1; i < stacked.size(); ++i) {
    EXPECT_GE(stacked[i].y, stacked[i - 1].y + stacked[i - 1].h) << "block " << i;
  }
}

TEST(MainMenuTable, EveryItemOnceInAMenuOfTheBarThatComesFirst) {
  std::map<MenuEntry, int> ids;
  std::set<std::string> names;
  std::set<MenuEntry> menus;
  for (const MenuRow& row : MainMenuTable()) {
    ++ids[row.id];
    EXPECT_TRUE(names.insert(row.name).second) << row.name;
    EXPECT_EQ(&MenuRowOf(row.id), &row) << row.name;
    EXPECT_FALSE(row.caption.empty()) << row.name;
    if (row.parent == row.id) {
      menus.insert(row.id);
      EXPECT_FALSE(row.checkable || row.separator_before || row.expert_only) << row.name;
    } else {
      EXPECT_TRUE(menus.count(row.parent)) << row.name;
    }
  }
  for (int i = 0; i < static_cast<int>(MenuEntry::kCount); ++i) {
    EXPECT_EQ(ids[static_cast<MenuEntry>(i)], 1) << "entry " << i;
  }
}

TEST(MainMenuTable, NoTwoEntriesShareAKey) {
  std::vector<MenuKey> keys;
  for (const MenuRow& row : MainMenuTable()) {
    if (row.key.Empty()) continue;
    // A key is a letter or a function key, never both.
    EXPECT_TRUE((row.key.letter == 0) != (row.key.function_key == 0)) << row.name;
    if (row.key.letter != 0) {
      EXPECT_TRUE(row.key.letter >= 'A' && row.key.letter <= 'Z');
    }
    EXPECT_EQ(std::count(keys.begin(), keys.end(), row.key), 0) << row.name;
    keys.push_back(row.key);
  }
}

}  // namespace
}  // namespace lorix
