#include "JsonPlace.h"

namespace Tallyrook {

namespace {

const Json kAbsent;

}  // namespace

std::string JsonLibraryMessage(const std::exception& error) {
  const std::string text = error.what();
  const auto end = text.find("] ");
  return text.rfind("[json.exception.", 0) == 0 && end != std::string::npos ? text.substr(end + 2)
                                                                            : text;
}

ConfigError::ConfigError(std::string path, std::string message)
    : std::runtime_error(path.empty() ? message : path + ": " + message),
      path_(std::move(path)),
      message_(std::move(message)) {}

JsonPlace JsonPlace::Member(const char* key) const {
  if (value_.is_null()) return JsonPlace(kAbsent, this, key, kNoIndex);
  if (value_.is_object()) {
    const auto found = value_.find(key);
    return JsonPlace(found == value_.end() ? kAbsent : *found, this, key, kNoIndex);
  }
  try {
    (void)value_[key];  // not an object: the library's own type error, naming the type
  } catch (const Json::exception& error) {
    Fail(error);
  }
  Fail(std::logic_error("a key looked up in a value that is not an object"));
}

const std::string& JsonPlace::String() const {
  if (value_.is_string()) return value_.get_ref<const std::string&>();
  try {
    (void)value_.get<std::string>();
  } catch (const Json::exception& error) {
    Fail(error);
  }
  Fail(std::logic_error("a string that is not a string"));
}

bool JsonPlace::Boolean() const {
  try {
    return value_.get<bool>();
  } catch (const Json::exception& error) {
    Fail(error);
  }
}

std::string JsonPlace::Path() const {
  if (parent_ == nullptr) return {};
  std::string path = parent_->Path();
  if (index_ != kNoIndex) return path + "[" + std::to_string(index_) + "]";
  return path.empty() ? std::string(key_) : path + "." + std::string(key_);
}

void JsonPlace::Fail(const std::exception& error) const {
  throw ConfigError(Path(), JsonLibraryMessage(error));
}

}  // namespace Tallyrook
