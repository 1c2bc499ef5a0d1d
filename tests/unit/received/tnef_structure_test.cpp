// What a winmail.dat carries beyond its attachment records: files kept in property blocks, OLE
// objects, forwarded Outlook items (messages of their own, nested to a fixed depth) and the
// message body; and the byte scan kept for a stream whose records do not walk.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/ansi_text.h"
#include "received/tnef_convert.h"
#include "tests/support/base64.h"
#include "tests/support/little_endian.h"
#include "tests/support/scratch_folder.h"
#include "tests/unit/received/tnef_builder.h"

namespace vlm {
namespace {

using test::LittleEndian;
using test::TPropertyBlock;
using test::TTnefBuilder;

constexpr std::uint16_t kAttachData = 0x3701;
constexpr std::uint16_t kAttachMethod = 0x3705;
constexpr std::uint16_t kDisplayName = 0x3001;
constexpr std::uint16_t kBinary = 0x0102;
constexpr std::uint16_t kObject = 0x000D;
constexpr std::uint32_t kAttMsgProps = 0x00069003;
const std::string kIidIMessage("\x07\x03\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46",
                               16);
const std::string kIidIStorage("\x0B\x00\x00\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46",
                               16);
const std::string kPlaceholder =
    "This attachment is a MAPI 1.0 embedded message and is not supported by this mail system.";

struct TDecoded {
  std::vector<std::wstring> names;
  std::vector<std::string> contentTypes;
  std::vector<std::string> contents;
};

TDecoded Decode(const std::string& tnef, bool body = true) {
  test::TScratchFolder folder;
  test::WriteFile(folder.Path() / "winmail.dat", tnef);
  std::filesystem::create_directory(folder.Path() / "out");
  TTNEFConvert converter(folder.Path() / "winmail.dat");
  converter.SetBody(body, true);
  TDecoded decoded;
  converter.Convert(decoded.names, folder.Path() / "out");
  decoded.contentTypes = converter.ContentTypes();
  for (const auto& name : decoded.names)
    decoded.contents.push_back(
        test::ReadFile(folder.Path() / "out" / std::filesystem::path(ToUtf8(name))));
  return decoded;
}

// A forwarded message: its own stream, with a subject and one file, inside an attachment whose
// data record holds Outlook's placeholder text.
std::string Forwarded(const std::string& inner, const char* subject = "Minutes") {
  return TTnefBuilder()
      .Rendering()
      .Title("Untitled Attachment")
      .Data(kPlaceholder)
      .Properties(TPropertyBlock()
                      .Long(kAttachMethod, 5)
                      .String8(kDisplayName, subject)
                      .Text(kAttachData, kObject, kIidIMessage + inner)
                      .Bytes())
      .Bytes();
}

std::string InnerMessage() {
  return TTnefBuilder()
      .Attribute(1, kAttMsgProps,
                 TPropertyBlock()
                     .String8(0x0037, "Minutes")
                     .String8(0x0C1A, "Suzuki")
                     .String8(0x5D01, "suzuki@example.jp")
                     .String8(0x1000, "See the file.")
                     .Bytes())
      .Attachment("notes.txt", "inner file")
      .Bytes();
}

TEST(TnefStructure, FilesInPropertyBlocksAndObjects) {
  const struct {
    const char* what;
    std::string tnef;
    std::vector<std::wstring> names;
    std::vector<std::string> contents;
  } cases[] = {
      {"data only in the property block",
       TTnefBuilder()
           .Rendering()
           .Properties(TPropertyBlock()
                           .String8(TPropertyBlock::kLongFileName, "report.doc")
                           .Text(kAttachData, kBinary, "DOC")
                           .Bytes())
           .Bytes(),
       {L"report.doc"},
       {"DOC"}},
      {"data in the record and the block: written once",
       TTnefBuilder()
           .Attachment("a.txt", "record")
           .Properties(TPropertyBlock().Text(kAttachData, kBinary, "block").Bytes())
           .Bytes(),
       {L"a.txt"},
       {"record"}},
      {"an OLE object without its interface id",
       TTnefBuilder()
           .Rendering()
           .Properties(TPropertyBlock()
                           .Long(kAttachMethod, 6)
                           .Text(kAttachData, kObject, kIidIStorage + "OLE")
                           .Bytes())
           .Bytes(),
       {L"attachment1"},
       {"OLE"}},
  };
  for (const auto& c : cases) {
    const TDecoded decoded = Decode(c.tnef);
    EXPECT_EQ(decoded.names, c.names) << c.what;
    EXPECT_EQ(decoded.contents, c.contents) << c.what;
  }
}

TEST(TnefStructure, AForwardedMessageBecomesAMessageWithItsOwnFiles) {
  const TDecoded decoded = Decode(Forwarded(InnerMessage()));
  ASSERT_EQ(decoded.names, std::vector<std::wstring>{L"Minutes.eml"});
  EXPECT_EQ(decoded.contentTypes, std::vector<std::string>{"message/rfc822"});
  const std::string& text = decoded.contents[0];
  EXPECT_EQ(text.find(kPlaceholder), std::string::npos);
  for (const char* line : {"From: Suzuki <suzuki@example.jp>\r\n", "Subject: Minutes\r\n",
                           "Content-Type: text/plain; charset=\"utf-8\"\r\n",
                           "Content-Type: application/octet-stream; name=\"notes.txt\"\r\n"})
    EXPECT_NE(text.find(line), std::string::npos) << line;
  EXPECT_NE(text.find(test::EncodeBase64Lines("inner file")), std::string::npos);
  EXPECT_NE(text.find(test::EncodeBase64Lines("See the file.")), std::string::npos);
  // Every line is 7-bit and ends in CR LF, as a message/rfc822 part must be.
  EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);
  for (const char c : text) EXPECT_LT(static_cast<unsigned char>(c), 0x80);
}

// Identifiers and types are ASCII: one that is not (here a Unicode Message-ID the code page cannot
// hold) is left out, not taken as a reason to fail.
TEST(TnefStructure, AnIdentifierThatIsNoAsciiIsLeftOut) {
  const std::string inner = TTnefBuilder()
                                .Attribute(1, kAttMsgProps,
                                           TPropertyBlock()
                                               .String8(0x0037, "Minutes")
                                               .Unicode(0x1035, u"<\u0E01\u00e9@example.jp>")
                                               .Unicode(0x370E, u"text/\u0E01")
                                               .Bytes())
                                .Bytes();
  const TDecoded decoded = Decode(Forwarded(inner));
  ASSERT_EQ(decoded.names, std::vector<std::wstring>{L"Minutes.eml"});
  EXPECT_EQ(decoded.contents[0].find("Message-ID"), std::string::npos);
}

TEST(TnefStructure, ForwardedMessagesNestToAFixedDepth) {
  std::string message = InnerMessage();
  for (unsigned depth = 1; depth < kMaxTnefNesting; ++depth) message = Forwarded(message);
  EXPECT_EQ(Decode(message).names, std::vector<std::wstring>{L"Minutes.eml"});
  test::TScratchFolder folder;
  test::WriteFile(folder.Path() / "winmail.dat", Forwarded(message));
  std::filesystem::create_directory(folder.Path() / "out");
  std::vector<std::wstring> names;
  TTNEFConvert converter(folder.Path() / "winmail.dat");
  EXPECT_THROW(converter.Convert(names, folder.Path() / "out"), ETNEFNesting);
  EXPECT_TRUE(names.empty());
  EXPECT_TRUE(std::filesystem::is_empty(folder.Path() / "out"));
}

TEST(TnefStructure, TheBodyAsAPartOfItsOwn) {
  const std::string html = "<p>\x93\xfa\x96\x7b</p>";  // Shift_JIS
  const std::string tnef =
      TTnefBuilder()
          .Attachment("a.txt", "a")
          .Attribute(1, kAttMsgProps,
                     TPropertyBlock().Text(0x1013, kBinary, html).Long(0x3FDE, 932).Bytes())
          .Bytes();
  const TDecoded decoded = Decode(tnef);
  EXPECT_EQ(decoded.names, (std::vector<std::wstring>{L"a.txt", L"message.html"}));
  EXPECT_EQ(decoded.contentTypes[1], "text/html; charset=\"shift_jis\"");
  EXPECT_EQ(decoded.contents[1], html);
  EXPECT_EQ(Decode(tnef, false).names, std::vector<std::wstring>{L"a.txt"});
  // A stream that carries only a body is no longer empty.
  const std::string bodyOnly =
      TTnefBuilder()
          .Attribute(1, kAttMsgProps, TPropertyBlock().String8(0x1000, "Hello").Bytes())
          .Bytes();
  EXPECT_EQ(Decode(bodyOnly).names, std::vector<std::wstring>{L"message.txt"});
  EXPECT_EQ(Decode(bodyOnly).contents, std::vector<std::string>{"Hello"});
}

}  // namespace
}  // namespace vlm
