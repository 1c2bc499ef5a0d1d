#pragma once
// The drop handling's world in a test: real files in a scratch folder (the file room's POSIX
// body), scripted answers, an archive component that records how it was set up and writes an
// archive file, a host that records its calls, and one log of the boxes and host calls in order.
// Log lines show the scratch folder as "~".
#include <cstdint>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/ansi_text.h"
#include "base/files.h"
#include "compose/drop_services.h"
#include "compose/hook_platform.h"
#include "tests/support/scratch_folder.h"

namespace vlm::test {

inline std::string Narrow(const std::wstring& text) {
  return ToUtf8(text);
}

inline std::string WindowName(HostWnd window) {
  return std::to_string(reinterpret_cast<std::uintptr_t>(window));
}

class TDropWorld;

class TFakeArchive : public TDropArchive {
 public:
  struct PackCall {
    std::wstring fileName;
    TArchiverType type;
    TArchiverOptions options;
    int outputSize;
    std::vector<std::wstring> files;
    std::wstring baseDir;
    std::wstring currentDirectory;
    bool filesPresent;  // every file to pack is there, relative to baseDir where one is given
  };

  explicit TFakeArchive(TDropWorld& world) : world_(world) {}
  void SetFileName(const std::wstring& fileName) override {
    Component();
    fileName_ = fileName;
  }
  void SetArchiverType(TArchiverType type) override { type_ = type; }
  TArchiverOptions& Options() override { return options_; }
  void SetOutputSize(int size) override { outputSize_ = size; }
  int PackFiles(const std::vector<std::wstring>& files, const std::wstring& baseDir) override;
  std::vector<std::wstring> MissingFiles() override { return missing; }
  void StartInstaller() override;

  std::vector<PackCall> packs;
  std::vector<std::wstring> missing;  // what the archive lacks of what it was handed
  int result = 0;
  bool throws = false;
  bool noComponent = false;  // the settings form has no archive component
  bool writesArchive = true;
  std::int64_t archiveSize = 5000;

 private:
  void Component() const {
    if (noComponent) throw std::runtime_error("no archive component");
  }

  TDropWorld& world_;
  std::wstring fileName_;
  TArchiverType type_ = atAutoDetect;
  TArchiverOptions options_;
  int outputSize_ = 0;
};

class TFakeComposeHost : public TComposeHost {
 public:
  explicit TFakeComposeHost(TDropWorld& world) : world_(world) {}
  HostWnd ComposeMail(const std::wstring& body, const std::wstring& path) override;
  void CompAttachFile(HostWnd window, const std::wstring& body, const std::wstring& path) override;
  void SetMessageText(HostWnd window, const std::wstring& text) override;
  void RefreshTempFolder() override;
  bool PartialSending() override { return partialSending; }
  void PauseWithMessages(int milliseconds) override;
  void KeepResponsive() override {}

  bool partialSending = false;
  bool composeFails = false;  // the host opens no compose window
  std::uintptr_t nextComposeWindow = 900;

 private:
  TDropWorld& world_;
};

class TDropWorld {
 public:
  TDropWorld() : root_(PathText(scratch_.Path())) {
    SetCurrentFolder(root_);
    MakeFolders(Path(L"Temp"));
  }
  // Leaves the scratch folder before it goes.
  ~TDropWorld() { SetCurrentFolder(L"/"); }
  TDropWorld(const TDropWorld&) = delete;
  TDropWorld& operator=(const TDropWorld&) = delete;

  // A path below the scratch folder ("d/a.txt").
  std::wstring Path(const std::wstring& relative) const { return root_ + L"/" + relative; }
  // The host's temporary folder, with its final separator as the host gives it.
  std::wstring TempFolder() const { return Path(L"Temp/"); }

  // A file of `size` bytes (sparse: sizes of gigabytes cost nothing).
  void AddFile(const std::wstring& relative, std::int64_t size) {
    const std::wstring path = Path(relative);
    MakeFolders(FolderPartOf(path));
    { std::ofstream(FilePath(path), std::ios::binary | std::ios::trunc); }
    std::filesystem::resize_file(FilePath(path), static_cast<std::uintmax_t>(size));
  }
  // A folder holding one file of `contentSize` bytes.
  void AddFolder(const std::wstring& relative, std::int64_t contentSize) {
    MakeFolders(Path(relative));
    if (contentSize > 0) AddFile(relative + L"/content.bin", contentSize);
  }
  bool Exists(const std::wstring& relative) const { return AnythingNamed(Path(relative)); }

  // The seams the drop handling is given.
  TDropServices Services() {
    return TDropServices{[this](const std::wstring& text, const std::wstring& caption,
                                unsigned flag) { return Ask(text, caption, flag); },
                         [this] {
                           log.push_back("password dialog");
                           return password;
                         },
                         host, archive};
  }

  // Begins a fresh case: answers, boxes, log and archive calls cleared, the work folders gone,
  // the other files kept.
  void ClearRecords() {
    std::error_code ignored;
    std::filesystem::remove_all(FilePath(Path(L"Temp/Velmora")), ignored);
    answers.clear();
    captions.clear();
    texts.clear();
    flags.clear();
    log.clear();
    archive.packs.clear();
    archive.missing.clear();
  }

  // A text with the scratch folder shown as "~".
  std::string Shown(const std::wstring& text) const {
    std::string line = Narrow(text);
    const std::string root = Narrow(root_);
    for (size_t at = line.find(root); at != std::string::npos; at = line.find(root, at))
      line.replace(at, root.size(), "~");
    return line;
  }
  void Log(const std::string& line) { log.push_back(Shown(FromUtf8(line))); }
  const std::wstring& Root() const { return root_; }

  std::deque<int> answers;  // one a box, in order
  std::vector<std::wstring> captions;
  std::vector<std::wstring> texts;
  std::vector<unsigned> flags;
  std::wstring password = L"secret";
  std::vector<std::string> log;
  std::function<void()> duringQuestion;  // runs inside every box, as a nested message loop would
  TFakeArchive archive{*this};
  TFakeComposeHost host{*this};

 private:
  static std::wstring FolderPartOf(const std::wstring& path) {
    return path.substr(0, path.find_last_of(L'/'));
  }
  static void MakeFolders(const std::wstring& path) {
    std::filesystem::create_directories(FilePath(path));
  }

  int Ask(const std::wstring& text, const std::wstring& caption, unsigned flag) {
    texts.push_back(text);
    captions.push_back(caption);
    flags.push_back(flag);
    Log("box " + Narrow(caption));
    if (duringQuestion) duringQuestion();
    if (answers.empty()) {
      ADD_FAILURE() << "unexpected box: " << Narrow(caption) << "\n" << Narrow(text);
      return 2;
    }
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }

  TScratchFolder scratch_;
  std::wstring root_;
};

inline int TFakeArchive::PackFiles(const std::vector<std::wstring>& files,
                                   const std::wstring& baseDir) {
  Component();
  world_.Log("pack " + Narrow(fileName_));
  bool present = true;
  for (const std::wstring& file : files)
    present = present && AnythingNamed(baseDir.empty() ? file : baseDir + L"/" + file);
  packs.push_back(
      {fileName_, type_, options_, outputSize_, files, baseDir, CurrentFolder(), present});
  if (throws) throw std::runtime_error("ZIP32J.DLL missing");
  // Archivers may move the current folder to the base folder while they pack.
  if (!baseDir.empty()) SetCurrentFolder(baseDir);
  if (writesArchive) {
    { std::ofstream(FilePath(fileName_), std::ios::binary | std::ios::trunc); }
    std::filesystem::resize_file(FilePath(fileName_), static_cast<std::uintmax_t>(archiveSize));
  }
  return result;
}

inline void TFakeArchive::StartInstaller() {
  world_.Log("caldix");
}

inline HostWnd TFakeComposeHost::ComposeMail(const std::wstring& body, const std::wstring& path) {
  if (composeFails) {
    world_.Log("compose fails " + Narrow(path));
    return nullptr;
  }
  const auto window = reinterpret_cast<HostWnd>(nextComposeWindow++);
  world_.Log("compose " + WindowName(window) + " " + Narrow(path) + " [" + Narrow(body) + "]");
  return window;
}

inline void TFakeComposeHost::CompAttachFile(HostWnd window, const std::wstring& body,
                                             const std::wstring& path) {
  world_.Log("attach " + WindowName(window) + " " + Narrow(path) + " [" + Narrow(body) + "]");
}

inline void TFakeComposeHost::SetMessageText(HostWnd window, const std::wstring& text) {
  world_.Log("status " + WindowName(window) + " [" + Narrow(text) + "]");
}

inline void TFakeComposeHost::RefreshTempFolder() {
  world_.Log("temp folder");
}

inline void TFakeComposeHost::PauseWithMessages(int milliseconds) {
  world_.Log("pause " + std::to_string(milliseconds));
}

}  // namespace vlm::test
