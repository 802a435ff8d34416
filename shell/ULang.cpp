#include "ULang.h"

int Num_Lang_Text = 2900;
TLang_Text Lang_Text;

namespace {

struct TDefaultText {
    int Id;
    const char* Text;
};

// The built-in English texts known so far; every other id holds a single blank.
const TDefaultText DefaultTexts[] = {
    {17, "Update Device UDP"},
    {18, "Error! Project not Valid"},
    {21, "IEC61850 Access"},
    {49, "PROFIBUS GSD"},
    {1100, "Row Already used. Do you want to overwrite the values?"},
    {1101, "Error in the Copy values!!! Copy a valid row before Paste it"},
    {1102, "Error!!! Copy a valid row before Paste it"},
    {1103, "File already exists! Do you want to overwrite the file?"},
    {1104, "Error! Please set the Set Communication Parameter before to create the GSD file"},
    {1105, "File already exists. Do you want to overwrite?"},
};

} // namespace

TLang_Text::TLang_Text() {
    Load_Default_Lang();
}

String TLang_Text::Get(int Id) const {
    if (Id < 0 || Id >= int(FTexts.size())) return QStringLiteral(" ");
    return FTexts[size_t(Id)];
}

void TLang_Text::Set(int Id, const String& Text) {
    if (Id >= 0 && Id < int(FTexts.size())) FTexts[size_t(Id)] = Text;
}

void TLang_Text::Load_Default_Lang() {
    FTexts.assign(2900, QStringLiteral(" "));
    for (const TDefaultText& t : DefaultTexts) FTexts[size_t(t.Id)] = String::fromUtf8(t.Text);
    Num_Lang_Text = 2900;
}
