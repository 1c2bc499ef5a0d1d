#pragma once
// Loading the settings form from the INI file and saving it back (section "Set").
#include <optional>
#include <string>

#include "base/settings_form.h"

namespace vlm {

// The INI file as the form sees it. Write throws when the file cannot be written.
class TIniFile {
 public:
  virtual ~TIniFile() = default;
  [[nodiscard]] virtual std::optional<std::wstring> Read(const std::wstring& key) const = 0;
  virtual void Write(const std::wstring& key, const std::wstring& value) = 0;
};

// Booleans are read leniently: a number (decimals too: "1.5" is true, "0.0" false) is true when
// not 0, else "True"/"False" in any case; anything else falls back to the default.
[[nodiscard]] bool ReadBool(const TIniFile& ini, const std::wstring& key, bool fallback);

// Reads every setting into its control, in the file's key order, with the defaults for absent
// or unreadable values.
void LoadSettings(TForm1& form, const TIniFile& ini);

// True when `text` is a decimal number written with `decimalSeparator`: exactly the texts the
// drop handling's size rule reads (ParseDecimal), so a saved size is never silently read as 1.
[[nodiscard]] bool IsFloatText(const std::wstring& text, wchar_t decimalSeparator);

// Save: validates the size and the wording, then writes every key that has a control, in order.
// Returns the message to show when validation fails (nothing is written then), or nothing when
// saved. A failing write throws; keys written before it stay written.
[[nodiscard]] std::optional<std::wstring> SaveSettings(const TForm1& form, TIniFile& ini,
                                                       wchar_t decimalSeparator);

}  // namespace vlm
