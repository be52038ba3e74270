#pragma once
// VB6's Collection: an ordered list of values, each optionally reached by
// a text key (compared without regard to case). Positions count from 1.
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "basic/objects.h"

namespace corvane {

class VBCollection : public ControlObject {
 public:
  VBCollection() : ControlObject("Collection") {}

  Value get(std::string_view property) override;
  void set(std::string_view property, Value value) override;
  Value method(std::string_view method_name, std::vector<Value>& args) override;

  // The values in order (For Each walks a copy of them).
  std::vector<Value> items() const;

 private:
  struct Entry {
    std::optional<std::string> key;  // folded
    Value value;
  };
  void add(std::vector<Value>& args);
  void remove(std::vector<Value>& args);
  // The position of an index (a number from 1) or a key (a String).
  size_t position_of(const Value& index_or_key) const;
  // Positions of the keyed entries from scratch, after an entry was put
  // or taken anywhere but at the end.
  void index_keys();
  std::vector<Entry> entries_;
  std::unordered_map<std::string, size_t> positions_;  // folded key -> position
};

}  // namespace corvane
