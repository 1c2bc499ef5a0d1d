#include "tests/archivers/common/file_select.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <system_error>

#include "tests/archivers/common/ansi_path.h"
#include "tests/archivers/common/command_line.h"

namespace standin {

namespace fs = std::filesystem;

namespace {

bool IsAbsoluteName(std::string_view name) {
  if (!name.empty() && (name[0] == '\\' || name[0] == '/')) return true;
  return name.size() >= 2 && name[1] == ':' && std::isalpha(static_cast<unsigned char>(name[0]));
}

std::string FoldCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

class Selector {
 public:
  explicit Selector(const SelectRules& rules) : rules_(rules) {}

  void AddName(const std::string& rawName) {
    std::string name = rules_.unescapeBrackets ? UnescapeBrackets(rawName) : rawName;
    if (name.empty()) return;
    fs::path disk = DiskPath(name);
    std::error_code ec;
    if (fs::exists(disk, ec)) {
      AddExisting(disk, MemberOf(name), /*named=*/true);
      return;
    }
    auto [folder, mask] = SplitLastComponent(rules_.unescapeBrackets ? rawName : name);
    if (!HasWildcard(mask)) return;
    std::string folderName = rules_.unescapeBrackets ? UnescapeBrackets(folder) : folder;
    AddMatches(DiskPath(folderName.empty() ? "." : folderName), MemberOf(folderName), mask);
  }

  std::vector<SelectedFile> Take() { return std::move(files_); }

 private:
  fs::path DiskPath(const std::string& name) const {
    if (IsAbsoluteName(name) || rules_.baseFolder.empty()) return PathFromAnsi(name);
    return PathFromAnsi(rules_.baseFolder) / PathFromAnsi(name);
  }

  // The member a named path is stored under: relative to the base folder when it lies inside it.
  std::string MemberOf(const std::string& name) const {
    std::string member = NormalizeMemberName(name);
    if (IsAbsoluteName(name) && !rules_.baseFolder.empty()) {
      std::string base = NormalizeMemberName(rules_.baseFolder);
      if (!base.empty() && FoldCase(member).rfind(FoldCase(base) + "/", 0) == 0) {
        member = member.substr(base.size() + 1);
      }
    }
    return member;
  }

  std::string StoredName(const std::string& member) const {
    if (!rules_.junkPaths) return member;
    size_t slash = member.rfind('/');
    return slash == std::string::npos ? member : member.substr(slash + 1);
  }

  void Add(const fs::path& disk, const std::string& member, bool folder) {
    std::string stored = StoredName(member);
    if (stored.empty() || !seen_.insert(stored).second) return;
    files_.push_back({fs::path(disk).make_preferred(), stored, folder});
  }

  void AddExisting(const fs::path& disk, const std::string& member, bool named) {
    std::error_code ec;
    if (!named && !rules_.includeHidden && IsHiddenOrSystem(disk)) return;
    if (!fs::is_directory(disk, ec)) {
      Add(disk, member, false);
      return;
    }
    if (rules_.folderEntries && !rules_.junkPaths) Add(disk, member, true);
    if (rules_.recurse) {
      for (const fs::path& child : SortedChildren(disk)) {
        AddExisting(child, Join(member, AnsiFromPath(child.filename())), false);
      }
    }
  }

  void AddMatches(const fs::path& folder, const std::string& member, const std::string& mask) {
    std::vector<fs::path> children = SortedChildren(folder);
    for (const fs::path& child : children) {
      std::error_code ec;
      if (fs::is_directory(child, ec)) continue;
      std::string name = AnsiFromPath(child.filename());
      if (WildcardMatch(mask, name)) AddExisting(child, Join(member, name), false);
    }
    if (!rules_.recurse) return;
    for (const fs::path& child : children) {
      std::error_code ec;
      if (!fs::is_directory(child, ec)) continue;
      if (!rules_.includeHidden && IsHiddenOrSystem(child)) continue;
      AddMatches(child, Join(member, AnsiFromPath(child.filename())), mask);
    }
  }

  static std::string Join(const std::string& folder, const std::string& name) {
    return folder.empty() ? name : folder + "/" + name;
  }

  static std::vector<fs::path> SortedChildren(const fs::path& folder) {
    std::vector<fs::path> children;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
      children.push_back(it->path());
    }
    std::sort(children.begin(), children.end());
    return children;
  }

  const SelectRules& rules_;
  std::vector<SelectedFile> files_;
  std::set<std::string> seen_;
};

}  // namespace

std::vector<SelectedFile> SelectFiles(const std::vector<std::string>& names,
                                      const SelectRules& rules) {
  Selector selector(rules);
  for (const std::string& name : names) selector.AddName(name);
  return selector.Take();
}

}  // namespace standin
