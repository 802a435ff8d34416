// The text table of the user interface: 2900 texts addressed by a fixed text id, in blocks of
// 100 ids per window. Load_Default_Lang fills it with the built-in English texts (an id without
// one holds a single blank); a language file then replaces texts id by id.
//
// The built-in texts are compiled in from the resource files ":/text/English*.lng", which use the
// language-file format: each window's block of texts lives in one such file, and every file is
// applied in name order.
#pragma once

#include "System.h"

#include <QStringList>

#include <vector>

class TLang_Text {
public:
    // The table starts with the built-in texts, so a text read before the first language load
    // is already the English one.
    TLang_Text();

    // The text of an id; a single blank for an id outside the table.
    String Get(int Id) const;
    String operator[](int Id) const { return Get(Id); }
    String Strings(int Id) const { return Get(Id); }
    // Replaces the text of an id inside the table; ids outside it are ignored.
    void Set(int Id, const String& Text);
    int Count() const { return int(FTexts.size()); }

    // Clears the table and fills it with the 2900 built-in texts.
    void Load_Default_Lang();
    // Applies the lines of a language file (see Parse_Lang_Line); a file that cannot be read
    // changes nothing.
    void Load_Lang_File(const String& FileName);
    // Applies lines already read.
    void Apply_Lang_Lines(const QStringList& Lines);

private:
    std::vector<String> FTexts;
};

// The number of text ids, 2900 (ids 0 to 2899).
extern int Num_Lang_Text;
extern TLang_Text Lang_Text;

// Reads one line of a language file: "STR", the id, "=", the text, and an optional comment
// after "/#/". The id is the text between "STR" and "=" without blanks (decimal, or hexadecimal
// after "$" or "0x"); the text loses its surrounding blanks unless it is written between two
// pilcrows ("¶"), which keep them. True with Id and Text when the line sets a text: lines that
// do not begin with "STR", have no "=", an id outside 0 .. Num_Lang_Text - 1 or an empty text
// set nothing.
bool Parse_Lang_Line(const String& Line, int& Id, String& Text);

// The built-in texts as (id, text) pairs in resource order, duplicates included, so that a
// check can find an id given two texts.
std::vector<std::pair<int, String>> Built_In_Lang_Lines();

// Loads the built-in texts, then the language file LANGUAGE\<Language>.lng; when that file does
// not exist, Language becomes "English" and LANGUAGE\English.lng applies when it exists.
void Set_Language();
