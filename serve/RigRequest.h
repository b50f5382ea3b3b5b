#pragma once
// One command line of the rig-control protocol, split into its parts: an
// optional answer form, the command word, and what follows it.
//
// A line may start with a punctuation character that asks for the extended
// answer: "+" gives one record per line; another punctuation character (";",
// "|", ",", ...) gives the whole answer on one line, records separated by
// that character ("+;" is the same as ";"). "\" starts a long command name,
// "_" is a command of its own and "#" starts a comment, so none of them is a
// separator.

#include <optional>
#include <string_view>
#include <vector>

struct RigRequest {
  bool extended = false;
  char separator = '\n';
  std::string_view command;             // "f", "\get_freq"; empty after a lone prefix
  std::vector<std::string_view> words;  // the blank-separated words after the command
  std::string_view rest;                // the line after the command word, blanks included
};

// Nothing for a line without a command: blanks only, or a comment.
std::optional<RigRequest> ParseRigRequest(std::string_view line);

// Splits on blanks (space and tab), dropping empty words.
std::vector<std::string_view> RigWords(std::string_view text);
