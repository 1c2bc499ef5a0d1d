#pragma once
// The files the rewrites work through: paths the host names in its code page, whole-file reads
// and writes, and the host's base64 conversion with its output checked. The host reports nothing
// about a conversion, so an output that cannot be right raises instead of reaching a stored
// message. Every failure raises EReceivedMail.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/host_api.h"
#include "base/mapped_file.h"
#include "received/mail_tools.h"
#include "received/mime_rules.h"

namespace vlm {

// A file path the host gave in its code page, or a wide one, as a path of this system.
[[nodiscard]] std::filesystem::path HostPath(std::string_view ansi);
[[nodiscard]] std::filesystem::path WidePath(const std::wstring& path);

void WriteWholeFile(const std::filesystem::path& path, std::string_view bytes);
void RemoveFile(const std::filesystem::path& path);

// The files one rewrite wrote (work files, extracted attachments), removed when it ends, whether
// it succeeded or failed, so that no copy of a message's attachments stays behind. A file that
// cannot be removed (another program holds it open) stays: removal is housekeeping, never a
// reason to fail.
class TWorkFiles {
 public:
  TWorkFiles() = default;
  ~TWorkFiles();
  TWorkFiles(const TWorkFiles&) = delete;
  TWorkFiles& operator=(const TWorkFiles&) = delete;

  void Add(std::filesystem::path path) { FPaths.push_back(std::move(path)); }

 private:
  std::vector<std::filesystem::path> FPaths;
};

// A new work file named by the host's GetTempFileName for the type text `type` ("bin", "dat").
[[nodiscard]] std::string HostTempFile(const TBeckyAPI& host, const char* type);
// The same, registered with `files` for removal.
[[nodiscard]] std::string HostTempFile(const TBeckyAPI& host, const char* type, TWorkFiles& files);

// How many bytes base64 text decodes to, given in pieces (lines, or text that holds line breaks);
// nothing when it is not clean base64 (a character outside the alphabet, padding inside the
// text, or a length that is no multiple of four).
class TBase64Count {
 public:
  void Add(std::string_view text);
  [[nodiscard]] std::optional<std::uint64_t> DecodedSize() const;

 private:
  void AddSlowly(std::string_view text);

  std::uint64_t FLetters = 0;
  unsigned FPadding = 0;
  bool FClean = true;
};

// Decodes the base64 file `input` into `output` through the host's B64Convert and checks that
// `output` holds `expectedSize` bytes.
void HostDecode(const TBeckyAPI& host, const std::string& output, const std::string& input,
                std::uint64_t expectedSize);

// The base64 text the host wrote into a work file, mapped into memory rather than read: the
// files of one expansion can add up to tens of megabytes. The work file must stay until this
// is gone.
class THostBase64 {
 public:
  explicit THostBase64(const std::filesystem::path& path) : FFile(path) {}
  [[nodiscard]] std::string_view Text() const {
    return FFile.Data() ? std::string_view(FFile.Data(), FFile.Size()) : std::string_view();
  }

 private:
  TMappedFile FFile;
};

// Encodes the file `input` into the work file `output` through the host's B64Convert (the work
// file is deleted first) and returns the base64 text the host wrote, checked against the size of
// `input`.
[[nodiscard]] std::unique_ptr<THostBase64> HostEncode(const TBeckyAPI& host,
                                                      const std::string& output,
                                                      const std::string& input);

// A file name in the code page for a header: unchanged when every character has a form there,
// otherwise the system's best-fit form ("Dökument.pdf" becomes "Dokument.pdf"), with '_' for
// each character that has no near form either, and for any character a file name cannot hold.
[[nodiscard]] std::string AnsiFileName(std::wstring_view name);

// The MIME type of an attachment: the table's type for the name's extension (from its last dot);
// where the table has none, `mimeTag` (the type the sender gave) when it is a well-formed type;
// else application/octet-stream, as for data nothing tells more about.
[[nodiscard]] std::string MimeTypeForName(const TMailTools& tools, const std::wstring& name,
                                          std::string_view mimeTag = {});

}  // namespace vlm
