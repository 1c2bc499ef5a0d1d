#include "received/add_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "base/ansi_text.h"
#include "base/host_api.h"
#include "received/attachment_file_name.h"
#include "received/message_view.h"
#include "received/work_files.h"
#include "tests/support/scratch_folder.h"
#include "tests/unit/received/fake_mail_host.h"

namespace vlm {
namespace {

using test::EncodeBase64Lines;
using test::TFakeMailHost;

constexpr char kMixed[] =
    "From: a@example.com\r\n"
    "Content-Type: multipart/mixed; boundary=\"XYZ\"\r\n"
    "Message-ID: <1@example.com>\r\n"
    "\r\n"
    "--XYZ\r\n"
    "Content-Type: text/plain\r\n"
    "\r\n"
    "body\r\n"
    "--XYZ--\r\n";

constexpr char kSinglePart[] =
    "From: a@example.com\r\n"
    "Content-Type: text/plain;\r\n"
    "\tcharset=\"ISO-2022-JP\"\r\n"
    "Content-Transfer-Encoding: 7bit\r\n"
    "Message-ID: <x@y>\r\n"
    "\r\n"
    "line 1\r\n"
    "line 2\r\n";

std::string Part(const std::string& boundary, const std::string& type, const std::string& name,
                 const std::string& data) {
  return "--" + boundary + "\r\nContent-Type: " + type + ";\r\n\tname=\"" + name +
         "\"\r\nContent-Transfer-Encoding: base64\r\nContent-Disposition: attachment;\r\n"
         "\tfilename=\"" +
         name + "\"\r\n\r\n" + EncodeBase64Lines(data) + "\r\n\r\n";
}

class AddFile : public ::testing::Test {
 protected:
  test::TScratchFolder folder;
  TFakeMailHost host{folder.Path()};
  TMailTools tools = host.Tools();
  std::string pdf = std::string(1000, '\x25') + "PDF \x01\x02\xff";
  std::string pdfPath = (folder.Path() / "report.pdf").string();

  void SetUp() override { test::WriteFile(pdfPath, pdf); }
  void Store(const std::string& source, std::uint32_t status) {
    host.Store["m1"] = source;
    host.Status["m1"] = status;
    host.Selected = "m1";
  }
};

TEST_F(AddFile, OfferedForMessagesWithoutAttachmentsOrMultipartMixed) {
  struct Case {
    std::string contentType;
    std::uint32_t status;
    bool offered;
  } cases[] = {
      {"text/plain", 0, true},
      {"text/plain", kMailNotConverted, true},
      {"multipart/mixed; boundary=\"a\"", kMailHasAttachments, true},
      {"Multipart/Mixed; boundary=\"a\"", kMailHasAttachments, true},
      {"\r\n\tmultipart/mixed; boundary=\"a\"", kMailHasAttachments, true},
      {"multipart/related; boundary=\"a\"", kMailHasAttachments, false},
      {"", kMailHasAttachments, false},
  };
  for (const auto& c : cases) {
    Store("Subject: s\r\nContent-Type: " + c.contentType + "\r\n\r\nbody\r\n", c.status);
    EXPECT_EQ(CanAddFile(tools, nullptr), c.offered) << c.contentType << " " << c.status;
  }
}

TEST_F(AddFile, MultipartMessageGetsOneMorePartBeforeANewClosingDelimiter) {
  const std::string message = std::string(kMixed) + "epilogue\r\n";
  Store(message, kMailHasAttachments);
  AddFileToMessage(tools, "m1", pdfPath);
  EXPECT_EQ(host.Store["m1"],
            "From: a@example.com\r\n"
            "Content-Type: multipart/mixed; boundary=\"XYZ\"\r\n"
            "Message-ID: <1@example.com>\r\n"
            "X-Velmora: Setattach\r\n"
            "\r\n"
            "--XYZ\r\n"
            "Content-Type: text/plain\r\n"
            "\r\n"
            "body\r\n" +
                Part("XYZ", "application/pdf", "report.pdf", pdf) + "--XYZ--\r\nepilogue\r\n");
  EXPECT_EQ(host.StatusTexts, std::vector<std::wstring>{kFileAddedText});
  EXPECT_EQ(host.OutstandingBuffers(), 0u);
  EXPECT_FALSE(host.BufferFault);
  EXPECT_TRUE(std::filesystem::is_empty(host.TempFolder())) << "the base64 work file stays";
}

// Bare LF and bare CR line breaks, and a last line without a break, are the sender's bytes.
TEST_F(AddFile, KeptBytesStayAsTheyStand) {
  const std::string message =
      "From: a@example.com\nContent-Type: multipart/mixed; boundary=XYZ\r\n\n--XYZ\n"
      "Content-Type: text/plain\r\n\r\nbare\rcr\nlf\r\n--XYZ--\nepilogue\r";
  Store(message, kMailHasAttachments);
  AddFileToMessage(tools, "m1", pdfPath);
  EXPECT_EQ(host.Store["m1"],
            "From: a@example.com\nContent-Type: multipart/mixed; boundary=XYZ\r\n"
            "X-Velmora: Setattach\r\n\n--XYZ\nContent-Type: text/plain\r\n\r\nbare\rcr\nlf\r\n" +
                Part("XYZ", "application/pdf", "report.pdf", pdf) + "--XYZ--\nepilogue\r");
}

// Every Content-* field describes the body and goes with it; the top level keeps an 8-bit
// encoding, which a multipart entity must declare, and the body gains no byte.
TEST_F(AddFile, ConversionMovesEveryContentFieldAndAddsNoBodyBytes) {
  Store(
      "From: a@example.com\nContent-Type: text/plain\nContent-Disposition: inline\n"
      "Content-ID: <c@x>\nContent-Transfer-Encoding: 8bit\nMessage-ID: <x@y>\n\nno final break",
      0);
  AddFileToMessage(tools, "m1", pdfPath);
  EXPECT_EQ(host.Store["m1"],
            "From: a@example.com\nContent-Type: multipart/mixed;\r\n\tboundary=\"20120302xy\"\r\n"
            "Content-Transfer-Encoding: 8bit\r\nMessage-ID: <x@y>\nMIME-Version: 1.0\r\n"
            "X-Velmora: Setattach\r\n\r\n--20120302xy\r\nContent-Type: text/plain\n"
            "Content-Disposition: inline\nContent-ID: <c@x>\nContent-Transfer-Encoding: 8bit\n\n"
            "no final break\r\n" +
                Part("20120302xy", "application/pdf", "report.pdf", pdf) + "--20120302xy--\r\n");
}

// A list footer may add a second closing delimiter: readers end the parts at the first, and a
// part behind it would land in the epilogue, never shown.
TEST_F(AddFile, NewPartGoesBeforeTheFirstClosingDelimiter) {
  const std::string footer = "footer\r\n--XYZ--\r\n";
  Store(std::string(kMixed) + footer, kMailHasAttachments);
  AddFileToMessage(tools, "m1", pdfPath);
  const std::string& result = host.Store["m1"];
  EXPECT_TRUE(result.ends_with("--XYZ--\r\n" + footer)) << result;
  EXPECT_NE(result.find("body\r\n" + Part("XYZ", "application/pdf", "report.pdf", pdf) +
                        "--XYZ--\r\nfooter"),
            std::string::npos);
}

TEST_F(AddFile, PartTypeFromTheTableElseTheSendersElseOctetStream) {
  struct Case {
    std::wstring name;
    std::string mimeTag;
    std::string type;
  } cases[] = {
      {L"a.pdf", "", "application/pdf"},
      {L"b.pdf", "image/x", "application/pdf"},
      {L"a.xyz", "", "application/octet-stream"},
      {L"attachment3", "", "application/octet-stream"},
      {L"a.xyz", "image/x-foo", "image/x-foo"},
      {L"a.xyz", "bad tag", "application/octet-stream"},
      {L"a.xyz", "a/b;c", "application/octet-stream"},
      {L"a.txt", "", "text/plain"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MimeTypeForName(tools, c.name, c.mimeTag), c.type)
        << ToUtf8(c.name) << " " << c.mimeTag;
  // A chosen file without an extension the table knows is no text either.
  const std::string binPath = (folder.Path() / "data").string();
  test::WriteFile(binPath, "\x01\x02");
  Store(kMixed, kMailHasAttachments);
  AddFileToMessage(tools, "m1", binPath);
  EXPECT_NE(host.Store["m1"].find("Content-Type: application/octet-stream;\r\n\tname=\"data\""),
            std::string::npos);
}

TEST_F(AddFile, SinglePartMessageBecomesMultipartWithItsBodyFirst) {
  Store(kSinglePart, 0);
  AddFileToMessage(tools, "m1", pdfPath);
  const std::string converted =
      "From: a@example.com\r\n"
      "Content-Type: multipart/mixed;\r\n"
      "\tboundary=\"20120302xy\"\r\n"
      "Message-ID: <x@y>\r\n"
      "MIME-Version: 1.0\r\n"
      "X-Velmora: Setattach\r\n"
      "\r\n"
      "--20120302xy\r\n"
      "Content-Type: text/plain;\r\n"
      "\tcharset=\"ISO-2022-JP\"\r\n"
      "Content-Transfer-Encoding: 7bit\r\n"
      "\r\n"
      "line 1\r\n"
      "line 2\r\n"
      "\r\n" +
      Part("20120302xy", "application/pdf", "report.pdf", pdf) + "--20120302xy--\r\n";
  EXPECT_EQ(host.Store["m1"], converted);
  EXPECT_EQ(host.StatusTexts, std::vector<std::wstring>{kFileAddedText});

  // Once the host counts the attachment, a second file goes in as one more part.
  const std::string jpgPath = (folder.Path() / "photo.jpg").string();
  test::WriteFile(jpgPath, "\xff\xd8\xff");
  host.Status["m1"] = 8;
  AddFileToMessage(tools, "m1", jpgPath);
  EXPECT_EQ(host.Store["m1"],
            converted.substr(0, converted.size() - std::strlen("--20120302xy--\r\n")) +
                Part("20120302xy", "image/jpeg", "photo.jpg", "\xff\xd8\xff") +
                "--20120302xy--\r\n");
}

TEST_F(AddFile, ConvertsTheMessageHeaderEvenWhenItBeginsWithTheContentType) {
  Store(
      "Content-Type: text/html;\r\n\tcharset=\"utf-8\"\r\n"
      "Content-Transfer-Encoding: 8bit\r\nMessage-ID: <x@y>\r\nMIME-Version: 1.0\r\n\r\n"
      "<p>hi</p>\r\n",
      0);
  AddFileToMessage(tools, "m1", pdfPath);
  const std::string& result = host.Store["m1"];
  EXPECT_EQ(result.substr(0, result.find("\r\n--20120302xy\r\n")),
            "Content-Type: multipart/mixed;\r\n\tboundary=\"20120302xy\"\r\n"
            "Content-Transfer-Encoding: 8bit\r\n"
            "Message-ID: <x@y>\r\nMIME-Version: 1.0\r\nX-Velmora: Setattach\r\n");
  EXPECT_NE(result.find("--20120302xy\r\nContent-Type: text/html;\r\n\tcharset=\"utf-8\"\r\n"
                        "Content-Transfer-Encoding: 8bit\r\n\r\n<p>hi</p>\r\n"),
            std::string::npos);
}

// MIME lets a message omit its content headers and its Message-ID: the defaults stand in for
// them, and the boundary comes from the date and a digest of the text.
TEST_F(AddFile, SinglePartMessageWithoutOptionalHeadersTakesAFile) {
  const std::string full = kSinglePart;
  const auto without = [&](const std::string& text) {
    std::string m = full;
    m.erase(m.find(text), text.size());
    return m;
  };
  const std::string noId = without("Message-ID: <x@y>\r\n");
  struct Case {
    const char* what;
    std::string message;
    std::string firstPartHeader;  // the first part's content headers
    bool boundaryFromId;
  } cases[] = {
      {"no Content-Type", without("Content-Type: text/plain;\r\n\tcharset=\"ISO-2022-JP\"\r\n"),
       "Content-Type: text/plain; charset=us-ascii\r\nContent-Transfer-Encoding: 7bit\r\n", true},
      {"no Content-Transfer-Encoding", without("Content-Transfer-Encoding: 7bit\r\n"),
       "Content-Transfer-Encoding: 7bit\r\nContent-Type: "
       "text/plain;\r\n\tcharset=\"ISO-2022-JP\"\r\n",
       true},
      {"no Message-ID", noId,
       "Content-Type: text/plain;\r\n\tcharset=\"ISO-2022-JP\"\r\nContent-Transfer-Encoding: "
       "7bit\r\n",
       false},
      {"empty Message-ID", std::string(noId).replace(0, 0, "Message-ID:\r\n"),
       "Content-Type: text/plain;\r\n\tcharset=\"ISO-2022-JP\"\r\nContent-Transfer-Encoding: "
       "7bit\r\n",
       false},
      {"Message-ID of no usable character", std::string(noId).replace(0, 0, "Message-ID: <@>\r\n"),
       "Content-Type: text/plain;\r\n\tcharset=\"ISO-2022-JP\"\r\nContent-Transfer-Encoding: "
       "7bit\r\n",
       false},
      {"nothing but a From line", "From: a@example.com\r\n\r\nhello\r\n",
       "Content-Type: text/plain; charset=us-ascii\r\nContent-Transfer-Encoding: 7bit\r\n", false},
      {"a header without end", "From: a@example.com\r\nSubject: only a header\r\n",
       "Content-Type: text/plain; charset=us-ascii\r\nContent-Transfer-Encoding: 7bit\r\n", false},
  };
  std::set<std::string> digestBoundaries;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    host.StatusTexts.clear();
    Store(c.message, 0);
    AddFileToMessage(tools, "m1", pdfPath);
    EXPECT_EQ(host.StatusTexts, std::vector<std::wstring>{kFileAddedText});
    const std::string& result = host.Store["m1"];
    const size_t at = result.find("boundary=\"");
    ASSERT_NE(at, std::string::npos);
    const std::string boundary = result.substr(at + 10, result.find('"', at + 10) - at - 10);
    EXPECT_TRUE(boundary.starts_with("20120302")) << boundary;
    EXPECT_LE(boundary.size(), 70u);
    EXPECT_EQ(boundary.find_first_not_of(
                  "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz'()+_,-./:=?"),
              std::string::npos);
    if (c.boundaryFromId) {
      EXPECT_EQ(boundary, "20120302xy");
    } else {
      EXPECT_EQ(boundary.size(), 8u + 16u) << boundary;
      EXPECT_TRUE(digestBoundaries.insert(boundary).second) << "same boundary for another text";
    }
    EXPECT_NE(result.find("\r\n\r\n--" + boundary + "\r\n" + c.firstPartHeader + "\r\n"),
              std::string::npos)
        << result;
    EXPECT_NE(result.find("MIME-Version: 1.0\r\n"), std::string::npos);
    EXPECT_NE(result.find(Part(boundary, "application/pdf", "report.pdf", pdf) + "--" + boundary +
                          "--\r\n"),
              std::string::npos);
  }
  // The digest is of the text: the same message gives the same boundary.
  Store(noId, 0);
  AddFileToMessage(tools, "m1", pdfPath);
  EXPECT_EQ(digestBoundaries.count(
                host.Store["m1"].substr(host.Store["m1"].find("boundary=\"") + 10, 24)),
            1u);
}

TEST_F(AddFile, ABoundaryTheBodyUsesIsChanged) {
  std::string message = kSinglePart;
  message += "--20120302xy\r\n";
  Store(message, 0);
  AddFileToMessage(tools, "m1", pdfPath);
  EXPECT_NE(host.Store["m1"].find("\tboundary=\"20120302xy=_1\"\r\n"), std::string::npos);
  EXPECT_NE(host.Store["m1"].find("--20120302xy=_1--\r\n"), std::string::npos);
}

TEST_F(AddFile, HeaderParametersInAnySpellingAreRead) {
  struct Case {
    const char* what;
    std::string contentType;
    std::string boundary;
  } cases[] = {
      {"unquoted", "multipart/mixed; boundary=XYZ", "XYZ"},
      {"name in other case", "multipart/mixed; Boundary=\"XYZ\"", "XYZ"},
      {"folded, comment, blanks", "Multipart/Mixed;\r\n (parts follow)\r\n\tBOUNDARY = XYZ", "XYZ"},
      {"bare with '='", "multipart/mixed; boundary==_a=", "=_a="},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string message =
        "From: a@example.com\r\nContent-Type: " + c.contentType + "\r\n\r\n--" + c.boundary +
        "\r\nContent-Type: text/plain\r\n\r\nbody\r\n--" + c.boundary + "--\r\n";
    Store(message, kMailHasAttachments);
    EXPECT_TRUE(CanAddFile(tools, "m1"));
    AddFileToMessage(tools, "m1", pdfPath);
    const size_t closing = message.rfind("--" + c.boundary + "--");
    EXPECT_EQ(
        host.Store["m1"],
        message.substr(0, message.find("\r\n\r\n") + 2) + "X-Velmora: Setattach\r\n" +
            message.substr(message.find("\r\n\r\n") + 2, closing - message.find("\r\n\r\n") - 2) +
            Part(c.boundary, "application/pdf", "report.pdf", pdf) + "--" + c.boundary + "--\r\n");
  }
  // A former multipart boundary in any spelling leaves the converted header.
  Store("Content-Type: text/plain;\r\n\tBoundary=old\r\nMessage-ID: <x@y>\r\n\r\nb\r\n", 0);
  AddFileToMessage(tools, "m1", pdfPath);
  const std::string& converted = host.Store["m1"];
  EXPECT_EQ(converted.substr(0, converted.find("\r\n\r\n")).find("old"), std::string::npos);
  EXPECT_NE(converted.find("Content-Transfer-Encoding: 7bit\r\nContent-Type: text/plain;\r\n"
                           "\tBoundary=old\r\n\r\nb\r\n"),
            std::string::npos);
}

TEST_F(AddFile, MessagesItCannotRewriteStayAsTheyWereAndSaySo) {
  struct Case {
    const char* what;
    std::string message;
    std::uint32_t status;
    std::wstring text;
  } cases[] = {
      {"not to be converted", kSinglePart, kMailNotConverted, kUnsupportedMailText},
      {"attachments but no multipart", "Subject: s\r\n\r\n\tboundary=\"XYZ\"\r\n--XYZ--\r\n",
       kMailHasAttachments, kUnsupportedMailText},
      {"no boundary", "Content-Type: multipart/mixed\r\n\r\n--XYZ\r\n\r\nb\r\n--XYZ--\r\n",
       kMailHasAttachments, kUnsupportedMailText},
      {"no closing delimiter",
       "Content-Type: multipart/mixed; boundary=\"XYZ\"\r\n\r\n--XYZ\r\n\r\nb\r\n",
       kMailHasAttachments, kUnsupportedMailText},
      {"no header", "\r\nbody only\r\n", 0, kUnsupportedMailText},
      {"a header line that is no field", "From: a@example.com\r\nnot a field\r\n\r\nb\r\n", 0,
       kUnsupportedMailText},
      {"a stray line in a multipart header",
       "Content-Type: multipart/mixed; "
       "boundary=\"XYZ\"\r\nstray\r\n\r\n--XYZ\r\n\r\nb\r\n--XYZ--\r\n",
       kMailHasAttachments, kUnsupportedMailText},
      // The host's text ends at a NUL byte such a body may hold: the rest would be lost.
      {"a single part sent as binary",
       "From: a@example.com\r\nContent-Transfer-Encoding: Binary\r\n\r\nx\r\n", 0,
       kUnsupportedMailText},
      {"a binary file stored as mail", "\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1", 0, kUnsupportedMailText},
  };
  for (const auto& c : cases) {
    host.StatusTexts.clear();
    host.SetSourceCalls = 0;
    Store(c.message, c.status);
    AddFileToMessage(tools, "m1", pdfPath);
    EXPECT_EQ(host.Store["m1"], c.message) << c.what;
    EXPECT_EQ(host.StatusTexts, std::vector<std::wstring>{c.text}) << c.what;
    EXPECT_EQ(host.SetSourceCalls, 0) << c.what;
    EXPECT_EQ(AddFileRefusal(tools, "m1"), c.text) << c.what;
  }
  Store(kMixed, kMailHasAttachments);
  EXPECT_EQ(AddFileRefusal(tools, "m1"), std::nullopt);
  Store(kSinglePart, 0);
  EXPECT_EQ(AddFileRefusal(tools, "m1"), std::nullopt);
}

// A part added to these would break a signature, the choice among alternatives, a report's or a
// digest's layout: they are left alone, with or without the host's attachment flag.
TEST_F(AddFile, OtherMultipartTypesAreRefusedByName) {
  for (const std::string type : {"multipart/alternative", "multipart/related", "multipart/signed",
                                 "multipart/report", "multipart/digest"}) {
    for (const std::uint32_t status : {0u, 8u}) {
      host.StatusTexts.clear();
      const std::string message =
          "From: a@example.com\r\nMessage-ID: <x@y>\r\nContent-Type: " + type +
          "; protocol=\"application/pkcs7-signature\"; boundary=\"s\"\r\n"
          "\r\n--s\r\n\r\nsigned\r\n--s\r\n\r\nsig\r\n--s--\r\n";
      Store(message, status);
      AddFileToMessage(tools, "m1", pdfPath);
      EXPECT_EQ(host.Store["m1"], message) << type;
      EXPECT_EQ(AddFileRefusal(tools, "m1"), UnwritableMultipartText(type)) << "before the dialog";
      ASSERT_EQ(host.StatusTexts.size(), 1u);
      EXPECT_EQ(host.StatusTexts[0], UnwritableMultipartText(type));
      EXPECT_NE(host.StatusTexts[0].find(std::wstring(type.begin(), type.end())),
                std::wstring::npos);
    }
  }
}

TEST_F(AddFile, FailureLeavesTheStoredMessageAsItWas) {
  struct Case {
    const char* what;
    TFakeMailHost::TFault fault;
    std::string path;
  } cases[] = {
      {"host encodes half", TFakeMailHost::TFault::fEncodeTruncated, pdfPath},
      {"host gives no buffer", TFakeMailHost::TFault::fNoBuffer, pdfPath},
      {"file vanished", TFakeMailHost::TFault::fNone, pdfPath + ".gone"},
  };
  for (const auto& c : cases) {
    for (const auto& [message, status] :
         {std::pair<std::string, std::uint32_t>{kMixed, kMailHasAttachments}, {kSinglePart, 0}}) {
      host.StatusTexts.clear();
      host.Fault = c.fault;
      Store(message, status);
      AddFileToMessage(tools, "m1", c.path);
      EXPECT_EQ(host.Store["m1"], message) << c.what;
      EXPECT_EQ(host.StatusTexts, std::vector<std::wstring>{kAddFailedText}) << c.what;
      EXPECT_EQ(host.OutstandingBuffers(), 0u);
    }
  }
}

TEST(AddFileBoundary, DateAndMessageIdAddress) {
  struct Case {
    std::wstring date;
    std::string messageId;
    std::string boundary;
  } cases[] = {
      {L"2012/03/02", "<x@y>", "20120302xy"},
      {L"2012/03/02", "x@y", "20120302xy"},
      {L"2012/03/02", "<a/b@c.d> (comment)", "20120302abc.d"},
      {L"2012/03/02", "<x@y", "20120302xy"},
      {L"2012/03/02", "junk <\"q r\"@y>", "20120302qry"},
      {L"2012年3月2日", "<x@y>", "201232xy"},
      {L"12-3-2", "<" + std::string(100, 'a') + ">", "12-3-2" + std::string(64, 'a')},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MakeBoundary(c.date, c.messageId), c.boundary) << c.messageId;
}

}  // namespace
}  // namespace vlm
