// Services of the desktop shell: opening a document or a web address with the program the
// desktop associates with it.
#pragma once

#include "Messages.h" // HWND and the SW_ show commands
#include "System.h"

#include <functional>

// Opens File ("open" verb or none): a web address goes to the browser, a file or folder to the
// desktop's program for it. Parameters, Directory and ShowCmd are accepted for the platform's
// signature but not passed on (stand-ins); a program is never started through a shell here. Answers a value
// above 32 on success and 2 (file not found) or 31 (no association) on failure, as the platform does.
intptr_t ShellExecute(HWND Wnd, const String& Operation, const String& File, const String& Parameters,
                      const String& Directory, int ShowCmd);

// Receives what ShellExecute would open instead of the desktop (tests); answers success.
using TOpenDocumentHook = std::function<bool(const String& File)>;
TOpenDocumentHook SetOpenDocumentHook(TOpenDocumentHook Hook);
