#pragma once
// Builds the command line handed to an archiver DLL: switches, quoted names, file lists and
// response files. The line is kept as wide text and handed over as ANSI (code page 932) text.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "archiver/archiver_options.h"
#include "archiver/file_items.h"

namespace vlm {

// Where the quotes go around a string switch: cfInner quotes switch and value together
// ("-wC:\dir\"), cfOuter quotes the value alone (-o "C:\dir\").
enum TCmdOptFormat { cfInner = 0, cfOuter = 1 };

// Rewrites a file name before it goes into a file list or a response file.
using TFilterProc = std::function<std::wstring(const std::wstring&)>;

// `optstr` below is a switch name without its leading "-". Every append starts with a space, so
// a line always begins with one.
class TCmdOpt {
 public:
  explicit TCmdOpt(TCmdOptFormat format = cfInner, TFilterProc filterProc = {})
      : FFormat(format), FFilterProc(std::move(filterProc)) {}

  // A space, then `text` unchanged (an empty text still adds the space).
  void Add(std::wstring_view text);
  // "-optstr" when `value` is true.
  void AddBolOpt(std::wstring_view optstr, bool value);
  // "-optstr<value>" when `value` is 0 or more.
  void AddIntOpt(std::wstring_view optstr, int value);
  // Nothing for -1, "-optstr" when `value` is `defaultopt`, else "-optstr<value>".
  void AddIntDef(std::wstring_view optstr, int value, int defaultopt);
  // Nothing when `value` is unset. An empty `optstr` gives the value alone, quoted; an `optstr`
  // starting with a space is used without "-" (the space dropped). Nothing inside the value is
  // escaped: a value ending in "\" keeps it right before the closing quote.
  void AddStrOpt(std::wstring_view optstr, const std::wstring& value);
  // As AddStrOpt for a path. Standing alone (an empty `optstr`) it goes through PathArgument.
  void AddFName1(std::wstring_view optstr, const std::wstring& filespec);
  // As AddFName1 with the folder ending in "\"; nothing for an empty or unset folder.
  void AddPath1(std::wstring_view optstr, const std::wstring& pathspec);
  // As AddFName1 with the name passed through the filter.
  void AddFName2(std::wstring_view optstr, const std::wstring& filespec);
  // AddFName2 for every name of the items (empty names skipped); returns the number of names.
  int AddFList2(std::wstring_view optstr, const TFileItems& files);
  // Writes the items' names into a response file (replacing it) and adds "@<resFileName>" quoted.
  // Returns the number of names. Throws EFileError when the file cannot be written.
  int MakeResFile(const TFileItems& files, const std::wstring& resFileName);
  // The name through the filter, or unchanged when there is none.
  std::wstring Filtered(const std::wstring& name) const;

  // The response file's bytes for the items: each filtered name, through PathArgument, quoted and
  // ended by CR LF, in the ANSI code page, without a byte-order mark.
  std::string ResFileContent(const TFileItems& files) const;

  const std::wstring& CmdLine() const { return FCmdLine; }
  std::string AnsiCmdLine() const;

 private:
  TCmdOptFormat FFormat;
  TFilterProc FFilterProc;
  std::wstring FCmdLine;
};

// The archivers read a token beginning with "-" as a switch and one beginning with "@" as a
// response file, quoted or not: a file or folder named "-wx" or "@list" would set a switch or
// pack the names some other file lists. Such a name, which is always relative, is given as the
// same path from the current folder (".\-wx"): a token every archiver reads as a path, to the
// same file, since relative names start from the base folder. Any other name comes back
// unchanged. ZIP writes its names in its own escaped form instead (ZipNameFilter).
std::wstring PathArgument(const std::wstring& name);

// The archive name, quoted, then the base folder (if any) ending in "\", quoted.
void AddArchiveAndBase(TCmdOpt& cmd, const std::wstring& archiveFileName,
                       const std::wstring& baseDir);

// The file list, in the response file when `useResFile` is true and the options name one, else
// on the line; then the options' UserFileList verbatim.
void AddFileList(TCmdOpt& cmd, bool useResFile, const TFileItems& files,
                 const TArchiverOptions& options);

}  // namespace vlm
