// A fresh user folder per test and the preferences as the program starts with them.
#ifndef PREFS_FIXTURE_H
#define PREFS_FIXTURE_H

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "menu_links.h"
#include "state.h"
#include "zyphora.h"

class PrefsTest : public ::testing::Test {
protected:
  void SetUp() override {
    static const sPreference pristine = preferences; // taken before any test changes it
    preferences = pristine;
    lastHighscore = -1;
    gMenuActive = 0;
    gVolumeSFX = gVolumeMusic = 0;
    lastGlobalVolumes = GlobalVolumes();
    char pattern[] = "/tmp/zyphora-prefs-XXXXXX";
    home = mkdtemp(pattern);
    setenv("XDG_DATA_HOME", home.c_str(), 1);
  }
  void TearDown() override {
    unsetenv("XDG_DATA_HOME");
    std::filesystem::remove_all(home);
  }

  std::string folder() const { return home + "/zyphora"; }
  std::string file() const { return folder() + "/zyphor.prf"; }

  void writeFile(const std::vector<unsigned char> &bytes) const {
    std::filesystem::create_directories(folder());
    std::ofstream out(file(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
  }
  std::vector<unsigned char> readFile() const {
    std::ifstream in(file(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  // 56 bytes of a file: the fields little-endian in order.
  static std::vector<unsigned char> fileOf(std::initializer_list<int32_t> fields) {
    std::vector<unsigned char> bytes;
    for (int32_t v : fields)
      for (int b = 0; b < 4; b++)
        bytes.push_back(static_cast<unsigned char>(uint32_t(v) >> (8 * b)));
    return bytes;
  }

  std::string home;
};

#endif
