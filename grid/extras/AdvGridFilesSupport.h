// Shared pieces of the grid's file writers and readers (grid/extras only).
#pragma once

#include "AdvGrid.h"
#include "Forms.h"

#include <QByteArray>

#include <algorithm>
#include <cmath>
#include <memory>

namespace GridFiles {

// An object of the class library freed with Free at the end of its scope.
struct TFree {
    void operator()(TObject* Obj) const { TObject::Free(Obj); }
};
template <class T> using TScoped = std::unique_ptr<T, TFree>;

// Per cent, rounded half to even and kept inside 0..100, reported when it changes.
class TProgressReport {
public:
    TProgressReport(TObject* Sender, const TEvent<TObject*, short>& Event) : FSender(Sender), FEvent(Event) {}
    void Report(double Fraction) {
        if (!Assigned(FEvent)) return;
        const double pc = Fraction * 100;
        const int v = std::isfinite(pc) ? int(std::clamp(std::nearbyint(pc), 0.0, 100.0)) : 0;
        if (v == FLast) return;
        FLast = v;
        FEvent(FSender, short(v));
    }

private:
    TObject* FSender;
    const TEvent<TObject*, short>& FEvent;
    int FLast = -1;
};

// The hourglass cursor for the life of the object; the cursor shown before comes back at its end,
// also when the work raises.
class THourGlass {
public:
    THourGlass() : FOld(Screen ? Screen->Cursor() : crDefault) {
        if (Screen) Screen->SetCursor(crHourGlass);
    }
    ~THourGlass() {
        if (Screen) Screen->SetCursor(FOld);
    }
    THourGlass(const THourGlass&) = delete;
    THourGlass& operator=(const THourGlass&) = delete;

private:
    TCursor FOld;
};

// The file replaced whole or not at all (through a temporary file); a failure raises the
// class library's file-creation error.
void WriteWholeFile(const String& FileName, const QByteArray& Bytes);

// Lines joined with CR LF after each, as UTF-16 little endian with a byte-order mark (Unicode) or
// in the ANSI code page.
QByteArray EncodeLines(const QStringList& Lines, bool Unicode);

// A text file's lines: a byte-order mark picks UTF-8 or UTF-16, otherwise the ANSI code page.
// Raises the class library's file-open error for a missing file.
QStringList ReadLines(const String& FileName);

// Leading blanks, a sign and digits; anything else ends the number (no digits: 0). Kept inside
// the int range.
int LenientInt(const String& Text);

} // namespace GridFiles
