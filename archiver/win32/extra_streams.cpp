#include "archiver/win32/extra_streams.h"

#include <windows.h>

#include <map>

#include "archiver/archiver_errors.h"
#include "base/files.h"
#include "base/win32/scoped.h"

namespace vlm {
namespace {

using win::TScopedHandle;

std::wstring FullPath(const std::wstring& path) {
  wchar_t buffer[MAX_PATH * 4] = {};
  const DWORD length = GetFullPathNameW(path.c_str(), MAX_PATH * 4, buffer, nullptr);
  return length == 0 || length >= MAX_PATH * 4 ? path : std::wstring(buffer, length);
}

TScopedHandle OpenForReading(const std::wstring& path, DWORD flags) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, flags, nullptr);
  return TScopedHandle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

// Copies the whole of `from` into `to` (both open). False on a read or write error.
bool CopyContent(HANDLE from, HANDLE to) {
  char buffer[64 * 1024];
  for (;;) {
    DWORD read = 0, written = 0;
    if (!ReadFile(from, buffer, sizeof buffer, &read, nullptr)) return false;
    if (read == 0) return true;
    if (!WriteFile(to, buffer, read, &written, nullptr) || written != read) return false;
  }
}

// The stream name as stored in a member name: ":" to separator[0], a 0x05 right after a ":" to
// separator[1].
std::wstring MapStreamName(const std::wstring& name, const std::wstring& separator) {
  std::wstring out;
  for (size_t i = 0; i < name.size(); ++i) {
    if (name[i] == L':' && !separator.empty()) {
      out += separator[0];
    } else if (name[i] == 0x05 && i > 0 && name[i - 1] == L':' && separator.size() > 1) {
      out += separator[1];
    } else {
      out += name[i];
    }
  }
  return out;
}

// The names of the named streams of an open file, by the backup-stream walk.
std::vector<std::wstring> NamedStreams(HANDLE file, const std::wstring& path) {
  std::vector<std::wstring> names;
  void* context = nullptr;
  struct EndWalk {
    HANDLE file;
    void*& context;
    ~EndWalk() {
      if (context) BackupRead(file, nullptr, 0, nullptr, TRUE, FALSE, &context);
    }
  } endWalk{file, context};
  for (;;) {
    // The header up to the name: id, attributes, 64-bit size, name size (20 bytes).
    WIN32_STREAM_ID header{};
    const DWORD headerSize = offsetof(WIN32_STREAM_ID, cStreamName);
    DWORD read = 0;
    if (!BackupRead(file, reinterpret_cast<BYTE*>(&header), headerSize, &read, FALSE, FALSE,
                    &context)) {
      throw CannotOpenFile(path);
    }
    if (read < headerSize) break;
    std::wstring name(header.dwStreamNameSize / sizeof(wchar_t), L'\0');
    if (header.dwStreamNameSize > 0 &&
        (!BackupRead(file, reinterpret_cast<BYTE*>(name.data()), header.dwStreamNameSize, &read,
                     FALSE, FALSE, &context) ||
         read != header.dwStreamNameSize)) {
      throw CannotOpenFile(path);
    }
    if (!name.empty()) names.push_back(name);
    if (header.Size.QuadPart > 0) {
      DWORD low = 0, high = 0;
      BackupSeek(file, header.Size.LowPart, static_cast<DWORD>(header.Size.HighPart), &low, &high,
                 &context);
      if (low != header.Size.LowPart || high != static_cast<DWORD>(header.Size.HighPart)) break;
    }
  }
  return names;
}

}  // namespace

bool VolumeHasNamedStreams(const std::wstring& path) {
  wchar_t root[MAX_PATH] = {};
  if (!GetVolumePathNameW(FullPath(path).c_str(), root, MAX_PATH)) return false;
  // A volume keeps its answer; asking per file would cost a call per file packed.
  static std::map<std::wstring, bool> answers;
  const auto known = answers.find(root);
  if (known != answers.end()) return known->second;
  DWORD flags = 0;
  const bool named =
      GetVolumeInformationW(root, nullptr, 0, nullptr, nullptr, &flags, nullptr, 0) &&
      (flags & FILE_NAMED_STREAMS) != 0;
  answers[root] = named;
  return named;
}

void CopyStreamsOut(const std::wstring& path, const std::wstring& separator,
                    std::vector<TStreamCopy>& made) {
  if (!VolumeHasNamedStreams(path)) return;
  std::vector<std::wstring> names;
  BY_HANDLE_FILE_INFORMATION info{};
  {
    TScopedHandle file = OpenForReading(path, FILE_FLAG_BACKUP_SEMANTICS);
    if (!file) throw CannotOpenFile(path);
    GetFileInformationByHandle(file.get(), &info);
    names = NamedStreams(file.get(), path);
  }
  for (const std::wstring& name : names) {
    const std::wstring copy = path + MapStreamName(name, separator);
    // A file of that name that is not ours is packed as it is and never deleted.
    if (AnythingNamed(copy)) continue;
    WriteStreamCopy(path + name, copy, info, made);
  }
}

void WriteStreamCopy(const std::wstring& source, const std::wstring& copy,
                     const BY_HANDLE_FILE_INFORMATION& owner, std::vector<TStreamCopy>& made) {
  TScopedHandle from = OpenForReading(source, 0);
  if (!from) throw CannotOpenFile(source);
  HANDLE created = CreateFileW(copy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  if (created == INVALID_HANDLE_VALUE) {
    throw CannotCreateFile(copy);
  }
  made.push_back({copy, FullPath(copy)});
  TScopedHandle target(created);
  if (!CopyContent(from.get(), target.get())) {
    throw CannotCreateFile(copy);
  }
  SetFileTime(target.get(), &owner.ftCreationTime, &owner.ftLastAccessTime, &owner.ftLastWriteTime);
  target.reset();
  // The owner's attributes but read-only: a read-only copy could not be deleted after packing,
  // and the next pack would take the stale copy for a file of the user's.
  SetFileAttributesW(
      copy.c_str(), owner.dwFileAttributes & ~(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY));
}

void RestoreStreams(const std::vector<std::wstring>& files, const std::wstring& separator,
                    const std::wstring& dstPath) {
  if (separator.empty() || !VolumeHasNamedStreams(dstPath.empty() ? L"." : dstPath)) return;
  for (const std::wstring& file : files) {
    // Only the file-name part names a stream; a separator in a folder name is just a character.
    const size_t nameStart =
        file.find_last_of(L"\\/") == std::wstring::npos ? 0 : file.find_last_of(L"\\/") + 1;
    std::wstring stream = file;
    for (size_t i = nameStart; i < stream.size(); ++i) {
      if (stream[i] == separator[0]) {
        stream[i] = L':';
        if (separator.size() > 1 && i + 1 < stream.size() && stream[i + 1] == separator[1]) {
          stream[++i] = 0x05;
        }
      }
    }
    if (stream == file) continue;
    try {
      const size_t colon = stream.find(L':', nameStart);
      const std::wstring owner = stream.substr(0, colon);
      TScopedHandle source = OpenForReading(file, 0);
      if (!source) continue;
      FILETIME created{}, accessed{}, written{};
      {
        TScopedHandle ownerFile = OpenForReading(owner, 0);
        if (ownerFile) GetFileTime(ownerFile.get(), &created, &accessed, &written);
      }
      HANDLE target = CreateFileW(stream.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
      if (target == INVALID_HANDLE_VALUE) continue;
      TScopedHandle targetHandle(target);
      if (!CopyContent(source.get(), target)) continue;
      // Writing the stream touched its owner: give it back its own times.
      SetFileTime(target, &created, &accessed, &written);
    } catch (...) {
      continue;
    }
    DeleteFileW(file.c_str());
  }
}

}  // namespace vlm
