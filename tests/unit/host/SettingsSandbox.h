// A temporary home for everything the program keeps, and helpers to set up a host installation.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/TextCodec.h"
#include "host/TQuestionDialog.h"
#include "platform/Registry.h"
#include "support/TestFiles.h"

namespace skribo::test {

// Points XDG_CONFIG_HOME (and with it the registry store) and TMPDIR at fresh folders and gives a
// folder for the program's files; the old environment comes back afterwards.
class TSettingsSandbox {
 public:
  TSettingsSandbox() {
    Config = Dir.Path / "config";
    Temp = Dir.Path / "tmp";
    Program = Dir.Path / "program";
    for (const auto& folder : {Config, Temp, Program})
      std::filesystem::create_directories(folder);
    Save("XDG_CONFIG_HOME", Config);
    Save("TMPDIR", Temp);
  }
  ~TSettingsSandbox() {
    for (const auto& [name, value] : Saved) {
      if (value)
        ::setenv(name.c_str(), value->c_str(), 1);
      else
        ::unsetenv(name.c_str());
    }
  }
  TSettingsSandbox(const TSettingsSandbox&) = delete;
  TSettingsSandbox& operator=(const TSettingsSandbox&) = delete;

  std::filesystem::path HiveFile(THive hive) const {
    const char* names[] = {"HKEY_CURRENT_USER.reg", "HKEY_LOCAL_MACHINE.reg",
                           "HKEY_CLASSES_ROOT.reg"};
    return Config / "skribo" / "registry" / names[static_cast<int>(hive)];
  }

  // Puts content into the hive's file that the store cannot read (a key line without its
  // closing bracket) and returns the file's bytes.
  std::string BreakHive(THive hive) const {
    const std::string names[] = {"HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_CLASSES_ROOT"};
    const std::string bytes = "Windows Registry Editor Version 5.00\r\n\r\n[" +
                              names[static_cast<int>(hive)] + "\\Software\r\n";
    std::filesystem::create_directories(HiveFile(hive).parent_path());
    WriteBytes(HiveFile(hive), bytes);
    return bytes;
  }

  TTempDir Dir;  // first, so it is made under the old TMPDIR and removed last
  std::filesystem::path Config, Temp, Program;

 private:
  void Save(const std::string& name, const std::filesystem::path& value) {
    const char* old = std::getenv(name.c_str());
    Saved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    ::setenv(name.c_str(), value.c_str(), 1);
  }
  std::vector<std::pair<std::string, std::optional<std::string>>> Saved;
};

inline std::u16string U(const std::filesystem::path& path) {
  return DecodeUtf8(path.string());
}

inline void SetRegString(THive hive, std::u16string_view key, std::u16string_view name,
                         std::u16string_view value) {
  TRegistry reg(hive);
  ASSERT_TRUE(reg.OpenKey(key, true));
  reg.WriteString(name, value);
}

inline void SetRegInteger(THive hive, std::u16string_view key, std::u16string_view name,
                          int32_t value) {
  TRegistry reg(hive);
  ASSERT_TRUE(reg.OpenKey(key, true));
  reg.WriteInteger(name, value);
}

inline void CreateRegKey(THive hive, std::u16string_view key) {
  TRegistry reg(hive);
  ASSERT_TRUE(reg.OpenKey(key, true));
}

// One value as a short text: "no key", "no value", "dword:N" or "sz:TEXT".
inline std::string RegValueState(THive hive, std::u16string_view key, std::u16string_view name) {
  TRegistry reg(hive);
  if (!reg.OpenKeyReadOnly(key)) return "no key";
  auto type = reg.GetDataType(name);
  if (!type) return "no value";
  if (*type == TRegDataType::Integer) return "dword:" + std::to_string(reg.ReadInteger(name));
  if (*type == TRegDataType::String) return "sz:" + EncodeUtf8(reg.ReadString(name));
  return "other";
}

// Answers the question as told and keeps every question asked.
class TFakeQuestionDialog : public TQuestionDialog {
 public:
  TCheckAnswer AskWithCheck(const TCheckQuestion& question) override {
    Asked.push_back(question);
    return Answer;
  }
  TCheckAnswer Answer{mrYes, false};
  std::vector<TCheckQuestion> Asked;
};

}  // namespace skribo::test
