#include "archiver/file_items.h"

#include "base/ansi_text.h"

namespace vlm {
namespace {

class NameCollector {
 public:
  NameCollector(std::vector<std::wstring>& out, TEmptyNames empty) : FOut(out), FEmpty(empty) {}

  void operator()(const std::wstring& name) { Take(name); }
  void operator()(const std::string& name) { Take(FromAnsi(name)); }
  void operator()(const std::vector<std::wstring>& names) {
    for (const auto& name : names) Take(name);
  }
  void operator()(const std::vector<std::string>& names) {
    for (const auto& name : names) Take(FromAnsi(name));
  }
  void operator()(const wchar_t* const* names) {
    for (; names && *names; ++names) Take(*names);
  }
  void operator()(const char* const* names) {
    for (; names && *names; ++names) Take(FromAnsi(*names));
  }

 private:
  void Take(std::wstring name) {
    if (name.empty() && FEmpty == TEmptyNames::Skip) return;
    FOut.push_back(std::move(name));
  }

  std::vector<std::wstring>& FOut;
  TEmptyNames FEmpty;
};

}  // namespace

std::vector<std::wstring> FileItemNames(const TFileItems& items, TEmptyNames empty) {
  std::vector<std::wstring> names;
  NameCollector collect(names, empty);
  for (const TFileItem& item : items) std::visit(collect, item);
  return names;
}

}  // namespace vlm
