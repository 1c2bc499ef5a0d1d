#include "archiver/archiver_options.h"

namespace vlm {
namespace {

using O = TArchiverOptions;

constexpr TOptionSwitch Int(const wchar_t* name, std::int8_t O::*field) {
  return {name, TOptionSwitch::skInt, field, nullptr, nullptr};
}
constexpr TOptionSwitch Str(const wchar_t* name, std::wstring O::*field) {
  return {name, TOptionSwitch::skString, nullptr, field, nullptr};
}
constexpr TOptionSwitch List(const wchar_t* name, std::vector<std::wstring> O::*field) {
  return {name, TOptionSwitch::skList, nullptr, nullptr, field};
}

const TOptionSwitch kSwitches[] = {
    Int(L"a", &O::a),     Int(L"c", &O::c),     Int(L"e", &O::e),     Int(L"f", &O::f),
    Int(L"h", &O::h),     Int(L"i", &O::i),     Int(L"l", &O::l),     Int(L"m", &O::m),
    Int(L"n", &O::n),     Int(L"o", &O::o),     Int(L"p", &O::p),     Int(L"r", &O::r),
    Int(L"s", &O::s),     Int(L"t", &O::t),     Int(L"u", &O::u),     Str(L"w", &O::w),
    Int(L"x", &O::x),     Int(L"y", &O::y),     Int(L"z", &O::z),     Int(L"jc", &O::jc),
    Int(L"jd", &O::jd),   Int(L"je", &O::je),   Int(L"jf", &O::jf),   Int(L"jh", &O::jh),
    Int(L"ji", &O::ji),   Int(L"jm", &O::jm),   Int(L"jn", &O::jn),   Str(L"jo", &O::jo),
    Str(L"job", &O::job), Int(L"jp", &O::jp),   Int(L"jr", &O::jr),   Int(L"jsb", &O::jsb),
    Int(L"jsc", &O::jsc), Int(L"jsd", &O::jsd), Int(L"jse", &O::jse), Int(L"jsf", &O::jsf),
    Int(L"jsl", &O::jsl), Int(L"jso", &O::jso), Int(L"jss", &O::jss), Int(L"jst", &O::jst),
    Int(L"jsv", &O::jsv), Int(L"jsz", &O::jsz), Int(L"jw", &O::jw),   List(L"jx", &O::jx),
    Int(L"jyc", &O::jyc), Int(L"jyd", &O::jyd), Int(L"jyk", &O::jyk), Int(L"jyn", &O::jyn),
    Int(L"jyo", &O::jyo), Str(L"jz", &O::jz),   Int(L"ga", &O::ga),   Int(L"gd", &O::gd),
    Int(L"ge", &O::ge),   Int(L"gf", &O::gf),   Int(L"gj", &O::gj),   Int(L"gm", &O::gm),
    Int(L"gn", &O::gn),   Int(L"go", &O::go),   Int(L"gp", &O::gp),   Str(L"gr", &O::gr),
    Int(L"gs", &O::gs),   Int(L"gu", &O::gu),   Int(L"gw", &O::gw),   Int(L"gya", &O::gya),
    Int(L"gyc", &O::gyc), Str(L"gyd", &O::gyd), Str(L"gye", &O::gye), Int(L"gyo", &O::gyo),
    Int(L"gyq", &O::gyq), Int(L"gys", &O::gys), Str(L"gyt", &O::gyt), Str(L"gyw", &O::gyw),
    Int(L"gyx", &O::gyx),
};

}  // namespace

std::span<const TOptionSwitch> OptionSwitches() {
  return kSwitches;
}

TArchiverOptions::TArchiverOptions() : IncludeExtraStreams(true), StreamSeparator(L";#") {
  init();
}

void TArchiverOptions::init() {
  for (const TOptionSwitch& sw : kSwitches) {
    switch (sw.kind) {
      case TOptionSwitch::skInt:
        this->*sw.intField = kUnsetInt;
        break;
      case TOptionSwitch::skString:
        this->*sw.stringField = std::wstring(1, L'\0');  // the unset marker
        break;
      case TOptionSwitch::skList:
        (this->*sw.listField).clear();
        break;
    }
  }
  UserOptions.clear();
  UserFileList.clear();
  PackFilter = pfComponent;
  ResFileName.clear();
  ResFileUsage = {ruOnPack, ruOnUnpack, ruOnRemoveItem};
}

}  // namespace vlm
