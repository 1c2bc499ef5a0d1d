// Random messages and winmail.dat data through both rewrites of a stored message, with a fake
// host: nothing crashes, every host buffer is freed once, and the stored message is either
// untouched or keeps every line it had, in order: only its closing delimiter (a multipart
// message) or its content header lines (a converted single part) may be replaced, and its marker
// field is rewritten into exactly one. The host holds texts as C strings, as its interface does.
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

#include "received/add_file.h"
#include "base/host_lines.h"
#include "received/content_type.h"
#include "received/marker_field.h"
#include "received/message_lines.h"
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

// Every line of `before` appears in `after` in the same order, except lines that `mayGo` lets go
// when they cannot be found.
template <class MayGo>
bool KeepsLinesInOrder(const vlm::TLineList& before, const std::string& after, MayGo mayGo) {
  const vlm::TLineList now = vlm::SplitLines(after);
  size_t j = 0;
  for (const auto line : before) {
    size_t k = j;
    while (k < now.size() && now[k] != line) ++k;
    if (k < now.size()) {
      j = k + 1;
    } else if (!mayGo(line)) {
      return false;
    }
  }
  return true;
}

// Converting a single-part message replaces its content header lines, folded ones included; the
// other lines must all stay.
bool KeepsLinesButContentHeaders(const vlm::TLineList& before, const std::string& after) {
  vlm::TLineList kept;
  for (const auto line : before)
    if (!vlm::StartsWithIgnoringCase(line, "content-type:") &&
        !vlm::StartsWithIgnoringCase(line, "content-transfer-encoding:") &&
        !(!line.empty() && (line[0] == ' ' || line[0] == '\t')))
      kept.push_back(line);
  return KeepsLinesInOrder(kept, after, [](std::string_view) { return false; });
}

// The lines of the message but its marker field, which a rewrite writes anew in place.
vlm::TLineList WithoutMarker(const vlm::TLineList& lines) {
  const size_t headerEnd = std::min(vlm::HeaderEnd(lines), lines.size());
  const vlm::TMarkerField marker(lines, headerEnd, "");
  vlm::TLineList kept;
  for (size_t i = 0; i < lines.size(); ++i)
    if (i >= headerEnd || !marker.Covers(i)) kept.push_back(lines[i]);
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

// What may change depends on the way the message took the change: a multipart/mixed message gets
// parts before a new closing delimiter, a single part is converted.
bool ChangedSoundly(const std::string& before, const std::string& after) {
  const vlm::TLineList lines = vlm::SplitLines(before);
  const size_t headerEnd = std::min(vlm::HeaderEnd(lines), lines.size());
  const vlm::TLineList kept = WithoutMarker(lines);
  if (!HasOneMarker(after)) return false;
  if (vlm::HeaderContentType(lines, headerEnd).IsMultipart()) {
    int replaced = 0;
    return KeepsLinesInOrder(kept, after, [&](std::string_view line) {
      return line.substr(0, 2) == "--" && ++replaced == 1;
    });
  }
  return KeepsLinesButContentHeaders(kept, after);
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
