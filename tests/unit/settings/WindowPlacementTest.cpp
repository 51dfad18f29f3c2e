// A form's state, position and focused control in the INI file, per screen size.
#include "prefs/WindowPlacement.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/TextCodec.h"
#include "platform/IniFile.h"
#include "support/TestFiles.h"

namespace skribo {
namespace {

namespace fs = std::filesystem;

// A form whose window keeps the placement record and logs what is set on it.
class TFakeForm : public TFormGeometry {
 public:
  bool IsMaximized() const override { return Maximized; }
  TRect NormalRect() const override { return Normal; }
  void SetNormalRect(const TRect& rect) override {
    Normal = rect;
    Log.push_back("rect");
  }
  TPoint MaximizedPosition() const override { return MaxPosition; }
  void SetMaximizedPosition(const TPoint& position) override {
    MaxPosition = position;
    Log.push_back("max position");
  }
  void SetMaximized(bool maximized) override {
    Maximized = maximized;
    Log.push_back(maximized ? "maximized" : "normal");
  }
  TSize PrimaryScreenSize() const override { return Screen; }
  std::u16string ActiveControlName() const override { return Active; }
  void SetActiveControl(const std::u16string& name) override { Active = name; }

  bool Maximized = false;
  TRect Normal{10, 20, 410, 320};
  TPoint MaxPosition{-1, -1};
  TSize Screen{1280, 1024};
  std::u16string Active;
  std::vector<std::string> Log;
};

constexpr unsigned StateAndPosition = paState | paPosition;

class WindowPlacementTest : public ::testing::Test {
 protected:
  std::u16string Ini() const { return DecodeUtf8(IniPath.string()); }
  std::u16string Read(std::u16string_view key) const {
    return TIniFile(IniPath).ReadString(u"position", key, u"absent");
  }
  void WriteIni(std::u16string_view text) const {
    test::WriteBytes(IniPath, EncodeUtf16LEWithBom(text));
  }

  test::TTempDir Dir;
  fs::path IniPath = Dir.Path / "skribo.ini";
};

TEST_F(WindowPlacementTest, SaveWritesTheKeysOfThisScreenSize) {
  TFakeForm form;
  form.Normal = {160, 120, 760, 520};
  SaveWindowPlacement(&form, Ini(), u"position", StateAndPosition);
  EXPECT_EQ(DecodeText(test::ReadBytes(IniPath)),
            u"[position]\r\nWinState=0\r\nWinPos1280x1024=160;120;760;520\r\n"
            u"WinPos1280x1024Max=-1;-1\r\n\r\n");

  // Another screen size adds its keys; the others stay where they were, untouched.
  form.Screen = {1024, 768};
  form.Maximized = true;
  form.Normal = {-8, -30, 500, 400};
  SaveWindowPlacement(&form, Ini(), u"position", StateAndPosition);
  EXPECT_EQ(TIniFile(IniPath).ReadSection(u"position"),
            (std::vector<std::u16string>{u"WinState", u"WinPos1280x1024", u"WinPos1280x1024Max",
                                         u"WinPos1024x768", u"WinPos1024x768Max"}));
  EXPECT_EQ(Read(u"WinState"), u"1");
  EXPECT_EQ(Read(u"WinPos1280x1024"), u"160;120;760;520");
  EXPECT_EQ(Read(u"WinPos1024x768"), u"-8;-30;500;400");
}

TEST_F(WindowPlacementTest, RestoreBringsBackTheSavedPlacement) {
  TFakeForm closed;
  closed.Maximized = true;
  closed.Normal = {100, 50, 900, 650};
  closed.MaxPosition = {-4, -4};
  SaveWindowPlacement(&closed, Ini(), u"position", StateAndPosition);

  TFakeForm opened;
  RestoreWindowPlacement(&opened, Ini(), u"position", StateAndPosition);
  EXPECT_TRUE(opened.Maximized);
  EXPECT_EQ(opened.Normal, closed.Normal);
  EXPECT_EQ(opened.MaxPosition, closed.MaxPosition);
  // The rectangle first, so that un-maximising later returns to it.
  EXPECT_EQ(opened.Log, (std::vector<std::string>{"rect", "max position", "maximized"}));

  // At another screen size no stored position applies.
  TFakeForm elsewhere;
  elsewhere.Screen = {1024, 768};
  RestoreWindowPlacement(&elsewhere, Ini(), u"position", StateAndPosition);
  EXPECT_EQ(elsewhere.Normal, (TRect{10, 20, 410, 320}));
  EXPECT_EQ(elsewhere.Log, std::vector<std::string>{"maximized"});
}

TEST_F(WindowPlacementTest, StoredValuesAsRead) {
  struct TCase {
    std::u16string WinState, Position, Max;
    bool Maximized;
    TRect Normal;
    TPoint MaxPosition;
  } cases[] = {
      {u"yes", u"1;2;3;4", u"5;6", false, {1, 2, 3, 4}, {5, 6}},
      {u"0x0", u"-1;-2;3;4", u"-5;-6", false, {-1, -2, 3, 4}, {-5, -6}},
      {u"2", u"", u"", true, {10, 20, 410, 320}, {-1, -1}},
      {u"0x1", u"1;2;3", u"5", true, {10, 20, 410, 320}, {-1, -1}},
      {u"1", u"1;2;3;4;5", u"5;6;7", true, {10, 20, 410, 320}, {-1, -1}},
      {u"0", u"a;b;c;d", u"x;1", false, {10, 20, 410, 320}, {-1, -1}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(EncodeUtf8(c.WinState + u" " + c.Position + u" " + c.Max));
    WriteIni(u"[Position]\r\nWinState=" + c.WinState + u"\r\nWinPos1280x1024=" + c.Position +
             u"\r\nWINPOS1280X1024MAX=" + c.Max + u"\r\n");
    TFakeForm form;
    form.Maximized = !c.Maximized;
    RestoreWindowPlacement(&form, Ini(), u"position", StateAndPosition);
    EXPECT_EQ(form.Maximized, c.Maximized);
    EXPECT_EQ(form.Normal, c.Normal);
    EXPECT_EQ(form.MaxPosition, c.MaxPosition);
  }
}

TEST_F(WindowPlacementTest, AspectsAndActiveControl) {
  WriteIni(u"[preferences]\r\nLanguage=Deutsch\r\n");
  TFakeForm form;
  form.Active = u"wbLog";
  SaveWindowPlacement(&form, Ini(), u"position", paActiveControl);
  const TIniFile ini(IniPath);
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::u16string>{u"preferences", u"position"}));
  EXPECT_EQ(ini.ReadSection(u"position"), std::vector<std::u16string>{u"ActiveControl"});
  EXPECT_EQ(Read(u"ActiveControl"), u"wbLog");

  TFakeForm restored;
  RestoreWindowPlacement(&restored, Ini(), u"position", paActiveControl);
  EXPECT_EQ(restored.Active, u"wbLog");
  EXPECT_TRUE(restored.Log.empty());

  // Nothing asked for, no file or no section named: nothing happens.
  const std::string bytes = test::ReadBytes(IniPath);
  SaveWindowPlacement(&form, Ini(), u"position", 0);
  SaveWindowPlacement(&form, Ini(), u"", StateAndPosition);
  SaveWindowPlacement(nullptr, Ini(), u"position", StateAndPosition);
  SaveWindowPlacement(&form, u"", u"position", StateAndPosition);
  RestoreWindowPlacement(&restored, Ini(), u"position", 0);
  RestoreWindowPlacement(&restored, u"", u"position", StateAndPosition);
  EXPECT_EQ(test::ReadBytes(IniPath), bytes);
  EXPECT_TRUE(restored.Log.empty());
}

TEST_F(WindowPlacementTest, FailuresAreSwallowed) {
  // A folder where the INI file should be: saving says nothing and changes nothing.
  fs::create_directories(IniPath);
  TFakeForm form;
  EXPECT_NO_THROW(SaveWindowPlacement(&form, Ini(), u"position", StateAndPosition));
  EXPECT_TRUE(fs::is_directory(IniPath));
  EXPECT_NO_THROW(RestoreWindowPlacement(&form, Ini(), u"position", StateAndPosition));
  EXPECT_TRUE(form.Log.empty());
  fs::remove(IniPath);

  // The replacement cannot be written: the old file stays as it was.
  WriteIni(u"[position]\r\nWinState=1\r\n");
  const std::string bytes = test::ReadBytes(IniPath);
  fs::create_directories(TIniFile::TemporaryPathFor(IniPath));
  EXPECT_NO_THROW(SaveWindowPlacement(&form, Ini(), u"position", StateAndPosition));
  EXPECT_EQ(test::ReadBytes(IniPath), bytes);

  // No file: restoring leaves the placement as the system chose it, but for the state.
  TFakeForm fresh;
  RestoreWindowPlacement(&fresh, DecodeUtf8((Dir.Path / "none.ini").string()), u"position",
                         StateAndPosition);
  EXPECT_EQ(fresh.Log, std::vector<std::string>{"normal"});
  EXPECT_EQ(fresh.Normal, (TRect{10, 20, 410, 320}));
}

}  // namespace
}  // namespace skribo
