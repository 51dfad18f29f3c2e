// A temporary home and configuration folder for registry tests, restored afterwards.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/TextCodec.h"
#include "support/TestFiles.h"

namespace skribo::test {

class TRegistryTestEnv : public ::testing::Test {
 protected:
  void SetUp() override {
    Home = Dir.Path / "home";
    Config = Dir.Path / "config";
    Folder = Config / "skribo" / "registry";
    std::filesystem::create_directories(Home);
    Save("HOME", Home.string());
    Save("XDG_CONFIG_HOME", Config.string());
  }
  void TearDown() override {
    // Newest first, so that a variable saved twice gets its first value back.
    for (auto it = Saved.rbegin(); it != Saved.rend(); ++it) {
      const auto& [name, value] = *it;
      if (value) {
        ::setenv(name.c_str(), value->c_str(), 1);
      } else {
        ::unsetenv(name.c_str());
      }
    }
  }

  void Save(const std::string& name, const std::string& value) {
    const char* old = std::getenv(name.c_str());
    Saved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    ::setenv(name.c_str(), value.c_str(), 1);
  }

  // A hive file's text as UTF-8, for readable comparisons.
  static std::string FileText(const std::filesystem::path& file) {
    return EncodeUtf8(DecodeText(ReadBytes(file)));
  }

  TTempDir Dir;
  std::filesystem::path Home, Config, Folder;
  std::vector<std::pair<std::string, std::optional<std::string>>> Saved;
};

}  // namespace skribo::test
