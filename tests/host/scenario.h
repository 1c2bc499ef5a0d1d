#pragma once
#include <string>

#include <functional>
#include <vector>

namespace host {

// The lines of a scenario and the position of the next one; a verb may consume following lines.
struct Script {
  std::vector<std::string> lines;
  size_t next = 0;
  std::wstring folder;  // the scenario file's folder, for data files
};

// A verb gets the rest of its line; false marks the scenario as failed.
using Verb = std::function<bool(const std::string& args, Script& script)>;

// Verbs live beside what they drive; each file registers its own with a static VerbRegistration.
void RegisterVerb(const std::string& name, Verb verb);
struct VerbRegistration {
  VerbRegistration(const std::string& name, Verb verb) { RegisterVerb(name, std::move(verb)); }
};

// Processes the messages waiting in this thread's queue.
void Pump();
std::wstring WorkPath(const std::string& relative);

// Runs a scenario script line by line; false when a line could not be carried out.
bool RunScenario(const std::wstring& scenarioPath);
}  // namespace host
