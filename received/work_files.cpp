#include "received/work_files.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <system_error>

#include "base/ansi_text.h"

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

std::string PathText(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace

std::filesystem::path WidePath(const std::wstring& path) {
  // Through UTF-8, which both Windows and POSIX take as it is whatever the C locale.
  const std::string utf8 = ToUtf8(path);
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::filesystem::path HostPath(std::string_view ansi) {
  return WidePath(FromAnsi(ansi));
}

void WriteWholeFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw EReceivedMail("cannot write " + PathText(path));
}

void RemoveFile(const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::remove(path, error);
  if (error) throw EReceivedMail("cannot delete " + PathText(path));
}

TWorkFiles::~TWorkFiles() {
  for (const auto& path : FPaths) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
  }
}

std::string HostTempFile(const TBeckyAPI& host, const char* type, TWorkFiles& files) {
  std::string name = HostTempFile(host, type);
  files.Add(HostPath(name));
  return name;
}

std::string HostTempFile(const TBeckyAPI& host, const char* type) {
  const std::string_view name = HostText(host.GetTempFileName(type));
  if (name.empty()) throw EReceivedMail("the host named no work file");
  return std::string(name);
}

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
  RemoveFile(outputPath);
  host.B64Convert(output.c_str(), input.c_str(), 1);
  auto base64 = std::make_unique<THostBase64>(outputPath);
  TBase64Count count;
  count.Add(base64->Text());
  // An empty view for a file that exists but was not mapped counts as no text: it fails here
  // unless the input is empty too.
  if (count.DecodedSize() != inputSize) throw EReceivedMail("the host's base64 encoding failed");
  return base64;
}

std::string AnsiFileName(std::wstring_view name) {
  if (auto exact = ToAnsiExact(name)) return *exact;
  const std::wstring bestFit = BestFitAnsi(name);
  std::string ansi;
  for (size_t i = 0; i < name.size(); ++i) {
    // A best-fit form is taken only when it is one character for one, a character that has an
    // exact form itself, and nothing a file name may not hold ("?" is what the system gives for
    // no form at all).
    const wchar_t fit = bestFit.size() == name.size() ? bestFit[i] : L'?';
    const auto exact = ToAnsiExact(std::wstring_view(&name[i], 1));
    const auto fitted = ToAnsiExact(std::wstring_view(&fit, 1));
    if (exact)
      ansi += *exact;
    else if (fitted && fit >= 0x20 &&
             std::wstring_view(L"<>:\"/\\|?*").find(fit) == std::wstring_view::npos)
      ansi += *fitted;
    else
      ansi += '_';
  }
  return ansi;
}

namespace {

// "type/subtype" of token characters, as a Content-Type needs it.
bool IsMimeType(std::string_view type) {
  const auto token = [](std::string_view t) {
    return !t.empty() && std::all_of(t.begin(), t.end(), [](char c) {
      const auto u = static_cast<unsigned char>(c);
      return u > 0x20 && u < 0x7F &&
             std::string_view("()<>@,;:\\\"/[]?=").find(c) == std::string_view::npos;
    });
  };
  const size_t slash = type.find('/');
  return slash != std::string_view::npos && token(type.substr(0, slash)) &&
         token(type.substr(slash + 1));
}

}  // namespace

std::string MimeTypeForName(const TMailTools& tools, const std::wstring& name,
                            std::string_view mimeTag) {
  const size_t dot = name.rfind(L'.');
  const std::wstring type = tools.MimeTypeOf(dot == std::wstring::npos ? L"" : name.substr(dot));
  if (!type.empty())
    if (auto ansi = ToAnsiExact(type); ansi && IsMimeType(*ansi)) return *ansi;
  if (IsMimeType(mimeTag)) return std::string(mimeTag);
  return "application/octet-stream";
}

}  // namespace vlm
