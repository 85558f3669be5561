#include "tools/assets/generate.h"

#include <filesystem>
#include <system_error>

#include "platform/bitmap_file.h"
#include "tools/assets/pictures.h"
#include "tools/assets/sounds.h"
#include "tools/assets/wave_writer.h"

namespace art {

namespace {

struct PictureJob {
  const char* file;
  Canvas (*build)();
  int width;
  int height;
};

const PictureJob kPictures[] = {
    {"Jewels.bmp", JewelSheet, 224, 32},
    {"explosion32.bmp", ExplosionSheet, 352, 32},
    {"font.bmp", LargeFontSheet, 352, 128},
    {"BKF-FONT.bmp", SmallFontSheet, 320, 48},
    {"MainScreen.bmp", TitlePicture, 640, 480},
    {"HowTo.bmp", HowToPicture, 640, 480},
    {"Highscore.bmp", HighScoreHeading, 372, 150},
    {"Game_Over.bmp", GameOverSprite, 360, 150},
    {"GetReady.bmp", GetReadySprite, 226, 38},
    {"Cursor.bmp", CursorSprite, 32, 32},
    {"Icon.bmp", WindowIcon, 64, 64},
};

struct SoundJob {
  const char* file;
  Sound (*build)();
};

const SoundJob kSounds[] = {
    {"Stakko.wav", TitleMusic},
    {"Nu Battle.wav", PlayMusic},
    {"Explosion.wav", ExplosionEffect},
    {"Drop.wav", DropEffect},
    {"HighScore.wav", HighScoreFanfare},
    {"awwww.wav", MissEffect},
};

}  // namespace

bool GenerateAssets(const std::string& runDir, std::string* error) {
  namespace fs = std::filesystem;
  const fs::path graphics = fs::path(runDir) / "graphics";
  const fs::path sound = fs::path(runDir) / "Sound";
  std::error_code ec;
  fs::create_directories(graphics, ec);
  fs::create_directories(sound, ec);
  if (!fs::is_directory(graphics) || !fs::is_directory(sound)) {
    *error = "cannot create " + graphics.string() + " and " + sound.string();
    return false;
  }
  for (const PictureJob& job : kPictures) {
    const Canvas picture = job.build();
    // The game cuts its pictures at fixed places, so a wrong size is a bug
    // here, not something to paper over.
    if (picture.width() != job.width || picture.height() != job.height) {
      *error = std::string(job.file) + " came out at the wrong size";
      return false;
    }
    const std::string path = (graphics / job.file).string();
    if (!platform::WriteBitmap24(path, picture.pixels().data(), picture.width(), picture.height())) {
      *error = "cannot write " + path;
      return false;
    }
  }
  for (const SoundJob& job : kSounds) {
    const Sound s = job.build();
    std::string problem;
    if (!CheckSound(s, &problem)) {
      *error = std::string(job.file) + ": " + problem;
      return false;
    }
    const std::string path = (sound / job.file).string();
    if (!WriteWave(path, s)) {
      *error = "cannot write " + path;
      return false;
    }
  }
  return true;
}

}  // namespace art
