#include "host/scenario/Scenario.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "host/text/Words.h"
#include "library/support/Error.h"

namespace host::scenario {

VariableLookup EnvironmentVariables() {
  return [](const std::string& name, std::string& value) {
    const char* set = std::getenv(name.c_str());
    if (!set) return false;
    value = set;
    return true;
  };
}

Script ParseScript(const std::string& file, const std::string& text, const VariableLookup& variables) {
  Script script;
  script.file = file;
  std::istringstream lines(text);
  std::string line;
  int number = 0;
  while (std::getline(lines, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    Step step;
    step.line = number;
    step.text = line.substr(first);
    try {
      for (const std::string& word : SplitWords(line)) step.words.push_back(ExpandVariables(word, variables));
    } catch (const falcrest::Error& e) {
      throw falcrest::Error(e.Number(), e.Source(), file + ":" + std::to_string(number) + ": " + e.Description());
    }
    script.steps.push_back(std::move(step));
  }
  return script;
}

Script LoadScript(const std::string& path, const VariableLookup& variables) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    throw falcrest::Error(falcrest::error_number::kComponentBase + 0x150, "reminder-host",
                          "Cannot read the scenario file " + path);
  }
  std::ostringstream text;
  text << in.rdbuf();
  return ParseScript(path, text.str(), variables);
}

}  // namespace host::scenario
