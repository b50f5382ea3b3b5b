#include "base/StringList.h"

#include <algorithm>

#include "base/Exception.h"

namespace {

unsigned char Fold(unsigned char c) { return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c; }

void CheckIndex(int index, int count) {
  if (index < 0 || index >= count) throw ERangeError("List index out of bounds (" + std::to_string(index) + ")");
}

}  // namespace

int TStringList::CompareText(const std::string& a, const std::string& b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char x = Fold(static_cast<unsigned char>(a[i]));
    const unsigned char y = Fold(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

const std::string& TStringList::Strings(int index) const {
  CheckIndex(index, Count());
  return lines_[static_cast<std::size_t>(index)];
}

void TStringList::SetStrings(int index, std::string text) {
  CheckIndex(index, Count());
  lines_[static_cast<std::size_t>(index)] = std::move(text);
}

int TStringList::Add(std::string text) {
  if (!sorted_) {
    lines_.push_back(std::move(text));
    return Count() - 1;
  }
  auto it = std::upper_bound(lines_.begin(), lines_.end(), text,
                             [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
  const int index = static_cast<int>(it - lines_.begin());
  lines_.insert(it, std::move(text));
  return index;
}

void TStringList::Insert(int index, std::string text) {
  if (index < 0 || index > Count()) throw ERangeError("List index out of bounds (" + std::to_string(index) + ")");
  lines_.insert(lines_.begin() + index, std::move(text));
}

void TStringList::Delete(int index) {
  CheckIndex(index, Count());
  lines_.erase(lines_.begin() + index);
}

int TStringList::IndexOf(const std::string& text) const {
  for (int i = 0; i < Count(); ++i)
    if (CompareText(lines_[static_cast<std::size_t>(i)], text) == 0) return i;
  return -1;
}

void TStringList::SetSorted(bool sorted) {
  if (sorted && !sorted_)
    std::stable_sort(lines_.begin(), lines_.end(),
                     [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
  sorted_ = sorted;
}

std::string TStringList::Text() const {
  std::string out;
  for (const auto& line : lines_) {
    out += line;
    out += "\r\n";
  }
  return out;
}
