#pragma once
// Writes the attachments of a winmail.dat (TNEF) file into a folder, one file each.
//
// The file is not parsed as a TNEF structure: it is scanned byte by byte for the identifiers of
// attAttachTitle (10 80 01 00) and attAttachData (0F 80 06 00), and the length and value behind
// each match are taken. Offset 0 is never a match, a pattern inside a value counts, a title is its
// value without the last byte, and the i-th title names the i-th data value.
//
// The file comes from anyone on the internet, so a title is only ever used as a bare file name
// inside the folder, a missing or unusable title gets the name "attachment<n>", equal titles get
// numbered names, and a length running past the end of the file stops the conversion before
// anything is written. Each file is written under a temporary name and renamed when complete.
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vlm {

// A winmail.dat that cannot be opened or decoded, or an attachment that cannot be written.
class ETNEFConvert : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TTNEFConvert {
 public:
  // Opens the file; raises ETNEFConvert when it cannot be opened.
  explicit TTNEFConvert(const std::filesystem::path& TNEFFileName);
  ~TTNEFConvert();
  TTNEFConvert(const TTNEFConvert&) = delete;
  TTNEFConvert& operator=(const TTNEFConvert&) = delete;

  // Writes every attachment into TempFolder and appends the bare name of each written file to
  // ResultFile, in file order. False, with nothing written, when the file holds no attAttachData.
  // Raises ETNEFConvert for a malformed file or a write failure.
  bool Convert(std::vector<std::wstring>& ResultFile, const std::filesystem::path& TempFolder);

 private:
  enum class TAttribute { atNone, atTitle, atData };

  // The bytes of a value that lies inside the file, or ETNEFConvert.
  std::string_view ValueAt(size_t identifierOffset, const char* what) const;

  void LoadSource();
  TAttribute FindAttribute();
  size_t CountAttachments();
  std::vector<std::string_view> ReadTitles() const;
  std::wstring AttachmentName(size_t index) const;
  void SaveAttachment(size_t index, const std::filesystem::path& FileName) const;

  std::filesystem::path FFileName;
  std::ifstream FSourceFileStream;
  size_t FCurrentStreamPos = 0;
  std::vector<std::string_view> FAttTitles;  // raw title bytes, views into FSource

  std::unique_ptr<char[]> FSource;  // the whole file: one read, then scanned in memory
  size_t FSourceSize = 0;
  std::vector<size_t> FTitleOffsets;
  std::vector<size_t> FDataOffsets;
};

}  // namespace vlm
