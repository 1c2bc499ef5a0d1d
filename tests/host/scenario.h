#pragma once
#include <string>

namespace host {
// Runs a scenario script line by line; false when a line could not be carried out.
bool RunScenario(const std::wstring& scenarioPath);
}  // namespace host
