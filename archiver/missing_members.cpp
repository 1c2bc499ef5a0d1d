#include "archiver/missing_members.h"

#include <algorithm>
#include <map>

#include "base/file_name_key.h"
#include "base/path.h"

namespace vlm {
namespace {

// "/" for "\", without a leading "./" or a trailing "/", as one key.
std::wstring MemberKey(std::wstring name) {
  std::replace(name.begin(), name.end(), L'\\', L'/');
  while (name.rfind(L"./", 0) == 0) name.erase(0, 2);
  while (!name.empty() && name.back() == L'/') name.pop_back();
  return FileNameKey(name);
}

}  // namespace

// Each listed member stands for one packed file: two files that the file system names alike
// ("A.txt" and "a.txt" in a case-sensitive folder) need two members.
std::vector<std::wstring> MissingMembers(const std::vector<std::wstring>& packed,
                                         const std::vector<std::wstring>& listed) {
  std::map<std::wstring, int> withPaths;
  std::map<std::wstring, int> bareNames;
  for (const std::wstring& member : listed) {
    const std::wstring key = MemberKey(member);
    ++(key.find(L'/') == std::wstring::npos ? bareNames : withPaths)[key];
  }
  auto take = [](std::map<std::wstring, int>& members, const std::wstring& key) {
    const auto it = members.find(key);
    if (it == members.end() || it->second == 0) return false;
    --it->second;
    return true;
  };
  std::vector<std::wstring> missing;
  for (const std::wstring& file : packed) {
    const std::wstring key = MemberKey(file);
    // A name stored without its path stands for a file of that name.
    if (!take(withPaths, key) && !take(bareNames, key) &&
        !take(bareNames, MemberKey(FileNamePart(file))))
      missing.push_back(file);
  }
  return missing;
}

}  // namespace vlm
