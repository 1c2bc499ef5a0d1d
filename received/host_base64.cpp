#include "received/host_base64.h"

#include <bit>
#include <utility>
#include <system_error>

#include "received/received_mail_error.h"
#include "received/work_files.h"

// The 32-bit DLL is built with -msse2, as every processor that runs it has SSE2.
#include <emmintrin.h>

namespace vlm {
namespace {

constexpr bool IsBase64Letter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' ||
         c == '/';
}

// Of sixteen bytes: a mask of the letters of the base64 alphabet and one of the line breaks, a bit
// for each byte. The ranges are compared as signed bytes: 8-bit bytes are negative and fall in
// none of them.
std::pair<unsigned, unsigned> Base64Masks(__m128i bytes) {
  const auto in = [&](char low, char high) {
    return _mm_and_si128(_mm_cmpgt_epi8(bytes, _mm_set1_epi8(static_cast<char>(low - 1))),
                         _mm_cmplt_epi8(bytes, _mm_set1_epi8(static_cast<char>(high + 1))));
  };
  const auto is = [&](char c) { return _mm_cmpeq_epi8(bytes, _mm_set1_epi8(c)); };
  const __m128i letters = _mm_or_si128(_mm_or_si128(in('A', 'Z'), in('a', 'z')),
                                       _mm_or_si128(in('0', '9'), _mm_or_si128(is('+'), is('/'))));
  return {static_cast<unsigned>(_mm_movemask_epi8(letters)),
          static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(is('\r'), is('\n'))))};
}

}  // namespace

void TBase64Count::Add(std::string_view text) {
  // Texts of megabytes: sixteen bytes of only letters and line breaks, the bulk of any base64
  // text, are counted at once; anything else is read byte by byte.
  std::size_t at = 0;
  for (; at + 16 <= text.size(); at += 16) {
    const auto [letters, breaks] =
        Base64Masks(_mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at)));
    if (FPadding == 0 && (letters | breaks) == 0xFFFFu)
      FLetters += static_cast<unsigned>(std::popcount(letters));
    else
      AddSlowly(text.substr(at, 16));
  }
  AddSlowly(text.substr(at));
}

void TBase64Count::AddSlowly(std::string_view text) {
  for (const char c : text) {
    if (c == '\r' || c == '\n') continue;
    if (c == '=') {
      ++FPadding;
    } else if (FPadding == 0 && IsBase64Letter(c)) {
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
