#pragma once
// File extensions that decide questions about attachments. Lower case with the leading dot; an
// extension matches whatever the case of its ASCII letters (".EXE" is ".exe" to every mail host).
#include <array>
#include <string_view>

#include "base/text.h"

namespace vlm {

// Archives, whose contents Gmail may refuse.
inline constexpr std::array<std::wstring_view, 8> ArchiveExtensions = {
    L".zip", L".tar", L".tgz", L".taz", L".z", L".gz", L".rar", L".bz2"};

// Files that Gmail will not carry, also inside an archive (support.google.com/mail/answer/6590).
inline constexpr std::array<std::wstring_view, 54> GmailBlockedExtensions = {
    L".ade", L".adp",  L".apk",  L".appx",       L".appxbundle", L".bat",     L".cab", L".chm",
    L".cmd", L".com",  L".cpl",  L".diagcab",    L".diagcfg",    L".diagpkg", L".dll", L".dmg",
    L".ex",  L".ex_",  L".exe",  L".hta",        L".img",        L".ins",     L".iso", L".isp",
    L".jar", L".jnlp", L".js",   L".jse",        L".lib",        L".lnk",     L".mde", L".mjs",
    L".msc", L".msi",  L".msix", L".msixbundle", L".msp",        L".mst",     L".nsh", L".pif",
    L".ps1", L".scr",  L".sct",  L".shb",        L".sys",        L".vb",      L".vbe", L".vbs",
    L".vhd", L".vxd",  L".wsc",  L".wsf",        L".wsh",        L".xll"};

// Files that Outlook-type clients will not open.
inline constexpr std::array<std::wstring_view, 94> OutlookBlockedExtensions = {
    L".ade",  L".adp",    L".app", L".asp",  L".bas",    L".bat",    L".cer",      L".chm",
    L".cmd",  L".cnt",    L".com", L".cpl",  L".crt",    L".csh",    L".der",      L".exe",
    L".fxp",  L".gadget", L".grp", L".hlp",  L".hpj",    L".hta",    L".inf",      L".ins",
    L".isp",  L".its",    L".jar", L".js",   L".jse",    L".ksh",    L".lnk",      L".mad",
    L".maf",  L".mag",    L".mam", L".maq",  L".mar",    L".mas",    L".mat",      L".mau",
    L".mav",  L".maw",    L".mcf", L".mda",  L".mdb",    L".mde",    L".mdt",      L".mdw",
    L".mdz",  L".msc",    L".msh", L".msh1", L".msh2",   L".mshxml", L".msh1xml",  L".msh2xml",
    L".msi",  L".msp",    L".mst", L".ops",  L".osd",    L".pcd",    L".pif",      L".pl",
    L".plg",  L".prf",    L".prg", L".ps1",  L".ps1xml", L".ps2",    L".ps2xml",   L".psc1",
    L".psc2", L".pst",    L".reg", L".scf",  L".scr",    L".sct",    L".shb",      L".shs",
    L".tmp",  L".url",    L".vb",  L".vbe",  L".vbp",    L".vbs",    L".vsmacros", L".vsw",
    L".ws",   L".wsc",    L".wsf", L".wsh",  L".xbap",   L".xnk"};

template <size_t N>
[[nodiscard]] bool ListContains(const std::array<std::wstring_view, N>& list,
                                std::wstring_view extension) {
  // The extension is lowered once and compared whole: the send checks ask this for every member
  // of an attached archive, which may hold thousands.
  std::array<wchar_t, 16> lowered;
  if (extension.size() > lowered.size()) return false;  // longer than every entry
  for (std::size_t i = 0; i < extension.size(); ++i) lowered[i] = LowerAscii(extension[i]);
  const std::wstring_view lower(lowered.data(), extension.size());
  for (auto entry : list)
    if (entry == lower) return true;
  return false;
}

}  // namespace vlm
