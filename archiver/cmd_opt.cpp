#include "archiver/cmd_opt.h"

#include "base/files.h"
#include "base/ansi_text.h"

namespace vlm {

void TCmdOpt::Add(std::wstring_view text) {
  FCmdLine += L' ';
  FCmdLine += text;
}

void TCmdOpt::AddBolOpt(std::wstring_view optstr, bool value) {
  if (value) Add(L"-" + std::wstring(optstr));
}

void TCmdOpt::AddIntOpt(std::wstring_view optstr, int value) {
  if (value >= 0) Add(L"-" + std::wstring(optstr) + std::to_wstring(value));
}

void TCmdOpt::AddIntDef(std::wstring_view optstr, int value, int defaultopt) {
  if (value == -1) return;
  if (value == defaultopt) {
    Add(L"-" + std::wstring(optstr));
  } else {
    Add(L"-" + std::wstring(optstr) + std::to_wstring(value));
  }
}

void TCmdOpt::AddStrOpt(std::wstring_view optstr, const std::wstring& value) {
  if (IsUnset(value)) return;
  const std::wstring quoted = L"\"" + value + L"\"";
  if (optstr.empty()) {
    Add(quoted);
    return;
  }
  const std::wstring sw =
      optstr.front() == L' ' ? std::wstring(optstr.substr(1)) : L"-" + std::wstring(optstr);
  if (FFormat == cfInner) {
    Add(L"\"" + sw + value + L"\"");
  } else {
    Add(sw + L" " + quoted);
  }
}

void TCmdOpt::AddFName1(std::wstring_view optstr, const std::wstring& filespec) {
  AddStrOpt(optstr, optstr.empty() ? PathArgument(filespec) : filespec);
}

void TCmdOpt::AddPath1(std::wstring_view optstr, const std::wstring& pathspec) {
  if (pathspec.empty() || IsUnset(pathspec)) return;
  AddFName1(optstr, pathspec.back() == L'\\' ? pathspec : pathspec + L"\\");
}

void TCmdOpt::AddFName2(std::wstring_view optstr, const std::wstring& filespec) {
  AddFName1(optstr, Filtered(filespec));
}

int TCmdOpt::AddFList2(std::wstring_view optstr, const TFileItems& files) {
  const std::vector<std::wstring> names = FileItemNames(files);
  for (const auto& name : names) AddFName2(optstr, name);
  return static_cast<int>(names.size());
}

std::string TCmdOpt::ResFileContent(const TFileItems& files) const {
  std::wstring text;
  for (const auto& name : FileItemNames(files))
    text += L"\"" + PathArgument(Filtered(name)) + L"\"\r\n";
  return ToAnsi(text);
}

int TCmdOpt::MakeResFile(const TFileItems& files, const std::wstring& resFileName) {
  TReplacingFile file(resFileName);
  file.Append(ResFileContent(files));
  file.Commit();
  AddStrOpt(L"", L"@" + resFileName);
  return static_cast<int>(FileItemNames(files).size());
}

std::wstring TCmdOpt::Filtered(const std::wstring& name) const {
  return FFilterProc ? FFilterProc(name) : name;
}

std::string TCmdOpt::AnsiCmdLine() const {
  return ToAnsi(FCmdLine);
}

std::wstring PathArgument(const std::wstring& name) {
  const bool readAsSwitch = !name.empty() && (name.front() == L'-' || name.front() == L'@');
  return readAsSwitch ? L".\\" + name : name;
}

void AddArchiveAndBase(TCmdOpt& cmd, const std::wstring& archiveFileName,
                       const std::wstring& baseDir) {
  cmd.AddFName1(L"", archiveFileName);
  cmd.AddPath1(L"", baseDir);
}

void AddFileList(TCmdOpt& cmd, bool useResFile, const TFileItems& files,
                 const TArchiverOptions& options) {
  if (useResFile && !options.ResFileName.empty() && !IsUnset(options.ResFileName)) {
    cmd.MakeResFile(files, options.ResFileName);
  } else {
    cmd.AddFList2(L"", files);
  }
  cmd.Add(options.UserFileList);
}

}  // namespace vlm
