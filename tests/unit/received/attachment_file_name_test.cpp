#include <gtest/gtest.h>

#include "received/attachment_file_name.h"

namespace {

struct NameCase {
  const wchar_t* title;
  const wchar_t* expected;
};

TEST(SafeFileName, NeutralisesWhatCouldLeaveTheFolder) {
  const NameCase cases[] = {
      {L"report.pdf", L"report.pdf"},
      {L"\u65e5\u672c\u8a9e.txt", L"\u65e5\u672c\u8a9e.txt"},
      {L"../../evil.txt", L".._.._evil.txt"},
      {L"..\\..\\evil.txt", L".._.._evil.txt"},
      {L"/etc/passwd", L"_etc_passwd"},
      {L"C:\\Windows\\win.ini", L"C__Windows_win.ini"},
      {L"C:evil.txt", L"C_evil.txt"},
      {L"\\\\server\\share\\x", L"__server_share_x"},
      {L"file.txt:stream", L"file.txt_stream"},
      {L"a<b>c\"d|e?f*g.txt", L"a_b_c_d_e_f_g.txt"},
      {L"tab\there\nnew\x7f.txt", L"tab_here_new_.txt"},
      {L"..", L""},
      {L".", L""},
      {L"...", L""},
      {L"  ", L""},
      {L"", L""},
      {L"name.txt. . ", L"name.txt"},
      {L".profile", L".profile"},
      {L"con", L"_con"},
      {L"CON.txt", L"_CON.txt"},
      {L"nul .txt", L"_nul .txt"},
      {L"Com1.log", L"_Com1.log"},
      {L"lpt9", L"_lpt9"},
      {L"CONOUT$", L"_CONOUT$"},
      {L"console.txt", L"console.txt"},
      {L"com10", L"com10"},
      {L"COM\u00B9.txt", L"_COM\u00B9.txt"},
      {L"lpt\u00B3", L"_lpt\u00B3"},
      {L"COM\u00B4.txt", L"COM\u00B4.txt"},
  };
  for (const auto& c : cases) EXPECT_EQ(vlm::SafeFileName(c.title), c.expected) << c.title;
}

TEST(SafeFileName, ShortensOverlongNamesKeepingTheExtension) {
  const std::wstring ascii = vlm::SafeFileName(std::wstring(1000, L'a') + L".docx");
  EXPECT_EQ(ascii, std::wstring(195, L'a') + L".docx");
  // Three UTF-8 bytes each: the name must still fit one path component on POSIX.
  const std::wstring japanese = vlm::SafeFileName(std::wstring(300, L'\u3042') + L".txt");
  EXPECT_EQ(japanese, std::wstring(65, L'\u3042') + L".txt");
  const std::wstring noExtension = vlm::SafeFileName(L"x." + std::wstring(300, L'b'));
  EXPECT_EQ(noExtension.size(), 200u);
}

}  // namespace
