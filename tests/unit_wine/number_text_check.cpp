// The table of typed numbers (tests/unit/base/number_text_cases.h) under the Windows C runtime:
// Save's check, the parser and the drop handling's threshold agree on every row. Prints one line
// per failing row and a summary; the exit code is the number of failing rows.
#include <cstdio>
#include <string>

#include "compose/size_rule.h"
#include "base/ansi_text.h"
#include "base/decimal_text.h"
#include "base/settings_ini.h"
#include "tests/unit/base/number_text_cases.h"

namespace {

std::string Shown(const std::optional<double>& value) {
  return value ? std::to_string(*value) : std::string("none");
}

}  // namespace

int main() {
  int failures = 0, rows = 0;
  for (const auto& c : vlm::test::kNumberTextCases) {
    ++rows;
    const bool saved = vlm::IsFloatText(c.text, c.separator);
    const std::optional<double> read = vlm::ParseDecimal(c.text, c.separator);
    const double threshold = vlm::OverSizeThreshold(c.text, c.separator);
    if (saved == c.value.has_value() && read == c.value && threshold == c.value.value_or(1.0))
      continue;
    ++failures;
    std::printf("FAIL \"%s\": Save %s, read %s, threshold %f; expected %s\n",
                vlm::ToUtf8(c.text).c_str(), saved ? "accepts" : "refuses", Shown(read).c_str(),
                threshold, Shown(c.value).c_str());
  }
  std::printf("%d of %d rows agree\n", rows - failures, rows);
  return failures;
}
