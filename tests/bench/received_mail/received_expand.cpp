// received_expand make <winmail.dat> <message>
//   writes the Outlook-style message around the winmail.dat, and the part's base64 text to
//   <message>.b64 for the peer pipeline.
// received_expand expand <message> <folder>
//   expands the message in a fake host whose temporary folder is <folder>/Temp; prints the parts
//   added and the peak resident memory. With RECEIVED_BENCH_KEEP set, the new message is also
//   written to <message>.expanded to be looked at (writing it is not the plug-in's work, so it
//   is not timed by default).
#include <malloc.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "received/winmail_expansion.h"
#include "tests/support/base64.h"
#include "tests/support/file_bytes.h"
#include "tests/unit/received/fake_mail_host.h"

namespace {

using vlm::test::TFakeMailHost;

int Make(const std::string& tnefPath, const std::string& messagePath) {
  const std::string tnef = vlm::test::ReadFile(tnefPath);
  vlm::test::WriteFile(messagePath, vlm::test::OutlookMessage(tnef));
  vlm::test::WriteFile(messagePath + ".b64", vlm::test::EncodeBase64Lines(tnef));
  return 0;
}

long PeakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// The peak before the host takes its copy of the new message: the plug-in's own peak, beside the
// host's message and the buffer the host gave it.
long peakBeforeHostCopy = 0;
// The time spent in the stand-in host's own work: its base64 conversions through files and its
// copy of the new message, which any host does in its own way.
std::chrono::duration<double> hostTime{};
decltype(TBeckyAPI::SetSource) hostSetSource = nullptr;
decltype(TBeckyAPI::B64Convert) hostB64Convert = nullptr;
void VLM_STDCALL MeasuredSetSource(const char* mail, const char* source) {
  peakBeforeHostCopy = PeakKilobytes();
  const auto start = std::chrono::steady_clock::now();
  hostSetSource(mail, source);
  hostTime += std::chrono::steady_clock::now() - start;
}
int VLM_STDCALL MeasuredB64Convert(const char* output, const char* input, int encode) {
  const auto start = std::chrono::steady_clock::now();
  const int result = hostB64Convert(output, input, encode);
  hostTime += std::chrono::steady_clock::now() - start;
  return result;
}

int Expand(const std::string& messagePath, const std::string& folder) {
  TFakeMailHost host(folder);
  hostSetSource = host.Api.SetSource;
  host.Api.SetSource = &MeasuredSetSource;
  hostB64Convert = host.Api.B64Convert;
  host.Api.B64Convert = &MeasuredB64Convert;
  // The host's reading of its stored message is its own work too.
  const auto readStart = std::chrono::steady_clock::now();
  host.Store["m"] = vlm::test::ReadFile(messagePath);
  hostTime += std::chrono::steady_clock::now() - readStart;
  host.Status["m"] = vlm::kMailHasAttachments;
  const vlm::TMailTools tools = host.Tools();
  if (!vlm::HasWinmailPart(tools, "m")) {
    std::fprintf(stderr, "received_expand: no winmail.dat to expand\n");
    return 1;
  }
  vlm::ExpandWinmail(tools, "m");
  const std::string& result = host.Store["m"];
  if (std::getenv("RECEIVED_BENCH_KEEP")) vlm::test::WriteFile(messagePath + ".expanded", result);
  size_t parts = 0;
  for (size_t at = 0; (at = result.find("Content-Disposition: attachment;\r\n\tfilename=\"file",
                                        at)) != std::string::npos;
       ++at)
    ++parts;
  std::printf("parts=%zu bytes=%zu maxrss_kb=%ld before_host_copy_kb=%ld host_s=%.4f\n", parts,
              result.size(), PeakKilobytes(), peakBeforeHostCopy, hostTime.count());
  return host.SetSourceCalls == 1 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  // Large blocks go back to the system when freed, as the Windows heap does with blocks that big;
  // otherwise glibc's growing threshold keeps them and the peak memory measures the allocator.
  mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
  try {
    if (argc == 4 && std::string(argv[1]) == "make") return Make(argv[2], argv[3]);
    if (argc == 4 && std::string(argv[1]) == "expand") return Expand(argv[2], argv[3]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "received_expand: %s\n", e.what());
    return 1;
  }
  std::fprintf(stderr,
               "usage: received_expand make <winmail.dat> <message> | expand <message> <folder>\n");
  return 2;
}
