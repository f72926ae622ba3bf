// The committed data files are exactly what the generator makes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <unistd.h>

#include "generate.h"

namespace fs = std::filesystem;

static std::vector<char> bytesOf(const fs::path &p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Makes the files into a scratch folder and compares each with the committed one.
static void expectSameAsCommitted(const std::vector<DataFile> &files,
                                  bool (*generate)(const std::string &),
                                  const fs::path &committedDir, const char *how) {
  fs::path tmp = fs::temp_directory_path() / ("zyart-" + std::to_string(::getpid()));
  fs::create_directories(tmp / "audio");
  ASSERT_TRUE(generate(tmp.string()));
  for (const DataFile &f : files) {
    SCOPED_TRACE(f.name);
    std::vector<char> made = bytesOf(tmp / f.name), committed = bytesOf(committedDir / f.name);
    EXPECT_FALSE(made.empty());
    EXPECT_EQ(made.size(), committed.size());
    EXPECT_TRUE(made == committed) << "regenerate with: " << how;
  }
  fs::remove_all(tmp);
}

TEST(Regenerate, SameBytesAsCommitted) {
  expectSameAsCommitted(dataFiles(), generateAll, "data", "zyart data");
}

TEST(Regenerate, IconsSameBytesAsCommitted) {
  expectSameAsCommitted(iconFiles(), generateIcons, ZYPHORA_ICON_DIR, "zyart --icons dist/icons");
}

TEST(Regenerate, EveryIconSizeIsMade) {
  std::set<std::string> names;
  for (const DataFile &f : iconFiles()) names.insert(f.name);
  for (const char *n : {"hicolor/32x32/apps/zyphora.png", "hicolor/48x48/apps/zyphora.png",
                        "hicolor/128x128/apps/zyphora.png", "hicolor/256x256/apps/zyphora.png",
                        "hicolor/scalable/apps/zyphora.svg"})
    EXPECT_EQ(names.count(n), 1u) << n;
  EXPECT_EQ(names.size(), 5u);
}

TEST(Regenerate, EveryGameFileIsMade) {
  // The sheets, the backgrounds, the icon, fifteen effects and two music tracks.
  std::set<std::string> names;
  for (const DataFile &f : dataFiles()) names.insert(f.name);
  for (const char *n : {"menu.tga",
                        "sprites.tga",
                        "background1.tga",
                        "background2.tga",
                        "icon.png",
                        "audio/ching.ogg",
                        "audio/menuselect.ogg",
                        "audio/scrollmenu.ogg",
                        "audio/shotennemy1.ogg",
                        "audio/validated.ogg",
                        "audio/shothero.ogg",
                        "audio/alienarrival.ogg",
                        "audio/welcomgame.ogg",
                        "audio/alienexplo.ogg",
                        "audio/bonusappear.ogg",
                        "audio/gotbonus.wav",
                        "audio/hitshell.ogg",
                        "audio/changebg.ogg",
                        "audio/herohit.ogg",
                        "audio/smartbomb.ogg",
                        "audio/menu.ogg",
                        "audio/ingame.ogg"})
    EXPECT_EQ(names.count(n), 1u) << n;
  EXPECT_EQ(names.size(), 22u);
}
