#include "JsonSource.h"

#include <nlohmann/json.hpp>

namespace devserver {

namespace {

class Scanner {
 public:
  Scanner(std::string_view text, JsonSource& source) : text_(text), source_(source) {}

  void Top() {
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") at_ = 3;
    Value("");
    SkipSpace();
    if (at_ < text_.size()) source_.trailing_line = line_;
  }

 private:
  void SkipSpace() {
    while (at_ < text_.size() &&
           (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\r' || text_[at_] == '\n')) {
      if (text_[at_] == '\n') ++line_;
      ++at_;
    }
  }

  std::string String() {
    const std::size_t start = at_++;
    while (text_[at_] != '"') at_ += text_[at_] == '\\' ? 2 : 1;
    ++at_;
    return nlohmann::json::parse(text_.substr(start, at_ - start)).get<std::string>();
  }

  void Value(const std::string& path) {
    SkipSpace();
    source_.lines[path] = line_;  // of keys given twice, the last: the one the library keeps
    const char c = text_[at_];
    if (c == '{') {
      Object(path);
    } else if (c == '[') {
      Array(path);
    } else if (c == '"') {
      String();
    } else {
      while (at_ < text_.size() &&
             std::string_view(",]} \t\r\n").find(text_[at_]) == std::string_view::npos) {
        ++at_;
      }
    }
  }

  void Object(const std::string& path) {
    ++at_;
    std::map<std::string, std::size_t> seen;
    for (SkipSpace(); text_[at_] != '}';) {
      const std::size_t key_line = line_;
      const std::string key = String();
      const std::string member = path.empty() ? key : path + "." + key;
      const auto [first, inserted] = seen.emplace(key, key_line);
      if (!inserted) source_.duplicates.push_back({path, key, first->second, key_line});
      SkipSpace();
      ++at_;  // the colon
      Value(member);
      SkipSpace();
      if (text_[at_] == ',') ++at_, SkipSpace();
    }
    ++at_;
  }

  void Array(const std::string& path) {
    ++at_;
    std::size_t index = 0;
    for (SkipSpace(); text_[at_] != ']';) {
      Value(path + "[" + std::to_string(index++) + "]");
      SkipSpace();
      if (text_[at_] == ',') ++at_, SkipSpace();
    }
    ++at_;
  }

  std::string_view text_;
  JsonSource& source_;
  std::size_t at_ = 0;
  std::size_t line_ = 1;
};

}  // namespace

std::size_t JsonSource::LineOf(std::string path) const {
  for (;;) {
    const auto found = lines.find(path);
    if (found != lines.end()) return found->second;
    const auto cut = path.find_last_of(".[");
    if (cut == std::string::npos) return 1;
    path.resize(cut);
  }
}

JsonSource ScanJson(std::string_view text) {
  JsonSource source;
  Scanner(text, source).Top();
  return source;
}

}  // namespace devserver
