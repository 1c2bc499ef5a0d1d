#include "received/host_base64.h"

#include <array>
#include <system_error>

#include "received/received_mail_error.h"
#include "received/work_files.h"

namespace vlm {
namespace {

// What each byte adds to a count of base64 text: 1 for the 64 letters of the alphabet, 1 << 16
// for a line break, 0 for anything else. A piece of up to 65535 bytes then counts both in one sum
// with one table lookup per byte.
constexpr std::uint32_t kBreakWeight = 1u << 16;
constexpr std::array<std::uint32_t, 256> kBase64Weights = [] {
  std::array<std::uint32_t, 256> weights{};
  for (int c = 'A'; c <= 'Z'; ++c) weights[static_cast<size_t>(c)] = 1;
  for (int c = 'a'; c <= 'z'; ++c) weights[static_cast<size_t>(c)] = 1;
  for (int c = '0'; c <= '9'; ++c) weights[static_cast<size_t>(c)] = 1;
  weights['+'] = weights['/'] = 1;
  weights['\r'] = weights['\n'] = kBreakWeight;
  return weights;
}();

}  // namespace

void TBase64Count::Add(std::string_view text) {
  // Texts of megabytes: pieces of only letters and line breaks, the bulk of any base64 text, are
  // counted without a branch per byte; a piece with anything else is read byte by byte.
  constexpr size_t kPiece = 4096;
  static_assert(kPiece < kBreakWeight, "the letters of a piece fit below the breaks");
  while (!text.empty()) {
    const std::string_view piece = text.substr(0, kPiece);
    text.remove_prefix(piece.size());
    if (FPadding == 0) {
      std::uint32_t sum = 0;
      for (const char c : piece) sum += kBase64Weights[static_cast<unsigned char>(c)];
      const std::uint32_t letters = sum & (kBreakWeight - 1), breaks = sum >> 16;
      if (letters + breaks == piece.size()) {
        FLetters += letters;
        continue;
      }
    }
    AddSlowly(piece);
  }
}

void TBase64Count::AddSlowly(std::string_view text) {
  for (const char c : text) {
    if (c == '\r' || c == '\n') continue;
    if (c == '=') {
      ++FPadding;
    } else if (FPadding == 0 && kBase64Weights[static_cast<unsigned char>(c)] == 1) {
      ++FLetters;
    } else {
      FClean = false;
    }
  }
}

std::optional<std::uint64_t> TBase64Count::DecodedSize() const {
  if (!FClean || FPadding > 2 || (FLetters + FPadding) % 4 != 0) return std::nullopt;
  return FLetters * 3 / 4;
}

void HostDecode(const TBeckyAPI& host, const std::string& output, const std::string& input,
                std::uint64_t expectedSize) {
  host.B64Convert(output.c_str(), input.c_str(), 0);
  std::error_code error;
  const auto size = std::filesystem::file_size(HostPath(output), error);
  if (error || size != expectedSize) throw EReceivedMail("the host's base64 decoding failed");
}

std::unique_ptr<THostBase64> HostEncode(const TBeckyAPI& host, const std::string& output,
                                        const std::string& input) {
  std::error_code error;
  const auto inputSize = std::filesystem::file_size(HostPath(input), error);
  if (error) throw EReceivedMail("cannot size " + input);
  const std::filesystem::path outputPath = HostPath(output);
  RemoveWorkFile(outputPath);
  host.B64Convert(output.c_str(), input.c_str(), 1);
  auto base64 = std::make_unique<THostBase64>(outputPath);
  TBase64Count count;
  count.Add(base64->Text());
  // An empty view for a file that exists but was not mapped counts as no text: it fails here
  // unless the input is empty too.
  if (count.DecodedSize() != inputSize) throw EReceivedMail("the host's base64 encoding failed");
  return base64;
}

}  // namespace vlm
