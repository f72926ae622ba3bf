// A fresh folder per test, removed afterwards.
#ifndef SETTINGS_TEMP_FOLDER_H
#define SETTINGS_TEMP_FOLDER_H

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

class TempFolderTest : public ::testing::Test {
protected:
  void SetUp() override {
    char pattern[] = "/tmp/zyphora-settings-XXXXXX";
    folder = mkdtemp(pattern);
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  std::string path(const std::string &name) const { return folder + "/" + name; }
  static void writeText(const std::string &file, const std::string &text) {
    std::ofstream(file, std::ios::binary) << text;
  }
  static std::string readText(const std::string &file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  size_t entries() const { return std::distance(std::filesystem::directory_iterator(folder), {}); }

  std::string folder;
};

#endif
