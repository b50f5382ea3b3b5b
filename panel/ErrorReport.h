#pragma once
// The texts of the error box that reports an error escaping a handler.

#include <string>

// The application's title: the program file's name without its path and
// without everything from its first ".", its first letter in upper case and
// the rest in lower case ("/usr/bin/ravolin" gives "Ravolin").
std::string ApplicationTitle(const std::string& programPath);

// The error's message with a "." appended, unless it already ends in "." or
// in a character of lower code (a blank, a line break, "!", ...).
std::string ErrorBoxText(const std::string& message);
