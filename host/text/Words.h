#pragma once
// Splitting command lines into words, shared by the terminal and the scenario runner.
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace host {

// Splits at blanks. Double quotes group a word (also in the middle: subject="Team meeting"
// gives subject=Team meeting); inside quotes \" \\ \n \r \t are escapes. Raises
// falcrest::Error for an unterminated quote.
std::vector<std::string> SplitWords(const std::string& line);

// Replaces every ${NAME} by lookup(NAME); lookup returns false for an unknown name, which
// raises falcrest::Error naming it.
std::string ExpandVariables(const std::string& text,
                            const std::function<bool(const std::string&, std::string&)>& lookup);

// "key=value" split at the first "="; false when the word has no "=".
bool SplitKeyValue(const std::string& word, std::string& key, std::string& value);

std::string Lower(std::string text);
bool EqualsNoCase(const std::string& a, const std::string& b);
// A whole decimal number (optional sign) that fits an int.
bool ParseInt(const std::string& text, int& out);
// Words from index `from` joined by one blank.
std::string JoinWords(const std::vector<std::string>& words, size_t from);
// Splits at "," (empty text gives no pieces).
std::vector<std::string> SplitComma(const std::string& text);
// The text quoted for messages: "text" with \r, \n and quotes escaped.
std::string Quoted(const std::string& text);

}  // namespace host
