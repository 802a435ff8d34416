// Copying a file over another through a temporary file beside the target, so that a copy that
// fails (unreadable source, full disk, no write access) leaves the target as it was.
#pragma once

#include "System.h"

// Copies Source to Target, replacing Target when it exists. Paths may use "\" separators. False
// when the source cannot be read or the target cannot be written whole; Target is then untouched.
bool CopyFileOver(const String& Source, const String& Target);
