// Writes the Windows player's icon files, made from the same pictures the Linux player draws:
//   lorix_player_icons FOLDER  ->  FOLDER/MAINICON.ico, PLAY.ico, ... SPEAKER.ico

#include <cstdio>
#include <string>

#include "player/window/player_pictures.h"
#include "player/window_win32/icons/ico_file.h"

int main(int argc, char** argv) {
  using lorix::PlayerIcon;
  if (argc != 2) {
    std::fputs("usage: lorix_player_icons FOLDER\n", stderr);
    return 2;
  }
  const struct {
    PlayerIcon icon;
    const char* name;
  } icons[] = {{PlayerIcon::kMainIcon, "MAINICON"}, {PlayerIcon::kPlay, "PLAY"},
               {PlayerIcon::kPause, "PAUSE"},       {PlayerIcon::kPausing, "PAUSING"},
               {PlayerIcon::kStop, "STOP"},         {PlayerIcon::kLorix, "LORIX"},
               {PlayerIcon::kMixer, "MIXER"},       {PlayerIcon::kSpeaker, "SPEAKER"}};
  for (const auto& entry : icons) {
    const std::string path = std::string(argv[1]) + "/" + entry.name + ".ico";
    const auto bytes = lorix::SixteenColourIcon(lorix::PlayerPicture(entry.icon));
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() ||
        std::fclose(file) != 0) {
      std::fprintf(stderr, "lorix_player_icons: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
