#pragma once
// The archiver layer's user-visible texts, byte for byte; kept in one place so the builders and
// the tests share them.
#include <string>
#include <string_view>

namespace vlm::archiver_messages {

// Operations a format does not build.
inline constexpr wchar_t kPackNotSupported[] =
    L"この形式では書庫ファイルの作成をサポートしておりません。";
inline constexpr wchar_t kRemoveNotSupported[] =
    L"この形式の書庫ではファイルの削除をサポートしておりません。";
inline constexpr wchar_t kUpdateNotSupported[] =
    L"この形式の書庫では書庫の更新をサポートしておりません。";
inline constexpr wchar_t kSfxNotSupported[] =
    L"この形式では自己解凍書庫の作成をサポートしておりません。";
inline constexpr wchar_t kUnpackToMemNotSupported[] =
    L"この形式ではメモリ展開をサポートしておりません。";

// Options the LHA/ARJ builder requires.
inline constexpr wchar_t kJsoNotSet[] = L"jso オプションが設定されていません。";
inline constexpr wchar_t kJseNotSet[] = L"jse オプションが設定されていません。";

// ZIP DLL choice.
inline constexpr wchar_t kZipUnpackNeedsDll[] =
    L"ZIP 形式書庫の解凍には UNZIP32.DLL または LMZIP32.DLL が必要です。";
inline constexpr wchar_t kZipPackNeedsDll[] =
    L"ZIP 形式書庫の作成には ZIP32J.DLL または LMZIP32.DLL が必要です。";

// Self-extracting programs.
inline constexpr wchar_t kBz2NoSfx[] = L"BZ2 形式書庫は自己解凍形式にできません。";
inline constexpr wchar_t kYz1DosSfxNeeds[] = L"yz1 書庫からのDOS自己解凍書庫の作成には ";
inline constexpr wchar_t kYz1DosSfxNeedsTail[] = L" が必要です。";
inline constexpr wchar_t kYz1Win32SfxNeeds[] =
    L"yz1 書庫からのWin32自己解凍書庫の作成には yzw32cui.sfx か yzdec.exe が必要です。";
inline constexpr wchar_t kSevenZipNo16BitSfx[] = L"16bit SFX を作成することはできません。";

// "<type> 書庫からの<kind>自己解凍書庫の作成には '<module>' ファイルが必要です。"
inline std::wstring SfxNoRequiredFileMessage(std::wstring_view archiverType,
                                             std::wstring_view sfxType,
                                             std::wstring_view sfxModuleName) {
  std::wstring out(archiverType);
  out += L" 書庫からの";
  out += sfxType;
  out += L"自己解凍書庫の作成には '";
  out += sfxModuleName;
  out += L"' ファイルが必要です。";
  return out;
}

}  // namespace vlm::archiver_messages
