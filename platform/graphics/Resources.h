// Named bitmap resources: pictures compiled into the program from resources/bitmaps/.
#pragma once

#include "System.h"

#include <QStringList>

class QImage;

// The picture of resource Name (case ignored): ":/bitmaps/NAME.bmp", ".xpm" or ".png".
// Raises EResNotFound "Resource NAME not found" when there is none.
QImage LoadResourceImage(const String& Name);
// Decodes every bitmap resource on a thread of its own, so that the windows made at start-up find
// their pictures decoded; LoadResourceImage waits for a picture that thread is decoding. Stop
// ends that thread (at the latest when the program ends): a picture not decoded by then is
// decoded when it is loaded.
void StartResourceImagePreload();
void StopResourceImagePreload();
// Whether a bitmap resource of that name exists.
bool ResourceImageExists(const String& Name);
// The names of all bitmap resources (without extension), sorted.
QStringList ResourceImageNames();
