#include "archiver/name_key_order.h"

#include <emmintrin.h>

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "base/ascii_file_name_key.h"
#include "base/text.h"

namespace vlm {
namespace {

// Positions into the path list: a 32-bit process cannot hold 2^32 paths.
using TIndex = std::uint32_t;

// Where two stretches of `size` bytes first differ (`size` when nowhere), 16 bytes at a time.
size_t FirstDifference(const char* a, const char* b, size_t size) {
  size_t at = 0;
  for (; at + 16 <= size; at += 16) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + at));
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + at));
    const unsigned same = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, y)));
    if (same != 0xFFFF) return at + static_cast<size_t>(__builtin_ctz(~same));
  }
  while (at < size && a[at] == b[at]) ++at;
  return at;
}

// The order of two ASCII paths' keys without making the keys: the key of an ASCII name is its
// ASCII upper case on every file system (AsciiFileNameKey). The paths themselves
// are compared up to their first difference; only there are the two characters folded.
int CompareAsciiKeys(std::wstring_view a, std::wstring_view b) {
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    i += FirstDifference(reinterpret_cast<const char*>(a.data() + i),
                         reinterpret_cast<const char*>(b.data() + i),
                         (common - i) * sizeof(wchar_t)) /
         sizeof(wchar_t);
    if (i == common) break;
    const wchar_t x = AsciiKeyChar(a[i]), y = AsciiKeyChar(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

// Puts the paths in the sorted order `order` (order[i] = where the i-th path now is) where they
// are, cycle by cycle, instead of into a second list of as many strings; `order` is used up.
void Permute(std::vector<std::wstring>& paths, std::vector<TIndex>& order) {
  for (size_t i = 0; i < order.size(); ++i) {
    if (order[i] == i) continue;
    std::wstring held = std::move(paths[i]);
    size_t at = i;
    while (order[at] != i) {
      const size_t from = order[at];
      paths[at] = std::move(paths[from]);
      order[at] = static_cast<TIndex>(at);
      at = from;
    }
    paths[at] = std::move(held);
    order[at] = static_cast<TIndex>(at);
  }
}

// Moves the sorted `paths` into `sorted`, each but the first of equal keys left out.
template <typename TSameKey>
void KeepFirstOfEachKey(std::vector<std::wstring>& paths, std::vector<std::wstring>& sorted,
                        const TSameKey& sameKey) {
  // Marked before anything moves: the comparison reads the paths (or their positions).
  std::vector<bool> repeat(paths.size());
  for (size_t i = 1; i < paths.size(); ++i) repeat[i] = sameKey(i - 1, i);
  size_t kept = 0;
  for (size_t i = 0; i < paths.size(); ++i) {
    if (repeat[i]) continue;
    if (kept != i) paths[kept] = std::move(paths[i]);
    ++kept;
  }
  paths.resize(kept);
  sorted.swap(paths);
  paths.clear();
}

// Nearly every list: no key is made at all.
void SortUniqueAscii(std::vector<std::wstring>& paths, std::vector<std::wstring>& sorted) {
  std::vector<TIndex> order(paths.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<TIndex>(i);
  std::sort(order.begin(), order.end(), [&](TIndex a, TIndex b) {
    const int keys = CompareAsciiKeys(paths[a], paths[b]);
    return keys != 0 ? keys < 0 : paths[a] < paths[b];
  });
  Permute(paths, order);
  KeepFirstOfEachKey(paths, sorted,
                     [&](size_t a, size_t b) { return CompareAsciiKeys(paths[a], paths[b]) == 0; });
}

// Any other list: the file system's keys, end to end in one buffer (a key string per path cost
// more in allocations and freshly touched memory than the comparisons themselves).
void SortUniqueByKeys(TFileSystemWalk& fileSystem, std::vector<std::wstring>& paths,
                      std::vector<std::wstring>& sorted) {
  std::wstring keys;
  std::vector<size_t> keyStarts;
  keyStarts.reserve(paths.size() + 1);
  for (const std::wstring& path : paths) {
    keyStarts.push_back(keys.size());
    keys += fileSystem.NameKey(path);
  }
  keyStarts.push_back(keys.size());
  std::vector<TIndex> keyOf(paths.size());  // the key of the path now at each position
  for (size_t i = 0; i < keyOf.size(); ++i) keyOf[i] = static_cast<TIndex>(i);
  const auto key = [&](TIndex i) {
    return std::wstring_view(keys.data() + keyStarts[i], keyStarts[i + 1] - keyStarts[i]);
  };
  std::sort(keyOf.begin(), keyOf.end(), [&](TIndex a, TIndex b) {
    const int order = key(a).compare(key(b));
    return order != 0 ? order < 0 : paths[a] < paths[b];
  });
  std::vector<TIndex> order(keyOf);
  Permute(paths, order);
  KeepFirstOfEachKey(paths, sorted,
                     [&](size_t a, size_t b) { return key(keyOf[a]) == key(keyOf[b]); });
}

}  // namespace

void SortUniqueByNameKey(TFileSystemWalk& fileSystem, std::vector<std::wstring>& paths,
                         std::vector<std::wstring>& sorted) {
  if (std::all_of(paths.begin(), paths.end(), IsAsciiText<std::wstring>)) {
    SortUniqueAscii(paths, sorted);
  } else {
    SortUniqueByKeys(fileSystem, paths, sorted);
  }
}

}  // namespace vlm
