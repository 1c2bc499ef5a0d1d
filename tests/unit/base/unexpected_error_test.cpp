// The box an unexpected exception at an entry point shows, and the message text it takes from
// each kind of exception: wide messages carry UTF-8 in what(), every other message is in the
// code page.
#include <gtest/gtest.h>

#include <stdexcept>

#include "base/ansi_text.h"
#include "base/unexpected_error.h"
#include "base/wide_message.h"

namespace vlm {
namespace {

class EDerivedWideMessage : public EWideMessage {
 public:
  using EWideMessage::EWideMessage;
};

TEST(ExceptionText, WideMessagesShowTheirOwnTextNotTheirUtf8) {
  const EWideMessage plain(L"ファイル「報告書.txt」を圧縮できません。");
  const EDerivedWideMessage derived(L"パスワードが違います（①）");
  EXPECT_EQ(ExceptionText(plain), L"ファイル「報告書.txt」を圧縮できません。");
  EXPECT_EQ(ExceptionText(derived), L"パスワードが違います（①）");
  // what() stays UTF-8: read in code page 932 it is garbled, or no text at all.
  EXPECT_EQ(std::string(plain.what()), ToUtf8(L"ファイル「報告書.txt」を圧縮できません。"));
  bool garbled = true;
  try {
    garbled = FromAnsi(plain.what()) != plain.Message();
  } catch (const std::exception&) {
  }
  EXPECT_TRUE(garbled);
}

TEST(ExceptionText, OtherMessagesAreReadInTheCodePage) {
  const std::runtime_error ansi(ToAnsi(L"レジストリを開けません"));
  const std::runtime_error ascii("Error: Cannot open registry key.");
  EXPECT_EQ(ExceptionText(ansi), L"レジストリを開けません");
  EXPECT_EQ(ExceptionText(ascii), L"Error: Cannot open registry key.");
  EXPECT_EQ(WideMessageOf(ansi), nullptr);
  EXPECT_NE(WideMessageOf(EWideMessage(L"x")), nullptr);
}

TEST(UnexpectedErrorText, NamesTheEntryAndTheMessage) {
  const EWideMessage wide(L"書庫「添付.zip」を作れません。");
  const std::runtime_error ascii("Error: Cannot open registry key.");
  struct Case {
    const char* where;
    const std::exception* error;
    const wchar_t* expected;
  } cases[] = {
      {"BKC_OnExit", &ascii,
       L"Velmoraで予期しないエラーが発生しました。\r\n\r\n処理: BKC_OnExit\r\n内容: Error: Cannot "
       L"open registry key."},
      {"BKC_OnDragDrop", &wide,
       L"Velmoraで予期しないエラーが発生しました。\r\n\r\n処理: BKC_OnDragDrop\r\n内容: "
       L"書庫「添付.zip」を作れません。"},
      {"AddFileCommand", nullptr,
       L"Velmoraで予期しないエラーが発生しました。\r\n\r\n処理: AddFileCommand"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(UnexpectedErrorText(c.where, c.error), c.expected) << c.where;
}

}  // namespace
}  // namespace vlm
