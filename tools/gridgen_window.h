// rastel-gridgen.exe's window, for a start without arguments (a double
// click): a grid for one place of Rastel's choice, made without a command.
#pragma once
#include <windows.h>

#include <string>

#include "tools/gridgen_cli.h"

// Gathers the options for one file, previews its picture and writes it, or
// the default set, into `folder` through RunGridgen. Returns when the window
// is closed.
int RunGridgenWindow(HINSTANCE instance, const std::wstring& folder, const rastel::GridgenHost& host);
