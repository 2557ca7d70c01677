/* Shim for ppltasks.h: only the Concurrency::task<void> / create_task that <future>'s std::async
   uses. NOT the real PPL: one OS thread per task, and not layout-compatible with MSVC's task<void>.
 */
#pragma once
#include <exception>
#include <memory>
#include <utility>
extern "C" {
struct _SECURITY_ATTRIBUTES; /* as windows.h declares it, so that both may be included */
__declspec(dllimport) void* __stdcall CreateThread(struct _SECURITY_ATTRIBUTES*, size_t,
                                                   unsigned long(__stdcall*)(void*), void*,
                                                   unsigned long, unsigned long*);
__declspec(dllimport) unsigned long __stdcall WaitForSingleObject(void*, unsigned long);
__declspec(dllimport) int __stdcall CloseHandle(void*);
}
namespace Concurrency {
namespace details {
struct _Task_thread {
  void* _Handle = nullptr;
  ~_Task_thread() {
    if (_Handle) {
      ::WaitForSingleObject(_Handle, 0xFFFFFFFF);
      ::CloseHandle(_Handle);
    }
  }
};
template <class _Fn>
unsigned long __stdcall _Task_entry(void* _P) {
  std::unique_ptr<_Fn> _F(static_cast<_Fn*>(_P));
  (*_F)();
  return 0;
}
}  // namespace details
template <class _Ty>
class task;
template <>
class task<void> {
 public:
  task() = default;
  template <class _Fn>
  explicit task(_Fn&& _F) : _Thread(std::make_shared<details::_Task_thread>()) {
    using _Fd = std::decay_t<_Fn>;
    auto* _P = new _Fd(std::forward<_Fn>(_F));
    _Thread->_Handle = ::CreateThread(nullptr, 0, &details::_Task_entry<_Fd>, _P, 0, nullptr);
    if (!_Thread->_Handle) {
      delete _P;
      std::terminate();
    }
  }
  void wait() const {
    if (_Thread && _Thread->_Handle) ::WaitForSingleObject(_Thread->_Handle, 0xFFFFFFFF);
  }

 private:
  std::shared_ptr<details::_Task_thread> _Thread;
};
template <class _Fn>
task<void> create_task(_Fn&& _F) {
  return task<void>(std::forward<_Fn>(_F));
}
}  // namespace Concurrency
