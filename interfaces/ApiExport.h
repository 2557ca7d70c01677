// Linkage of the operations that the plugin host (version.dll) exports to plugins.
#pragma once

#ifdef _WIN32
#ifdef ARK_API_EXPORTS
#define ARK_API __declspec(dllexport)
#else
#define ARK_API __declspec(dllimport)
#endif
#else
#define ARK_API __attribute__((visibility("default")))
#endif

// Sibling plugins export their operations; the plugin that calls them binds them lazily
// (SiblingImports.cpp), so on its side the declarations carry no linkage attribute.
#ifdef SIBLING_API_EXPORTS
#ifdef _WIN32
#define SIBLING_API __declspec(dllexport)
#else
#define SIBLING_API __attribute__((visibility("default")))
#endif
#else
#define SIBLING_API
#endif
