#include "received/message_view.h"

namespace vlm {

TMessageView ViewMessage(std::string_view text) {
  TMessageView view;
  view.Text = text;
  view.Lines = SplitLines(text);
  view.HeaderEnd = HeaderEnd(view.Lines);
  view.Type = HeaderContentType(view.Lines, view.HeaderLineCount());
  if (view.HeaderEnd != kNoLine && view.Type.IsMultipart())
    view.Boundary = view.Type.Parameter("boundary").value_or("");
  return view;
}

std::string_view TMessageView::Span(size_t from, size_t to) const {
  if (from >= Lines.size() || from >= to) return {};
  const char* begin = Lines[from].data();
  const char* end = to < Lines.size() ? Lines[to].data() : Text.data() + Text.size();
  return {begin, static_cast<size_t>(end - begin)};
}

std::string ClosingDelimiter(std::string_view boundary) {
  return "--" + std::string(boundary) + "--";
}

size_t FindClosingDelimiter(const TLineList& lines, std::string_view boundary) {
  const std::string delimiter = ClosingDelimiter(boundary);
  for (size_t i = 0; i < lines.size(); ++i)
    if (StartsWith(lines[i], delimiter)) return i;
  return kNoLine;
}

std::wstring UnwritableMultipartText(std::string_view type) {
  std::wstring name;
  for (const char c : type)
    name += static_cast<unsigned char>(c) < 0x80 ? static_cast<wchar_t>(c) : L'?';
  return L"「" + name + L"」形式のメールは書き換えられません（署名や構成が壊れるため）。";
}

}  // namespace vlm
