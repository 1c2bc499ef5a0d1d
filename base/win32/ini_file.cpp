#include "base/win32/ini_file.h"

#include <windows.h>

#include <stdexcept>
#include <vector>

#include "base/ansi_text.h"

namespace vlm {
namespace {
// Returned for an absent key, so an empty value and a missing one can be told apart.
constexpr wchar_t kAbsent[] = L"\x01\x02velmora-absent";

std::string SystemMessage(DWORD error) {
  wchar_t* text = nullptr;
  FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
  std::wstring message = text ? text : L"";
  LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r'))
    message.pop_back();
  return ToAnsi(message);
}
}  // namespace

std::optional<std::wstring> TWinIniFile::Read(const std::wstring& key) const {
  std::vector<wchar_t> buffer(1024);
  for (;;) {
    const DWORD n = GetPrivateProfileStringW(L"Set", key.c_str(), kAbsent, buffer.data(),
                                             static_cast<DWORD>(buffer.size()), path_.c_str());
    if (n < buffer.size() - 1) {
      std::wstring value(buffer.data(), n);
      if (value == kAbsent) return std::nullopt;
      return value;
    }
    buffer.resize(buffer.size() * 4);
  }
}

void TWinIniFile::Write(const std::wstring& key, const std::wstring& value) {
  if (!WritePrivateProfileStringW(L"Set", key.c_str(), value.c_str(), path_.c_str()))
    throw std::runtime_error(ToAnsi(L"設定ファイルに書き込めません: ") + ToAnsi(path_) + "\r\n" +
                             SystemMessage(GetLastError()));
}

}  // namespace vlm
