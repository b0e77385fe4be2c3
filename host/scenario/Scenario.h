#pragma once
// A scenario file: one command per line, words split as on the terminal (double quotes
// group, \r \n \" \\ escapes inside quotes), ${NAME} replaced from the environment, "#"
// starting a comment line. The commands are described in host/SCENARIOS.md.
#include <functional>
#include <string>
#include <vector>

namespace host::scenario {

struct Step {
  int line = 0;
  std::string text;  // the line as written
  std::vector<std::string> words;
};

struct Script {
  std::string file;
  std::vector<Step> steps;
};

using VariableLookup = std::function<bool(const std::string& name, std::string& value)>;

// The environment as the variable source.
VariableLookup EnvironmentVariables();

// Parses a script text; raises falcrest::Error whose description starts "FILE:LINE: " for
// an unclosed quote or an unknown variable.
Script ParseScript(const std::string& file, const std::string& text, const VariableLookup& variables);
// Reads and parses a file; raises falcrest::Error when it cannot be read.
Script LoadScript(const std::string& path, const VariableLookup& variables);

}  // namespace host::scenario
