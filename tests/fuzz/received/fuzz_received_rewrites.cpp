// Random messages and winmail.dat data through both rewrites of a stored message, with a fake
// host: nothing crashes, every host buffer is freed once, and the stored message is either
// untouched or keeps its bytes, line breaks of every kind included: new parts go in before the
// first closing delimiter (a multipart message) or after the body (a converted single part, whose
// Content-* fields move into its first part), and its marker field is rewritten into exactly one.
// The host holds texts as C strings, as its interface does.
//
// The first byte picks the case:
//   0: the whole input is a winmail.dat inside an Outlook-style message (TNEF seeds start with
//      0x78, which picks this case);
//   1: the rest is the body of a message with the TNEF correlator and a multipart header, expanded;
//   2: the rest is a message with attachments that gets a file added;
//   3: the rest is a message without attachments that gets a file added.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "received/add_file.h"
#include "base/host_lines.h"
#include "received/content_type.h"
#include "received/header_fields.h"
#include "received/marker_field.h"
#include "received/message_lines.h"
#include "received/message_view.h"
#include "received/winmail_expansion.h"
#include "tests/support/scratch_folder.h"
#include "tests/unit/received/fake_mail_host.h"

namespace {

namespace fs = std::filesystem;

// Each run passes the data through base64 several times with every byte comparison traced; larger
// winmail.dat files are the decoder's own target's business.
constexpr size_t kMaxInput = 128 * 1024;

void Check(bool condition) {
  if (!condition) std::abort();
}

// The fake host's folder, holding the file that gets added; removed with everything at exit.
struct TSandbox {
  vlm::test::TScratchFolder Folder;
  TSandbox() { vlm::test::WriteFile(Folder.Path() / "added.pdf", "%PDF-1.4 added file\n"); }
};

const fs::path& Sandbox() {
  static const TSandbox sandbox;
  return sandbox.Folder.Path();
}

// A kept header line as a rewrite writes it: with its own break, CR LF for the last line of a
// text without one.
std::string KeptLine(std::string_view span) {
  std::string line(span);
  if (line.empty() || (line.back() != '\n' && line.back() != '\r')) line += "\r\n";
  return line;
}

// The header lines of a message with their own breaks, but its marker field: all of them, or only
// those of its Content-* fields (`content`) or only the others.
enum class TLines { All, Content, Other };
std::vector<std::string> HeaderLines(const vlm::TMessageView& view, TLines which) {
  const size_t headerEnd = view.HeaderLineCount();
  const vlm::TMarkerField marker(view.Lines, headerEnd, "");
  std::vector<std::string> kept;
  bool content = false;
  for (size_t i = 0; i < headerEnd; ++i) {
    if (!vlm::IsContinuation(view.Lines[i]))
      content = vlm::StartsWithIgnoringCase(view.Lines[i], "content-");
    const bool wanted = which == TLines::All || (which == TLines::Content) == content;
    if (!marker.Covers(i) && wanted) kept.push_back(KeptLine(view.Span(i, i + 1)));
  }
  return kept;
}

// A rewritten message has exactly one marker field in its header.
bool HasOneMarker(const std::string& after) {
  const vlm::TLineList lines = vlm::SplitLines(after);
  const size_t headerEnd = std::min(vlm::HeaderEnd(lines), lines.size());
  size_t fields = 0;
  for (size_t i = 0; i < headerEnd; ++i)
    if (vlm::StartsWithIgnoringCase(lines[i], "x-velmora:")) ++fields;
  return fields == 1;
}

// A multipart/mixed message gets parts just before its first closing delimiter: its header but
// the marker, the bytes up to that delimiter and the bytes from it on all stay as they were.
bool AddedPartsSoundly(const vlm::TMessageView& before, const std::string& after) {
  const vlm::TMessageView now = vlm::ViewMessage(after);
  if (HeaderLines(before, TLines::All) != HeaderLines(now, TLines::All)) return false;
  const size_t closing = vlm::FindClosingDelimiter(before.Lines, before.Boundary);
  if (closing == vlm::kNoLine || now.HeaderEnd == vlm::kNoLine) return false;
  const std::string_view body = before.Span(before.HeaderEnd, closing);
  const std::string_view rest = before.Span(closing, before.Lines.size());
  const size_t bodyAt = static_cast<size_t>(now.Lines[now.HeaderEnd].data() - now.Text.data());
  return after.compare(bodyAt, body.size(), body) == 0 && after.ends_with(rest) &&
         after.size() >= bodyAt + body.size() + rest.size();
}

// A converted single part keeps every header line but its Content-* fields, those fields in the
// first part, and its body byte for byte right before the delimiter of the added part.
bool ConvertedSoundly(const vlm::TMessageView& before, const std::string& after) {
  size_t at = 0;
  for (const TLines which : {TLines::Other, TLines::Content}) {
    for (const std::string& line : HeaderLines(before, which)) {
      at = after.find(line, at);
      if (at == std::string::npos) return false;
      at += line.size();
    }
  }
  const size_t headerEnd = before.HeaderLineCount();
  const std::string body(before.Span(headerEnd, before.Lines.size()));
  return after.find(body + "\r\n--", at) != std::string::npos;
}

bool ChangedSoundly(const std::string& before, const std::string& after) {
  if (!HasOneMarker(after)) return false;
  const vlm::TMessageView view = vlm::ViewMessage(before);
  return view.Type.IsMultipart() ? AddedPartsSoundly(view, after) : ConvertedSoundly(view, after);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  if (size == 0 || size > kMaxInput) return 0;
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::string rest = input.substr(1);
  fs::remove_all(Sandbox() / "Temp");

  vlm::test::TFakeMailHost host(Sandbox());
  const vlm::TMailTools tools = host.Tools();
  std::string message;
  std::uint32_t status = vlm::kMailHasAttachments;
  switch (data[0] & 3) {
    case 0:
      message = vlm::test::OutlookMessage(input);
      break;
    case 1:
      message =
          "X-MS-TNEF-Correlator: <a@b>\r\nContent-Type: multipart/mixed; boundary=\"b\"\r\n" + rest;
      break;
    case 2:
      message = rest;
      break;
    default:
      message = rest;
      status = 0;
      break;
  }
  host.Put("m", message, status);
  host.Selected = "m";
  const std::string stored = host.Store["m"];

  if ((data[0] & 3) < 2) {
    if (vlm::HasWinmailPart(tools, "m")) vlm::ExpandWinmail(tools, "m");
  } else if (vlm::CanAddFile(tools, "m")) {
    vlm::AddFileToMessage(tools, "m", (Sandbox() / "added.pdf").string());
  }

  Check(host.OutstandingBuffers() == 0 && !host.BufferFault && host.SetSourceCalls <= 1);
  const std::string& after = host.Store["m"];
  Check(after == stored || ChangedSoundly(stored, after));
  return 0;
}
