#pragma once
// An ordered list of texts. When Sorted is set, Add keeps the list in order
// (compared case-insensitively, like header names); otherwise lines stay in
// the order they were added or inserted.

#include <string>
#include <vector>

class TStringList {
public:
  virtual ~TStringList() = default;

  int Count() const { return static_cast<int>(lines_.size()); }
  const std::string& Strings(int index) const;
  void SetStrings(int index, std::string text);

  int Add(std::string text);  // returns the index the line got
  void Insert(int index, std::string text);
  void Delete(int index);
  void Clear() { lines_.clear(); }
  int IndexOf(const std::string& text) const;  // case-insensitive; -1 if none

  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);

  // Every line followed by CR LF.
  std::string Text() const;

  // Case-insensitive order of two texts (bytewise after ASCII folding).
  static int CompareText(const std::string& a, const std::string& b);

private:
  std::vector<std::string> lines_;
  bool sorted_ = false;
};
