// The text table of the user interface: 2900 texts addressed by a fixed text id, in blocks of
// 100 ids per window. Load_Default_Lang fills it with the built-in English texts (an id without
// one holds a single blank); language files then replace texts id by id.
#pragma once

#include "System.h"

#include <vector>

class TLang_Text {
public:
    // The table starts with the built-in texts, so a text read before the first language load
    // is already the English one.
    TLang_Text();

    // The text of an id; a single blank for an id outside the table.
    String Get(int Id) const;
    // Replaces the text of an id inside the table; ids outside it are ignored.
    void Set(int Id, const String& Text);
    int Count() const { return int(FTexts.size()); }

    // Clears the table and fills it with the 2900 built-in texts.
    void Load_Default_Lang();

private:
    std::vector<String> FTexts;
};

// The number of text ids, 2900 (ids 0 to 2899).
extern int Num_Lang_Text;
extern TLang_Text Lang_Text;
