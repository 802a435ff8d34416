// Named bitmap resources: pictures compiled into the program from resources/bitmaps/.
#pragma once

#include "System.h"

#include <QStringList>

class QImage;

// The picture of resource Name (case ignored): ":/bitmaps/NAME.bmp", ".xpm" or ".png".
// Raises EResNotFound "Resource NAME not found" when there is none.
QImage LoadResourceImage(const String& Name);
// Whether a bitmap resource of that name exists.
bool ResourceImageExists(const String& Name);
// The names of all bitmap resources (without extension), sorted.
QStringList ResourceImageNames();
