#include "archiver/path_mask.h"

namespace vlm {

wchar_t FoldFileNameChar(wchar_t c) {
  if (c >= L'a' && c <= L'z') return static_cast<wchar_t>(c - L'a' + L'A');
  if (c >= 0xFF41 && c <= 0xFF5A) return static_cast<wchar_t>(c - 0xFF41 + 0xFF21);
  return c;
}

bool HasWildcard(std::wstring_view mask) {
  return mask.find_first_of(L"*?") != std::wstring_view::npos;
}

bool MatchesMask(std::wstring_view name, std::wstring_view mask) {
  if (mask == L"*" || mask == L"*.*") return true;
  // Greedy matching with one back-tracking point, the last "*" seen.
  size_t n = 0, m = 0, starMask = std::wstring_view::npos, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == L'*') {
      starMask = m++;
      starName = n;
    } else if (m < mask.size() &&
               (mask[m] == L'?' || FoldFileNameChar(mask[m]) == FoldFileNameChar(name[n]))) {
      ++m;
      ++n;
    } else if (starMask != std::wstring_view::npos) {
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  // A trailing "*", or ".*" after the name (as "name.*" takes "name"), matches nothing more.
  while (m < mask.size() && mask[m] == L'*') ++m;
  if (m + 2 == mask.size() && mask[m] == L'.' && mask[m + 1] == L'*') return true;
  return m == mask.size();
}

}  // namespace vlm
