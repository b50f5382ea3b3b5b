#pragma once
// A string list of header lines ("Name: value") that finds and sets lines
// by header name.

#include <string>

#include "base/StringList.h"

class TExStringList : public TStringList {
public:
  // Index of the first line whose text before its first colon equals name,
  // case-insensitively and untrimmed; lines without a colon never match; -1
  // when none does. A sorted list is searched by halving instead.
  int IndexOfHeader(const std::string& name) const;

  // A non-empty value replaces the named line with "Name: value", or adds
  // one; an empty value deletes the named line, if there is one.
  void SetHeader(const std::string& name, const std::string& value);
};
