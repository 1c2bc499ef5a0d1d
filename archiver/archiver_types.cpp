#include "archiver/archiver_types.h"

#include "base/path.h"
#include "base/text.h"

namespace vlm {
namespace {

struct ExtensionType {
  const wchar_t* extension;
  TArchiverType type;
};

constexpr ExtensionType kExtensionTypes[] = {
    {L".lzh", atLha},        {L".cab", atCab}, {L".zip", atZip},  {L".jar", atZip},
    {L".ear", atZip},        {L".war", atZip}, {L".arj", atArj},  {L".rar", atRar},
    {L".yz1", atYz1},        {L".gca", atGCA}, {L".gza", atBga},  {L".bza", atBga},
    {L".bz2", atBZ2},        {L".tar", atTar}, {L".a", atTar},    {L".lib", atTar},
    {L".deb", atTar},        {L".rpm", atTar}, {L".cpio", atTar}, {L".gz", atTgz},
    {L".z", atTgz},          {L".tgz", atTgz}, {L".taz", atTgz},  {L".7z", at7z},
    {L".exe", atAutoDetect},
};

}  // namespace

TArchiverType GuessArchiverTypeByExtension(std::wstring_view fileName) {
  const std::wstring ext = FileExtension(fileName);
  for (const auto& row : kExtensionTypes) {
    if (EqualsIgnoringAsciiCase(ext, row.extension)) return row.type;
  }
  return atNone;
}

}  // namespace vlm
