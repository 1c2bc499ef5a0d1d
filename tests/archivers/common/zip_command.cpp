#include "tests/archivers/common/zip_command.h"

#include <cctype>
#include <filesystem>
#include <map>
#include <system_error>
#include <vector>

#include "tests/archivers/common/ansi_path.h"
#include "tests/archivers/common/command_line.h"
#include "tests/archivers/common/file_select.h"
#include "tests/archivers/common/member_info.h"
#include "tests/archivers/common/result_codes.h"
#include "tests/archivers/common/temporary_archive.h"
#include "tests/archivers/common/zip_format.h"

namespace standin {

namespace fs = std::filesystem;

namespace {

enum class ZipMode { kAdd, kUpdate, kFreshen, kDelete, kAdjust };

struct ZipCommand {
  ZipMode mode = ZipMode::kAdd;
  bool recurse = false;
  bool includeHidden = false;
  bool folderEntries = true;
  bool junkPaths = false;
  bool quiet = false;
  int level = 6;
  std::string password;
  std::string archive;
  std::string baseFolder;
  std::vector<std::string> names;
};

bool EndsWithSeparator(const std::string& text) {
  return !text.empty() && (text.back() == '\\' || text.back() == '/');
}

void ReadFlags(std::string_view flags, ZipCommand& cmd) {
  for (char c : flags) {
    switch (c) {
      case 'r':
        cmd.recurse = true;
        break;
      case 'S':
        cmd.includeHidden = true;
        break;
      case 'D':
        cmd.folderEntries = false;
        break;
      case 'j':
        cmd.junkPaths = true;
        break;
      case 'q':
        cmd.quiet = true;
        break;
      case 'u':
        cmd.mode = ZipMode::kUpdate;
        break;
      case 'f':
        cmd.mode = ZipMode::kFreshen;
        break;
      case 'd':
        cmd.mode = ZipMode::kDelete;
        break;
      case 'o':
      case 'v':
      case 'k':
      case 'J':
      case 'F':
        break;  // known, and nothing to do for them here
      default:
        // A switch the real archiver does not know makes it refuse the command: so do we, so
        // that a wrong switch from the caller cannot pass unseen.
        if (!std::isdigit(static_cast<unsigned char>(c)))
          throw ArchiverError{kErrorCommandName, "unknown switch"};
        cmd.level = c - '0';
        break;
    }
  }
}

ZipCommand ParseZipCommand(std::string_view line) {
  std::vector<std::string> tokens = SplitCommandLine(line);
  ZipCommand cmd;
  std::vector<std::string> plain;
  for (size_t i = 0; i < tokens.size(); ++i) {
    const std::string& token = tokens[i];
    if (token.size() < 2 || token[0] != '-') {
      if (!token.empty()) plain.push_back(token);
      continue;
    }
    if (token[1] == 'P') {
      cmd.password =
          token.size() > 2 ? token.substr(2) : (i + 1 < tokens.size() ? tokens[++i] : "");
    } else if (token == "-A") {
      // The self-extracting program's path follows unquoted, so it is the rest of the line.
      cmd.mode = ZipMode::kAdjust;
      for (++i; i < tokens.size(); ++i) cmd.archive += (cmd.archive.empty() ? "" : " ") + tokens[i];
      return cmd;
    } else {
      ReadFlags(std::string_view(token).substr(1), cmd);
    }
  }
  if (plain.empty()) throw ArchiverError{kErrorNotFileName, "no archive name"};
  cmd.archive = plain[0];
  size_t first = 1;
  if (plain.size() > 1 && EndsWithSeparator(plain[1])) {
    cmd.baseFolder = plain[1];
    first = 2;
  }
  std::vector<std::string> names(plain.begin() + static_cast<std::ptrdiff_t>(first), plain.end());
  cmd.names = ExpandResponseFiles(names);
  return cmd;
}

struct Kept {
  ZipEntry entry;
  Bytes raw;
};

// The members of an existing archive, kept as they are until the command replaces them.
std::vector<Kept> ExistingMembers(const fs::path& archive) {
  std::vector<Kept> kept;
  std::error_code ec;
  if (!fs::exists(archive, ec)) return kept;
  ZipReader reader(archive);
  for (const ZipEntry& e : reader.Entries()) kept.push_back({e, reader.Raw(e)});
  return kept;
}

bool Newer(std::uint16_t date, std::uint16_t time, const ZipEntry& than) {
  return (static_cast<std::uint32_t>(date) << 16 | time) >
         (static_cast<std::uint32_t>(than.dosDate) << 16 | than.dosTime);
}

class ZipJob {
 public:
  ZipJob(const ZipCommand& cmd, ProgressSink& progress, std::string& output)
      : cmd_(cmd), progress_(progress), output_(output) {}

  int Run() {
    fs::path archive = PathFromAnsi(cmd_.archive);
    std::vector<Kept> kept = ExistingMembers(archive);
    if (cmd_.mode == ZipMode::kDelete) return Delete(archive, kept);
    SelectRules rules;
    rules.baseFolder = cmd_.baseFolder;
    rules.recurse = cmd_.recurse;
    rules.includeHidden = cmd_.includeHidden;
    rules.junkPaths = cmd_.junkPaths;
    rules.folderEntries = cmd_.folderEntries;
    rules.unescapeBrackets = true;
    std::vector<SelectedFile> files = SelectFiles(cmd_.names, rules);
    if (files.empty() && kept.empty()) {
      Say("zip error: Nothing to do!");
      return kErrorNotFindFile;
    }
    return Write(archive, kept, files);
  }

 private:
  void Say(const std::string& line) {
    if (!cmd_.quiet) output_ += line + "\r\n";
  }

  int Write(const fs::path& archive, std::vector<Kept>& kept,
            const std::vector<SelectedFile>& files) {
    std::map<std::string, size_t> index;
    for (size_t i = 0; i < kept.size(); ++i) index[kept[i].entry.name] = i;
    TemporaryArchive temporary(archive);
    {
      ZipWriter writer(temporary.Path());
      std::vector<bool> replaced(kept.size(), false);
      std::vector<const SelectedFile*> added;
      for (const SelectedFile& file : files) {
        std::string member = file.folder ? file.member + "/" : file.member;
        auto found = index.find(member);
        FileStamp stamp = StampOf(file.disk);
        if (found != index.end()) {
          bool newer = Newer(stamp.dosDate, stamp.dosTime, kept[found->second].entry);
          if (cmd_.mode != ZipMode::kAdd && !newer) continue;
          replaced[found->second] = true;
        } else if (cmd_.mode == ZipMode::kFreshen) {
          continue;
        }
        added.push_back(&file);
      }
      for (size_t i = 0; i < kept.size(); ++i) {
        if (!replaced[i]) writer.AddRaw(kept[i].entry, kept[i].raw);
      }
      for (const SelectedFile* file : added) {
        if (!AddOne(writer, *file)) return kErrorUserCancel;
      }
      writer.Finish();
    }
    progress_.Report(kStateEnd, ProgressRecord{});
    if (!temporary.Commit()) return kErrorCannotWrite;
    // Like the real DLL: the archive holds what could be read, and the code says a file is
    // missing from it.
    return skipped_ ? kErrorFileOpen : kOk;
  }

  // Returns false when the receiver of the progress reports asked to stop.
  bool AddOne(ZipWriter& writer, const SelectedFile& file) {
    Bytes data;
    if (!file.folder) {
      try {
        data = ReadWholeFile(file.disk);
      } catch (const ArchiverError& e) {
        if (e.code != kErrorFileOpen) throw;
        Say("zip warning: could not open for reading: " + file.member);
        skipped_ = true;
        return true;
      }
    }
    FileStamp stamp = StampOf(file.disk);
    ProgressRecord record;
    record.sourceName = AnsiFromPath(file.disk);
    record.destName = file.member;
    record.dosDate = stamp.dosDate;
    record.dosTime = stamp.dosTime;
    record.attribute = AttributeText(stamp.attributes);
    std::error_code ec;
    if (!file.folder) record.fileSize = static_cast<std::uint32_t>(fs::file_size(file.disk, ec));
    if (!progress_.Enumerate(record) || progress_.Report(kStateBegin, record)) return false;
    if (file.folder) {
      writer.AddFolder(file.member, stamp.dosDate, stamp.dosTime, stamp.attributes);
      Say("  adding: " + file.member + "/ (stored 0%)");
      return true;
    }
    ZipEntry entry = writer.AddFile(file.member, data, stamp.dosDate, stamp.dosTime,
                                    stamp.attributes, cmd_.level, cmd_.password);
    record.fileSize = entry.originalSize;
    record.writeSize = entry.originalSize;
    record.compressedSize = entry.compressedSize;
    record.crc = entry.crc;
    record.ratio = RatioOf(entry.compressedSize, entry.originalSize);
    record.mode = entry.method == 8 ? "deflate" : "stored";
    Say("  adding: " + file.member + (entry.method == 8 ? " (deflated)" : " (stored)"));
    return !progress_.Report(kStateInProcess, record);
  }

  int Delete(const fs::path& archive, std::vector<Kept>& kept) {
    if (kept.empty()) return kErrorArcFileOpen;
    TemporaryArchive temporary(archive);
    {
      ZipWriter writer(temporary.Path());
      for (const Kept& k : kept) {
        bool named = false;
        for (const std::string& name : cmd_.names) {
          std::string folder = NormalizeMemberName(name) + "/";
          if (WildcardMatch(name, k.entry.name) || k.entry.name.rfind(folder, 0) == 0) named = true;
        }
        if (named) {
          Say("deleting: " + k.entry.name);
        } else {
          writer.AddRaw(k.entry, k.raw);
        }
      }
      writer.Finish();
    }
    return temporary.Commit() ? kOk : kErrorCannotWrite;
  }

  const ZipCommand& cmd_;
  ProgressSink& progress_;
  std::string& output_;
  bool skipped_ = false;  // a file could not be opened and is not in the archive
};

// A ZIP archive appended to a stub program keeps the offsets it had on its own; moving every
// offset by the stub's length makes the program readable as an archive again.
int AdjustSelfExtractor(const std::string& program) {
  fs::path path = PathFromAnsi(program);
  Bytes data = ReadWholeFile(path);
  size_t end = data.size() >= 22 ? data.size() - 22 : 0;
  while (end > 0 && Get32(data, end) != 0x06054B50) --end;
  if (data.size() < 22 || Get32(data, end) != 0x06054B50) return kErrorNotArcFile;
  std::uint32_t centralSize = Get32(data, end + 12);
  std::uint32_t statedOffset = Get32(data, end + 16);
  std::uint32_t shift = static_cast<std::uint32_t>(end - centralSize) - statedOffset;
  size_t count = Get16(data, end + 10);
  size_t at = end - centralSize;
  for (size_t i = 0; i < count && at + 46 <= end; ++i) {
    Set32(data, at + 42, Get32(data, at + 42) + shift);
    at += 46 + Get16(data, at + 28) + Get16(data, at + 30) + Get16(data, at + 32);
  }
  Set32(data, end + 16, statedOffset + shift);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  return out ? kOk : kErrorCannotWrite;
}

}  // namespace

int RunZip(std::string_view commandLine, ProgressSink& progress, std::string& output) {
  try {
    ZipCommand cmd = ParseZipCommand(commandLine);
    if (cmd.mode == ZipMode::kAdjust) return AdjustSelfExtractor(cmd.archive);
    return ZipJob(cmd, progress, output).Run();
  } catch (const ArchiverError& e) {
    output += std::string("zip error: ") + e.what + "\r\n";
    return e.code;
  }
}

}  // namespace standin
