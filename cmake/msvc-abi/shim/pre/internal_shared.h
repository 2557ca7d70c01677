#pragma once
/* Shim: vcruntime internal header; filesystem.cpp compiles without its contents. */
