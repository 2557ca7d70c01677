// Loads and frees modules from the running program's folder with the Windows loader's meaning:
// loading runs the module's entry point with process attach, and an entry point that answers
// FALSE makes the load fail after it has been called once more with process detach; freeing calls
// it with process detach. On Windows that is LoadLibraryW itself; elsewhere it is played here.
#pragma once

#include <string>

namespace ModuleLoader {

// The module's file name on this platform ("Tallyrook" becomes "Tallyrook.dll" or "Tallyrook.so").
std::string FileName(const std::string& module);
// The folder of the running program, where the modules are kept.
std::string ProgramDirectory();

// Null on failure, with the reason in `error`.
void* Load(const std::string& module, std::string& error);
void Free(void* handle);
void* Find(void* handle, const char* symbol);
// Whether the module is loaded into the process, by whoever loaded it.
bool IsLoaded(const std::string& module);

}  // namespace ModuleLoader
