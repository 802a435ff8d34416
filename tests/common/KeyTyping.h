// Typing a text into a control as a user would: letters, digits and blanks through the key that
// types them, every other character as a key press that carries it.
#pragma once

#include "Forms.h"

inline void TypeKeys(TWinControl* Target, const String& Text) {
    for (QChar ch : Text) {
        const ushort u = ch.unicode();
        if ((u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == ' ')
            SimulateText(Target, String(ch));
        else
            SimulateKey(Target, 0, {}, ch);
    }
}
