// Several processes on one store: concurrent writers, a reader among them, a writer killed halfway.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <iostream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "common/TextCodec.h"
#include "platform/Registry.h"
#include "support/TestFiles.h"

namespace skribo {
namespace {

namespace fs = std::filesystem;

// Runs body in a child process; its exit status is 0 when body returned without an exception.
pid_t StartChild(const std::function<void()>& body) {
  pid_t pid = ::fork();
  if (pid == 0) {
    int status = 0;
    try {
      body();
    } catch (...) {
      status = 1;
    }
    ::_exit(status);
  }
  return pid;
}

int ExitCode(int status) {
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

int WaitForChild(pid_t pid) {
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid) return -1;
  return ExitCode(status);
}

std::u16string Name(int writer, int i) {
  return DecodeUtf8("w" + std::to_string(writer) + "_" + std::to_string(i));
}

TEST(RegistryProcesses, ConcurrentWritersLoseNothingAndReadersSeeWholeFiles) {
  test::TTempDir dir;
  const fs::path folder = dir.Path / "registry";
  constexpr int Writers = 2, Writes = 150;
  std::vector<pid_t> children;
  for (int w = 0; w < Writers; ++w) {
    children.push_back(StartChild([&, w] {
      TRegistry reg(THive::CurrentUser, folder);
      for (int i = 0; i < Writes; ++i) {
        // Each write opens the key afresh, as separate program runs would.
        if (!reg.OpenKey(u"Software\\Shared", true)) throw std::runtime_error("not opened");
        reg.WriteInteger(Name(w, i), i);
        reg.CloseKey();
      }
    }));
  }

  // Meanwhile every read parses, and what was written once is never missing later.
  size_t seen = 0, reads = 0;
  std::string failure;
  std::vector<int> exitCodes(children.size(), -1);
  for (bool running = true; running;) {
    running = false;
    for (size_t c = 0; c < children.size(); ++c) {
      int status = 0;
      if (exitCodes[c] < 0 && ::waitpid(children[c], &status, WNOHANG) == children[c]) {
        exitCodes[c] = ExitCode(status);
      }
      running |= exitCodes[c] < 0;
    }
    if (!failure.empty()) continue;
    try {
      TRegistry reg(THive::CurrentUser, folder);
      if (reg.OpenKeyReadOnly(u"Software\\Shared")) {
        size_t now = reg.GetValueNames().size();
        if (now < seen) failure = "values disappeared: " + std::to_string(now);
        seen = now;
      }
      ++reads;
    } catch (const std::exception& e) {
      failure = e.what();
    }
  }
  EXPECT_EQ(exitCodes, std::vector<int>(children.size(), 0));
  EXPECT_EQ(failure, "");
  EXPECT_GT(reads, 0u);

  TRegistry reg(THive::CurrentUser, folder);
  ASSERT_TRUE(reg.OpenKeyReadOnly(u"Software\\Shared"));
  EXPECT_EQ(reg.GetValueNames().size(), static_cast<size_t>(Writers * Writes));
  for (int w = 0; w < Writers; ++w) {
    for (int i = 0; i < Writes; ++i)
      ASSERT_EQ(reg.ReadInteger(Name(w, i)), i) << EncodeUtf8(Name(w, i));
  }
}

// A payload whose every byte says which write it came from, so a torn file cannot pass.
TRegValue Payload(uint32_t n) {
  TRegValue value = MakeIntegerValue(n);
  value.Type = TRegDataType::Binary;
  value.Data += std::string(60000, static_cast<char>(n % 251));
  return value;
}

TEST(RegistryProcesses, AWriterKilledHalfwayLeavesTheOldOrTheNewFile) {
  test::TTempDir dir;
  const fs::path folder = dir.Path / "registry";
  {
    TRegistry reg(THive::CurrentUser, folder);
    ASSERT_TRUE(reg.OpenKey(u"Software\\Kill", true));
    reg.WriteString(u"Stable", u"kept");
    reg.WriteValue(u"Payload", Payload(0));
  }
  std::mt19937 random(std::random_device{}());
  int leftovers = 0;
  uint32_t last = 0;
  for (int round = 0; round < 12; ++round) {
    pid_t pid = StartChild([&] {
      TRegistry reg(THive::CurrentUser, folder);
      if (!reg.OpenKey(u"Software\\Kill", false)) throw std::runtime_error("not opened");
      for (uint32_t n = last + 1;; ++n)
        reg.WriteValue(u"Payload", Payload(n));
    });
    std::this_thread::sleep_for(
        std::chrono::milliseconds(std::uniform_int_distribution<int>(5, 80)(random)));
    ::kill(pid, SIGKILL);
    EXPECT_EQ(WaitForChild(pid), 128 + SIGKILL);
    for (const auto& entry : fs::directory_iterator(folder))
      leftovers += entry.path().extension() == ".new";

    TRegistry reg(THive::CurrentUser, folder);
    ASSERT_TRUE(reg.OpenKeyReadOnly(u"Software\\Kill"));
    EXPECT_EQ(reg.ReadString(u"Stable"), u"kept");
    std::optional<TRegValue> value = reg.ReadValue(u"Payload");
    ASSERT_TRUE(value);
    ASSERT_GE(value->Data.size(), 4u);
    uint32_t n = static_cast<uint8_t>(value->Data[0]) | static_cast<uint8_t>(value->Data[1]) << 8 |
                 static_cast<uint8_t>(value->Data[2]) << 16 |
                 static_cast<uint32_t>(static_cast<uint8_t>(value->Data[3])) << 24;
    ASSERT_EQ(*value, Payload(n)) << "round " << round;
    EXPECT_GE(n, last);
    last = n;
  }
  // The next write clears what killed writers left behind.
  TRegistry reg(THive::CurrentUser, folder);
  ASSERT_TRUE(reg.OpenKey(u"Software\\Kill", false));
  reg.WriteString(u"After", u"yes");
  for (const auto& entry : fs::directory_iterator(folder))
    EXPECT_NE(entry.path().extension(), ".new") << entry.path();
  std::cout << "[          ] " << leftovers << " of 12 kills left a temporary file behind\n";
}

}  // namespace
}  // namespace skribo
