#include "received/add_file.h"

#include <gtest/gtest.h>

#include "tests/unit/received/fake_mail_host.h"
#include "tests/unit/received/test_folder.h"

namespace vlm {
namespace {

using test::EncodeBase64;
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
         name + "\"\r\n\r\n" + EncodeBase64(data) + "\r\n\r\n";
}

class AddFile : public ::testing::Test {
 protected:
  test::TTestFolder folder;
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
      {"text/plain", 256, true},
      {"multipart/mixed; boundary=\"a\"", 8, true},
      {"Multipart/Mixed; boundary=\"a\"", 8, true},
      {"\r\n\tmultipart/mixed; boundary=\"a\"", 8, true},
      {"multipart/related; boundary=\"a\"", 8, false},
      {"", 8, false},
  };
  for (const auto& c : cases) {
    Store("Subject: s\r\nContent-Type: " + c.contentType + "\r\n\r\nbody\r\n", c.status);
    EXPECT_EQ(CanAddFile(tools, nullptr), c.offered) << c.contentType << " " << c.status;
  }
}

TEST_F(AddFile, MultipartMessageGetsOneMorePartBeforeANewClosingDelimiter) {
  const std::string message = std::string(kMixed) + "epilogue\r\n";
  Store(message, 8);
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
}

TEST_F(AddFile, SinglePartMessageBecomesMultipartWithItsBodyFirst) {
  Store(kSinglePart, 0);
  AddFileToMessage(tools, "m1", pdfPath);
  const std::string converted =
      "From: a@example.com\r\n"
      "Content-Type: multipart/mixed;\r\n"
      "\tboundary=\"20120302xy\";\r\n"
      "\tcharset=\"ISO-2022-JP\"\r\n"
      "Message-ID: <x@y>\r\n"
      "X-Velmora: Setattach\r\n"
      "\r\n"
      "--20120302xy\r\n"
      "Content-Type: text/plain; charset=\"ISO-2022-JP\";\r\n"
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
            converted.substr(0, converted.size() - std::strlen("--20120302xy--\r\n"))
                    .replace(converted.find("X-Velmora"), 0, "X-Velmora: Setattach\r\n") +
                Part("20120302xy", "image/jpeg", "photo.jpg", "\xff\xd8\xff") +
                "--20120302xy--\r\n");
}

TEST_F(AddFile, ConvertsTheMessageHeaderEvenWhenItBeginsWithTheContentType) {
  Store(
      "Content-Type: multipart/alternative;\r\n\tboundary=\"alt\"\r\n"
      "Content-Transfer-Encoding: 7bit\r\nMessage-ID: <x@y>\r\n\r\n--alt\r\n\r\nhi\r\n--alt--\r\n",
      0);
  AddFileToMessage(tools, "m1", pdfPath);
  const std::string& result = host.Store["m1"];
  EXPECT_EQ(result.substr(0, result.find("\r\n--20120302xy\r\n")),
            "Content-Type: multipart/mixed;\r\n\tboundary=\"20120302xy\"\r\n"
            "Message-ID: <x@y>\r\nX-Velmora: Setattach\r\n");
  EXPECT_NE(result.find("--20120302xy\r\nContent-Type: multipart/alternative; boundary=\"alt\";\r\n"
                        "Content-Transfer-Encoding: 7bit\r\n\r\n--alt\r\n\r\nhi\r\n--alt--\r\n"),
            std::string::npos);
}

TEST_F(AddFile, SinglePartMessageWithoutTheNeededHeadersIsNotTaken) {
  const std::string full = kSinglePart;
  const auto without = [&](const std::string& text) {
    std::string m = full;
    m.erase(m.find(text), text.size());
    return m;
  };
  for (const std::string& message :
       {without("Content-Type: text/plain;\r\n\tcharset=\"ISO-2022-JP\"\r\n"),
        without("Content-Transfer-Encoding: 7bit\r\n"), without("Message-ID: <x@y>\r\n"),
        without("Message-ID: <x@y>\r\n").replace(0, 0, "Message-ID:\r\n")}) {
    host.StatusTexts.clear();
    Store(message, 0);
    AddFileToMessage(tools, "m1", pdfPath);
    EXPECT_EQ(host.Store["m1"], message);
    EXPECT_EQ(host.StatusTexts, std::vector<std::wstring>{kUnsupportedMailText}) << message;
  }
}

TEST_F(AddFile, MessagesItCannotRewriteStayAsTheyWereWithoutAWord) {
  struct Case {
    const char* what;
    std::string message;
    std::uint32_t status;
  } cases[] = {
      {"not to be converted", kSinglePart, 256},
      {"no quoted boundary",
       "Content-Type: multipart/mixed; boundary=XYZ\r\n\r\n--XYZ\r\n\r\nb\r\n--XYZ--\r\n", 8},
      {"boundary below the header", "Subject: s\r\n\r\n\tboundary=\"XYZ\"\r\n--XYZ--\r\n", 8},
      {"no closing delimiter",
       "Content-Type: multipart/mixed; boundary=\"XYZ\"\r\n\r\n--XYZ\r\n\r\nb\r\n", 8},
      {"header without end",
       "Content-Type: text/plain\r\nContent-Transfer-Encoding: 7bit\r\nMessage-ID: <a>\r\n", 0},
  };
  for (const auto& c : cases) {
    host.Calls.clear();
    Store(c.message, c.status);
    AddFileToMessage(tools, "m1", pdfPath);
    EXPECT_EQ(host.Store["m1"], c.message) << c.what;
    EXPECT_TRUE(host.StatusTexts.empty()) << c.what;
    EXPECT_EQ(host.SetSourceCalls, 0) << c.what;
    if (c.status == 256) {
      EXPECT_EQ(host.Calls, std::vector<std::string>{"GetStatus"});
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
         {std::pair<std::string, std::uint32_t>{kMixed, 8}, {kSinglePart, 0}}) {
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
