#include "archiver/name_key_order.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace vlm {
namespace {

// The keys lie end to end in one buffer and the sort moves small entries: a key string per path,
// sorted in pairs with the paths, cost more in allocations, string moves and freshly touched
// memory than the comparisons themselves. Keys that are all ASCII (nearly always) are kept in
// bytes: a quarter of the memory, and comparing them in bytes gives the same order.
template <typename TKeyChar>
bool SortUniqueByKeysIn(TFileSystemWalk& fileSystem, std::vector<std::wstring>& paths,
                        std::vector<std::wstring>& sorted) {
  constexpr std::uint32_t kKeyCharLimit = sizeof(TKeyChar) == 1 ? 0x80 : 0xFFFFFFFF;
  struct TEntry {
    size_t keyStart, keyLength, index;
  };
  size_t keyChars = 0;
  for (const std::wstring& path : paths) keyChars += path.size();  // keys keep the length
  std::basic_string<TKeyChar> keys;
  keys.reserve(keyChars);
  std::vector<TEntry> entries;
  entries.reserve(paths.size());
  for (size_t i = 0; i < paths.size(); ++i) {
    const std::wstring key = fileSystem.NameKey(paths[i]);
    const size_t start = keys.size();
    entries.push_back({start, key.size(), i});
    keys.resize(start + key.size());
    for (size_t k = 0; k < key.size(); ++k) {
      if (static_cast<std::uint32_t>(key[k]) >= kKeyCharLimit) return false;
      keys[start + k] = static_cast<TKeyChar>(key[k]);
    }
  }
  const auto keyOf = [&](const TEntry& entry) {
    return std::basic_string_view<TKeyChar>(keys.data() + entry.keyStart, entry.keyLength);
  };
  std::sort(entries.begin(), entries.end(), [&](const TEntry& a, const TEntry& b) {
    const int order = keyOf(a).compare(keyOf(b));
    return order != 0 ? order < 0 : paths[a.index] < paths[b.index];
  });
  sorted.clear();
  sorted.reserve(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    if (i > 0 && keyOf(entries[i]) == keyOf(entries[i - 1])) continue;
    sorted.push_back(std::move(paths[entries[i].index]));
  }
  return true;
}

}  // namespace

void SortUniqueByNameKey(TFileSystemWalk& fileSystem, std::vector<std::wstring>& paths,
                         std::vector<std::wstring>& sorted) {
  // The byte keys give up, having moved nothing, at the first key beyond ASCII.
  if (!SortUniqueByKeysIn<char>(fileSystem, paths, sorted))
    SortUniqueByKeysIn<wchar_t>(fileSystem, paths, sorted);
}

}  // namespace vlm
