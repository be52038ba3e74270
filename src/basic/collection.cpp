// The Collection object: Add, Remove, Item (its default member) and Count,
// with VB6's error numbers.
#include "basic/collection.h"


namespace corvane {

namespace {

std::string folded_key(const Value& key) { return lower(vbstr(key)); }

bool given(const std::vector<Value>& args, size_t i) { return i < args.size() && !args[i].is_nothing(); }

}  // namespace

Value VBCollection::get(std::string_view property) {
  if (lower(property) == "count") return Value(static_cast<int64_t>(entries_.size()));
  throw VBError(438, "Object doesn't support this property or method: Collection." + std::string(property));
}

void VBCollection::set(std::string_view property, Value) {
  throw VBError(438, "Object doesn't support this property or method: Collection." + std::string(property));
}

Value VBCollection::method(std::string_view method_name, std::vector<Value>& args) {
  const std::string m = lower(method_name);
  if (m == "add") {
    add(args);
    return Value();
  }
  if (m == "remove") {
    remove(args);
    return Value();
  }
  if (m == "item") {
    if (args.size() != 1) throw VBError(450, "Wrong number of arguments: Collection.Item");
    return entries_[position_of(args[0])].value;
  }
  if (m == "count" && args.empty()) return Value(static_cast<int64_t>(entries_.size()));
  throw VBError(438, "Object doesn't support this property or method: Collection." + std::string(method_name));
}

// Add item, [key], [before], [after]
void VBCollection::add(std::vector<Value>& args) {
  if (args.empty() || args.size() > 4) throw VBError(450, "Wrong number of arguments: Collection.Add");
  if (given(args, 2) && given(args, 3))
    throw VBError(5, "Invalid procedure call or argument: Collection.Add takes Before or After, not both");
  Entry entry{std::nullopt, args[0]};
  if (given(args, 1)) {
    std::string key = folded_key(args[1]);
    if (positions_.count(key))
      throw VBError(457, "This key is already associated with an element of this collection");
    entry.key = std::move(key);
  }
  size_t at = entries_.size();
  if (given(args, 2)) at = position_of(args[2]);
  else if (given(args, 3)) at = position_of(args[3]) + 1;
  const bool at_end = at == entries_.size();
  entries_.insert(entries_.begin() + static_cast<long>(at), std::move(entry));
  if (!at_end) index_keys();
  else if (entries_.back().key) positions_.emplace(*entries_.back().key, at);
}

void VBCollection::remove(std::vector<Value>& args) {
  if (args.size() != 1) throw VBError(450, "Wrong number of arguments: Collection.Remove");
  const size_t at = position_of(args[0]);
  if (at + 1 == entries_.size() && entries_.back().key) positions_.erase(*entries_.back().key);
  const bool at_end = at + 1 == entries_.size();
  entries_.erase(entries_.begin() + static_cast<long>(at));
  if (!at_end) index_keys();
}

void VBCollection::index_keys() {
  positions_.clear();
  for (size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].key) positions_.emplace(*entries_[i].key, i);
}

size_t VBCollection::position_of(const Value& index_or_key) const {
  if (index_or_key.is_string()) {
    if (auto it = positions_.find(folded_key(index_or_key)); it != positions_.end()) return it->second;
    throw VBError(5, "Invalid procedure call or argument: no item with the key \"" + vbstr(index_or_key) + "\"");
  }
  const int64_t index = number_as_count(index_or_key, 0);
  if (index < 1 || index > static_cast<int64_t>(entries_.size())) throw VBError(9, "Subscript out of range");
  return static_cast<size_t>(index - 1);
}

std::vector<Value> VBCollection::items() const {
  std::vector<Value> out;
  out.reserve(entries_.size());
  for (const Entry& e : entries_) out.push_back(e.value);
  return out;
}

}  // namespace corvane
