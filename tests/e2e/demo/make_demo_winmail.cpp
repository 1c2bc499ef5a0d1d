// make_demo_winmail <file>: writes the winmail.dat of the demo's received-mail scene, as Outlook
// sends it: three attachments, each with an 8.3 title and its long name (Japanese, accented) in
// the attachment's property block. Built and run on the build machine while the Windows side is
// built, so the demo needs no sample file from outside the repository.
#include <cstdio>
#include <fstream>
#include <string>

#include "tests/unit/received/tnef_builder.h"

namespace {

using vlm::test::TPropertyBlock;
using vlm::test::TTnefBuilder;

// Texts in Shift_JIS, as a Japanese Outlook user's notepad writes them (bytes spelled out so the
// file's own encoding does not matter).
const std::string kMinutes =
    "\x8B\x63\x8E\x96\x98\x5E\x81\x69\x31\x32\x8C\x8E\x92\xE8\x97\xE1\x89\xEF\x81\x6A\r\n"  // 議事録（12月定例会）
    "1. \x94\x4E\x96\x96\x82\xCC\x97\x5C\x92\xE8\r\n"           // 1. 年末の予定
    "2. \x97\x88\x94\x4E\x93\x78\x82\xCC\x97\x5C\x8E\x5A\r\n";  // 2. 来年度の予算
const std::string kSales =
    "\x8C\x8E,\x94\x84\x8F\xE3\r\n"  // 月,売上
    "10,1250000\r\n11,1380000\r\n12,1420000\r\n";
const std::string kResume = "Name: Ren\xE9 M\xFCller\r\nRole: translator (French, German)\r\n";

std::string DemoWinmail() {
  TTnefBuilder tnef;
  const struct {
    const char* title;
    std::u16string longName;
    const std::string& data;
  } attachments[] = {
      {"12_~1.TXT", u"議事録_12月定例会.txt", kMinutes},
      {"2026~1.CSV", u"売上集計_2026年度.csv", kSales},
      {"RESUME~1.TXT", u"Résumé_Müller.txt", kResume},
  };
  for (const auto& a : attachments)
    tnef.Attachment(a.title, a.data)
        .Properties(TPropertyBlock().Unicode(TPropertyBlock::kLongFileName, a.longName).Bytes());
  return tnef.Bytes();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_demo_winmail <file>\n");
    return 2;
  }
  // Written under a temporary name and renamed: an interrupted build leaves no half file behind
  // that a later build would take as up to date.
  const std::string temporary = std::string(argv[1]) + ".part";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << DemoWinmail();
    if (!out.flush()) return 1;
  }
  return std::rename(temporary.c_str(), argv[1]) == 0 ? 0 : 1;
}
