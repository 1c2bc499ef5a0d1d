#pragma once
// The option set of an archive operation: one field per switch letter of the archivers, named
// after the archivers' own switches, plus the layer's own settings. Which switch a field turns
// into, and when, is each format's business.
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

namespace vlm {

// Who expands folders and masks when packing: the archiver DLL, or the component's collector.
enum TPackFilter { pfArchiver = 0, pfComponent = 1 };

// Operations allowed to hand their file list over in a response file.
enum TResFileUse { ruOnPack = 0, ruOnUnpack = 1, ruOnRemoveItem = 2, ruOnUpdate = 3 };

// A set of TResFileUse, bit n standing for the value n.
class TResFileUsage {
 public:
  constexpr TResFileUsage() = default;
  constexpr TResFileUsage(std::initializer_list<TResFileUse> uses) {
    for (TResFileUse use : uses) FBits |= Bit(use);
  }
  constexpr bool Contains(TResFileUse use) const { return (FBits & Bit(use)) != 0; }
  constexpr std::uint8_t Bits() const { return FBits; }
  static constexpr TResFileUsage FromBits(std::uint8_t bits) {
    TResFileUsage usage;
    usage.FBits = bits & 0x0F;
    return usage;
  }
  friend constexpr bool operator==(TResFileUsage, TResFileUsage) = default;

 private:
  static constexpr std::uint8_t Bit(TResFileUse use) { return std::uint8_t(1u << use); }
  std::uint8_t FBits = 0;
};

// The marker of an unset string switch: one NUL character. An empty string is a value.
// Option sets never read kUnsetString themselves, so one may be built during static
// initialisation.
inline const std::wstring kUnsetString(1, L'\0');
inline bool IsUnset(const std::wstring& value) {
  return value.size() == 1 && value[0] == L'\0';
}

// Integer switches are unset at -1; a negative value is never emitted.
inline constexpr std::int8_t kUnsetInt = -1;

class TArchiverOptions {
 public:
  // IncludeExtraStreams on, StreamSeparator ";#", everything else as after init().
  TArchiverOptions();

  // Every switch unset, jx, UserOptions, UserFileList and ResFileName empty, PackFilter
  // pfComponent, ResFileUsage [ruOnPack, ruOnUnpack, ruOnRemoveItem]. IncludeExtraStreams and
  // StreamSeparator are left as they are.
  void init();

  // Copies every property; the exclusion list by content.
  void Assign(const TArchiverOptions& source) { *this = source; }

  // Switches, in declaration order (the order the stored form and the LHA command follow).
  std::int8_t a, c, e, f, h, i, l, m, n, o, p, r, s, t, u;
  std::wstring w;
  std::int8_t x, y, z, jc, jd, je, jf, jh, ji, jm, jn;
  std::wstring jo, job;
  std::int8_t jp, jr, jsb, jsc, jsd, jse, jsf, jsl, jso, jss, jst, jsv, jsz, jw;
  std::vector<std::wstring> jx;  // names or masks to exclude
  std::int8_t jyc, jyd, jyk, jyn, jyo;
  std::wstring jz;
  std::int8_t ga, gd, ge, gf, gj, gm, gn, go, gp;
  std::wstring gr;
  std::int8_t gs, gu, gw, gya, gyc;
  std::wstring gyd, gye;
  std::int8_t gyo, gyq, gys;
  std::wstring gyt, gyw;
  std::int8_t gyx;

  // The layer's own settings.
  std::wstring UserOptions;   // appended verbatim after the generated switches
  std::wstring UserFileList;  // appended verbatim after the file list
  TPackFilter PackFilter;
  std::wstring ResFileName;  // response file for the file list; empty = none
  TResFileUsage ResFileUsage;
  bool IncludeExtraStreams;
  std::wstring StreamSeparator;  // stands for the stream delimiter in member names
};

// One switch field of TArchiverOptions, for code that walks all of them in declaration order.
struct TOptionSwitch {
  enum Kind { skInt, skString, skList };
  const wchar_t* name;
  Kind kind;
  std::int8_t TArchiverOptions::*intField;
  std::wstring TArchiverOptions::*stringField;
  std::vector<std::wstring> TArchiverOptions::*listField;
};

// Every switch, in declaration order.
std::span<const TOptionSwitch> OptionSwitches();

}  // namespace vlm
