// The always-on-top hotkey: flip, apply, save, and the debounce on the tick counter.
#include "prefs/AlwaysOnTopToggle.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/IniFile.h"
#include "prefs/OptionsIni.h"
#include "unit/host/SettingsSandbox.h"
#include "unit/settings/FakePreferencesUi.h"

namespace skribo {
namespace {

using test::U;

class AlwaysOnTopToggleTest : public ::testing::Test {
 protected:
  std::u16string StoredFlag() const {
    const TIniFile ini{std::filesystem::path(EncodeUtf8(Paths.IniFileName))};
    return ini.ReadString(PreferencesSection, u"AlwaysOnTop", u"absent");
  }

  test::TSettingsSandbox Sandbox;
  TProgramPaths Paths = TProgramPaths::ForExecutable(U(Sandbox.Program / "skribo"));
  TRecOptions Options = DefaultOptions();
  test::TFakePreferencesUi Ui;
  uint32_t Now = 0;
  uint32_t Elapsed = 0;  // added to the clock while the toggle applies and saves
  TAlwaysOnTopToggle Toggle{[this] {
    const uint32_t tick = Now;
    Now += Elapsed;
    return tick;
  }};
};

TEST_F(AlwaysOnTopToggleTest, DebounceOnTheUnsignedTickDifference) {
  struct TCase {
    uint32_t Last, Now;
    bool Toggles;
  } cases[] = {
      {0, 249, false},
      {0, 250, true},
      {100000, 100249, false},
      {100000, 100250, true},
      {0xFFFFFF00u, 0x00000032u, true},   // 306 ms across the wrap
      {0xFFFFFFF0u, 0x00000010u, false},  // 32 ms across the wrap
      {5000, 4000, true},                 // a counter behind the last toggle is far ahead
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Last << " -> " << c.Now);
    Toggle.LastTopToggleTick = c.Last;
    Now = c.Now;
    const bool before = Options.AlwaysOnTop;
    EXPECT_EQ(Toggle.Toggle(Options, Paths, Ui), c.Toggles);
    EXPECT_EQ(Options.AlwaysOnTop, c.Toggles ? !before : before);
    EXPECT_EQ(Toggle.LastTopToggleTick, c.Toggles ? c.Now : c.Last);
  }
}

TEST_F(AlwaysOnTopToggleTest, FlipsAppliesSavesAndTimesFromTheEnd) {
  Now = 10000;
  Elapsed = 40;  // applying and saving take time: the next press counts from their end
  ASSERT_TRUE(Toggle.Toggle(Options, Paths, Ui));
  EXPECT_EQ(Ui.TopmostCalls, std::vector<bool>{true});
  EXPECT_EQ(StoredFlag(), u"1");
  EXPECT_EQ(Toggle.LastTopToggleTick, 10040u);

  Now = 10040 + 249;
  EXPECT_FALSE(Toggle.Toggle(Options, Paths, Ui));
  Now = 10040 + 250;
  ASSERT_TRUE(Toggle.Toggle(Options, Paths, Ui));
  EXPECT_EQ(Ui.TopmostCalls, (std::vector<bool>{true, false}));
  EXPECT_FALSE(Options.AlwaysOnTop);
  EXPECT_EQ(StoredFlag(), u"0");
  EXPECT_TRUE(Ui.Errors.empty());
}

}  // namespace
}  // namespace skribo
