#include "tests/archivers/common/lha_command.h"

#include <filesystem>
#include <map>
#include <string_view>
#include <system_error>

#include "tests/archivers/common/ansi_path.h"
#include "tests/archivers/common/command_line.h"
#include "tests/archivers/common/file_select.h"
#include "tests/archivers/common/lha_format.h"
#include "tests/archivers/common/result_codes.h"
#include "tests/archivers/common/temporary_archive.h"

namespace standin {

namespace fs = std::filesystem;

namespace {

struct LhaCommand {
  char action = 0;
  int recurse = 0;
  bool includeHidden = false;
  bool keepFolders = true;
  bool compress = true;
  std::string archive;
  std::string baseFolder;
  std::vector<std::string> names;
};

// A switch's number: "-r2" gives 2, a bare "-r" gives 1.
int SwitchValue(const std::string& token) {
  return token.size() > 2 ? std::atoi(token.c_str() + 2) : 1;
}

// UNLHA32's switch vocabulary: numbered switches take digits or nothing, the others a text.
bool KnownSwitch(std::string_view body) {
  static const std::string_view numbered[] = {
      "a",  "c",   "e",   "f",   "h",   "i",   "l",   "m",   "n",   "o",   "p",   "r",   "s",
      "t",  "u",   "x",   "y",   "z",   "jc",  "jd",  "je",  "jf",  "jh",  "ji",  "jm",  "jn",
      "jp", "jr",  "jsb", "jsc", "jsd", "jse", "jsf", "jsl", "jso", "jss", "jst", "jsv", "jsz",
      "jw", "jyc", "jyd", "jyk", "jyn", "jyo", "ga",  "gd",  "ge",  "gf",  "gj",  "gm",  "gn",
      "go", "gp",  "gs",  "gu",  "gw",  "gya", "gyc", "gyo", "gyq", "gys", "gyx"};
  static const std::string_view texts[] = {"w",  "jo",  "job", "jx",  "jz",
                                           "gr", "gyd", "gye", "gyt", "gyw"};
  if (body == "+") return true;
  for (std::string_view name : numbered)
    if (body.starts_with(name) &&
        body.substr(name.size()).find_first_not_of("0123456789") == std::string_view::npos)
      return true;
  for (std::string_view name : texts)
    if (body.starts_with(name)) return true;
  return false;
}

LhaCommand ParseLhaCommand(std::string_view line) {
  std::vector<std::string> tokens = SplitCommandLine(line);
  LhaCommand cmd;
  std::vector<std::string> plain;
  for (const std::string& token : tokens) {
    if (cmd.action == 0) {
      if (token.size() != 1 || std::string("aufdxetlv").find(token[0]) == std::string::npos) {
        throw ArchiverError{kErrorCommandName, "unknown command"};
      }
      cmd.action = token[0];
    } else if (token.size() >= 2 && token[0] == '-') {
      // A switch the real archiver does not know makes it refuse the command: so do we, so that
      // a wrong switch from the caller cannot pass unseen.
      if (!KnownSwitch(std::string_view(token).substr(1)))
        throw ArchiverError{kErrorCommandName, "unknown switch"};
      switch (token[1]) {
        case 'r':
          cmd.recurse = SwitchValue(token);
          break;
        case 'a':
          cmd.includeHidden = SwitchValue(token) >= 1;
          break;
        case 'x':
          cmd.keepFolders = SwitchValue(token) >= 1;
          break;
        case 'z':
          cmd.compress = SwitchValue(token) == 0;
          break;
        default:
          break;
      }
    } else if (!token.empty()) {
      plain.push_back(token);
    }
  }
  if (cmd.action == 0) throw ArchiverError{kErrorCommandName, "no command"};
  if (cmd.action == 'e') {
    cmd.action = 'x';
    cmd.keepFolders = false;
  }
  if (plain.empty()) throw ArchiverError{kErrorNotFileName, "no archive name"};
  cmd.archive = plain[0];
  size_t first = 1;
  if (plain.size() > 1 && (plain[1].back() == '\\' || plain[1].back() == '/')) {
    cmd.baseFolder = plain[1];
    first = 2;
  }
  std::vector<std::string> names(plain.begin() + static_cast<std::ptrdiff_t>(first), plain.end());
  cmd.names = ExpandResponseFiles(names);
  return cmd;
}

// Listings show LHA names with "\" between folders, as Windows LHA tools do.
MemberInfo InfoOf(const LhaEntry& e) {
  MemberInfo info;
  info.name = e.name;
  for (char& c : info.name) {
    if (c == '/') c = '\\';
  }
  info.originalSize = e.originalSize;
  info.compressedSize = e.compressedSize;
  info.crc = e.crc;
  info.ratio = RatioOf(e.compressedSize, e.originalSize);
  info.unixTime = e.unixTime;
  DosFromUnix(e.unixTime, info.dosDate, info.dosTime);
  info.attribute = AttributeText(e.attributes);
  info.mode = e.method;
  return info;
}

ProgressRecord RecordOf(const MemberInfo& info) {
  ProgressRecord record;
  record.fileSize = info.originalSize;
  record.compressedSize = info.compressedSize;
  record.crc = info.crc;
  record.ratio = info.ratio;
  record.dosDate = info.dosDate;
  record.dosTime = info.dosTime;
  record.attribute = info.attribute;
  record.mode = info.mode;
  return record;
}

bool Named(const std::vector<std::string>& masks, const std::string& member) {
  if (masks.empty()) return true;
  for (const std::string& mask : masks) {
    std::string normalized = NormalizeMemberName(mask);
    if (WildcardMatch(normalized, member) || member.rfind(normalized + "/", 0) == 0) return true;
  }
  return false;
}

class UnlhaJob {
 public:
  UnlhaJob(const LhaCommand& cmd, ProgressSink& progress, std::string& output)
      : cmd_(cmd), progress_(progress), output_(output), archive_(PathFromAnsi(cmd.archive)) {}

  int Run() {
    switch (cmd_.action) {
      case 'x':
      case 't':
      case 'l':
      case 'v':
        return Read();
      default:
        return Write();
    }
  }

 private:
  int Read() {
    LhaReader reader(archive_);
    int result = kOk;
    for (const LhaEntry& entry : reader.Entries()) {
      if (!Named(cmd_.names, entry.name)) continue;
      MemberInfo info = InfoOf(entry);
      if (cmd_.action == 'l' || cmd_.action == 'v') {
        output_ += info.mode + " " + std::to_string(entry.originalSize) + " " + entry.name + "\r\n";
        continue;
      }
      ProgressRecord record = RecordOf(info);
      record.sourceName = entry.name;
      std::string member = cmd_.keepFolders ? NormalizeMemberName(entry.name)
                                            : SplitLastComponent(entry.name).second;
      fs::path target = PathFromAnsi(cmd_.baseFolder) / PathFromAnsi(member);
      record.destName = AnsiFromPath(target.make_preferred());
      if (progress_.Report(kStateBegin, record)) return kErrorUserCancel;
      try {
        if (entry.Folder()) {
          if (cmd_.action == 'x' && cmd_.keepFolders) fs::create_directories(target);
          continue;
        }
        Bytes content = reader.Extract(entry);
        if (cmd_.action == 'x') Store(target, content, entry);
      } catch (const ArchiverError& e) {
        output_ += entry.name + ": " + e.what + "\r\n";
        if (result == kOk) result = e.code;
        continue;
      } catch (const fs::filesystem_error&) {
        if (result == kOk) result = kErrorMakeDirectory;
        continue;
      }
      record.writeSize = entry.originalSize;
      if (progress_.Report(kStateInProcess, record)) return kErrorUserCancel;
    }
    progress_.Report(kStateEnd, ProgressRecord{});
    return result;
  }

  void Store(const fs::path& target, const Bytes& content, const LhaEntry& entry) {
    if (target.has_parent_path()) fs::create_directories(target.parent_path());
    {
      std::ofstream out(target, std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(content.data()),
                static_cast<std::streamsize>(content.size()));
      if (!out) throw ArchiverError{kErrorCannotWrite, "file cannot be written"};
    }
    SetWriteTime(target, entry.unixTime);
  }

  int Write() {
    std::vector<LhaEntry> kept;
    std::vector<Bytes> raw;
    std::error_code ec;
    if (fs::exists(archive_, ec)) {
      LhaReader reader(archive_);
      for (const LhaEntry& e : reader.Entries()) {
        kept.push_back(e);
        raw.push_back(reader.Raw(e));
      }
    } else if (cmd_.action == 'd' || cmd_.action == 'f') {
      return kErrorArcFileOpen;
    }
    std::vector<bool> dropped(kept.size(), false);
    std::vector<SelectedFile> files;
    if (cmd_.action == 'd') {
      for (size_t i = 0; i < kept.size(); ++i) dropped[i] = Named(cmd_.names, kept[i].name);
    } else {
      files = Chosen(kept, dropped);
      if (files.empty() && kept.empty()) {
        output_ += "no file to pack\r\n";
        return kErrorNotFindFile;
      }
    }
    TemporaryArchive temporary(archive_);
    {
      LhaWriter writer(temporary.Path());
      for (size_t i = 0; i < kept.size(); ++i) {
        if (!dropped[i]) writer.AddRaw(raw[i]);
      }
      for (const SelectedFile& file : files) {
        if (!AddOne(writer, file)) return kErrorUserCancel;
      }
      writer.Finish();
    }
    progress_.Report(kStateEnd, ProgressRecord{});
    return temporary.Commit() ? kOk : kErrorCannotWrite;
  }

  // The files the command stores, marking the kept members they replace.
  std::vector<SelectedFile> Chosen(const std::vector<LhaEntry>& kept, std::vector<bool>& dropped) {
    SelectRules rules;
    rules.baseFolder = cmd_.baseFolder;
    rules.recurse = cmd_.recurse >= 1;
    rules.includeHidden = cmd_.includeHidden;
    rules.junkPaths = !cmd_.keepFolders;
    rules.folderEntries = cmd_.recurse >= 1 && cmd_.keepFolders;
    std::map<std::string, size_t> index;
    for (size_t i = 0; i < kept.size(); ++i) index[kept[i].name] = i;
    std::vector<SelectedFile> chosen;
    for (SelectedFile& file : SelectFiles(cmd_.names, rules)) {
      auto found = index.find(file.member);
      if (found != index.end()) {
        bool newer = StampOf(file.disk).unixTime > kept[found->second].unixTime;
        if (cmd_.action != 'a' && !newer) continue;
        dropped[found->second] = true;
      } else if (cmd_.action == 'f') {
        continue;
      }
      chosen.push_back(std::move(file));
    }
    return chosen;
  }

  bool AddOne(LhaWriter& writer, const SelectedFile& file) {
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
      writer.AddFolder(file.member, stamp.unixTime, stamp.attributes);
      return true;
    }
    LhaEntry entry = writer.AddFile(file.member, ReadWholeFile(file.disk), stamp.unixTime,
                                    stamp.attributes, cmd_.compress);
    record.writeSize = entry.originalSize;
    record.compressedSize = entry.compressedSize;
    record.crc = entry.crc;
    record.ratio = RatioOf(entry.compressedSize, entry.originalSize);
    record.mode = entry.method;
    output_ += file.member + " - Frozen(" + entry.method + ")\r\n";
    return !progress_.Report(kStateInProcess, record);
  }

  const LhaCommand& cmd_;
  ProgressSink& progress_;
  std::string& output_;
  fs::path archive_;
};

}  // namespace

int RunUnlha(std::string_view commandLine, ProgressSink& progress, std::string& output) {
  try {
    LhaCommand cmd = ParseLhaCommand(commandLine);
    return UnlhaJob(cmd, progress, output).Run();
  } catch (const ArchiverError& e) {
    output += std::string("Error: ") + e.what + "\r\n";
    return e.code;
  }
}

int ExtractLhaToMemory(std::string_view commandLine, Bytes& content) {
  try {
    // The to-memory command has no command word: read it as an extraction.
    LhaCommand cmd = ParseLhaCommand("x " + std::string(commandLine));
    if (!cmd.baseFolder.empty()) cmd.names.insert(cmd.names.begin(), cmd.baseFolder);
    LhaReader reader(PathFromAnsi(cmd.archive));
    for (const LhaEntry& entry : reader.Entries()) {
      if (!entry.Folder() && Named(cmd.names, entry.name)) {
        content = reader.Extract(entry);
        return kOk;
      }
    }
    return kErrorNotFindFile;
  } catch (const ArchiverError& e) {
    return e.code;
  }
}

std::vector<MemberInfo> ListLha(std::string_view ansiArchive) {
  LhaReader reader(PathFromAnsi(ansiArchive));
  std::vector<MemberInfo> members;
  for (const LhaEntry& e : reader.Entries()) members.push_back(InfoOf(e));
  return members;
}

bool CheckLha(std::string_view ansiArchive, int mode) {
  try {
    LhaReader reader(PathFromAnsi(ansiArchive));
    if (reader.Entries().empty()) return false;
    if ((mode & 3) != 2) return true;
    for (const LhaEntry& e : reader.Entries()) reader.Extract(e);
    return true;
  } catch (const ArchiverError&) {
    return false;
  }
}

}  // namespace standin
