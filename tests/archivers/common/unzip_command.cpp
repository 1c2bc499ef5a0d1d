#include "tests/archivers/common/unzip_command.h"

#include <filesystem>
#include <system_error>

#include "tests/archivers/common/ansi_path.h"
#include "tests/archivers/common/command_line.h"
#include "tests/archivers/common/result_codes.h"

namespace standin {

namespace fs = std::filesystem;

namespace {

struct UnzipCommand {
  char action = 'x';
  bool overwrite = false;
  bool junkPaths = false;
  std::string password;
  std::string archive;
  std::string destination;
  std::vector<std::string> masks;
};

UnzipCommand ParseUnzipCommand(std::string_view line) {
  std::vector<std::string> tokens = SplitCommandLine(line);
  UnzipCommand cmd;
  std::vector<std::string> plain;
  for (size_t i = 0; i < tokens.size(); ++i) {
    const std::string& token = tokens[i];
    if (token.size() < 2 || token[0] != '-') {
      if (!token.empty()) plain.push_back(token);
    } else if (token[1] == 'P') {
      cmd.password =
          token.size() > 2 ? token.substr(2) : (i + 1 < tokens.size() ? tokens[++i] : "");
    } else if (token == "--i") {
      // Progress reports: always sent to an owner window here.
    } else if (token[1] != '-') {
      for (char c : token.substr(1)) {
        if (c == 'x' || c == 't' || c == 'l') {
          cmd.action = c;
        } else if (c == 'o') {
          cmd.overwrite = true;
        } else if (c == 'j') {
          cmd.junkPaths = true;
        } else {
          throw ArchiverError{kErrorCommandName, "unknown switch"};
        }
      }
    } else {
      throw ArchiverError{kErrorCommandName, "unknown switch"};
    }
  }
  if (plain.empty()) throw ArchiverError{kErrorNotFileName, "no archive name"};
  cmd.archive = plain[0];
  size_t first = 1;
  if (plain.size() > 1 && (plain[1].back() == '\\' || plain[1].back() == '/')) {
    cmd.destination = plain[1];
    first = 2;
  }
  std::vector<std::string> masks(plain.begin() + static_cast<std::ptrdiff_t>(first), plain.end());
  cmd.masks = ExpandResponseFiles(masks);
  return cmd;
}

bool Named(const UnzipCommand& cmd, const ZipEntry& entry) {
  if (cmd.masks.empty()) return true;
  for (const std::string& mask : cmd.masks) {
    if (WildcardMatch(mask, entry.name)) return true;
  }
  return false;
}

MemberInfo InfoOf(const ZipEntry& e) {
  MemberInfo info;
  info.name = e.name;
  info.originalSize = e.originalSize;
  info.compressedSize = e.compressedSize;
  info.crc = e.crc;
  info.ratio = RatioOf(e.compressedSize, e.originalSize);
  info.dosDate = e.dosDate;
  info.dosTime = e.dosTime;
  info.unixTime = UnixFromDos(e.dosDate, e.dosTime);
  info.attribute = AttributeText(e.externalAttributes);
  info.mode = e.method == 8 ? "deflate" : "stored";
  return info;
}

class UnzipJob {
 public:
  UnzipJob(const UnzipCommand& cmd, ProgressSink& progress, std::string& output)
      : cmd_(cmd), progress_(progress), output_(output), reader_(PathFromAnsi(cmd.archive)) {}

  int Run() {
    int result = kOk;
    for (const ZipEntry& entry : reader_.Entries()) {
      if (!Named(cmd_, entry)) continue;
      if (cmd_.action == 'l') {
        output_ += std::to_string(entry.originalSize) + "  " + entry.name + "\r\n";
        continue;
      }
      int code = One(entry);
      if (code == kErrorUserCancel) return code;
      if (code != kOk && result == kOk) result = code;
    }
    progress_.Report(kStateEnd, ProgressRecord{});
    return result;
  }

 private:
  int One(const ZipEntry& entry) {
    MemberInfo info = InfoOf(entry);
    ProgressRecord record;
    record.fileSize = entry.originalSize;
    record.sourceName = entry.name;
    record.compressedSize = entry.compressedSize;
    record.crc = entry.crc;
    record.ratio = info.ratio;
    record.dosDate = entry.dosDate;
    record.dosTime = entry.dosTime;
    record.attribute = info.attribute;
    record.mode = info.mode;
    std::string member = NormalizeMemberName(entry.name);
    if (cmd_.junkPaths) member = SplitLastComponent(member).second;
    fs::path target = PathFromAnsi(cmd_.destination) / PathFromAnsi(member);
    record.destName = AnsiFromPath(target);
    if (progress_.Report(kStateBegin, record)) return kErrorUserCancel;
    try {
      if (entry.Folder()) {
        if (cmd_.action == 'x' && !cmd_.junkPaths) fs::create_directories(target);
        return kOk;
      }
      Bytes content = reader_.Extract(entry, cmd_.password);
      if (cmd_.action == 'x' && !WriteFile(target, content, entry)) return kErrorCannotWrite;
    } catch (const ArchiverError& e) {
      output_ += entry.name + ": " + e.what + "\r\n";
      return e.code;
    } catch (const fs::filesystem_error&) {
      return kErrorMakeDirectory;
    }
    record.writeSize = entry.originalSize;
    output_ += (cmd_.action == 'x' ? "  inflating: " : "    testing: ") + entry.name + "\r\n";
    return progress_.Report(kStateInProcess, record) ? kErrorUserCancel : kOk;
  }

  bool WriteFile(const fs::path& target, const Bytes& content, const ZipEntry& entry) {
    std::error_code ec;
    if (fs::exists(target, ec) && !cmd_.overwrite) {
      output_ += AnsiFromPath(target) + " exists, kept\r\n";
      return true;
    }
    if (target.has_parent_path()) fs::create_directories(target.parent_path());
    {
      std::ofstream out(target, std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(content.data()),
                static_cast<std::streamsize>(content.size()));
      if (!out) return false;
    }
    SetWriteTime(target, UnixFromDos(entry.dosDate, entry.dosTime));
    return true;
  }

  const UnzipCommand& cmd_;
  ProgressSink& progress_;
  std::string& output_;
  ZipReader reader_;
};

}  // namespace

int RunUnzip(std::string_view commandLine, ProgressSink& progress, std::string& output) {
  try {
    UnzipCommand cmd = ParseUnzipCommand(commandLine);
    return UnzipJob(cmd, progress, output).Run();
  } catch (const ArchiverError& e) {
    output += std::string("unzip error: ") + e.what + "\r\n";
    return e.code;
  }
}

int ExtractZipToMemory(std::string_view commandLine, Bytes& content) {
  try {
    UnzipCommand cmd = ParseUnzipCommand(commandLine);
    // Without a destination folder the token after the archive is already the member.
    if (!cmd.destination.empty()) cmd.masks.insert(cmd.masks.begin(), cmd.destination);
    ZipReader reader(PathFromAnsi(cmd.archive));
    for (const ZipEntry& entry : reader.Entries()) {
      if (!entry.Folder() && Named(cmd, entry)) {
        content = reader.Extract(entry, cmd.password);
        return kOk;
      }
    }
    return kErrorNotFindFile;
  } catch (const ArchiverError& e) {
    return e.code;
  }
}

std::vector<MemberInfo> ListZip(std::string_view ansiArchive) {
  ZipReader reader(PathFromAnsi(ansiArchive));
  std::vector<MemberInfo> members;
  for (const ZipEntry& e : reader.Entries()) members.push_back(InfoOf(e));
  return members;
}

bool CheckZip(std::string_view ansiArchive, int mode) {
  try {
    ZipReader reader(PathFromAnsi(ansiArchive));
    if ((mode & 3) != 2) return true;  // rapid and basic checks read the directory only
    for (const ZipEntry& e : reader.Entries()) {
      if (e.Folder() || e.Encrypted()) continue;
      reader.Extract(e, "");
    }
    return true;
  } catch (const ArchiverError&) {
    return false;
  }
}

}  // namespace standin
