#pragma once
// Command lines of the archiver DLLs: console-archiver style text in the ANSI code page,
// tokens separated by blanks, double quotes grouping a token (and vanishing from it), and
// "@name" standing for a response file that lists one name per line.
#include <string>
#include <string_view>
#include <vector>

namespace standin {

// Splits at blanks outside double quotes. A pair of quotes with nothing between them is an
// empty token; blanks alone produce none.
std::vector<std::string> SplitCommandLine(std::string_view line);

// Reads a response file: one name per line, CR LF or LF, each line optionally enclosed in
// double quotes; blank lines are skipped. Throws ArchiverError when the file cannot be read.
std::vector<std::string> ReadResponseFile(std::string_view ansiName);

// Replaces every "@name" token by the names its response file lists.
std::vector<std::string> ExpandResponseFiles(const std::vector<std::string>& tokens);

// Case-insensitive match of a name against a mask with "*", "?" and "[...]" classes; "*.*"
// matches every name, with or without an extension.
bool WildcardMatch(std::string_view mask, std::string_view name);
bool HasWildcard(std::string_view name);

// Undoes the escaping of the ZIP name filter: "[c]" (one character between brackets) becomes c,
// so "[-]a" is "-a" and "[[]b" is "[b".
std::string UnescapeBrackets(std::string_view name);

// Member names are stored with "/" between folders, relative, without "." or ".." parts and
// without a drive or a leading separator. Two-byte characters are respected, so a trail byte
// that happens to be "\" stays part of its character.
std::string NormalizeMemberName(std::string_view name);

// Splits a name at its last separator ("\", "/" or ":"): folder part with the separator, and
// the last component.
std::pair<std::string, std::string> SplitLastComponent(std::string_view name);

}  // namespace standin
