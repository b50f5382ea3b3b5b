#include "http/NMExtstr.h"

namespace {

// Orders a line's header name against name; a line without a colon sorts
// before every name and never equals one.
int CompareHeaderName(const std::string& line, const std::string& name) {
  const std::size_t colon = line.find(':');
  if (colon == std::string::npos) return -1;
  return TStringList::CompareText(line.substr(0, colon), name);
}

}  // namespace

int TExStringList::IndexOfHeader(const std::string& name) const {
  if (!Sorted()) {
    for (int i = 0; i < Count(); ++i)
      if (CompareHeaderName(Strings(i), name) == 0) return i;
    return -1;
  }
  int low = 0;
  int high = Count() - 1;
  while (low <= high) {
    const int middle = low + (high - low) / 2;
    const int order = CompareHeaderName(Strings(middle), name);
    if (order == 0) return middle;
    if (order < 0) {
      low = middle + 1;
    } else {
      high = middle - 1;
    }
  }
  return -1;
}

void TExStringList::SetHeader(const std::string& name, const std::string& value) {
  const int index = IndexOfHeader(name);
  if (value.empty()) {
    if (index >= 0) Delete(index);
    return;
  }
  std::string line = name + ": " + value;
  if (index >= 0) {
    SetStrings(index, std::move(line));
  } else {
    Add(std::move(line));  // at the end, or in its place in a sorted list
  }
}
