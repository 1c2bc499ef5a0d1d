#include "tests/archivers/common/lha_format.h"

#include <iterator>

#include "tests/archivers/common/ansi_path.h"
#include "tests/archivers/common/lh5_codec.h"
#include "tests/archivers/common/result_codes.h"

namespace standin {

namespace {

constexpr std::uint8_t kOsWindowsNt = 'W';
constexpr size_t kLevel2BaseSize = 26;

// The level-2 header: base fields, then extended headers (header CRC, file name, folder,
// MS-DOS attributes), each introduced by the size field that ends the one before.
Bytes Level2Header(const LhaEntry& entry) {
  std::string folder, file = entry.name;
  size_t slash = entry.name.rfind('/');
  if (entry.Folder()) {
    folder = entry.name + "/";
    file.clear();
  } else if (slash != std::string::npos) {
    folder = entry.name.substr(0, slash + 1);
    file = entry.name.substr(slash + 1);
  }
  for (char& c : folder) {
    if (c == '/') c = '\xFF';
  }
  Bytes h;
  // Room for the whole header at once: growing the vector from two bytes here draws a false
  // -Warray-bounds from mingw's GCC 12 about the copy into the larger buffer.
  h.reserve(kLevel2BaseSize + file.size() + folder.size() + 32);
  Put16(h, 0);
  h.insert(h.end(), entry.method.begin(), entry.method.end());
  Put32(h, entry.compressedSize);
  Put32(h, entry.originalSize);
  Put32(h, static_cast<std::uint32_t>(entry.unixTime));
  h.push_back(0x20);
  h.push_back(2);
  Put16(h, entry.crc);
  h.push_back(kOsWindowsNt);
  auto extension = [&h](std::uint8_t type, const Bytes& body) {
    Put16(h, static_cast<std::uint32_t>(body.size() + 3));
    h.push_back(type);
    h.insert(h.end(), body.begin(), body.end());
  };
  size_t crcAt = h.size() + 3;
  extension(0x00, {0, 0});
  if (!file.empty()) extension(0x01, Bytes(file.begin(), file.end()));
  if (!folder.empty()) extension(0x02, Bytes(folder.begin(), folder.end()));
  extension(0x40, {static_cast<std::uint8_t>(entry.attributes), 0});
  Put16(h, 0);
  // A header size with a zero low byte would read as the end of the archive.
  if ((h.size() & 0xFF) == 0) h.push_back(0);
  h[0] = static_cast<std::uint8_t>(h.size());
  h[1] = static_cast<std::uint8_t>(h.size() >> 8);
  std::uint16_t crc = Crc16(h.data(), h.size());
  h[crcAt] = static_cast<std::uint8_t>(crc);
  h[crcAt + 1] = static_cast<std::uint8_t>(crc >> 8);
  return h;
}

[[noreturn]] void Broken() {
  throw ArchiverError{kErrorHeaderBroken, "broken LHA header"};
}

std::string NameFromBytes(const Bytes& in, size_t at, size_t size) {
  std::string name(reinterpret_cast<const char*>(&in[at]), size);
  for (size_t i = 0; i < name.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (IsLeadByte(c) && i + 1 < name.size()) {
      ++i;
    } else if (c == 0xFF || c == '\\') {
      name[i] = '/';
    }
  }
  return name;
}

}  // namespace

LhaWriter::LhaWriter(const std::filesystem::path& archive)
    : out_(archive, std::ios::binary | std::ios::trunc) {
  if (!out_) throw ArchiverError{kErrorArcFileOpen, "archive cannot be created"};
}

LhaEntry LhaWriter::AddFile(const std::string& member, const Bytes& data, std::int64_t unixTime,
                            std::uint32_t attributes, bool compress) {
  LhaEntry entry;
  entry.name = member;
  entry.unixTime = unixTime;
  entry.attributes = attributes & 0x27;
  entry.originalSize = static_cast<std::uint32_t>(data.size());
  entry.crc = Crc16(data.data(), data.size());
  entry.method = "-lh0-";
  const Bytes* payload = &data;
  Bytes packed;
  if (compress && !data.empty()) {
    packed = Lh5Encode(data);
    if (packed.size() < data.size()) {
      entry.method = "-lh5-";
      payload = &packed;
    }
  }
  entry.compressedSize = static_cast<std::uint32_t>(payload->size());
  Bytes header = Level2Header(entry);
  out_.write(reinterpret_cast<const char*>(header.data()),
             static_cast<std::streamsize>(header.size()));
  out_.write(reinterpret_cast<const char*>(payload->data()),
             static_cast<std::streamsize>(payload->size()));
  if (!out_) throw ArchiverError{kErrorCannotWrite, "archive cannot be written"};
  return entry;
}

LhaEntry LhaWriter::AddFolder(const std::string& member, std::int64_t unixTime,
                              std::uint32_t attributes) {
  LhaEntry entry;
  entry.name = member;
  entry.method = "-lhd-";
  entry.unixTime = unixTime;
  entry.attributes = (attributes & 0x27) | 0x10;
  Bytes header = Level2Header(entry);
  out_.write(reinterpret_cast<const char*>(header.data()),
             static_cast<std::streamsize>(header.size()));
  return entry;
}

void LhaWriter::AddRaw(const Bytes& headerAndData) {
  out_.write(reinterpret_cast<const char*>(headerAndData.data()),
             static_cast<std::streamsize>(headerAndData.size()));
}

void LhaWriter::Finish() {
  out_.put('\0');
  out_.close();
  if (!out_) throw ArchiverError{kErrorCannotWrite, "archive cannot be written"};
}

LhaReader::LhaReader(const std::filesystem::path& archive) {
  std::ifstream in(archive, std::ios::binary);
  if (!in) throw ArchiverError{kErrorArcFileOpen, "archive cannot be opened"};
  data_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  size_t at = 0;
  while (at < data_.size() && data_[at] != 0) {
    LhaEntry entry;
    size_t next = 0;
    if (!ReadHeader(at, entry, next)) {
      if (entries_.empty()) throw ArchiverError{kErrorNotArcFile, "not an LHA archive"};
      Broken();
    }
    entries_.push_back(entry);
    at = next;
  }
  if (entries_.empty() && (data_.empty() || data_[0] != 0)) {
    throw ArchiverError{kErrorNotArcFile, "not an LHA archive"};
  }
}

bool LhaReader::ReadHeader(size_t at, LhaEntry& e, size_t& next) const {
  if (at + 22 > data_.size() || data_[at + 2] != '-' || data_[at + 6] != '-') return false;
  e.headerOffset = at;
  e.method.assign(reinterpret_cast<const char*>(&data_[at + 2]), 5);
  e.compressedSize = Get32(data_, at + 7);
  e.originalSize = Get32(data_, at + 11);
  e.level = data_[at + 20];
  std::string folder, file;
  size_t extAt = 0;  // offset of the first extended header's size field, 0 when none
  if (e.level == 0 || e.level == 1) {
    size_t headerSize = data_[at] + 2u;
    size_t nameLength = data_[at + 21];
    if (at + 22 + nameLength + 2 > data_.size()) return false;
    e.unixTime = UnixFromDos(Get16(data_, at + 17), Get16(data_, at + 15));
    e.attributes = data_[at + 19];
    file = NameFromBytes(data_, at + 22, nameLength);
    e.crc = Get16(data_, at + 22 + nameLength);
    e.dataOffset = at + headerSize;
    if (e.level == 1) {
      extAt = at + headerSize - 2;
      // Level 1 counts its extended headers in the compressed size.
      size_t cursor = extAt;
      while (cursor + 2 <= data_.size() && Get16(data_, cursor) != 0) {
        size_t size = Get16(data_, cursor);
        if (size > e.compressedSize) return false;
        e.compressedSize -= static_cast<std::uint32_t>(size);
        cursor += size;
        e.dataOffset = cursor + 2;
      }
    }
  } else if (e.level == 2) {
    size_t headerSize = Get16(data_, at);
    if (headerSize < kLevel2BaseSize || at + headerSize > data_.size()) return false;
    e.unixTime = Get32(data_, at + 15);
    e.crc = Get16(data_, at + 21);
    e.dataOffset = at + headerSize;
    extAt = at + 24;
  } else {
    return false;
  }
  for (size_t cursor = extAt; extAt != 0 && cursor + 2 <= data_.size();) {
    size_t size = Get16(data_, cursor);
    if (size == 0) break;
    if (size < 3 || cursor + 2 + size > data_.size()) return false;
    std::uint8_t type = data_[cursor + 2];
    size_t body = cursor + 3, bodySize = size - 3;
    if (type == 0x01) file = NameFromBytes(data_, body, bodySize);
    if (type == 0x02) folder = NameFromBytes(data_, body, bodySize);
    if (type == 0x40 && bodySize >= 2) e.attributes = Get16(data_, body);
    cursor += size;
  }
  if (!folder.empty() && folder.back() != '/') folder += '/';
  e.name = folder + file;
  if (!e.name.empty() && e.name.back() == '/') e.name.pop_back();
  next = e.dataOffset + e.compressedSize;
  return next <= data_.size();
}

Bytes LhaReader::Raw(const LhaEntry& entry) const {
  return Bytes(
      data_.begin() + static_cast<std::ptrdiff_t>(entry.headerOffset),
      data_.begin() + static_cast<std::ptrdiff_t>(entry.dataOffset + entry.compressedSize));
}

Bytes LhaReader::Extract(const LhaEntry& entry) const {
  Bytes packed(
      data_.begin() + static_cast<std::ptrdiff_t>(entry.dataOffset),
      data_.begin() + static_cast<std::ptrdiff_t>(entry.dataOffset + entry.compressedSize));
  Bytes content;
  if (entry.method == "-lh0-" || entry.method == "-lhd-") {
    content = std::move(packed);
  } else if (entry.method == "-lh5-") {
    content = Lh5Decode(packed, entry.originalSize);
  } else {
    throw ArchiverError{kErrorNotSupport, "compression method not supported"};
  }
  if (content.size() != entry.originalSize || Crc16(content.data(), content.size()) != entry.crc) {
    throw ArchiverError{kErrorFileCrc, "CRC error"};
  }
  return content;
}

}  // namespace standin
