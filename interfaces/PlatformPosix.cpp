#ifndef _WIN32

#include "Platform.h"

#include <dlfcn.h>

#include <future>
#include <stdexcept>

namespace Platform {

namespace {

constexpr char16_t FoldAZ(char16_t c) noexcept {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool IsHighSurrogate(char16_t c) noexcept {
  return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) noexcept {
  return c >= 0xDC00 && c <= 0xDFFF;
}

// Writes `code` as UTF-8 at `out` and returns the end of what it wrote.
char* WriteUtf8(char* out, char32_t code) {
  if (code < 0x80) {
    *out++ = static_cast<char>(code);
  } else if (code < 0x800) {
    *out++ = static_cast<char>(0xC0 | (code >> 6));
    *out++ = static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    *out++ = static_cast<char>(0xE0 | (code >> 12));
    *out++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (code & 0x3F));
  } else {
    *out++ = static_cast<char>(0xF0 | (code >> 18));
    *out++ = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    *out++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (code & 0x3F));
  }
  return out;
}

}  // namespace

bool EqualIgnoringCaseAZ(const FChar* a, const FChar* b, std::size_t count) noexcept {
  for (std::size_t i = 0; i < count; ++i) {
    const char16_t left = FoldAZ(a[i]);
    if (left != FoldAZ(b[i])) return false;
    if (left == 0) return true;
  }
  return true;
}

std::string ToUtf8(const FChar* text, std::size_t count) {
  constexpr std::size_t kBlock = 16;
  std::string out(3 * count, '\0');  // no unit takes more than three bytes; a pair takes four
  char* end = out.data();
  for (std::size_t i = 0; i < count;) {
    // ASCII, most of any command, goes a block at a time: tested and copied without branches.
    if (i + kBlock <= count) {
      unsigned bits = 0;
      for (std::size_t k = 0; k < kBlock; ++k) bits |= text[i + k];
      if (bits < 0x80) {
        for (std::size_t k = 0; k < kBlock; ++k) end[k] = static_cast<char>(text[i + k]);
        end += kBlock, i += kBlock;
        continue;
      }
    }
    const char16_t unit = text[i++];
    if (IsHighSurrogate(unit) && i < count && IsLowSurrogate(text[i])) {
      end = WriteUtf8(end, 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (text[i++] - 0xDC00));
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      end = WriteUtf8(end, 0xFFFD);
    } else {
      end = WriteUtf8(end, unit);
    }
  }
  out.resize(static_cast<std::size_t>(end - out.data()));
  return out;
}

void* HoldLoadedModule(const char* module) {
  const std::string file = std::string(module) + ".so";
  // RTLD_NOLOAD finds the module only if the host loaded it; RTLD_NODELETE keeps it mapped after
  // the host closes it, and the handle is never closed.
  void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
  if (handle == nullptr) throw std::runtime_error("module not loaded: " + file);
  return handle;
}

void* FindModuleFunction(void* handle, const char* module, const char* symbol) {
  void* address = dlsym(handle, symbol);
  if (address == nullptr) {
    throw std::runtime_error("function not found in " + std::string(module) + ".so: " + symbol);
  }
  return address;
}

struct TaskBatch::Task {
  std::future<void> done;
};

TaskBatch::TaskBatch(std::size_t count, Run run, void* context) {
  tasks_.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    // Should a launch fail, the tasks already launched are waited for as tasks_ goes.
    tasks_.push_back({std::async(std::launch::async, [run, context, i] { run(context, i); })});
  }
}

TaskBatch::~TaskBatch() = default;  // each future of std::async waits for its task

void TaskBatch::Wait(std::size_t index) {
  tasks_[index].done.wait();
}

}  // namespace Platform

#endif
