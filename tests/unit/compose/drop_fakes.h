#pragma once
// Fakes of the drop handling's seams: a file system of named entries, scripted answers, an
// archive component that records how it was set up, and one log of everything in call order.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "compose/drop_services.h"
#include "compose/hook_platform.h"
#include "base/ansi_text.h"

namespace vlm::test {

inline std::string Narrow(const std::wstring& text) {
  return ToUtf8(text);
}

inline std::string WindowName(HostWnd window) {
  return std::to_string(reinterpret_cast<std::uintptr_t>(window));
}

class FakeDropServices;

class FakeArchive : public DropArchive {
 public:
  struct PackCall {
    std::wstring fileName;
    TArchiverType type;
    TArchiverOptions options;
    int outputSize;
    std::vector<std::wstring> files;
    std::wstring baseDir;
    std::wstring currentDirectory;
  };

  // Bound to its owner each time the owner hands it out, so owners can be reassigned.
  FakeDropServices* owner = nullptr;
  void SetFileName(const std::wstring& fileName) override { fileName_ = fileName; }
  void SetArchiverType(TArchiverType type) override { type_ = type; }
  TArchiverOptions& Options() override { return options_; }
  void SetOutputSize(int size) override { outputSize_ = size; }
  int PackFiles(const std::vector<std::wstring>& files, const std::wstring& baseDir) override;

  std::vector<PackCall> packs;
  int result = 0;
  bool throws = false;
  bool writesArchive = true;
  std::int64_t archiveSize = 5000;

 private:
  std::wstring fileName_;
  TArchiverType type_ = atAutoDetect;
  TArchiverOptions options_;
  int outputSize_ = 0;
};

class FakeDropServices : public DropServices {
 public:
  struct Entry {
    std::int64_t size = 0;
    bool folder = false;
  };

  std::map<std::wstring, Entry> entries;
  std::deque<int> answers;  // one a box, in order
  std::vector<std::wstring> captions;
  std::vector<std::wstring> texts;
  std::vector<unsigned> flags;
  std::wstring password = L"secret";
  bool partialSending = false;
  wchar_t decimalSeparator = L'.';
  bool noArchiveComponent = false;
  FakeArchive archive;
  std::wstring currentDirectory = L"C:\\host";
  std::vector<std::string> log;
  std::uintptr_t nextComposeWindow = 900;
  std::function<void()> duringQuestion;  // runs inside every box, as a nested message loop would
  bool removeFails = false;              // files are held open by another program
  bool composeFails = false;             // the host opens no compose window

  void AddFile(const std::wstring& path, std::int64_t size) { entries[path] = {size, false}; }
  void AddFolder(const std::wstring& path, std::int64_t contentSize) {
    entries[path] = {contentSize, true};
  }

  int Ask(const std::wstring& text, const std::wstring& caption, unsigned flag) override {
    texts.push_back(text);
    captions.push_back(caption);
    flags.push_back(flag);
    log.push_back("box " + Narrow(caption));
    if (duringQuestion) duringQuestion();
    if (answers.empty()) {
      ADD_FAILURE() << "unexpected box: " << Narrow(caption) << "\n" << Narrow(text);
      return 2;
    }
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::wstring AskPassword() override {
    log.push_back("password dialog");
    return password;
  }
  bool IsFolder(const std::wstring& path) override {
    auto it = entries.find(path);
    return it != entries.end() && it->second.folder;
  }
  std::int64_t FileSize(const std::wstring& path) override {
    auto it = entries.find(path);
    if (it == entries.end()) return -1;
    return it->second.folder ? 0 : it->second.size;
  }
  std::int64_t FolderSize(const std::wstring& path) override {
    log.push_back("scan " + Narrow(path));
    auto it = entries.find(path);
    return it != entries.end() && it->second.folder ? it->second.size : 0;
  }
  bool FileExists(const std::wstring& path) override {
    auto it = entries.find(path);
    return it != entries.end() && !it->second.folder;
  }
  bool RemoveFile(const std::wstring& path) override {
    log.push_back("remove " + Narrow(path));
    if (removeFails) return false;
    entries.erase(path);
    return true;
  }
  // Every entry below `folder` whose path the code page cannot hold.
  bool NamesBelowFitCodePage(const std::wstring& folder) override {
    for (const auto& [path, entry] : entries)
      if (path.rfind(folder + L"\\", 0) == 0 && !ToAnsiExact(path)) return false;
    return true;
  }
  std::wstring copyProblem;  // what a copy under code-page names answers; empty: it is made
  std::wstring CopyUnderCodePageNames(const std::wstring& source,
                                      const std::wstring& target) override {
    log.push_back("copy " + Narrow(source) + " -> " + Narrow(target));
    if (!copyProblem.empty()) return copyProblem;
    entries[target] = entries[source];
    return L"";
  }
  void RemoveTree(const std::wstring& path) override {
    log.push_back("remove tree " + Narrow(path));
    entries.erase(path);
  }
  std::wstring CurrentDirectory() override { return currentDirectory; }
  void ChangeDirectory(const std::wstring& path) override {
    log.push_back("cd " + Narrow(path));
    currentDirectory = path;
  }
  void PauseWithMessages(int milliseconds) override {
    log.push_back("pause " + std::to_string(milliseconds));
  }
  bool HostPartialSending() override { return partialSending; }
  wchar_t DecimalSeparator() override { return decimalSeparator; }
  DropArchive& Archive() override {
    if (noArchiveComponent) throw std::runtime_error("no archive component");
    archive.owner = this;
    return archive;
  }
  void StartArchiverInstaller() override { log.push_back("caldix"); }
  HostWnd ComposeMail(const std::wstring& body, const std::wstring& path) override {
    if (composeFails) {
      log.push_back("compose fails " + Narrow(path));
      return nullptr;
    }
    const auto window = reinterpret_cast<HostWnd>(nextComposeWindow++);
    log.push_back("compose " + WindowName(window) + " " + Narrow(path) + " [" + Narrow(body) + "]");
    return window;
  }
  void CompAttachFile(HostWnd window, const std::wstring& body, const std::wstring& path) override {
    log.push_back("attach " + WindowName(window) + " " + Narrow(path) + " [" + Narrow(body) + "]");
  }
  void SetMessageText(HostWnd window, const std::wstring& text) override {
    log.push_back("status " + WindowName(window) + " [" + Narrow(text) + "]");
  }
  void RefreshTempFolder() override { log.push_back("temp folder"); }
};

inline int FakeArchive::PackFiles(const std::vector<std::wstring>& files,
                                  const std::wstring& baseDir) {
  owner->log.push_back("pack " + Narrow(fileName_));
  packs.push_back(
      {fileName_, type_, options_, outputSize_, files, baseDir, owner->currentDirectory});
  if (throws) throw std::runtime_error("ZIP32J.DLL missing");
  // Archivers may move the current directory to the base folder while they pack.
  if (!baseDir.empty()) owner->currentDirectory = baseDir;
  if (writesArchive) owner->AddFile(fileName_, archiveSize);
  return result;
}

}  // namespace vlm::test
