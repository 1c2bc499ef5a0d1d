#pragma once
// A host for the received-mail rewrites: a mail store of messages with ids and status flags, a
// selected message, temporary files in a scratch folder, host buffers that must each be freed
// once, base64 conversion with 76-character lines, and a record of every call. Faults can be
// switched on to see the rewrites refuse them.
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "base/ansi_text.h"
#include "base/host_api.h"
#include "received/mail_tools.h"
#include "tests/support/base64.h"
#include "tests/support/file_bytes.h"

namespace vlm::test {

// Decodes base64 text given in pieces, skipping every character outside the alphabet (line
// breaks, padding); a group of four letters may fall across two pieces.
class TBase64Decoder {
 public:
  // Appends the bytes `text` completes to `out`.
  void Add(std::string_view text, std::string& out) {
    static const auto kValues = [] {
      std::array<signed char, 256> values{};
      values.fill(-1);
      const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
      for (int i = 0; i < 64; ++i)
        values[static_cast<unsigned char>(alphabet[i])] = static_cast<signed char>(i);
      return values;
    }();
    const size_t before = out.size();
    out.resize(before + text.size() / 4 * 3 + 3);
    char* o = out.data() + before;
    const auto* t = reinterpret_cast<const unsigned char*>(text.data());
    for (size_t i = 0; i < text.size();) {
      // Four letters in a row, the bulk of any line, make three bytes at once.
      if (FBits == 0 && i + 4 <= text.size()) {
        const int a = kValues[t[i]], b = kValues[t[i + 1]], c = kValues[t[i + 2]],
                  d = kValues[t[i + 3]];
        if ((a | b | c | d) >= 0) {
          const auto v = static_cast<unsigned>(a << 18 | b << 12 | c << 6 | d);
          o[0] = static_cast<char>(v >> 16);
          o[1] = static_cast<char>((v >> 8) & 0xFF);
          o[2] = static_cast<char>(v & 0xFF);
          o += 3;
          i += 4;
          continue;
        }
      }
      const int d = kValues[t[i++]];
      if (d < 0) continue;
      FValue = (FValue << 6) | static_cast<unsigned>(d);
      FBits += 6;
      if (FBits >= 8) {
        FBits -= 8;
        *o++ = static_cast<char>((FValue >> FBits) & 0xFF);
      }
    }
    out.resize(static_cast<size_t>(o - out.data()));
  }

 private:
  unsigned FValue = 0;
  int FBits = 0;
};

inline std::string DecodeBase64(std::string_view text) {
  std::string out;
  TBase64Decoder().Add(text, out);
  return out;
}

// An Outlook-style message: a text part and the winmail.dat part in base64, then `epilogue`.
inline std::string OutlookMessage(std::string_view tnef, std::string_view epilogue = "") {
  return "From: sender@example.com\r\n"
         "Subject: report\r\n"
         "MIME-Version: 1.0\r\n"
         "Content-Type: multipart/mixed;\r\n"
         "\tboundary=\"----=_NextPart_000_0001\"\r\n"
         "X-MS-TNEF-Correlator: <00000000B1@example.com>\r\n"
         "\r\n"
         "This is a multi-part message in MIME format.\r\n"
         "\r\n"
         "------=_NextPart_000_0001\r\n"
         "Content-Type: text/plain;\r\n"
         "\tcharset=\"iso-2022-jp\"\r\n"
         "Content-Transfer-Encoding: 7bit\r\n"
         "\r\n"
         "See the attachments.\r\n"
         "\r\n"
         "------=_NextPart_000_0001\r\n"
         "Content-Type: application/ms-tnef;\r\n"
         "\tname=\"winmail.dat\"\r\n"
         "Content-Transfer-Encoding: base64\r\n"
         "Content-Disposition: attachment;\r\n"
         "\tfilename=\"winmail.dat\"\r\n"
         "\r\n" +
         EncodeBase64Lines(tnef) +
         "\r\n"
         "------=_NextPart_000_0001--\r\n" +
         std::string(epilogue);
}

class TFakeMailHost {
 public:
  enum class TFault { fNone, fDecodeNothing, fEncodeTruncated, fNoBuffer };

  explicit TFakeMailHost(std::filesystem::path folder) : FFolder(std::move(folder)) {
    std::filesystem::create_directories(FFolder / "Temp");
    Current() = this;
#define VLM_FAKE(name) Api.name = &Fake##name;
    VLM_FAKE(GetStatus)
    VLM_FAKE(GetHeader)
    VLM_FAKE(GetSource)
    VLM_FAKE(SetSource)
    VLM_FAKE(SetMessageText)
    VLM_FAKE(GetTempFileName)
    VLM_FAKE(GetTempFolder)
    VLM_FAKE(B64Convert)
    VLM_FAKE(Alloc)
    VLM_FAKE(Free)
    VLM_FAKE(GetCurrentMail)
#undef VLM_FAKE
  }
  ~TFakeMailHost() {
    Current() = nullptr;
  }
  TFakeMailHost(const TFakeMailHost&) = delete;
  TFakeMailHost& operator=(const TFakeMailHost&) = delete;

  TBeckyAPI Api;
  std::map<std::string, std::string> Store;  // id -> source
  std::map<std::string, std::uint32_t> Status;
  std::string Selected;
  std::vector<std::string> Calls;
  std::vector<std::wstring> StatusTexts;
  int SetSourceCalls = 0;
  bool BufferFault = false;  // a SetSource buffer that did not come from Alloc, or a double Free
  TFault Fault = TFault::fNone;

  // Stores a message as the host's interface can hold it: a stored text is a C string and ends
  // at its first zero byte, so nothing after one can ever reach the plug-in or come back.
  void Put(const std::string& id, std::string_view source, std::uint32_t status) {
    Store[id] = std::string(source.substr(0, source.find('\0')));
    Status[id] = status;
  }

  [[nodiscard]] size_t OutstandingBuffers() const {
    return FBuffers.size();
  }
  [[nodiscard]] std::filesystem::path TempFolder() const {
    return FFolder / "Temp";
  }
  [[nodiscard]] std::filesystem::path WorkFolder() const {
    return TempFolder() / "Velmra";
  }

  // The tools with a MIME table of a few rows and a fixed date.
  TMailTools Tools(std::wstring date = L"2012/03/02") {
    return {Api,
            [](const std::wstring& ext) -> std::wstring {
              if (ext == L".pdf") return L"application/pdf";
              if (ext == L".jpg") return L"image/jpeg";
              if (ext == L".doc") return L"application/msword";
              if (ext == L".txt") return L"text/plain";
              return L"";
            },
            [date] { return date; }};
  }

 private:
  static TFakeMailHost*& Current() {
    static TFakeMailHost* current = nullptr;
    return current;
  }
  std::string Id(const char* mail) const {
    return mail ? mail : Selected;
  }
  char* Keep(std::string text) {
    FKept.push_back(std::make_unique<std::string>(std::move(text)));
    return FKept.back()->data();
  }

  static std::uint32_t VLM_STDCALL FakeGetStatus(const char* mail) {
    auto& h = *Current();
    h.Calls.push_back("GetStatus");
    return h.Status[h.Id(mail)];
  }
  static char* VLM_STDCALL FakeGetHeader(const char* mail) {
    auto& h = *Current();
    h.Calls.push_back("GetHeader");
    const std::string& source = h.Store[h.Id(mail)];
    size_t end = source.find("\r\n\r\n");
    return h.Keep(end == std::string::npos ? source : source.substr(0, end + 2));
  }
  static char* VLM_STDCALL FakeGetSource(const char* mail) {
    auto& h = *Current();
    h.Calls.push_back("GetSource");
    // The stored text itself, valid until SetSource replaces it: a copy per call would put the
    // stand-in's own memory into the benchmarks of messages of tens of megabytes.
    return h.Store[h.Id(mail)].data();
  }
  static void VLM_STDCALL FakeSetSource(const char* mail, const char* source) {
    auto& h = *Current();
    h.Calls.push_back("SetSource");
    ++h.SetSourceCalls;
    if (!h.FBuffers.count(const_cast<char*>(source))) h.BufferFault = true;
    std::string& stored = h.Store[h.Id(mail)];
    std::string().swap(stored);  // the old text goes before the new one is copied in
    stored = source;
  }
  static void VLM_STDCALL FakeSetMessageText(HostWnd, const char* text) {
    auto& h = *Current();
    h.Calls.push_back("SetMessageText");
    h.StatusTexts.push_back(FromAnsi(text ? text : ""));
  }
  static const char* VLM_STDCALL FakeGetTempFileName(const char* type) {
    auto& h = *Current();
    h.Calls.push_back(std::string("GetTempFileName ") + type);
    const auto path = h.TempFolder() / ("bk" + std::to_string(++h.FTempCounter) + "." + type);
    WriteFile(path, "");
    return h.Keep(path.string());
  }
  static const char* VLM_STDCALL FakeGetTempFolder() {
    auto& h = *Current();
    h.Calls.push_back("GetTempFolder");
    return h.Keep(h.TempFolder().string() + "/");
  }
  static int VLM_STDCALL FakeB64Convert(const char* output, const char* input, int encode) {
    auto& h = *Current();
    h.Calls.push_back("B64Convert " + std::to_string(encode));
    if (h.Fault == TFault::fNone) return StreamBase64(output, input, encode) ? 1 : 0;
    const std::string data = ReadFile(input);
    std::string result = encode ? EncodeBase64Lines(data) : DecodeBase64(data);
    if (!encode && h.Fault == TFault::fDecodeNothing) return 0;
    if (encode && h.Fault == TFault::fEncodeTruncated) result.resize(result.size() / 2);
    WriteFile(output, result);
    return 1;
  }
  // Converts piece by piece, as a host's converter does, so that the benchmarks of messages of
  // tens of megabytes time the plug-in and not this stand-in's memory. An encoded piece is a
  // whole number of 76-letter lines, so the text is the same as from one piece.
  static bool StreamBase64(const char* output, const char* input, int encode) {
    constexpr size_t kPiece = 57 * 16384;
    const std::unique_ptr<FILE, int (*)(FILE*)> in(std::fopen(input, "rb"), &std::fclose);
    const std::unique_ptr<FILE, int (*)(FILE*)> out(std::fopen(output, "wb"), &std::fclose);
    if (!in || !out) return false;
    std::string piece(kPiece, '\0'), result;
    TBase64Decoder decoder;
    for (size_t got; (got = std::fread(piece.data(), 1, piece.size(), in.get())) > 0;) {
      const std::string_view text(piece.data(), got);
      if (encode) {
        result = EncodeBase64Lines(text);
      } else {
        result.clear();
        decoder.Add(text, result);
      }
      if (std::fwrite(result.data(), 1, result.size(), out.get()) != result.size()) return false;
    }
    return std::ferror(in.get()) == 0;
  }
  static void* VLM_STDCALL FakeAlloc(std::uint32_t size) {
    auto& h = *Current();
    h.Calls.push_back("Alloc");
    if (h.Fault == TFault::fNoBuffer) return nullptr;
    void* buffer = std::malloc(size ? size : 1);
    h.FBuffers.insert(buffer);
    return buffer;
  }
  static void VLM_STDCALL FakeFree(void* buffer) {
    auto& h = *Current();
    h.Calls.push_back("Free");
    if (h.FBuffers.erase(buffer) == 0) {
      h.BufferFault = true;
      return;
    }
    std::free(buffer);
  }
  static const char* VLM_STDCALL FakeGetCurrentMail() {
    auto& h = *Current();
    h.Calls.push_back("GetCurrentMail");
    return h.Selected.empty() ? nullptr : h.Keep(h.Selected);
  }

  std::filesystem::path FFolder;
  std::set<void*> FBuffers;
  std::vector<std::unique_ptr<std::string>> FKept;
  int FTempCounter = 0;
};

}  // namespace vlm::test
