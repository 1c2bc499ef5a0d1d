#include "sendcheck/send_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/ansi_text.h"
#include "tests/support/base64.h"
#include "tests/unit/sendcheck/archive_fixtures.h"

namespace vlm {
namespace {

// The host's decoders as the checks see them: ISO_2022_JP hands back the decoded message that the
// test prepared, MIMEHeader the decoded subject the test mapped (or its input unchanged).
struct FakeDecoders {
  static inline const char* receivedMessage = nullptr;
  static inline std::string decodedMessage;
  static inline std::string receivedSubject;
  static inline std::map<std::string, std::string> subjects;
  static inline std::string decodedSubject;

  static char* VLM_STDCALL Iso2022Jp(const char* text, int encode) {
    EXPECT_EQ(encode, 0);
    receivedMessage = text;
    return decodedMessage.data();
  }
  static char* VLM_STDCALL MimeHeader(const char* text, char* charset, int size, int encode) {
    EXPECT_EQ(encode, 0);
    EXPECT_EQ(size, 512);
    charset[0] = '\0';
    receivedSubject = text;
    const auto mapped = subjects.find(text);
    decodedSubject = mapped == subjects.end() ? receivedSubject : mapped->second;
    return decodedSubject.data();
  }
};

struct Question {
  std::string text;  // UTF-8
  std::string caption;
  unsigned flags;
};

// What the user is asked, with scripted answers (Yes once the script runs out).
struct ScriptedUser {
  std::vector<int> answers;
  std::vector<Question> asked;

  vlm::TAsker MakeAsker() {
    return [this](const std::wstring& text, const std::wstring& caption, unsigned flags) {
      asked.push_back({ToUtf8(text), ToUtf8(caption), flags});
      return asked.size() <= answers.size() ? answers[asked.size() - 1] : kAnswerYes;
    };
  }
};

constexpr char kRawMessage[] = "the message in its transfer form";

// Runs the checks over a message given in UTF-8 lines (the decoded form the host hands back).
int Send(
    const std::vector<std::string>& utf8Lines, const TSendCheckSettings& settings,
    ScriptedUser& user, const TPartialSendingReader& partial = [] { return false; }) {
  std::string utf8;
  for (const std::string& line : utf8Lines) utf8 += line + "\r\n";
  FakeDecoders::decodedMessage = ToAnsi(FromUtf8(utf8));
  TBeckyAPI host;
  host.ISO_2022_JP = &FakeDecoders::Iso2022Jp;
  host.MIMEHeader = &FakeDecoders::MimeHeader;
  return RunSendChecks(kRawMessage, settings, host, partial, user.MakeAsker());
}

TSendCheckSettings Defaults() {
  TSendCheckSettings settings;
  settings.SearchWord1 = L"添付";
  settings.SearchWord2 = L"送付";
  return settings;
}

// A message as the host composes it: header, body, then one part per attachment name, holding
// the base64 lines of its file in `files` (a fixture archive) or "AAAA".
struct Mail {
  std::vector<std::string> header = {"From: alice@example.jp", "To: bob@example.jp",
                                     "Subject: report"};
  std::vector<std::string> body = {"Hello."};
  std::vector<std::string> attachments;
  std::map<std::string, std::string> files;  // attachment name -> fixture archive

  std::vector<std::string> Lines() const {
    std::vector<std::string> lines = header;
    lines.insert(lines.end(), {"MIME-Version: 1.0", ""});
    lines.insert(lines.end(), body.begin(), body.end());
    for (const std::string& name : attachments) {
      lines.insert(lines.end(),
                   {"--part", "Content-Type: application/octet-stream;", " name=\"" + name + "\"",
                    "Content-Transfer-Encoding: base64", "Content-Disposition: attachment;",
                    " filename=\"" + name + "\"", ""});
      const auto file = files.find(name);
      if (file == files.end()) {
        lines.push_back("AAAA");
        continue;
      }
      std::string base64 =
          test::EncodeBase64Lines(test::TArchiveFixtures::Get().Bytes(file->second));
      for (std::size_t at = 0; at < base64.size(); at = base64.find('\n', at) + 1)
        lines.push_back(base64.substr(at, base64.find('\r', at) - at));
    }
    if (!attachments.empty()) lines.push_back("--part--");
    return lines;
  }
};

Mail ToGmail(std::vector<std::string> attachments, const char* recipient = "To: bob@gmail.com") {
  Mail mail;
  mail.header[1] = recipient;
  mail.attachments = std::move(attachments);
  return mail;
}

// The question as "<kind>:<attachment name>", from the fixed texts around the name.
std::string Kind(const Question& q) {
  const auto between = [&](const std::string& open, const std::string& close) {
    const auto from = q.text.find(open) + open.size();
    return q.text.substr(from, q.text.find(close, from) - from);
  };
  if (q.text.starts_with("Gmail宛て")) return "blocked:" + between("「", "」が添付");
  if (q.text.starts_with("圧縮ファイル")) return "archive:" + between("「", "」");
  if (q.text.starts_with("添付ファイルがない")) return "forgotten";
  if (q.text.starts_with("「")) return "attached:" + between("「", "」");
  if (q.text.starts_with("送信メールサイズ")) return "size";
  return "unknown: " + q.text;
}

std::vector<std::string> Kinds(const ScriptedUser& user) {
  std::vector<std::string> kinds;
  for (const Question& q : user.asked) kinds.push_back(Kind(q));
  return kinds;
}

TEST(RunSendChecks, AsksTheQuestionsThatTheMessageCallsFor) {
  struct Case {
    const char* name;
    Mail mail;
    TSendCheckSettings settings;
    std::vector<std::string> questions;
  };
  auto with = [](auto change) {
    TSendCheckSettings settings = Defaults();
    change(settings);
    return settings;
  };
  const auto gmailCheckOff = with([](auto& s) { s.GmailSendCheck = false; });
  const auto sendWarning = with([](auto& s) { s.SendWarning = true; });
  const auto quotesCount = with([](auto& s) { s.NotReplyCheck = false; });

  Mail quoted;
  quoted.body = {"> 添付します", "| 送付します", "Thanks."};
  Mail mentions;
  mentions.body = {"資料を添付します。"};
  Mail mentionsThenAttaches = mentions;
  mentionsThenAttaches.attachments = {"a.pdf"};
  Mail mixedBoundary;
  mixedBoundary.body = {"--Boundary=_MULTIPART_MIXED_1", "資料を添付します。"};
  Mail oneLineAttachment = mentions;
  oneLineAttachment.body.insert(oneLineAttachment.body.end(),
                                {"--part", "Content-Disposition: attachment; filename=\"a.pdf\""});
  Mail recipientAfterSubject;
  recipientAfterSubject.header.push_back("Cc: carol@gmail.com");
  recipientAfterSubject.attachments = {"a.exe"};
  Mail foldedCc;
  foldedCc.header.insert(foldedCc.header.begin() + 2, {"Cc: carol@example.jp,", " dave@gmail.com"});
  foldedCc.attachments = {"a.exe"};
  Mail foldedOther = foldedCc;
  foldedOther.header[2] = "X-Note: carol@example.jp,";
  const auto withArchive = [](const char* name, const char* fixture,
                              const char* recipient = "To: bob@gmail.com") {
    Mail mail = ToGmail({name}, recipient);
    mail.files = {{name, fixture}};
    return mail;
  };
  Mail cleanThenRefused = withArchive("a.zip", "clean.zip");
  cleanThenRefused.attachments.push_back("b.exe");
  Mail nameOnLastLine;
  nameOnLastLine.attachments = {"a.zip"};
  nameOnLastLine.header[1] = "To: bob@gmail.com";
  nameOnLastLine.body.insert(nameOnLastLine.body.end(),
                             {"--part", "Content-Disposition: attachment;"});

  const Case cases[] = {
      {"capital Gmail is Gmail",
       ToGmail({"a.exe"}, "To: bob@Gmail.COM"),
       Defaults(),
       {"blocked:a.exe"}},
      {"googlemail is Gmail",
       ToGmail({"a.exe"}, "to: bob@googlemail.com"),
       Defaults(),
       {"blocked:a.exe"}},
      {"Reply-To is not a recipient",
       ToGmail({"a.exe"}, "Reply-To: bob@gmail.com"),
       Defaults(),
       {}},
      {"Gmail in another field", ToGmail({"a.exe"}, "X-Note: bob@gmail.com"), Defaults(), {}},
      {"Cc counts", ToGmail({"a.exe"}, "Cc: bob@gmail.com"), Defaults(), {"blocked:a.exe"}},
      {"Bcc counts", ToGmail({"a.exe"}, "BCC: bob@gmail.com"), Defaults(), {"blocked:a.exe"}},
      {"folded Cc counts", foldedCc, Defaults(), {"blocked:a.exe"}},
      {"a folded line after another field is not a recipient", foldedOther, Defaults(), {}},
      {"recipients after the subject are read",
       recipientAfterSubject,
       Defaults(),
       {"blocked:a.exe"}},
      {".EXE is refused", ToGmail({"A.EXE"}), Defaults(), {"blocked:A.EXE"}},
      {"setup.JS to Cc",
       ToGmail({"setup.JS"}, "Cc: b@gmail.com"),
       Defaults(),
       {"blocked:setup.JS"}},
      {".msi is refused", ToGmail({"tool.msi"}), gmailCheckOff, {"blocked:tool.msi"}},
      {".rar asks", ToGmail({"a.RAR"}), Defaults(), {"archive:a.RAR"}},
      {"zip holding macro.js",
       withArchive("report.zip", "macro.zip"),
       gmailCheckOff,
       {"blocked:report.zip」の中の「docs/macro.js"}},
      {"encrypted zip holding a zip",
       withArchive("pack.ZIP", "locked_inner.zip"),
       Defaults(),
       {"blocked:pack.ZIP」の中の「inner.zip"}},
      {"lzh holding tool.exe",
       withArchive("tools.lzh", "level1.lzh"),
       Defaults(),
       {"blocked:tools.lzh」の中の「tool.exe"}},
      {"clean zip asks as before",
       withArchive("photos.zip", "clean.zip"),
       Defaults(),
       {"archive:photos.zip"}},
      {"clean lzh is not an archive Gmail questions",
       withArchive("a.lzh", "clean.lzh"),
       Defaults(),
       {}},
      {"zip holding macro.js not to Gmail",
       withArchive("r.zip", "macro.zip", "To: b@example.jp"),
       Defaults(),
       {}},
      {"a clean zip, then a refused file",
       cleanThenRefused,
       Defaults(),
       {"blocked:b.exe", "archive:a.zip"}},
      {".exe refused with GmailSendCheck off",
       ToGmail({"a.exe"}),
       gmailCheckOff,
       {"blocked:a.exe"}},
      {"no extension", ToGmail({"exe"}), Defaults(), {}},
      {"dot before a path separator only", ToGmail({"a.exe\\b"}), Defaults(), {}},
      {".tar.gz asks with GmailSendCheck on",
       ToGmail({"a.tar.gz"}),
       Defaults(),
       {"archive:a.tar.gz"}},
      {".tar.gz silent with GmailSendCheck off", ToGmail({"a.tar.gz"}), gmailCheckOff, {}},
      {"archive not to Gmail", ToGmail({"a.zip"}, "To: bob@example.jp"), Defaults(), {}},
      {"the refused file stops the scan",
       ToGmail({"a.pdf", "b.exe", "c.zip"}),
       Defaults(),
       {"blocked:b.exe"}},
      {"refused file before an archive",
       ToGmail({"b.exe", "c.zip"}),
       sendWarning,
       {"blocked:b.exe", "attached:b.exe"}},
      {"quoted search words with NotReplyCheck on", quoted, Defaults(), {}},
      {"quoted search words with NotReplyCheck off", quoted, quotesCount, {"forgotten"}},
      {"search word and nothing attached", mentions, Defaults(), {"forgotten"}},
      {"search word and an attachment", mentionsThenAttaches, Defaults(), {}},
      {"search word, one-line attachment header", oneLineAttachment, Defaults(), {}},
      {"_MULTIPART_MIXED_ before the search word", mixedBoundary, sendWarning, {"attached:"}},
      {"SendWarning names the last attachment",
       ToGmail({"a.pdf", "b.doc"}, "To: b@example.jp"),
       sendWarning,
       {"attached:b.doc"}},
      {"attachment header on the last line keeps the name",
       nameOnLastLine,
       sendWarning,
       {"archive:a.zip", "attached:a.zip"}},
  };
  for (const Case& c : cases) {
    ScriptedUser user;
    EXPECT_EQ(Send(c.mail.Lines(), c.settings, user), kSendGoesAhead) << c.name;
    EXPECT_EQ(Kinds(user), c.questions) << c.name;
  }
}

// Replies as people write them: a search word in the signature, in a forwarded or quoted
// original or on a full-width quoted line is not the writer's own mention of an attachment.
TEST(RunSendChecks, SearchWordsInSignaturesAndOriginalsDoNotCount) {
  struct Case {
    const char* name;
    std::vector<std::string> body;
    std::vector<std::string> questions;  // with NotReplyCheck on
  };
  const Case cases[] = {
      {"signature",
       {"山田様", "", "承知しました。", "", "-- ", "鈴木 一郎", "※添付ファイルは社外秘です"},
       {}},
      {"a dash line that is not a signature", {"---", "資料を添付します。"}, {"forgotten"}},
      {"Outlook original",
       {"了解です。", "", "-----Original Message-----", "From: 山田", "Subject: 見積書",
        "見積書を添付します。"},
       {}},
      {"Gmail forward",
       {"転送します。", "", "---------- Forwarded message ---------", "From: 佐藤",
        "資料を送付いたします。"},
       {}},
      {"Thunderbird original",
       {"ありがとうございます。", "-------- Original Message --------", "添付をご確認ください。"},
       {}},
      {"full-width quote", {"＞ 資料を添付します。", "確認しました。"}, {}},
      {"own words before the original",
       {"資料を添付します。", "-----Original Message-----", "よろしくお願いします。"},
       {"forgotten"}},
  };
  TSendCheckSettings quotesCount = Defaults();
  quotesCount.NotReplyCheck = false;
  for (const Case& c : cases) {
    Mail mail;
    mail.body = c.body;
    ScriptedUser user;
    Send(mail.Lines(), Defaults(), user);
    EXPECT_EQ(Kinds(user), c.questions) << c.name;
    ScriptedUser counting;
    Send(mail.Lines(), quotesCount, counting);
    EXPECT_EQ(Kinds(counting), std::vector<std::string>{"forgotten"}) << c.name;
  }
}

TEST(RunSendChecks, SearchesTheDecodedSubjectOnly) {
  const std::string encoded = "Subject: =?ISO-2022-JP?B?GyRCQXdJVRsoQg==?=";
  Mail mail;
  mail.header[2] = encoded;
  for (const auto& [decoded, questions] :
       std::vector<std::pair<std::string, std::vector<std::string>>>{
           {"Subject: 送付", {"forgotten"}}, {"Subject: report", {}}}) {
    FakeDecoders::subjects = {{encoded, ToAnsi(FromUtf8(decoded))}};
    ScriptedUser user;
    Send(mail.Lines(), Defaults(), user);
    EXPECT_EQ(FakeDecoders::receivedMessage, kRawMessage);
    EXPECT_EQ(Kinds(user), questions) << decoded;
  }
  FakeDecoders::subjects.clear();
}

// A recipient field with encoded words is read as the host decodes it; a plain one is not passed.
TEST(RunSendChecks, DecodesRecipientFieldsWithEncodedWords) {
  const std::string encoded = "Cc: =?UTF-8?B?5aSq6YOO?=";
  Mail mail = ToGmail({"a.exe"}, "To: bob@example.jp");
  mail.header.push_back(encoded);
  mail.header.push_back(" <taro@example.jp>");
  const std::string field = encoded + " <taro@example.jp>";
  for (const auto& [decoded, questions] :
       std::vector<std::pair<std::string, std::vector<std::string>>>{
           {"Cc: 太郎 <taro@gmail.com>", {"blocked:a.exe"}}, {"Cc: 太郎 <taro@example.jp>", {}}}) {
    FakeDecoders::subjects = {{field, ToAnsi(FromUtf8(decoded))}};
    ScriptedUser user;
    Send(mail.Lines(), Defaults(), user);
    EXPECT_EQ(Kinds(user), questions) << decoded;
  }
  FakeDecoders::subjects.clear();
}

TEST(RunSendChecks, JoinsSpaceContinuationLinesOfTheSubject) {
  Mail mail;
  mail.header = {"To: bob@example.jp", "Subject: =?a?=", " =?b?=", "  =?c?=", "\t=?d?=", " =?e?="};
  ScriptedUser user;
  Send(mail.Lines(), Defaults(), user);
  EXPECT_EQ(FakeDecoders::receivedSubject, "Subject: =?a?= =?b?=  =?c?=");

  mail.header = {"To: bob@example.jp"};
  Send(mail.Lines(), Defaults(), user);
  EXPECT_EQ(FakeDecoders::receivedSubject, "");
}

TEST(RunSendChecks, TheFirstAnswerOtherThanYesCancelsAndEndsTheQuestions) {
  Mail mail = ToGmail({"a.zip"});
  mail.body.push_back(std::string(1024000, 'x'));
  TSendCheckSettings settings = Defaults();
  settings.SendWarning = true;
  struct Case {
    std::vector<int> answers;
    int result;
    std::vector<std::string> questions;
  };
  const Case cases[] = {
      {{6, 6, 6}, kSendGoesAhead, {"archive:a.zip", "attached:a.zip", "size"}},
      {{7}, kSendCancelled, {"archive:a.zip"}},
      {{2}, kSendCancelled, {"archive:a.zip"}},
      {{6, 7}, kSendCancelled, {"archive:a.zip", "attached:a.zip"}},
      {{6, 6, 1}, kSendCancelled, {"archive:a.zip", "attached:a.zip", "size"}},
  };
  for (const Case& c : cases) {
    ScriptedUser user{c.answers, {}};
    EXPECT_EQ(Send(mail.Lines(), settings, user), c.result) << c.answers.size();
    EXPECT_EQ(Kinds(user), c.questions) << c.answers.size();
  }

  ScriptedUser user{{7}, {}};
  Mail forgotten;
  forgotten.body = {"添付します"};
  EXPECT_EQ(Send(forgotten.Lines(), settings, user), kSendCancelled);
  EXPECT_EQ(Kinds(user), std::vector<std::string>{"forgotten"});
}

// A message whose lines, CR LF after each and the subject line placed among them, add up to
// `size` characters.
std::vector<std::string> MessageOfSize(std::int64_t size) {
  Mail mail;
  mail.body = {"Hello.", "x"};
  std::int64_t base = 0;
  for (const std::string& line : mail.Lines()) base += FromUtf8(line).size() + 2;
  base += mail.header[2].size() + 2;
  mail.body[1] += std::string(size - base, 'x');
  return mail.Lines();
}

TEST(RunSendChecks, AsksAboutMessagesOf1024000CharactersUnlessTheHostSplitsThem) {
  struct Case {
    std::int64_t size;
    TPartialSendingReader partial;
    std::vector<std::string> questions;
  };
  const Case cases[] = {
      {1023999, [] { return false; }, {}},
      {1024000, [] { return false; }, {"size"}},
      {1024000, [] { return true; }, {}},
      {1024000,
       []() -> bool { throw std::runtime_error("Error: Cannot open registry key."); },
       {"size"}},
      {1024000, nullptr, {"size"}},
  };
  for (const Case& c : cases) {
    ScriptedUser user;
    EXPECT_EQ(Send(MessageOfSize(c.size), Defaults(), user, c.partial), kSendGoesAhead);
    EXPECT_EQ(Kinds(user), c.questions) << c.size;
  }
}

TEST(RunSendChecks, AsksAboutSizeFromTheThresholdSet) {
  TSendCheckSettings settings = Defaults();
  settings.SizeCheckBytes = 2000;
  for (const auto& [size, questions] :
       std::vector<std::pair<int, std::vector<std::string>>>{{1999, {}}, {2000, {"size"}}}) {
    ScriptedUser user;
    Send(MessageOfSize(size), settings, user);
    EXPECT_EQ(Kinds(user), questions) << size;
  }
}

TEST(RunSendChecks, CountsEveryLineAfterTheSearchHasEnded) {
  // After the attachment header the lines are counted in runs, not one by one: the size must
  // still be exact, with lines of every length, an 8-bit line among them and one that is 32
  // characters long.
  Mail mail;
  mail.attachments = {"data.bin"};
  std::vector<std::string> lines;
  for (const std::string& line : mail.Lines()) {
    if (line != "AAAA") {
      lines.push_back(line);
      continue;
    }
    for (std::size_t i = 0; i < 200; ++i) lines.push_back(std::string(1 + i * 7 % 80, 'A'));
    lines.push_back("字のある行");
    lines.push_back(std::string(32, 'B'));
    for (std::size_t i = 0; i < 50; ++i) lines.push_back(std::string(76, 'C'));
  }
  std::int64_t size = static_cast<std::int64_t>(mail.header[2].size()) + 2;
  for (const std::string& line : lines)
    size += static_cast<std::int64_t>(FromUtf8(line).size()) + 2;
  for (const auto& [threshold, asked] :
       std::vector<std::pair<std::int64_t, bool>>{{size, true}, {size + 1, false}}) {
    TSendCheckSettings settings = Defaults();
    settings.SizeCheckBytes = threshold;
    ScriptedUser user;
    Send(lines, settings, user);
    const auto kinds = Kinds(user);
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), "size") == 1, asked) << threshold;
  }
}

TEST(RunSendChecks, CountsCharactersNotBytes) {
  const auto lines = MessageOfSize(1024000);
  std::vector<std::string> japanese = lines;
  // Same character count with two-byte characters in place of 'x'.
  std::string& pad = japanese[japanese.size() - 1];
  pad = "";
  for (std::size_t i = 0; i < lines.back().size(); ++i) pad += "字";
  ScriptedUser user;
  Send(japanese, Defaults(), user);
  ASSERT_EQ(Kinds(user), std::vector<std::string>{"size"});
  EXPECT_NE(user.asked[0].text.find("(現在 1001kByte)"), std::string::npos) << user.asked[0].text;
}

TEST(RunSendChecks, ShowsEachQuestionWithItsTextCaptionAndStyle) {
  const std::string caption = "添付ファイルの確認";
  TSendCheckSettings settings = Defaults();
  settings.SendWarning = true;
  Mail mail = ToGmail({"b.exe"});
  mail.body.push_back(std::string(1048576, 'x'));
  ScriptedUser user;
  Send(mail.Lines(), settings, user);
  mail.attachments = {"c.tgz"};
  Send(mail.Lines(), settings, user);
  Mail forgotten;
  forgotten.body = {"添付します"};
  Send(forgotten.Lines(), settings, user);

  const std::vector<Question> expected = {
      {"Gmail宛てに送信できないファイル「b.exe」が添付されています\r\n"
       "このまま送信しても良いですか？\r\n\r\n(Gmailは危険な実行コードを\r\n"
       " 含む可能性のある実行ファイルを\r\n 送受信できないようになっています。)",
       caption, 0x40014},
      {"「b.exe」ファイルが添付されていますが\r\nこのまま送信しても良いですか？", caption, 0x40034},
      {"送信メールサイズが1MByteを越えています。\r\n(現在 1025kByte)\r\n\r\n"
       "一般的に1MByteを越える容量のメールは送るべきではありません。\r\n"
       "やむを得ない場合は出来るだけBecky!の設定で”分割メール送信”を行ってください。\r\n\r\n"
       "このまま送信しても良いですか？",
       caption, 0x40034},
      {"圧縮ファイル「c.tgz」が添付されていますが\r\nこのまま送信しても良いですか？\r\n\r\n"
       "(Gmailは圧縮ファイル内に危険な実行コードを\r\n 含む可能性のある実行ファイルがある場合\r\n"
       " 送受信できないようになっています。)",
       caption, 0x40034},
      {"「c.tgz」ファイルが添付されていますが\r\nこのまま送信しても良いですか？", caption, 0x40034},
      {"送信メールサイズが1MByteを越えています。\r\n(現在 1025kByte)\r\n\r\n"
       "一般的に1MByteを越える容量のメールは送るべきではありません。\r\n"
       "やむを得ない場合は出来るだけBecky!の設定で”分割メール送信”を行ってください。\r\n\r\n"
       "このまま送信しても良いですか？",
       caption, 0x40034},
      {"添付ファイルがないようですが\r\nこのまま送信しても良いですか？", caption, 0x40034},
  };
  ASSERT_EQ(user.asked.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(user.asked[i].text, expected[i].text) << i;
    EXPECT_EQ(user.asked[i].caption, expected[i].caption) << i;
    EXPECT_EQ(user.asked[i].flags, expected[i].flags) << i;
  }
}

TEST(RunSendChecks, ShortAndHeaderOnlyMessagesAreChecked) {
  struct Case {
    std::vector<std::string> lines;
    std::vector<std::string> questions;
  };
  const Case cases[] = {
      {{}, {}},
      {{"Subject: 添付"}, {"forgotten"}},
      {{"To: a@example.jp", "Subject: x", ""}, {}},
      // Without a separator the header lines are searched too.
      {{"To: a@example.jp", "X-Note: 添付", "Subject: x"}, {"forgotten"}},
  };
  for (const Case& c : cases) {
    ScriptedUser user;
    EXPECT_EQ(Send(c.lines, Defaults(), user), kSendGoesAhead) << c.lines.size();
    EXPECT_EQ(Kinds(user), c.questions) << c.lines.size();
  }
}

}  // namespace
}  // namespace vlm
