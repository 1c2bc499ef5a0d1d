#pragma once
// The file-name key of a name that is all ASCII, without asking the system's case table: every
// table file systems compare names with upper-cases ASCII as "a"-"z" to "A"-"Z" and leaves the
// rest alone. Almost every name is ASCII, and the table costs far more per character (a locale
// lookup or a system call per name), so FileNameKey's bodies take this path first.
#include <cstdint>
#include <string>
#include <string_view>

namespace vlm {

// Sets `key` to the ASCII upper case of `name` and answers true when `name` is all ASCII;
// answers false otherwise, `key` then holding nothing useful.
inline bool AsciiFileNameKey(std::wstring_view name, std::wstring& key) {
  key.resize(name.size());
  // No branch per character, so the compiler can turn the loop into vector code.
  std::uint32_t beyondAscii = 0;
  for (size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<std::uint32_t>(name[i]);
    beyondAscii |= c & ~0x7Fu;
    const bool lower = c - L'a' < 26u;
    key[i] = static_cast<wchar_t>(c - (lower ? 0x20u : 0u));
  }
  return beyondAscii == 0;
}

}  // namespace vlm
