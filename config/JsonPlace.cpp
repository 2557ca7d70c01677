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

ConfigError::ConfigError(std::string path, std::string message, std::string expected,
                         std::string found, std::string missing_at)
    : std::runtime_error(path.empty() ? message : path + ": " + message),
      path_(std::move(path)),
      message_(std::move(message)),
      expected_(std::move(expected)),
      found_(std::move(found)),
      missing_at_(std::move(missing_at)) {}

JsonPlace JsonPlace::Member(const char* key) const {
  if (value_.is_null()) return JsonPlace(kAbsent, this, key, kNoIndex);
  if (value_.is_object()) {
    const auto found = value_.find(key);
    return JsonPlace(found == value_.end() ? kAbsent : *found, this, key, kNoIndex);
  }
  try {
    (void)value_[key];  // not an object: the library's own type error, naming the type
  } catch (const Json::exception& error) {
    Fail(error, "object");
  }
  Fail(std::logic_error("a key looked up in a value that is not an object"), "object");
}

const std::string& JsonPlace::String() const {
  if (value_.is_string()) return value_.get_ref<const std::string&>();
  try {
    (void)value_.get<std::string>();
  } catch (const Json::exception& error) {
    Fail(error, "string");
  }
  Fail(std::logic_error("a string that is not a string"), "string");
}

bool JsonPlace::Boolean() const {
  try {
    return value_.get<bool>();
  } catch (const Json::exception& error) {
    Fail(error, "boolean");
  }
}

std::string JsonPlace::Path() const {
  if (parent_ == nullptr) return {};
  std::string path = parent_->Path();
  if (index_ != kNoIndex) return path + "[" + std::to_string(index_) + "]";
  return path.empty() ? std::string(key_) : path + "." + std::string(key_);
}

bool JsonPlace::Absent() const noexcept {
  return &value_ == &kAbsent;
}

void JsonPlace::Fail(const std::exception& error, const char* expected) const {
  const JsonPlace* missing = nullptr;
  for (const JsonPlace* place = this; place != nullptr && place->Absent(); place = place->parent_) {
    missing = place;
  }
  throw ConfigError(Path(), JsonLibraryMessage(error), expected, value_.type_name(),
                    missing != nullptr ? missing->Path() : std::string());
}

}  // namespace Tallyrook
