#include "received/winmail_expansion.h"

#include <gtest/gtest.h>

#include "base/host_api.h"
#include "received/attachment_file_name.h"
#include "received/message_view.h"
#include "received/tnef_convert.h"
#include "received/work_files.h"
#include "tests/unit/received/fake_mail_host.h"
#include "tests/support/sample_data.h"
#include "tests/support/scratch_folder.h"
#include "tests/unit/received/fake_mail_host.h"

namespace vlm {
namespace {

using test::EncodeBase64Lines;
using test::OutlookMessage;
using test::TFakeMailHost;

constexpr char kBoundary[] = "----=_NextPart_000_0001";
constexpr char kClosing[] = "------=_NextPart_000_0001--\r\n";

std::string Sample(const char* name) {
  return test::ReadFile(test::SamplePath(std::filesystem::path("tnef") / name));
}

// What the decoder makes of a winmail.dat on its own: the files in order, with the Content-Type
// the decoder gives the ones it makes itself (empty for the sender's files) and their content.
struct TDecodedFile {
  std::wstring Name;
  std::string ContentType;
  std::string Data;
};
std::vector<TDecodedFile> DecoderFiles(const std::string& tnef, const TMailTools& tools) {
  test::TScratchFolder folder;
  test::WriteFile(folder.Path() / "winmail.dat", tnef);
  std::filesystem::create_directory(folder.Path() / "out");
  std::vector<std::wstring> names;
  TTNEFConvert converter(folder.Path() / "winmail.dat");
  converter.SetBody(true, false);  // the messages below show a text part of their own
  converter.SetTypeOf([&](const std::wstring& name, const std::string& tag) {
    return MimeTypeForName(tools, name, tag);
  });
  converter.Convert(names, folder.Path() / "out");
  std::vector<TDecodedFile> files;
  for (size_t i = 0; i < names.size(); ++i)
    files.push_back({names[i], converter.ContentTypes()[i],
                     test::ReadFile(FileInFolder(folder.Path() / "out", names[i]))});
  return files;
}

std::string Part(const std::string& type, const std::string& name, const std::string& data) {
  return std::string("--") + kBoundary + "\r\nContent-Type: " + type + ";\r\n\tname=\"" + name +
         "\"\r\nContent-Transfer-Encoding: base64\r\nContent-Disposition: attachment;\r\n"
         "\tfilename=\"" +
         name + "\"\r\n\r\n" + EncodeBase64Lines(data) + "\r\n\r\n";
}

// A forwarded message's part: its text as it stands, no transfer encoding.
std::string MessagePart(const std::string& name, const std::string& text) {
  return std::string("--") + kBoundary + "\r\nContent-Type: message/rfc822;\r\n\tname=\"" + name +
         "\"\r\nContent-Disposition: attachment;\r\n\tfilename=\"" + name + "\"\r\n\r\n" + text +
         "\r\n";
}

// The parts for the decoder's files: a sender's file typed by `typeOf`, a file the decoder made
// with the type it gave.
template <typename TypeOf>
std::string PartsFor(const std::vector<TDecodedFile>& files, TypeOf typeOf) {
  std::string parts;
  for (const TDecodedFile& file : files) {
    if (file.ContentType == "message/rfc822")
      parts += MessagePart(ToAnsi(file.Name), file.Data);
    else
      parts += Part(file.ContentType.empty() ? typeOf(file.Name) : file.ContentType,
                    ToAnsi(file.Name), file.Data);
  }
  return parts;
}

// The message as the expansion must leave it: the marker at the end of the header, one part
// per file where the closing delimiter was, then the delimiter and what followed it.
std::string Expanded(const std::string& message, const std::string& parts) {
  const size_t headerEnd = message.find("\r\n\r\n") + 2;
  const size_t closing = message.rfind(kClosing);
  return message.substr(0, headerEnd) + "X-Velmora: Settlement\r\n" +
         message.substr(headerEnd, closing - headerEnd) + parts + kClosing +
         message.substr(closing + std::strlen(kClosing));
}

class WinmailExpansion : public ::testing::Test {
 protected:
  test::TScratchFolder folder;
  TFakeMailHost host{folder.Path()};
  TMailTools tools = host.Tools();

  void Store(const std::string& source, std::uint32_t status = kMailHasAttachments) {
    host.Store["m1"] = source;
    host.Status["m1"] = status;
    host.Selected = "m1";
  }
  // Nothing of the expansion stays in the host's temporary folder but the work folder itself.
  void ExpectNoWorkFilesLeft() {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(host.TempFolder()))
      EXPECT_EQ(entry.path(), host.WorkFolder()) << "left behind: " << entry.path();
  }
  void ExpectUntouched(const std::string& source, const std::wstring& ending) {
    EXPECT_EQ(host.Store["m1"], source);
    EXPECT_EQ(host.SetSourceCalls, 0);
    EXPECT_EQ(host.OutstandingBuffers(), 0u);
    EXPECT_EQ(host.StatusTexts, (std::vector<std::wstring>{kExpandingText, ending}));
  }
};

TEST_F(WinmailExpansion, AppendsOnePartPerExtractedFileAndMarksTheMessage) {
  const std::string tnef = Sample("quick-winmail.dat");
  const std::string message = OutlookMessage(tnef);
  Store(message);
  ASSERT_TRUE(HasWinmailPart(tools, "m1"));
  ExpandWinmail(tools, "m1");

  const auto files = DecoderFiles(tnef, tools);
  ASSERT_EQ(files.size(), 6u);  // five files and the body, RTF written as RTF
  EXPECT_EQ(files.back().Name, L"message.rtf");
  const std::string parts =
      PartsFor(files, [&](const std::wstring& name) { return MimeTypeForName(tools, name); });
  EXPECT_NE(parts.find("Content-Type: application/msword;\r\n\tname=\"quick.doc\""),
            std::string::npos);
  EXPECT_EQ(host.Store["m1"], Expanded(message, parts));
  EXPECT_EQ(host.SetSourceCalls, 1);
  EXPECT_FALSE(host.BufferFault);
  EXPECT_EQ(host.OutstandingBuffers(), 0u);
  EXPECT_EQ(host.StatusTexts, (std::vector<std::wstring>{kExpandingText, kExpandedText}));
  EXPECT_TRUE(std::filesystem::is_directory(host.WorkFolder()));
  ExpectNoWorkFilesLeft();

  // The marker keeps the message from being expanded twice.
  EXPECT_FALSE(HasWinmailPart(tools, "m1"));
}

// Forwarded Outlook items become messages of their own; the photo inside one stays inside it.
TEST_F(WinmailExpansion, ForwardedItemsBecomeMessageParts) {
  const std::string tnef = Sample("christmas.tnef");
  const std::string message = OutlookMessage(tnef);
  Store(message);
  ExpandWinmail(tools, "m1");
  const auto files = DecoderFiles(tnef, tools);
  std::vector<std::wstring> names;
  for (const auto& file : files) names.push_back(file.Name);
  EXPECT_EQ(names, (std::vector<std::wstring>{L"kitten-playing-with-a-christmas-tree.jpg",
                                              L"Build a train table.eml",
                                              L"Christmas Celebration!.eml", L"message.rtf"}));
  const std::string parts =
      PartsFor(files, [&](const std::wstring& name) { return MimeTypeForName(tools, name); });
  EXPECT_EQ(host.Store["m1"], Expanded(message, parts));
  EXPECT_EQ(parts.find("Untitled Attachment"), std::string::npos);
}

TEST_F(WinmailExpansion, EightBitLinesAndTheEpilogueStayAsTheyWere) {
  const std::string tnef = Sample("two-files.tnef");
  std::string message = OutlookMessage(tnef, "epilogue \xff\xfe\r\n");
  // A UTF-8 body line, which the code page cannot carry.
  message.replace(message.find("See the attachments."), 20, "\xe6\xb7\xbb\xe4\xbb\x98 \xc3\xa9");
  Store(message);
  ExpandWinmail(tools, "m1");
  const std::string parts = PartsFor(
      DecoderFiles(tnef, tools), [](const std::wstring&) { return "application/octet-stream"; });
  EXPECT_EQ(host.Store["m1"], Expanded(message, parts));
}

TEST_F(WinmailExpansion, TellsWhetherAMessageShouldBeExpanded) {
  const std::string good = OutlookMessage(Sample("two-files.tnef"));
  const auto without = [&](const std::string& text) {
    std::string m = good;
    m.erase(m.find(text), text.size());
    return m;
  };
  const auto replaced = [&](const std::string& text, const std::string& by) {
    std::string m = good;
    m.replace(m.find(text), text.size(), by);
    return m;
  };
  struct Case {
    const char* what;
    std::string message;
    std::uint32_t status;
    bool expected;
  } cases[] = {
      {"Outlook message with attachments", good, kMailHasAttachments | kMailNotConverted, true},
      {"no attachment flag", good, kMailNotConverted, false},
      {"expanded before", replaced("Subject:", "X-Velmora: Settlement\r\nSubject:"),
       kMailHasAttachments, false},
      {"a file added before", replaced("Subject:", "X-Velmora: Setattach\r\nSubject:"),
       kMailHasAttachments, true},
      // Some gateways drop the correlator.
      {"no correlator", without("X-MS-TNEF-Correlator: <00000000B1@example.com>\r\n"),
       kMailHasAttachments, true},
      {"sent as octet-stream, named winmail.dat",
       replaced("application/ms-tnef;", "application/octet-stream;"), kMailHasAttachments, true},
      {"type line in other case",
       replaced("Content-Type: application/ms-tnef;", "content-type: Application/MS-TNEF;"),
       kMailHasAttachments, true},
      {"type line with more on it", replaced("application/ms-tnef;", "application/ms-tnef; name=x"),
       8, true},
      {"tnef part only nested deeper",
       replaced("Content-Type: application/ms-tnef;",
                "Content-Type: multipart/mixed; boundary=in\r\n\r\n--in\r\n"
                "Content-Type: application/ms-tnef;"),
       8, false},
      {"tnef type only in the body",
       [&] {
         std::string m = replaced("application/ms-tnef;", "application/x-other;");
         for (size_t at; (at = m.find("winmail.dat")) != std::string::npos;)
           m.replace(at, 11, "other.dat");
         m.replace(m.find("See the attachments."), 20, "Content-Type: application/ms-tnef;");
         return m;
       }(),
       8, false},
  };
  for (const auto& c : cases) {
    Store(c.message, c.status);
    EXPECT_EQ(HasWinmailPart(tools, nullptr), c.expected) << c.what;
  }
}

TEST_F(WinmailExpansion, StopsSilentlyWithoutAttachmentFlag) {
  const std::string message = OutlookMessage(Sample("two-files.tnef"));
  Store(message, 0);
  ExpandWinmail(tools, "m1");
  EXPECT_EQ(host.Store["m1"], message);
  EXPECT_TRUE(host.StatusTexts.empty());
}

TEST_F(WinmailExpansion, RefusesAPartItCannotTakeApartCleanlyAndSaysWhy) {
  const std::string tnef = Sample("two-files.tnef");
  const std::string good = OutlookMessage(tnef);
  const auto replaced = [&](const std::string& text, const std::string& by) {
    std::string m = good;
    m.replace(m.find(text), text.size(), by);
    return m;
  };
  const std::string encoded = EncodeBase64Lines(tnef);
  struct Case {
    const char* what;
    std::string message;
    std::wstring ending;
  } cases[] = {
      {"no tnef part",
       [&] {
         std::string m = replaced("application/ms-tnef;", "application/x-other;");
         for (size_t at; (at = m.find("winmail.dat")) != std::string::npos;)
           m.replace(at, 11, "other.dat");
         return m;
       }(),
       kUnsupportedWinmailText},
      {"boundary only below the header",
       replaced("\tboundary=\"----=_NextPart_000_0001\"\r\nX-MS", "\tcharset=x\r\nX-MS")
           .replace(good.find("This is") - 25, 0, "\tboundary=\"----=_NextPart_000_0001\"\r\n"),
       kUnsupportedWinmailText},
      {"no closing delimiter", replaced(kClosing, ""), kUnsupportedWinmailText},
      {"tnef part without base64 text",
       good.substr(0, good.find("Content-Type: application/ms-tnef;")) +
           "Content-Type: application/ms-tnef;\r\n\tname=\"winmail.dat\"\r\n"
           "Content-Transfer-Encoding: base64\r\n\r\n" +
           kClosing,
       kExpandFailedText},
      {"not base64",
       replaced("Content-Transfer-Encoding: base64\r\nContent-Disposition",
                "Content-Transfer-Encoding: quoted-printable\r\nContent-Disposition"),
       kUnsupportedWinmailText},
      {"signed", replaced("multipart/mixed;", "multipart/signed;"),
       UnwritableMultipartText("multipart/signed")},
      {"damaged base64", replaced(encoded.substr(0, 10), encoded.substr(0, 9) + "!"),
       kExpandFailedText},
      {"cut base64", replaced(encoded.substr(encoded.size() - 9), "\r\n"), kExpandFailedText},
      {"nothing inside", OutlookMessage(Sample("garbage-at-end.tnef")), kNothingToExpandText},
  };
  ASSERT_NE(cases[1].message.find("\r\n\r\n\tboundary=\"----=_NextPart_000_0001\"\r\nThis is"),
            std::string::npos);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    host.StatusTexts.clear();
    Store(c.message);
    ExpandWinmail(tools, "m1");
    ExpectUntouched(c.message, c.ending);
  }
}

// The winmail.dat part is found by its Content-Type, read as MIME defines it, among the message's
// own parts, whatever order and number of header lines its sender wrote.
TEST_F(WinmailExpansion, FindsThePartWhateverItsHeaderLayout) {
  const std::string tnef = Sample("two-files.tnef");
  const std::string good = OutlookMessage(tnef);
  const auto replaced = [&](const std::string& text, const std::string& by) {
    std::string m = good;
    m.replace(m.find(text), text.size(), by);
    return m;
  };
  const std::string outlookPartHeader =
      "Content-Type: application/ms-tnef;\r\n\tname=\"winmail.dat\"\r\n"
      "Content-Transfer-Encoding: base64\r\nContent-Disposition: attachment;\r\n"
      "\tfilename=\"winmail.dat\"\r\n";
  struct Case {
    const char* what;
    std::string message;
  } cases[] = {
      {"unquoted boundary",
       replaced("boundary=\"----=_NextPart_000_0001\"", "boundary=----=_NextPart_000_0001")},
      {"boundary name in upper case",
       replaced("boundary=\"----=_NextPart_000_0001\"", "BOUNDARY=\"----=_NextPart_000_0001\"")},
      {"a part header line fewer", replaced("\tname=\"winmail.dat\"\r\n", "")},
      {"a part header line more",
       replaced("\tname=\"winmail.dat\"\r\n", "\tname=\"winmail.dat\"\r\nX-A: b\r\n")},
      {"type last, on one line with its name (Exchange Online)",
       replaced(outlookPartHeader,
                "Content-Disposition: attachment; filename=\"winmail.dat\"\r\n"
                "Content-Transfer-Encoding: base64\r\n"
                "Content-Type: application/ms-tnef; name=\"winmail.dat\"\r\n")},
      {"encoding in upper case", replaced("Content-Transfer-Encoding: base64\r\nContent-Disp",
                                          "Content-Transfer-Encoding: BASE64\r\nContent-Disp")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    host.StatusTexts.clear();
    Store(c.message);
    ASSERT_TRUE(HasWinmailPart(tools, "m1"));
    ExpandWinmail(tools, "m1");
    EXPECT_EQ(host.StatusTexts, (std::vector<std::wstring>{kExpandingText, kExpandedText}));
    const std::string& result = host.Store["m1"];
    const std::string closing = kClosing;
    EXPECT_EQ(result.substr(result.size() - closing.size()), closing);
    EXPECT_NE(result.find("X-Velmora: Settlement\r\n"), std::string::npos);
    const std::string parts = PartsFor(
        DecoderFiles(tnef, tools), [](const std::wstring&) { return "application/octet-stream"; });
    EXPECT_EQ(result, Expanded(c.message, parts));
  }
}

TEST_F(WinmailExpansion, TakesTheBase64UpToTheNextBoundaryLine) {
  const std::string tnef = Sample("one-file.tnef");
  std::string message = OutlookMessage(tnef);
  message.replace(message.rfind("\r\n" + std::string(kClosing)), 2, "");
  Store(message);
  ExpandWinmail(tools, "m1");
  const std::string parts = PartsFor(
      DecoderFiles(tnef, tools), [](const std::wstring&) { return "application/octet-stream"; });
  EXPECT_EQ(host.Store["m1"], Expanded(message, parts));
}

TEST_F(WinmailExpansion, FailureLeavesTheStoredMessageAsItWas) {
  const std::string tnef = Sample("two-files.tnef");
  struct Case {
    const char* what;
    TFakeMailHost::TFault fault;
    std::string tnef;
  } cases[] = {
      {"host decodes nothing", TFakeMailHost::TFault::fDecodeNothing, tnef},
      {"host encodes half", TFakeMailHost::TFault::fEncodeTruncated, tnef},
      {"host gives no buffer", TFakeMailHost::TFault::fNoBuffer, tnef},
      {"winmail.dat cut inside an attachment", TFakeMailHost::TFault::fNone,
       tnef.substr(0, tnef.rfind(std::string("\x0f\x80\x06\x00", 4)) + 20)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    host.StatusTexts.clear();
    host.Fault = c.fault;
    const std::string message = OutlookMessage(c.tnef);
    Store(message);
    ExpandWinmail(tools, "m1");
    ExpectUntouched(message, kExpandFailedText);
    EXPECT_FALSE(host.BufferFault);
    ExpectNoWorkFilesLeft();
  }
}

}  // namespace
}  // namespace vlm
