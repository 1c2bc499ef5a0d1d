// Times the send checks over a large outgoing message to Gmail: a long Japanese body and a ZIP
// attachment in base64 (decoded and its directory read), in the ISO-2022-JP transfer form the
// host hands over.
//
//   sendcheck_bench <message file> <megabytes> [shape]   writes the message and prints the best
//       time of the checks, with and without the host's decoding. The shape is "typical" (the
//       default), "hostile-line" (one quoted line of false hits of a search word) or "bare-cr"
//       (the typical message with bare CR line breaks): the last two must take time in step with
//       their size as well.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <malloc.h>
#include <string>

#include "base/ansi_text.h"
#include "sendcheck/send_check.h"
#include "tests/host/codec/iso2022jp.h"
#include "tests/host/codec/mime_header.h"
#include "tests/support/base64.h"
#include "tests/support/little_endian.h"

namespace {

using vlm::test::EncodeBase64Lines;
using vlm::test::LittleEndian;

// "本文の行です。添えるものはありません。" in JIS X 0208: the body never mentions an attachment.
constexpr char kJisBodyLine[] =
    "\x1b$BK\\J8$N9T$G$9!#E:$($k$b$N$O$\"$j$^$;$s!#\x1b(B line of the body, number ";

// A ZIP archive of about `bytes` bytes: photos stored as they are, with their central directory,
// which the checks read for a message to Gmail.
std::string PhotoArchive(std::size_t bytes) {
  constexpr int kMembers = 1000;
  const std::string photo(bytes / kMembers, '\x5A');
  std::string archive, directory;
  for (int i = 0; i < kMembers; ++i) {
    const std::string name = "photos/" + std::to_string(10000 + i) + ".jpg";
    const auto offset = static_cast<std::uint32_t>(archive.size());
    const auto size = static_cast<std::uint32_t>(photo.size());
    // Version, flags, method (stored), time, date, CRC (not checked by the reader), sizes.
    const std::string fields = LittleEndian(20, 2) + LittleEndian(0, 2) + LittleEndian(0, 2) +
                               LittleEndian(0) + LittleEndian(0) + LittleEndian(size) +
                               LittleEndian(size) + LittleEndian(name.size(), 2) +
                               LittleEndian(0, 2);
    archive += "PK\x03\x04" + fields + name + photo;
    directory += "PK\x01\x02" + LittleEndian(20, 2) + fields + LittleEndian(0, 2) +
                 LittleEndian(0, 2) + LittleEndian(0, 2) + LittleEndian(0) + LittleEndian(offset) +
                 name;
  }
  const auto directoryAt = static_cast<std::uint32_t>(archive.size());
  return archive + directory + "PK\x05\x06" + LittleEndian(0) + LittleEndian(kMembers, 2) +
         LittleEndian(kMembers, 2) + LittleEndian(directory.size()) + LittleEndian(directoryAt) +
         LittleEndian(0, 2);
}

// A message of about `bytes` bytes: a Japanese body, then a ZIP attachment of half the size (its
// base64 lines take about two thirds of the message).
std::string Message(std::size_t bytes) {
  const std::string base64 = EncodeBase64Lines(PhotoArchive(bytes / 2));
  std::string m =
      "From: alice@example.jp\r\nTo: bob@gmail.com\r\n"
      "Subject: =?ISO-2022-JP?B?GyRCO3FOQRsoQg==?=\r\nMIME-Version: 1.0\r\n"
      "Content-Type: multipart/mixed; boundary=\"part\"\r\n\r\n--part\r\n"
      "Content-Type: text/plain; charset=ISO-2022-JP\r\n\r\n";
  for (int i = 0; m.size() + base64.size() < bytes - 256; ++i)
    m += kJisBodyLine + std::to_string(i) + "\r\n";
  m += "--part\r\nContent-Type: application/zip;\r\n name=\"photos.zip\"\r\n"
       "Content-Transfer-Encoding: base64\r\nContent-Disposition: attachment;\r\n"
       " filename=\"photos.zip\"\r\n\r\n" +
       base64 + "--part--\r\n";
  return m;
}

// "ｓY付" in JIS X 0208 and ASCII: in code page 932 its bytes 93 59 95 74 hold "添付" from the
// second byte on, a hit of the search word that begins no character.
constexpr char kFalseHit[] = "\x1b$B#s\x1b(BY\x1b$BIU\x1b(B";

std::string HostileLineMessage(std::size_t bytes) {
  std::string m =
      "From: alice@example.jp\r\nTo: bob@example.jp\r\nSubject: quoted\r\nMIME-Version: 1.0\r\n"
      "Content-Type: text/plain; charset=ISO-2022-JP\r\n\r\n> ";
  while (m.size() < bytes - 2) m += kFalseHit;
  return m + "\r\n";
}

std::string BareCrMessage(std::size_t bytes) {
  std::string m;
  for (const char c : Message(bytes))
    if (c != '\n') m += c;
  return m;
}

std::string decodedMessage;  // what the host's decoder hands back, prepared once or per call
std::string decodedSubject;
bool decodeOnEachCall = false;

char* VLM_STDCALL Iso2022Jp(const char* text, int) {
  if (decodeOnEachCall) decodedMessage = hostcodec::Iso2022JpToCp932(text);
  return decodedMessage.data();
}

char* VLM_STDCALL MimeHeader(const char* text, char*, int, int) {
  decodedSubject = hostcodec::DecodeMimeHeader(text, [](std::string_view utf8) {
                     return vlm::ToAnsi(vlm::FromUtf8(utf8));
                   }).text;
  return decodedSubject.data();
}

// Best of ten runs, in milliseconds, as grep is timed. Each send gets the message in a buffer of
// its own, as each send does in the host: one buffer kept for every run made whole processes
// slow or fast by where it happened to lie (4.4 ms or 7.1 to 7.8 ms, about one process in three
// slow, with the same binary and input, on either core and without address randomisation).
double TimeChecks(const std::string& message, bool decode, int& questions) {
  TBeckyAPI host;
  host.ISO_2022_JP = &Iso2022Jp;
  host.MIMEHeader = &MimeHeader;
  decodeOnEachCall = decode;
  decodedMessage = hostcodec::Iso2022JpToCp932(message);
  vlm::TSendCheckSettings settings;
  settings.SearchWord1 = L"添付";
  settings.SearchWord2 = L"送付";
  settings.SendWarning = true;
  double best = 1e300;
  for (int run = 0; run < 10; ++run) {
    if (!decode) decodedMessage = std::string(decodedMessage.data(), decodedMessage.size());
    questions = 0;
    const auto start = std::chrono::steady_clock::now();
    const int result = vlm::RunSendChecks(
        message.c_str(), settings, host, [] { return false; },
        [&](const std::wstring&, const std::wstring&, unsigned) { return ++questions, 6; });
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    if (result != vlm::kSendGoesAhead) std::abort();
    best = std::min(best, took.count());
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: sendcheck_bench <message file> <megabytes> [shape]\n");
    return 2;
  }
  // A send allocates its working memory afresh. Without this, glibc would keep buffers below its
  // adaptive limit (up to 32 MB) warm between runs, and small messages would time unfairly fast.
  mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
  const auto bytes = static_cast<std::size_t>(std::strtod(argv[2], nullptr) * 1024 * 1024);
  const std::string shape = argc == 4 ? argv[3] : "typical";
  const std::string message = shape == "hostile-line" ? HostileLineMessage(bytes)
                              : shape == "bare-cr"    ? BareCrMessage(bytes)
                                                      : Message(bytes);
  std::ofstream(argv[1], std::ios::binary) << message;
  int questions = 0;
  const double checks = TimeChecks(message, false, questions);
  const double withDecoding = TimeChecks(message, true, questions);
  std::printf("%zu %.3f %.3f %d\n", message.size(), checks, withDecoding, questions);
  return 0;
}
