#include "tests/archivers/common/zip_format.h"

#include <zlib.h>

#include <iterator>
#include <random>

#include "tests/archivers/common/result_codes.h"
#include "tests/archivers/common/zip_crypto.h"

namespace standin {

namespace {

constexpr std::uint32_t kLocalSignature = 0x04034B50;
constexpr std::uint32_t kCentralSignature = 0x02014B50;
constexpr std::uint32_t kEndSignature = 0x06054B50;
constexpr std::uint16_t kVersion = 20;  // 2.0: deflate, folders, traditional encryption
constexpr size_t kLocalHeaderSize = 30;
constexpr size_t kCentralHeaderSize = 46;
constexpr size_t kEndRecordSize = 22;
constexpr size_t kCryptHeaderSize = 12;

void PutCommonFields(Bytes& out, const ZipEntry& e) {
  Put16(out, e.flags);
  Put16(out, e.method);
  Put16(out, e.dosTime);
  Put16(out, e.dosDate);
  Put32(out, e.crc);
  Put32(out, e.compressedSize);
  Put32(out, e.originalSize);
  Put16(out, static_cast<std::uint32_t>(e.name.size()));
  Put16(out, 0);  // extra field length
}

[[noreturn]] void Broken() {
  throw ArchiverError{kErrorHeaderBroken, "broken ZIP header"};
}

}  // namespace

Bytes ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ArchiverError{kErrorFileOpen, "file cannot be opened"};
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::uint32_t Crc32(const Bytes& data) {
  uLong crc = crc32(0L, Z_NULL, 0);
  return static_cast<std::uint32_t>(crc32(crc, data.data(), static_cast<uInt>(data.size())));
}

Bytes RawDeflate(const Bytes& data, int level) {
  z_stream z{};
  if (deflateInit2(&z, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    throw ArchiverError{kErrorCannotWrite, "deflate cannot start"};
  }
  Bytes out(deflateBound(&z, static_cast<uLong>(data.size())));
  z.next_in = const_cast<Bytef*>(data.data());
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  int rc = deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  if (rc != Z_STREAM_END) throw ArchiverError{kErrorCannotWrite, "deflate failed"};
  return out;
}

Bytes RawInflate(const Bytes& compressed, std::uint32_t originalSize) {
  z_stream z{};
  if (inflateInit2(&z, -15) != Z_OK) throw ArchiverError{kErrorCannotRead, "inflate cannot start"};
  Bytes out(originalSize);
  z.next_in = const_cast<Bytef*>(compressed.data());
  z.avail_in = static_cast<uInt>(compressed.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  int rc = inflate(&z, Z_FINISH);
  bool complete = rc == Z_STREAM_END && z.total_out == originalSize;
  inflateEnd(&z);
  if (!complete) throw ArchiverError{kErrorFileCrc, "member data is damaged"};
  return out;
}

ZipWriter::ZipWriter(const std::filesystem::path& archive)
    : out_(archive, std::ios::binary | std::ios::trunc) {
  if (!out_) throw ArchiverError{kErrorArcFileOpen, "archive cannot be created"};
}

ZipEntry ZipWriter::AddFile(const std::string& member, const Bytes& data, std::uint16_t dosDate,
                            std::uint16_t dosTime, std::uint32_t attributes, int level,
                            std::string_view password) {
  ZipEntry entry;
  entry.name = member;
  entry.dosDate = dosDate;
  entry.dosTime = dosTime;
  entry.externalAttributes = attributes & 0x27;
  entry.crc = Crc32(data);
  entry.originalSize = static_cast<std::uint32_t>(data.size());
  Bytes payload = data;
  if (level > 0 && !data.empty()) {
    Bytes deflated = RawDeflate(data, level);
    if (deflated.size() < data.size()) {
      payload = std::move(deflated);
      entry.method = 8;
    }
  }
  if (!password.empty()) {
    // The header's last byte repeats the CRC's high byte, which lets a reader reject a
    // wrong password before inflating anything.
    ZipCrypto cipher(password);
    std::random_device seed;
    std::mt19937 random(seed());
    Bytes encrypted;
    encrypted.reserve(payload.size() + kCryptHeaderSize);
    for (size_t i = 0; i + 1 < kCryptHeaderSize; ++i) {
      encrypted.push_back(cipher.Encrypt(static_cast<std::uint8_t>(random())));
    }
    encrypted.push_back(cipher.Encrypt(static_cast<std::uint8_t>(entry.crc >> 24)));
    for (std::uint8_t b : payload) encrypted.push_back(cipher.Encrypt(b));
    payload = std::move(encrypted);
    entry.flags |= 1;
  }
  entry.compressedSize = static_cast<std::uint32_t>(payload.size());
  return Write(entry, payload);
}

ZipEntry ZipWriter::AddFolder(const std::string& member, std::uint16_t dosDate,
                              std::uint16_t dosTime, std::uint32_t attributes) {
  ZipEntry entry;
  entry.name = member.empty() || member.back() == '/' ? member : member + "/";
  entry.dosDate = dosDate;
  entry.dosTime = dosTime;
  entry.externalAttributes = (attributes & 0x27) | 0x10;
  return Write(entry, {});
}

void ZipWriter::AddRaw(ZipEntry entry, const Bytes& compressed) {
  Write(entry, compressed);
}

ZipEntry ZipWriter::Write(ZipEntry entry, const Bytes& payload) {
  entry.localOffset = offset_;
  Bytes header;
  Put32(header, kLocalSignature);
  Put16(header, kVersion);
  PutCommonFields(header, entry);
  header.insert(header.end(), entry.name.begin(), entry.name.end());
  out_.write(reinterpret_cast<const char*>(header.data()),
             static_cast<std::streamsize>(header.size()));
  out_.write(reinterpret_cast<const char*>(payload.data()),
             static_cast<std::streamsize>(payload.size()));
  if (!out_) throw ArchiverError{kErrorCannotWrite, "archive cannot be written"};
  offset_ += static_cast<std::uint32_t>(header.size() + payload.size());
  entries_.push_back(entry);
  return entry;
}

void ZipWriter::Finish() {
  Bytes central;
  for (const ZipEntry& e : entries_) {
    Put32(central, kCentralSignature);
    Put16(central, kVersion);  // made by MS-DOS: the external attributes are MS-DOS bits
    Put16(central, kVersion);
    PutCommonFields(central, e);
    Put16(central, 0);  // comment length
    Put16(central, 0);  // disk number
    Put16(central, 0);  // internal attributes
    Put32(central, e.externalAttributes);
    Put32(central, e.localOffset);
    central.insert(central.end(), e.name.begin(), e.name.end());
  }
  Bytes end;
  Put32(end, kEndSignature);
  Put16(end, 0);
  Put16(end, 0);
  Put16(end, static_cast<std::uint32_t>(entries_.size()));
  Put16(end, static_cast<std::uint32_t>(entries_.size()));
  Put32(end, static_cast<std::uint32_t>(central.size()));
  Put32(end, offset_);
  Put16(end, 0);
  out_.write(reinterpret_cast<const char*>(central.data()),
             static_cast<std::streamsize>(central.size()));
  out_.write(reinterpret_cast<const char*>(end.data()), static_cast<std::streamsize>(end.size()));
  out_.close();
  if (!out_) throw ArchiverError{kErrorCannotWrite, "archive cannot be written"};
}

ZipReader::ZipReader(const std::filesystem::path& archive) {
  std::ifstream in(archive, std::ios::binary);
  if (!in) throw ArchiverError{kErrorArcFileOpen, "archive cannot be opened"};
  data_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (data_.size() < kEndRecordSize) throw ArchiverError{kErrorNotArcFile, "not a ZIP archive"};
  size_t end = data_.size() - kEndRecordSize;
  size_t lowest = data_.size() > kEndRecordSize + 0xFFFF ? end - 0xFFFF : 0;
  while (Get32(data_, end) != kEndSignature) {
    if (end == lowest) throw ArchiverError{kErrorNotArcFile, "not a ZIP archive"};
    --end;
  }
  size_t count = Get16(data_, end + 10);
  size_t at = Get32(data_, end + 16);
  for (size_t i = 0; i < count; ++i) {
    if (at + kCentralHeaderSize > data_.size() || Get32(data_, at) != kCentralSignature) Broken();
    ZipEntry e;
    e.flags = Get16(data_, at + 8);
    e.method = Get16(data_, at + 10);
    e.dosTime = Get16(data_, at + 12);
    e.dosDate = Get16(data_, at + 14);
    e.crc = Get32(data_, at + 16);
    e.compressedSize = Get32(data_, at + 20);
    e.originalSize = Get32(data_, at + 24);
    size_t nameLength = Get16(data_, at + 28);
    size_t extraLength = Get16(data_, at + 30);
    size_t commentLength = Get16(data_, at + 32);
    e.externalAttributes = Get32(data_, at + 38);
    e.localOffset = Get32(data_, at + 42);
    if (at + kCentralHeaderSize + nameLength > data_.size()) Broken();
    e.name.assign(reinterpret_cast<const char*>(&data_[at + kCentralHeaderSize]), nameLength);
    entries_.push_back(e);
    at += kCentralHeaderSize + nameLength + extraLength + commentLength;
  }
}

bool ZipReader::LooksLikeZip(const std::filesystem::path& archive) {
  try {
    ZipReader reader(archive);
    return true;
  } catch (const ArchiverError&) {
    return false;
  }
}

size_t ZipReader::DataOffset(const ZipEntry& entry) const {
  size_t at = entry.localOffset;
  if (at + kLocalHeaderSize > data_.size() || Get32(data_, at) != kLocalSignature) Broken();
  size_t start = at + kLocalHeaderSize + Get16(data_, at + 26) + Get16(data_, at + 28);
  if (start + entry.compressedSize > data_.size()) Broken();
  return start;
}

Bytes ZipReader::Raw(const ZipEntry& entry) const {
  size_t start = DataOffset(entry);
  return Bytes(data_.begin() + static_cast<std::ptrdiff_t>(start),
               data_.begin() + static_cast<std::ptrdiff_t>(start + entry.compressedSize));
}

Bytes ZipReader::Extract(const ZipEntry& entry, std::string_view password) const {
  Bytes payload = Raw(entry);
  if (entry.Encrypted()) {
    if (password.empty() || payload.size() < kCryptHeaderSize) {
      throw ArchiverError{kErrorPasswordFile, "password needed"};
    }
    ZipCrypto cipher(password);
    Bytes plain;
    plain.reserve(payload.size());
    for (std::uint8_t b : payload) plain.push_back(cipher.Decrypt(b));
    // Members written with a data descriptor check against the time instead of the CRC.
    std::uint8_t check = (entry.flags & 8) ? static_cast<std::uint8_t>(entry.dosTime >> 8)
                                           : static_cast<std::uint8_t>(entry.crc >> 24);
    if (plain[kCryptHeaderSize - 1] != check) {
      throw ArchiverError{kErrorPasswordFile, "wrong password"};
    }
    payload.assign(plain.begin() + kCryptHeaderSize, plain.end());
  }
  Bytes content;
  if (entry.method == 0) {
    content = std::move(payload);
  } else if (entry.method == 8) {
    content = RawInflate(payload, entry.originalSize);
  } else {
    throw ArchiverError{kErrorNotSupport, "compression method not supported"};
  }
  if (content.size() != entry.originalSize || Crc32(content) != entry.crc) {
    throw ArchiverError{kErrorFileCrc, "CRC error"};
  }
  return content;
}

}  // namespace standin
