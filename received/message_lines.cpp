#include "received/message_lines.h"

#include <cstring>

#include "base/text.h"
#include "received/received_mail_error.h"

namespace vlm {

void TLineWriter::Append(std::string_view bytes) {
  if (FCounting) {
    FSize += bytes.size();
  } else if (FBuffer) {
    if (bytes.size() > FCapacity - FSize) throw EReceivedMail("the new message outgrew its buffer");
    std::memcpy(FBuffer + FSize, bytes.data(), bytes.size());
    FSize += bytes.size();
  } else {
    FText.append(bytes);
  }
}

void TLineWriter::Line(std::string_view line) {
  Append(line);
  Append("\r\n");
}

void TLineWriter::KeptLine(std::string_view lineWithBreak) {
  Append(lineWithBreak);
  if (lineWithBreak.empty() || (lineWithBreak.back() != '\n' && lineWithBreak.back() != '\r'))
    Append("\r\n");
}

void TLineWriter::TextLines(std::string_view text) {
  if (FCounting) return CountTextLines(text);
  // Lines that already end in CR LF are copied in runs, not line by line: the base64 text of a
  // file of megabytes is a single run.
  std::size_t runFrom = 0, runTo = 0;
  TLineReader reader(text);
  for (std::string_view line; reader.Next(line);) {
    const auto from = static_cast<std::size_t>(line.data() - text.data());
    const std::size_t to = from + line.size();
    const bool crLf = text.compare(to, 2, "\r\n") == 0;
    if (crLf && from == runTo) {
      runTo = to + 2;
      continue;
    }
    Append(text.substr(runFrom, runTo - runFrom));
    runFrom = runTo = crLf ? from : to;
    if (crLf)
      runTo = to + 2;
    else
      Line(line);
  }
  Append(text.substr(runFrom, runTo - runFrom));
}

void TLineWriter::CountTextLines(std::string_view text) {
  // Every line is written with CR LF: only the number of lines and their bytes count, and the
  // line reader gives both for runs of ASCII lines without handing out each line.
  TLineReader reader(text);
  for (std::string_view line;;) {
    const TLineReader::TSkipped skipped = reader.SkipAsciiLines(text.size());
    FSize += skipped.Bytes + 2 * skipped.Lines;
    if (!reader.Next(line)) return;
    FSize += line.size() + 2;
  }
}

void TLineWriter::Lines(const TLineList& lines, size_t from, size_t to) {
  for (size_t i = from; i < to && i < lines.size(); ++i) Line(lines[i]);
}

bool StartsWith(std::string_view line, std::string_view prefix) {
  // Asked of every line of messages of megabytes, nearly always of a line that differs at once.
  if (line.size() < prefix.size()) return false;
  if (prefix.empty()) return true;
  return line.front() == prefix.front() &&
         std::memcmp(line.data(), prefix.data(), prefix.size()) == 0;
}

bool StartsWithIgnoringCase(std::string_view line, std::string_view prefix) {
  return line.size() >= prefix.size() &&
         EqualsIgnoringAsciiCase(line.substr(0, prefix.size()), prefix);
}

size_t HeaderEnd(const TLineList& lines) {
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i].empty()) return i;
  return kNoLine;
}

}  // namespace vlm
