#include "received/header_text.h"

#include <gtest/gtest.h>

#include "base/ansi_text.h"

namespace vlm {
namespace {

TEST(HeaderText, EncodedWordsOnlyWhereTheTextIsNotAscii) {
  EXPECT_EQ(EncodedHeaderText(L"Minutes of the meeting"), "Minutes of the meeting");
  EXPECT_EQ(EncodedHeaderText(L"a\r\nBcc: x"), "a  Bcc: x");
  EXPECT_EQ(EncodedHeaderText(FromUtf8("会議")), "=?utf-8?B?5Lya6K2w?=");
  // A long text is folded into words of whole characters, no line longer than 76.
  const std::string folded = EncodedHeaderText(std::wstring(40, L'\u3042'));
  size_t lines = 0;
  for (size_t at = 0, end; at < folded.size(); at = end + 3, ++lines) {
    end = folded.find("\r\n ", at);
    if (end == std::string::npos) end = folded.size();
    const std::string word = folded.substr(at, end - at);
    EXPECT_LE(word.size(), 75u);
    EXPECT_TRUE(word.starts_with("=?utf-8?B?") && word.ends_with("?=")) << word;
  }
  EXPECT_EQ(lines, 3u);  // 120 bytes of UTF-8, 15 characters (45 bytes) a word
}

TEST(HeaderText, MailDates) {
  EXPECT_EQ(MailDate(0), "Mon, 1 Jan 1601 00:00:00 +0000");
  // 2018-12-15 14:37:31 UTC, as a forwarded item of a real sample gives it.
  EXPECT_EQ(MailDate(131893582512260000ULL), "Sat, 15 Dec 2018 14:37:31 +0000");
  EXPECT_EQ(MailDate((13353638400ULL + 86399) * 10000000ULL), "Thu, 29 Feb 2024 23:59:59 +0000");
}

}  // namespace
}  // namespace vlm
