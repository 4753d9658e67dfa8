// A list box in which every click toggles one item's selection, as the NV
// manager shows its keys. The program implements it over a Qt list widget;
// tests implement it in memory.
#pragma once

#include <string>
#include <string_view>

namespace inkmark {

class ListBoxView {
 public:
  virtual ~ListBoxView() = default;
  virtual void Clear() = 0;
  // Appends at the end (never sorted) and returns the new item's index.
  virtual int Append(std::string_view text) = 0;
  virtual void Remove(int index) = 0;
  virtual int Count() const = 0;
  virtual std::string Item(int index) const = 0;
  virtual bool IsSelected(int index) const = 0;
  // Selects or clears items first..last (inclusive); indexes outside the list
  // are ignored. Reports no selection change.
  virtual void SetSelected(int first, int last, bool selected) = 0;
  int SelectedCount() const {
    int n = 0;
    for (int i = 0; i < Count(); ++i) n += IsSelected(i);
    return n;
  }
};

}  // namespace inkmark
