// Drives the archive component under Wine for the scenario script beside it: one operation per
// run, its results written as UTF-8 lines ("result 0", "progress 2053 docs\a.txt", ...) for the
// script to judge together with the archives on the Linux side.
//   component_driver.exe pack <archive> <base folder or -> <settings> <file>...
//   component_driver.exe unpack <archive> <folder> <settings>
//   component_driver.exe remove <archive> <settings> <member>...
//   component_driver.exe update <archive> <base folder or -> <settings> <file>...
//   component_driver.exe list <archive> <settings>
//   component_driver.exe setname <first name> <second name>
//   component_driver.exe streamcopy <stream> <copy> <owner>
//   component_driver.exe bindings
// <settings> is a comma-separated list: form (start from the settings form's component),
// type=lha|zip|arj|yz1|auto, x=, r=, a=, n=, p=, ji=, jf=, jso= (integers), jo=, job=, jx=<mask>
// (repeatable), user=<user options>, out=<output size>, streams=0|1, filter=archiver,
// abort=<n> (set abort on the n-th collected file), enum (report members while packing).
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "archiver/archiver_errors.h"
#include "archiver/win32/archive_file.h"
#include "archiver/win32/extra_streams.h"
#include "archiver/win32/format_bindings.h"
#include "archiver/win32/form_archive_file.h"
#include "archiver/win32/zip_dll.h"
#include "base/ansi_text.h"

namespace {

using namespace vlm;

void Say(const std::wstring& line) {
  const std::string text = ToUtf8(line) + "\n";
  fwrite(text.data(), 1, text.size(), stdout);
  fflush(stdout);
}

std::wstring Num(long long value) {
  return std::to_wstring(value);
}

std::wstring TypeName(TArchiverType type) {
  static const wchar_t* const kNames[] = {L"atLha", L"atZip", L"atCab", L"atArj",  L"atTar",
                                          L"atTgz", L"atBZ2", L"atRar", L"atBga",  L"atYz1",
                                          L"atGCA", L"atBel", L"at7z",  L"atNone", L"atAutoDetect"};
  return kNames[type];
}

struct Settings {
  bool form = false;
  std::map<std::wstring, std::wstring> values;
  std::vector<std::wstring> jx;
  bool Has(const std::wstring& key) const { return values.count(key) != 0; }
  int Int(const std::wstring& key) const { return std::stoi(values.at(key)); }
};

Settings ParseSettings(const std::wstring& text) {
  Settings settings;
  std::wstringstream in(text);
  std::wstring item;
  while (std::getline(in, item, L',')) {
    const size_t equals = item.find(L'=');
    const std::wstring key = item.substr(0, equals);
    const std::wstring value = equals == std::wstring::npos ? L"" : item.substr(equals + 1);
    if (key == L"form") {
      settings.form = true;
    } else if (key == L"jx") {
      settings.jx.push_back(value);
    } else if (!key.empty()) {
      settings.values[key] = value;
    }
  }
  return settings;
}

// The component the settings describe, with progress and member reports printed.
std::unique_ptr<TArchiveFile> MakeComponent(const Settings& s, const std::wstring& archive) {
  std::unique_ptr<TArchiveFile> component =
      s.form ? CreateFormArchiveFile() : std::make_unique<TArchiveFile>();
  component->SetFileName(archive);
  if (s.Has(L"type")) {
    const std::wstring type = s.values.at(L"type");
    component->SetArchiverType(type == L"lha"   ? atLha
                               : type == L"zip" ? atZip
                               : type == L"arj" ? atArj
                               : type == L"yz1" ? atYz1
                                                : atAutoDetect);
  }
  TArchiverOptions& o = component->Options();
  for (auto [key, field] :
       std::initializer_list<std::pair<const wchar_t*, std::int8_t*>>{{L"x", &o.x},
                                                                      {L"r", &o.r},
                                                                      {L"a", &o.a},
                                                                      {L"n", &o.n},
                                                                      {L"p", &o.p},
                                                                      {L"ji", &o.ji},
                                                                      {L"jf", &o.jf},
                                                                      {L"jso", &o.jso}}) {
    if (s.Has(key)) *field = static_cast<std::int8_t>(s.Int(key));
  }
  if (s.Has(L"jo")) o.jo = s.values.at(L"jo");
  if (s.Has(L"job")) o.job = s.values.at(L"job");
  if (!s.jx.empty()) o.jx = s.jx;
  if (s.Has(L"user")) o.UserOptions = s.values.at(L"user");
  if (s.Has(L"out")) component->SetOutputSize(s.Int(L"out"));
  if (s.Has(L"streams")) o.IncludeExtraStreams = s.Int(L"streams") != 0;
  if (s.Has(L"filter")) o.PackFilter = pfArchiver;

  const int abortAt = s.Has(L"abort") ? s.Int(L"abort") : 0;
  auto collected = std::make_shared<int>(0);
  component->OnProgress = [abortAt, collected](TArchiveFile&, int state, LPEXTRACTINGINFOEX info,
                                               bool& abort) {
    Say(L"progress " + Num(state) + L" " + FromAnsi(info->exinfo.szSourceFileName) + L" -> " +
        FromAnsi(info->exinfo.szDestFileName));
    if (state == kStateCollecting && ++*collected == abortAt) abort = true;
  };
  if (s.Has(L"enum")) {
    component->OnEnumMember = [](TArchiveFile&, TEnumMemberInfo64* info, bool&) {
      Say(L"member " + FromAnsi(info->szAddFileName));
    };
  }
  return component;
}

void SayResult(TArchiveFile& component, int result) {
  Say(L"result " + Num(result));
  Say(L"type " + TypeName(component.ArchiverType()));
  Say(L"cmdline " + FromAnsi(component.CmdLine()));
  Say(L"output " + FromAnsi(component.Output()));
}

std::wstring UtcText(const FILETIME& time) {
  SYSTEMTIME t{};
  if ((time.dwLowDateTime == 0 && time.dwHighDateTime == 0) || !FileTimeToSystemTime(&time, &t)) {
    return L"zero";
  }
  wchar_t text[32];
  swprintf(text, 32, L"%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour,
           t.wMinute, t.wSecond);
  return text;
}

int Pack(const std::vector<std::wstring>& args) {
  const Settings s = ParseSettings(args[3]);
  auto component = MakeComponent(s, args[1]);
  const std::vector<std::wstring> files(args.begin() + 4, args.end());
  const int result =
      component->PackFiles(nullptr, nullptr, {files}, args[2] == L"-" ? L"" : args[2]);
  SayResult(*component, result);
  return 0;
}

int Remove(const std::vector<std::wstring>& args) {
  auto component = MakeComponent(ParseSettings(args[2]), args[1]);
  const std::vector<std::wstring> members(args.begin() + 3, args.end());
  SayResult(*component, component->RemoveItems(nullptr, nullptr, {members}, L""));
  return 0;
}

int Update(const std::vector<std::wstring>& args) {
  auto component = MakeComponent(ParseSettings(args[3]), args[1]);
  const std::vector<std::wstring> files(args.begin() + 4, args.end());
  SayResult(*component,
            component->UpdateArchive(nullptr, nullptr, {files}, args[2] == L"-" ? L"" : args[2]));
  return 0;
}

int Unpack(const std::vector<std::wstring>& args) {
  auto component = MakeComponent(ParseSettings(args[3]), args[1]);
  SayResult(*component, component->UnpackFiles(nullptr, nullptr, {}, args[2]));
  return 0;
}

int List(const std::vector<std::wstring>& args) {
  auto component = MakeComponent(ParseSettings(args[2]), args[1]);
  if (component->FindOpen(nullptr, 0) != 0) {
    Say(L"open failed");
    return 0;
  }
  TIndivisualInfo info{};
  int found = component->FindFirst(L"*", info);
  Say(L"first " + Num(found));
  for (; found == 0; found = component->FindNext(info)) {
    Say(L"entry " + FromAnsi(info.szFileName) + L"\t" + Num(info.qwOriginalSize) + L"\t" +
        UtcText(info.WriteTime));
  }
  Say(L"close " + Num(component->FindClose()));
  return 0;
}

// Sets two file names in turn and reports the format and name after each.
int SetName(const std::vector<std::wstring>& args) {
  TArchiveFile component;
  for (size_t i = 1; i < args.size(); ++i) {
    try {
      component.SetFileName(args[i]);
      Say(L"set " + args[i]);
    } catch (const ENoArchiverDLL& e) {
      Say(L"ENoArchiverDLL " + e.Message());
    } catch (const EArchiver& e) {
      Say(L"EArchiver " + e.Message());
    }
    Say(L"name " + component.FileName() + L" type " + TypeName(component.ArchiverType()) +
        L" archiver " +
        (component.Archiver() ? TypeName(component.Archiver()->ArchiverType()) : L"none"));
  }
  return 0;
}

// Runs `body` and prints the exception class and text it raises.
void Expect(const std::wstring& what, const std::function<void()>& body) {
  try {
    body();
    Say(what + L": no exception");
  } catch (const EEntryNotFound& e) {
    Say(what + L": EEntryNotFound " + e.Message());
  } catch (const ENoArchiverDLL& e) {
    Say(what + L": ENoArchiverDLL " + e.Message());
  } catch (const EArchiver& e) {
    Say(what + L": EArchiver " + e.Message());
  }
}

// One stream copy made as packing makes it, with a plain file standing in for the stream (Wine
// keeps no named streams): whether the copy kept the owner's read-only bit and whether it can be
// deleted afterwards, as packing deletes it.
int StreamCopy(const std::vector<std::wstring>& args) {
  BY_HANDLE_FILE_INFORMATION owner{};
  HANDLE file = CreateFileW(args[3].c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  GetFileInformationByHandle(file, &owner);
  CloseHandle(file);
  Say(L"owner read-only " + Num((owner.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0));
  std::vector<TStreamCopy> made;
  WriteStreamCopy(args[1], args[2], owner, made);
  const DWORD attributes = GetFileAttributesW(args[2].c_str());
  Say(L"copy read-only " + Num((attributes & FILE_ATTRIBUTE_READONLY) != 0));
  Say(L"copy deleted " + Num(made.size() == 1 && DeleteFileW(made[0].absolutePath.c_str())));
  return 0;
}

// Facts about the process-wide bindings of the DLLs beside the program.
int Bindings(const std::vector<std::wstring>&) {
  TArchiveFile first, second;
  Expect(L"lha first", [&] { first.SetArchiverType(atLha); });
  Expect(L"lha second", [&] { second.SetArchiverType(atLha); });
  if (first.Archiver() && second.Archiver()) {
    Say(std::wstring(L"one lha binding ") +
        (&first.Archiver()->DLL() == &second.Archiver()->DLL() ? L"yes" : L"no"));
  }
  const win::TZipBinding& zip = static_cast<const win::TZipBinding&>(win::LoadFormatDll(atZip));
  Say(L"zip loaded unzip32=" + Num(zip.Loaded(TZipModule::UnZip32)) + L" zip32j=" +
      Num(zip.Loaded(TZipModule::Zip32J)) + L" lmzip32=" + Num(zip.Loaded(TZipModule::LmZip32)));
  Expect(L"zip unpack entry",
         [&] { win::LoadFormatDll(atZip).MainEntry1(nullptr, "", "-x", nullptr, 0); });
  Expect(L"zip owner window", [&] {
    win::LoadFormatDll(atZip).SetOwnerWindowEx(nullptr, nullptr);
    win::LoadFormatDll(atZip).KillOwnerWindowEx(nullptr);
  });
  Expect(L"arj check", [&] {
    TArchiveFile arj;
    arj.SetArchiverType(atArj);
    arj.CheckArchive(0, 0);
  });
  Expect(L"cab", [&] {
    TArchiveFile cab;
    cab.SetArchiverType(atCab);
  });
  Expect(L"yz1", [&] {
    TArchiveFile yz1;
    yz1.SetArchiverType(atYz1);
  });
  Expect(L"gca", [&] {
    TArchiveFile gca;
    gca.SetArchiverType(atGCA);
  });
  Expect(L"no archiver", [&] {
    TArchiveFile none;
    none.UnpackFiles(nullptr, nullptr, {}, L"x");
  });
  return 0;
}

}  // namespace

int main() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::wstring> args(argv + 1, argv + argc);
  LocalFree(argv);
  if (args.empty()) return 2;
  static const std::map<std::wstring, std::pair<size_t, int (*)(const std::vector<std::wstring>&)>>
      kCommands = {{L"pack", {4, Pack}},
                   {L"unpack", {4, Unpack}},
                   {L"remove", {4, Remove}},
                   {L"update", {5, Update}},
                   {L"list", {3, List}},
                   {L"setname", {2, SetName}},
                   {L"streamcopy", {4, StreamCopy}},
                   {L"bindings", {1, Bindings}}};
  const auto command = kCommands.find(args[0]);
  if (command == kCommands.end() || args.size() < command->second.first) return 2;
  try {
    return command->second.second(args);
  } catch (const EWideMessage& e) {
    Say(L"exception " + e.Message());
  } catch (const std::exception& e) {
    Say(L"exception " + FromUtf8(e.what()));
  }
  return 0;
}
