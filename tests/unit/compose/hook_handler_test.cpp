// The hook's handling of messages: which ones it takes, which window they belong to, the items in
// order, consumption, the drop handle, and re-entry from nested message loops.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "base/settings_form.h"
#include "compose/hook_handler.h"
#include "tests/unit/compose/drop_fakes.h"

namespace vlm {
namespace {

using test::FakeDropServices;

HostWnd W(std::uintptr_t value) {
  return reinterpret_cast<HostWnd>(value);
}

constexpr std::uintptr_t kMain = 1, kMainList = 2, kCompose = 10, kComposeBody = 11, kStranger = 20,
                         kStrangerBody = 21, kDrop = 0xD0;

class FakeHookPlatform : public HookPlatform {
 public:
  std::map<std::uintptr_t, std::uintptr_t> parents;  // child -> parent
  std::map<std::uintptr_t, std::wstring> classes;
  std::set<int> keysDown;
  bool bitmap = false;
  std::uintptr_t foreground = 0;
  std::vector<std::wstring> dropItems;
  int released = 0;
  int keyQueries = 0;
  enum class Dialog { Saves, Cancels, CannotMeasure } dialog = Dialog::Saves;
  std::wstring savedName = L"Image.bmp";
  int dialogs = 0;
  std::function<void()> insideDialog;

  HostWnd ForegroundWindow() override { return W(foreground); }
  bool IsKeyDown(int key) override {
    ++keyQueries;
    return keysDown.count(key) > 0;
  }
  bool ClipboardHasBitmap() override { return bitmap; }
  bool IsDescendant(HostWnd ancestor, HostWnd window) override {
    auto it = parents.find(reinterpret_cast<std::uintptr_t>(window));
    for (; it != parents.end(); it = parents.find(it->second))
      if (it->second == reinterpret_cast<std::uintptr_t>(ancestor)) return true;
    return false;
  }
  std::wstring ClassName(HostWnd window) override {
    auto it = classes.find(reinterpret_cast<std::uintptr_t>(window));
    return it == classes.end() ? L"" : it->second;
  }
  unsigned DropItemCount(std::uintptr_t) override {
    return static_cast<unsigned>(dropItems.size());
  }
  std::wstring DropItem(std::uintptr_t, unsigned index) override { return dropItems.at(index); }
  void ReleaseDrop(std::uintptr_t drop) override {
    EXPECT_EQ(drop, kDrop);
    ++released;
  }
  bool ShowImageDialog(const std::function<void()>& consumeKey, std::wstring& fileName) override {
    ++dialogs;
    if (dialog == Dialog::CannotMeasure) return false;
    consumeKey();
    if (insideDialog) insideDialog();
    if (dialog == Dialog::Cancels) return false;
    fileName = savedName;
    return true;
  }
};

class HookHandlerTest : public ::testing::Test {
 protected:
  HookHandlerTest() {
    settings.B2OhWnd = W(kMain);
    settings.TempFolder = L"C:\\Temp\\";
    settings.NewMesWindow = {std::to_wstring(kCompose), std::to_wstring(kStranger)};
    platform.parents = {{kMainList, kMain}, {kComposeBody, kCompose}, {kStrangerBody, kStranger}};
    platform.classes = {
        {kMain, L"Becky2MainFrame"}, {kCompose, L"Becky2ComposeFrame"}, {kStranger, L"Edit"}};
    for (const wchar_t* name : {L"C:\\d\\a.txt", L"C:\\d\\b.txt", L"C:\\d\\c.txt"})
      services.AddFile(name, 1);
  }

  unsigned Send(unsigned id, std::uintptr_t window, std::uintptr_t wParam) {
    unsigned message = id;
    HandleHookedMessage(
        {W(window), &message, wParam}, [&] { return settings; }, platform, services);
    return message;
  }
  unsigned DropOn(std::uintptr_t window, std::vector<std::wstring> items) {
    platform.dropItems = std::move(items);
    return Send(kWmDropFiles, window, kDrop);
  }
  std::string Log() const {
    std::string all;
    for (const auto& line : services.log) all += line + "\n";
    return all;
  }

  DropSettings settings = DropSettingsOf(TForm1{});
  FakeHookPlatform platform;
  FakeDropServices services;
};

TEST_F(HookHandlerTest, OtherMessagesCostNothing) {
  for (unsigned id : {0x000Fu, 0x0200u, 0x0101u, 0x0102u, 0x0000u})
    EXPECT_EQ(Send(id, kComposeBody, kDrop), id);
  EXPECT_EQ(platform.keyQueries, 0);
  EXPECT_TRUE(services.log.empty());
}

TEST_F(HookHandlerTest, ThreeFilesOnTheMainWindowOpenOneComposeWindowInDropOrder) {
  EXPECT_EQ(DropOn(kMainList, {L"C:\\d\\b.txt", L"C:\\d\\a.txt", L"C:\\d\\c.txt"}), 0u);
  EXPECT_EQ(Log(),
            "compose 900 C:\\d\\b.txt []\nstatus 1 []\n"
            "attach 900 C:\\d\\a.txt []\nstatus 900 []\n"
            "attach 900 C:\\d\\c.txt []\nstatus 900 []\n");
  EXPECT_EQ(platform.released, 1);
}

TEST_F(HookHandlerTest, WindowRecognition) {
  struct Case {
    const char* name;
    std::uintptr_t window;
    bool handled;
    const char* firstCall;
  } cases[] = {
      {"main window itself", kMain, true, "compose 9"},
      {"inside the main window", kMainList, true, "compose 9"},
      {"inside a recorded compose window", kComposeBody, true, "attach 10"},
      {"the compose frame itself", kCompose, false, ""},
      {"recorded handle now of another class", kStrangerBody, false, ""},
      {"unknown window", 77, false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    services.log.clear();
    platform.released = 0;
    const unsigned id = DropOn(c.window, {L"C:\\d\\a.txt"});
    EXPECT_EQ(id, c.handled ? 0u : kWmDropFiles);
    EXPECT_EQ(platform.released, c.handled ? 1 : 0);
    EXPECT_EQ(Log().substr(0, std::string(c.firstCall).size()), c.firstCall);
    if (!c.handled) {
      EXPECT_TRUE(services.log.empty());
    }
  }
}

TEST_F(HookHandlerTest, UnrecordedComposeWindowAndBadEntriesAreLeftToTheHost) {
  settings.NewMesWindow = {L"", L"junk", L"99999999999999999999999", std::to_wstring(kStranger)};
  EXPECT_EQ(DropOn(kComposeBody, {L"C:\\d\\a.txt"}), kWmDropFiles);
  EXPECT_TRUE(services.log.empty());
}

TEST_F(HookHandlerTest, CancelOfAnArchiveSizeQuestionEndsTheDrop) {
  settings.OverSizeCheck = true;
  services.AddFile(L"C:\\d\\big.zip", 5000000);
  services.answers = {2};
  EXPECT_EQ(DropOn(kComposeBody, {L"C:\\d\\a.txt", L"C:\\d\\big.zip", L"C:\\d\\b.txt"}), 0u);
  EXPECT_EQ(Log(), "attach 10 C:\\d\\a.txt []\nstatus 10 []\nbox 添付ファイルの確認\n");
  EXPECT_EQ(platform.released, 1);
}

TEST_F(HookHandlerTest, PasteKeyIsCheckedInOrder) {
  constexpr int V = 0x56, Ctrl = 0x11, Shift = 0x10, Alt = 0x12, Tab = 0x09;
  struct Case {
    const char* name;
    std::uintptr_t key;
    std::set<int> down;
    bool bitmap;
    bool dialog;
  } cases[] = {
      {"Ctrl+V with a bitmap", V, {Ctrl}, true, true},
      {"V alone", V, {}, true, false},
      {"Ctrl+Shift+V", V, {Ctrl, Shift}, true, false},
      {"Ctrl+Alt+V", V, {Ctrl, Alt}, true, false},
      {"Ctrl+V with Tab held", V, {Ctrl, Tab}, true, false},
      {"Ctrl+V with text", V, {Ctrl}, false, false},
      {"Ctrl+C", 0x43, {Ctrl}, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform.keysDown = c.down;
    platform.bitmap = c.bitmap;
    platform.dialogs = 0;
    platform.keyQueries = 0;
    platform.foreground = kCompose;
    const unsigned id = Send(kWmKeyDown, kComposeBody, c.key);
    EXPECT_EQ(platform.dialogs, c.dialog ? 1 : 0);
    EXPECT_EQ(id, c.dialog ? 0u : kWmKeyDown);
    if (c.key != V) {
      EXPECT_EQ(platform.keyQueries, 0);
    }
  }
}

TEST_F(HookHandlerTest, PastedImageIsAttachedLikeADroppedFile) {
  platform.keysDown = {0x11};
  platform.bitmap = true;
  services.AddFile(L"C:\\Temp\\Image.bmp", 3000);

  platform.foreground = kMain;
  EXPECT_EQ(Send(kWmKeyDown, kMainList, 0x56), 0u);
  EXPECT_EQ(Log(), "temp folder\ncompose 900 C:\\Temp\\Image.bmp []\nstatus 1 []\n");
  EXPECT_EQ(platform.released, 0);

  services.log.clear();
  platform.dialog = FakeHookPlatform::Dialog::Cancels;
  EXPECT_EQ(Send(kWmKeyDown, kComposeBody, 0x56), 0u);
  EXPECT_EQ(Log(), "temp folder\n");

  services.log.clear();
  platform.dialog = FakeHookPlatform::Dialog::CannotMeasure;
  EXPECT_EQ(Send(kWmKeyDown, kComposeBody, 0x56), kWmKeyDown);

  // Confirmed in a window of neither kind: the key is gone, nothing is attached.
  services.log.clear();
  platform.dialog = FakeHookPlatform::Dialog::Saves;
  platform.foreground = 77;
  EXPECT_EQ(Send(kWmKeyDown, 78, 0x56), 0u);
  EXPECT_EQ(Log(), "temp folder\n");
}

TEST_F(HookHandlerTest, NestedMessageLoopsLeaveSecondDropsAndPastesToTheHost) {
  settings.FileNameChange = true;
  settings.ArchiveCheck = true;
  services.answers = {7};
  platform.keysDown = {0x11};
  platform.bitmap = true;
  std::vector<unsigned> nested;
  services.duringQuestion = [&] {
    EXPECT_TRUE(HookIsHandling());
    unsigned drop = kWmDropFiles, key = kWmKeyDown;
    HandleHookedMessage(
        {W(kComposeBody), &drop, kDrop}, [&] { return settings; }, platform, services);
    HandleHookedMessage(
        {W(kComposeBody), &key, 0x56}, [&] { return settings; }, platform, services);
    nested = {drop, key};
  };
  EXPECT_EQ(DropOn(kComposeBody, {L"C:\\d\\a.txt"}), 0u);
  EXPECT_EQ(nested, (std::vector<unsigned>{kWmDropFiles, kWmKeyDown}));
  EXPECT_EQ(platform.dialogs, 0);
  EXPECT_EQ(services.archive.packs.size(), 1u);
  EXPECT_FALSE(HookIsHandling());

  // The same holds inside the image dialog, and the guard ends with the flow.
  services.duringQuestion = nullptr;
  int nestedDialogs = -1;
  platform.insideDialog = [&] {
    unsigned key = kWmKeyDown;
    HandleHookedMessage(
        {W(kComposeBody), &key, 0x56}, [&] { return settings; }, platform, services);
    nestedDialogs = platform.dialogs;
    EXPECT_EQ(key, kWmKeyDown);
  };
  platform.dialog = FakeHookPlatform::Dialog::Cancels;
  EXPECT_EQ(Send(kWmKeyDown, kComposeBody, 0x56), 0u);
  EXPECT_EQ(nestedDialogs, 1);
  EXPECT_FALSE(HookIsHandling());
}

}  // namespace
}  // namespace vlm
