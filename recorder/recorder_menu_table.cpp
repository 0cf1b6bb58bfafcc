#include "recorder/recorder_menu_table.h"

#include <array>

namespace lorix {
namespace {

using M = MenuEntry;

constexpr MenuKey Ctrl(char letter) {
  return {.ctrl = true, .letter = letter};
}
constexpr MenuKey Alt(char letter) {
  return {.alt = true, .letter = letter};
}
constexpr MenuKey CtrlAlt(char letter) {
  return {.ctrl = true, .alt = true, .letter = letter};
}

constexpr std::array<MenuRow, static_cast<std::size_t>(M::kCount)> kRows{{
    {.id = M::kMDatei, .name = "MDatei", .parent = M::kMDatei, .caption = "&Datei"},
    {.id = M::kMDBeenden,
     .name = "MDBeenden",
     .parent = M::kMDatei,
     .caption = "&Beenden",
     .key = {.alt = true, .function_key = 4}},
    {.id = M::kMEinstellungen,
     .name = "MEinstellungen",
     .parent = M::kMEinstellungen,
     .caption = "&Einstellungen",
     .key = Ctrl('O')},
    {.id = M::kMIOnStartSelectMike,
     .name = "MIOnStartSelectMike",
     .parent = M::kMEinstellungen,
     .caption = "Bei Start Mikrophon auswählen",
     .checkable = true},
    {.id = M::kMIOnStartSetMinVols,
     .name = "MIOnStartSetMinVols",
     .parent = M::kMEinstellungen,
     .caption = "Bei Start Mindest-Lautstärken aus INI-Datei einstellen",
     .checkable = true},
    {.id = M::kMIConfirmReset,
     .name = "MIConfirmReset",
     .parent = M::kMEinstellungen,
     .caption = "Bestätigung bei \"Aufnahme zurücksetzen\"",
     .checkable = true},
    {.id = M::kMIAutoSavePrefs,
     .name = "MIAutoSavePrefs",
     .parent = M::kMEinstellungen,
     .caption = "Allgemeine Einstellungen bei Beenden immer speichern",
     .checkable = true},
    {.id = M::kMAnzeige, .name = "MAnzeige", .parent = M::kMAnzeige, .caption = "&Anzeige"},
    {.id = M::kMAPanelRecord,
     .name = "MAPanelRecord",
     .parent = M::kMAnzeige,
     .caption = "&Aufnahme-Block",
     .key = Ctrl('A'),
     .checkable = true},
    {.id = M::kMAPanelPlay,
     .name = "MAPanelPlay",
     .parent = M::kMAnzeige,
     .caption = "&Wiedergabe-Block",
     .key = Ctrl('W'),
     .checkable = true},
    {.id = M::kMAPanelOptionsCompress,
     .name = "MAPanelOptionsCompress",
     .parent = M::kMAnzeige,
     .caption = "&Kompressions-Einstellungen",
     .key = Ctrl('K'),
     .checkable = true},
    {.id = M::kMAPanelPlayStatus,
     .name = "MAPanelPlayStatus",
     .parent = M::kMAnzeige,
     .caption = "&Statuszeile Wiedergabe",
     .key = Ctrl('S'),
     .checkable = true},
    {.id = M::kMAPanelSpecials,
     .name = "MAPanelSpecials",
     .parent = M::kMAnzeige,
     .caption = "Zusätzliche &Datei-Infos",
     .key = Ctrl('D'),
     .checkable = true},
    {.id = M::kMAFormLorixSK,
     .name = "MAFormLorixSK",
     .parent = M::kMAnzeige,
     .caption = "FormLorixS&K",
     .key = CtrlAlt('K'),
     .checkable = true,
     .separator_before = true,
     .expert_only = true},
    {.id = M::kMAAlwaysOnTop,
     .name = "MAAlwaysOnTop",
     .parent = M::kMAnzeige,
     .caption = "LORIX immer im &Vordergrund",
     .key = Ctrl('V'),
     .checkable = true},
    {.id = M::kMSpeziell, .name = "MSpeziell", .parent = M::kMSpeziell, .caption = "&Speziell"},
    {.id = M::kMTLoadRec,
     .name = "MTLoadRec",
     .parent = M::kMSpeziell,
     .caption = "Aufnahme laden / I&mportieren ...",
     .key = Alt('M')},
    {.id = M::kMTSaveRec,
     .name = "MTSaveRec",
     .parent = M::kMSpeziell,
     .caption = "Aufnahme e&xportieren unter ...",
     .key = Alt('X')},
    {.id = M::kMSShowWinMixerRecord,
     .name = "MSShowWinMixerRecord",
     .parent = M::kMSpeziell,
     .caption = "System-Mixer &Aufnahme",
     .key = Alt('A'),
     .separator_before = true},
    {.id = M::kMSShowWinMixerPlay,
     .name = "MSShowWinMixerPlay",
     .parent = M::kMSpeziell,
     .caption = "System-Mixer &Wiedergabe",
     .key = Alt('W')},
    {.id = M::kMSShowExplorer,
     .name = "MSShowExplorer",
     .parent = M::kMSpeziell,
     .caption = "&Explorer (erstellte Mail-Anhänge)",
     .key = Alt('E')},
    {.id = M::kMSExpertMode,
     .name = "MSExpertMode",
     .parent = M::kMSpeziell,
     .caption = "E&xpertMode",
     .key = CtrlAlt('X'),
     .checkable = true,
     .separator_before = true,
     .expert_only = true},
    {.id = M::kMFragezeichen, .name = "MFragezeichen", .parent = M::kMFragezeichen, .caption = "?"},
    {.id = M::kMIHilfe,
     .name = "MIHilfe",
     .parent = M::kMFragezeichen,
     .caption = "Hilfe",
     .key = {.function_key = 1}},
    {.id = M::kMIInfo,
     .name = "MIInfo",
     .parent = M::kMFragezeichen,
     .caption = "Info",
     .key = Alt('I')},
}};

}  // namespace

std::span<const MenuRow> MainMenuTable() {
  return kRows;
}

const MenuRow& MenuRowOf(MenuEntry id) {
  for (const MenuRow& row : kRows) {
    if (row.id == id) return row;
  }
  // Every entry but kCount has a row (the table test checks it).
  return kRows.front();
}

}  // namespace lorix
