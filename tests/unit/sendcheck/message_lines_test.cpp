#include "sendcheck/message_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vlm {
namespace {

std::vector<std::wstring> Strings(const std::vector<std::wstring_view>& views) {
  return {views.begin(), views.end()};
}

TEST(SplitLines, BreaksAtCrLfCrOrLfAndNoLineAfterAFinalBreak) {
  struct Case {
    std::wstring text;
    std::vector<std::wstring> lines;
  };
  const Case cases[] = {
      {L"", {}},
      {L"\r\n", {L""}},
      {L"a\r\nb\r\n", {L"a", L"b"}},
      {L"a\r\nb", {L"a", L"b"}},
      {L"a\rb\nc", {L"a", L"b", L"c"}},
      {L"a\n\nb", {L"a", L"", L"b"}},
      {L"a\r\r\nb", {L"a", L"", L"b"}},
      {L"a\n\r", {L"a", L""}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Strings(SplitLines(c.text)), c.lines)
        << "case with " << c.lines.size() << " lines, text size " << c.text.size();
}

std::vector<std::wstring> All(const SendLines& lines) {
  std::vector<std::wstring> all;
  for (std::size_t i = 0; i < lines.size(); ++i) all.emplace_back(lines[i]);
  return all;
}

TEST(SendLines, PlacesTheExtraLineAtItsIndexOrAtTheEnd) {
  struct Case {
    std::size_t index;
    std::vector<std::wstring> lines;
  };
  const Case cases[] = {
      {0, {L"S", L"a", L"b"}},
      {1, {L"a", L"S", L"b"}},
      {2, {L"a", L"b", L"S"}},
      {7, {L"a", L"b", L"S"}},
  };
  for (const Case& c : cases) {
    SendLines lines({L"a", L"b"});
    lines.Insert(c.index, L"S");
    EXPECT_EQ(All(lines), c.lines) << "index " << c.index;
  }
  SendLines empty({});
  empty.Insert(2, L"S");
  EXPECT_EQ(All(empty), std::vector<std::wstring>{L"S"});
}

}  // namespace
}  // namespace vlm
