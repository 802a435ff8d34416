// Shared pieces of the grid's file writers and readers.
#include "AdvGridFilesSupport.h"

namespace GridFiles {

void WriteWholeFile(const String& FileName, const QByteArray& Bytes) {
    TScoped<TMemoryStream> ms(new TMemoryStream());
    ms->WriteBuffer(Bytes);
    ms->SaveToFile(FileName);
}

QByteArray EncodeLines(const QStringList& Lines, bool Unicode) {
    TScoped<TStringList> list(new TStringList());
    list->AddStrings(Lines);
    TScoped<TMemoryStream> ms(new TMemoryStream());
    list->SaveToStream(ms.get(), Unicode ? TEncoding::Unicode : TEncoding::ANSI);
    return ms->Bytes();
}

QStringList ReadLines(const String& FileName) {
    TScoped<TStringList> list(new TStringList());
    list->LoadFromFile(FileName);
    return list->ToStringList();
}

int LenientInt(const String& Text) {
    int i = 0;
    const int n = int(Text.size());
    while (i < n && (Text[i] == u' ' || Text[i] == u'\t')) ++i;
    bool neg = false;
    if (i < n && (Text[i] == u'-' || Text[i] == u'+')) neg = Text[i++] == u'-';
    qint64 v = 0;
    while (i < n && Text[i] >= u'0' && Text[i] <= u'9') {
        v = std::min<qint64>(v * 10 + (Text[i].unicode() - u'0'), qint64(1) << 32);
        ++i;
    }
    if (neg) v = -v;
    return int(std::clamp<qint64>(v, -0x7FFFFFFF - 1, 0x7FFFFFFF));
}

} // namespace GridFiles
