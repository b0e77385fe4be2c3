// Scenario lines: words, quotes and escapes, variables, comments, line numbers and errors.
#include <gtest/gtest.h>

#include <map>

#include "host/scenario/Scenario.h"
#include "host/text/Words.h"
#include "library/support/Error.h"

namespace host::scenario {
namespace {

using Words = std::vector<std::string>;

TEST(WordsTest, SplitsLikeTheDocumentSays) {
  struct Row {
    const char* line;
    Words words;
  };
  const Row rows[] = {
      {"save", {"save"}},
      {"  open   Planning  ", {"open", "Planning"}},
      {R"(new appointment subject="Team meeting" reminder=15)", {"new", "appointment", "subject=Team meeting", "reminder=15"}},
      {R"(expect message "Reminder Add-In Error" "Unkown Create Reminder Error")",
       {"expect", "message", "Reminder Add-In Error", "Unkown Create Reminder Error"}},
      {R"(x description="Location:Room 4\r\nDetail:\"slides\" \\ \t")", {"x", "description=Location:Room 4\r\nDetail:\"slides\" \\ \t"}},
      {R"(setting Password "")", {"setting", "Password", ""}},
      {R"(a"b c"d)", {"ab cd"}},
      {R"(path C:\temp\x)", {"path", R"(C:\temp\x)"}},
      {"", {}},
  };
  for (const Row& row : rows) EXPECT_EQ(SplitWords(row.line), row.words) << row.line;
  EXPECT_THROW(SplitWords(R"(open "Planning)"), falcrest::Error);
}

TEST(ScenarioTest, ParsesStepsWithLineNumbersVariablesAndComments) {
  std::map<std::string, std::string> vars = {{"SERVICE_URL", "http://127.0.0.1:5000"}, {"EMPTY", ""}};
  VariableLookup lookup = [&](const std::string& name, std::string& value) {
    auto found = vars.find(name);
    if (found == vars.end()) return false;
    value = found->second;
    return true;
  };
  const std::string text =
      "# a comment\r\n"
      "\n"
      "setting WebServiceURL ${SERVICE_URL}/WebService/OutlookPlugin.asmx\r\n"
      "   # an indented comment\n"
      "echo \"${SERVICE_URL}\" x${EMPTY}y\n";
  Script script = ParseScript("day.scenario", text, lookup);
  ASSERT_EQ(script.steps.size(), 2u);
  EXPECT_EQ(script.steps[0].line, 3);
  EXPECT_EQ(script.steps[0].words,
            (Words{"setting", "WebServiceURL", "http://127.0.0.1:5000/WebService/OutlookPlugin.asmx"}));
  EXPECT_EQ(script.steps[1].line, 5);
  EXPECT_EQ(script.steps[1].words, (Words{"echo", "http://127.0.0.1:5000", "xy"}));
  EXPECT_EQ(script.steps[1].text, "echo \"${SERVICE_URL}\" x${EMPTY}y");
}

TEST(ScenarioTest, ErrorsNameTheFileAndLine) {
  VariableLookup none = [](const std::string&, std::string&) { return false; };
  struct Row {
    const char* text;
    const char* starts;
  };
  const Row rows[] = {{"save\necho ${NOPE}\n", "s.scenario:2: The variable ${NOPE} is not set"},
                      {"save\n\nopen \"x\n", "s.scenario:3: A quoted text is not closed"},
                      {"echo ${OPEN\n", "s.scenario:1: A variable is not closed"}};
  for (const Row& row : rows) {
    try {
      ParseScript("s.scenario", row.text, none);
      ADD_FAILURE() << "no error for " << row.text;
    } catch (const falcrest::Error& e) {
      EXPECT_EQ(e.Description().rfind(row.starts, 0), 0u) << e.Description();
    }
  }
}

}  // namespace
}  // namespace host::scenario
