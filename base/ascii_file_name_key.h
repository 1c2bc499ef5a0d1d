#pragma once
// The file-name key of a name that is all ASCII, without asking the system's case table: every
// table file systems compare names with upper-cases ASCII as "a"-"z" to "A"-"Z" and leaves the
// rest alone. Almost every name is ASCII, and the table costs far more per character (a locale
// lookup or a system call per name), so FileNameKey's bodies take this path first.
#include <cstdint>
#include <string>
#include <string_view>

namespace vlm {

// The key of one ASCII character: "a"-"z" upper-cased, every other character as it is. Without a
// branch, so that loops over names turn into vector code.
inline wchar_t AsciiKeyChar(wchar_t c) {
  const auto unit = static_cast<std::uint32_t>(c);
  return static_cast<wchar_t>(unit - (unit - L'a' < 26u ? 0x20u : 0u));
}

// Sets `key` to the ASCII upper case of `name` and answers true when `name` is all ASCII;
// answers false otherwise, `key` then holding nothing useful.
inline bool AsciiFileNameKey(std::wstring_view name, std::wstring& key) {
  key.resize(name.size());
  // No branch per character, so the compiler can turn the loop into vector code.
  std::uint32_t beyondAscii = 0;
  for (size_t i = 0; i < name.size(); ++i) {
    beyondAscii |= static_cast<std::uint32_t>(name[i]) & ~0x7Fu;
    key[i] = AsciiKeyChar(name[i]);
  }
  return beyondAscii == 0;
}

}  // namespace vlm
