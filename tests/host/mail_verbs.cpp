// Scenario verbs for outgoing mail: `send <file.eml>` hands a message file (relative to the
// scenario's folder, sent as stored: ISO-2022-JP transfer form) to BKC_OnSend.
#include <fstream>
#include <sstream>

#include "tests/host/host_world.h"
#include "tests/host/scenario.h"
#include "tests/host/transcript.h"

namespace host {
namespace {

std::string ReadData(const Script& script, const std::string& name) {
  std::ifstream in((script.folder + Wide(name)).c_str(), std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

const VerbRegistration send("send", [](const std::string& args, Script& script) {
  if (!World().exports.BKC_OnSend) {
    Log().Line("error: plug-in not loaded");
    return false;
  }
  const std::string message = ReadData(script, args);
  if (message.empty()) {
    Log().Line("error: no message file " + args);
    return false;
  }
  Log().Line("send " + args + " (" + std::to_string(message.size()) + " bytes)");
  const int verdict = World().exports.BKC_OnSend(message.c_str());
  Log().Line("callback BKC_OnSend -> " + std::to_string(verdict) +
             (verdict == 0 ? " (sent)" : " (cancelled)"));
  return true;
});

}  // namespace
}  // namespace host
