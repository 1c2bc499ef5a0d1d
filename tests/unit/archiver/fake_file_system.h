#pragma once
// An in-memory file system for the collector, compared as NTFS compares names (the native
// walk's name keys, beyond ASCII), with linked folders that may point back up the tree.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "archiver/file_system_walk.h"
#include "archiver/path_mask.h"

namespace vlm::test {

class FakeFileSystem : public TFileSystemWalk {
 public:
  // Paths are "/"-separated and relative to the root; folders on the way are made.
  void AddFile(const std::wstring& path) { Add(path, Kind::File, L""); }
  void AddFolder(const std::wstring& path) { Add(path, Kind::Folder, L""); }
  // A folder `path` that leads to the folder `target`.
  void AddLink(const std::wstring& path, const std::wstring& target) {
    Add(path, Kind::Link, target);
  }
  // How many times a folder's subfolders were listed: a walk that follows a loop lists many.
  int folderListings = 0;

  void ListFiles(const std::wstring& pattern, bool, bool, const TFoundEntryProc& each) override {
    const size_t split = pattern.find_last_of(L"/\\");
    const std::wstring folder = split == std::wstring::npos ? L"" : pattern.substr(0, split);
    const std::wstring mask = pattern.substr(split == std::wstring::npos ? 0 : split + 1);
    const Node* node = Find(folder);
    if (!node) return;
    for (const auto& [key, child] : node->children) {
      if (child->kind == Kind::File && MatchesMask(NameKey(child->name), NameKey(mask)) &&
          !each(TFoundEntry{child->name, L"", 0}))
        return;
    }
  }

  void ListFolders(const std::wstring& folder, const TFoundEntryProc& each) override {
    ++folderListings;
    if (folderListings > 1000) return;  // a loop followed: stop it here, the test fails anyway
    const Node* node = Find(folder);
    if (!node) return;
    for (const auto& [key, child] : node->children) {
      if (child->kind != Kind::File &&
          !each(TFoundEntry{child->name, L"", 0, child->kind == Kind::Link}))
        return;
    }
  }

  bool FolderExists(const std::wstring& path) override {
    const Node* node = Find(path);
    return node && node->kind != Kind::File;
  }
  std::wstring CurrentFolder() override { return current_; }
  void SetCurrentFolder(const std::wstring& folder) override { current_ = folder; }
  std::wstring DriveCurrentFolder(const std::wstring&) override { return L""; }
  void RestoreDriveCurrentFolder(const std::wstring&, const std::wstring&) override {}
  void CopyStreams(const std::wstring&, const std::wstring&, std::vector<TStreamCopy>&) override {}
  std::wstring NameKey(std::wstring_view name) override { return names_->NameKey(name); }
  TCenturyWindow CenturyWindow() override { return {2024, 50}; }

 private:
  enum class Kind { File, Folder, Link };
  struct Node {
    std::wstring name;
    Kind kind = Kind::Folder;
    std::wstring target;
    std::map<std::wstring, std::unique_ptr<Node>> children;  // by name key
  };

  static std::vector<std::wstring> Parts(const std::wstring& path) {
    std::vector<std::wstring> parts;
    std::wstring part;
    for (const wchar_t c : path + L"/") {
      if (c != L'/' && c != L'\\') {
        part += c;
      } else if (!part.empty()) {
        parts.push_back(part);
        part.clear();
      }
    }
    return parts;
  }

  void Add(const std::wstring& path, Kind kind, const std::wstring& target) {
    Node* node = &root_;
    const std::vector<std::wstring> parts = Parts(path);
    for (size_t i = 0; i < parts.size(); ++i) {
      std::unique_ptr<Node>& child = node->children[NameKey(parts[i])];
      if (!child) {
        child = std::make_unique<Node>();
        child->name = parts[i];
        if (i + 1 == parts.size()) child->kind = kind, child->target = target;
      }
      node = child.get();
    }
  }

  // The node at `path` below the current folder, links followed.
  const Node* Find(const std::wstring& path) {
    const Node* node = &root_;
    for (const std::wstring& part : Parts(current_ + L"/" + path)) {
      const auto found = node->children.find(NameKey(part));
      if (found == node->children.end()) return nullptr;
      node = found->second.get();
      if (node->kind == Kind::Link) {
        const std::wstring target = node->target;
        const std::wstring saved = current_;
        current_.clear();
        node = Find(target);
        current_ = saved;
        if (!node) return nullptr;
      }
    }
    return node;
  }

  std::unique_ptr<TFileSystemWalk> names_ = CreatePosixFileSystemWalk();
  Node root_;
  std::wstring current_;
};

}  // namespace vlm::test
