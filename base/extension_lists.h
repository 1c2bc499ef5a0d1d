#pragma once
// File extensions that decide questions about attachments. Lower case with the leading dot;
// callers compare lower-cased extensions against them.
#include <array>
#include <string_view>

namespace vlm {

// Archives, whose contents Gmail may refuse.
inline constexpr std::array<std::wstring_view, 6> ArchiveExtensions = {L".zip", L".tar", L".tgz",
                                                                       L".taz", L".z",   L".gz"};

// Files that Gmail will not carry.
inline constexpr std::array<std::wstring_view, 29> GmailBlockedExtensions = {
    L".ade", L".adp", L".bat", L".chm", L".cmd", L".com", L".cpl", L".exe", L".hta", L".ins",
    L".isp", L".jse", L".lib", L".mde", L".msc", L".msp", L".mst", L".pif", L".scr", L".sct",
    L".shb", L".sys", L".vb",  L".vbe", L".vbs", L".vxd", L".wsc", L".wsf", L".wsh"};

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
[[nodiscard]] constexpr bool ListContains(const std::array<std::wstring_view, N>& list,
                                          std::wstring_view extension) {
  for (auto entry : list)
    if (entry == extension) return true;
  return false;
}

}  // namespace vlm
