#include "GridTypes.h"

#include "Controls.h"
#include "Graphics.h"
#include "SysUtils.h"

#include <algorithm>

namespace {

[[noreturn]] void ListIndexError(int Index) {
    throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
}

} // namespace

// ---- TIntList ----

TIntList::TIntList(int Col, int Row) : FCol(Col), FRow(Row) {}

void TIntList::CheckIndex(int Index) const {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
}

void TIntList::Changed() {
    if (Assigned(OnChange)) OnChange(this, FCol, FRow);
}

int TIntList::Add(int Value) {
    FItems.push_back(Value);
    Changed();
    return Count() - 1;
}

void TIntList::Insert(int Index, int Value) {
    if (Index < 0 || Index > Count()) ListIndexError(Index);
    FItems.insert(FItems.begin() + Index, Value);
}

void TIntList::Delete(int Index) {
    CheckIndex(Index);
    FItems.erase(FItems.begin() + Index);
    Changed();
}

int TIntList::GetInteger(int Index) const {
    CheckIndex(Index);
    return FItems[size_t(Index)];
}

void TIntList::SetInteger(int Index, int Value) {
    CheckIndex(Index);
    FItems[size_t(Index)] = Value;
    Changed();
}

int TIntList::IndexOf(int Value) const {
    auto it = std::find(FItems.begin(), FItems.end(), Value);
    return it == FItems.end() ? -1 : int(it - FItems.begin());
}

void TIntList::DeleteValue(int Value) {
    int i = IndexOf(Value);
    if (i >= 0) Delete(i);
}

void TIntList::Exchange(int Index1, int Index2) {
    CheckIndex(Index1);
    CheckIndex(Index2);
    std::swap(FItems[size_t(Index1)], FItems[size_t(Index2)]);
}

void TIntList::Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex) return;
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    int v = FItems[size_t(CurIndex)];
    FItems.erase(FItems.begin() + CurIndex);
    FItems.insert(FItems.begin() + NewIndex, v);
}

String TIntList::StrValue() const {
    String s;
    for (size_t i = 0; i < FItems.size(); ++i) {
        if (i > 0) s += QLatin1Char(',');
        s += QString::number(FItems[i]);
    }
    return s;
}

void TIntList::SetStrValue(const String& Value) {
    // Every part is converted before the list changes, so a text with a part that is no integer
    // raises and leaves the list (and its listeners) as they were instead of half replaced.
    std::vector<int> values;
    TStringList* parts = new TStringList;
    try {
        parts->SetCommaText(Value);
        for (int i = 0; i < parts->Count(); ++i) values.push_back(StrToInt(parts->Strings(i)));
    } catch (...) {
        TObject::Free(parts);
        throw;
    }
    TObject::Free(parts);
    FItems.clear();
    for (int v : values) Add(v);
}

// ---- TSortIndexList ----

namespace {

constexpr Cardinal DescendingBit = 0x80000000u;
constexpr Cardinal ColumnBits = 0x7FFFFFFFu;

} // namespace

void TSortIndexList::AddIndex(int ColumnIndex, bool Ascending) {
    Cardinal key = Cardinal(ColumnIndex) & ColumnBits;
    if (!Ascending) key |= DescendingBit;
    Add(int(key));
}

int TSortIndexList::FindIndex(int ColumnIndex) const {
    for (int i = 0; i < Count(); ++i)
        if ((Cardinal(FItems[size_t(i)]) & ColumnBits) == Cardinal(ColumnIndex)) return i;
    return -1;
}

void TSortIndexList::ToggleIndex(int ColumnIndex) {
    const int i = FindIndex(ColumnIndex);
    if (i >= 0) SetInteger(i, int(Cardinal(GetInteger(i)) ^ DescendingBit));
}

int TSortIndexList::SortColumns(int Index) const {
    return int(Cardinal(GetInteger(Index)) & ColumnBits);
}

void TSortIndexList::SetSortColumns(int Index, int Column) {
    const Cardinal key = (Cardinal(GetInteger(Index)) & DescendingBit) | (Cardinal(Column) & ColumnBits);
    SetInteger(Index, int(key));
}

bool TSortIndexList::SortDirections(int Index) const {
    return (Cardinal(GetInteger(Index)) & DescendingBit) == 0;
}

void TSortIndexList::SetSortDirections(int Index, bool Ascending) {
    Cardinal key = Cardinal(GetInteger(Index));
    key = Ascending ? (key & ColumnBits) : (key | DescendingBit);
    SetInteger(Index, int(key));
}

String TSortIndexList::SaveToString() const {
    String s;
    for (int i = 0; i < Count(); ++i) {
        const Cardinal key = Cardinal(FItems[size_t(i)]);
        if (i > 0) s += QLatin1Char(';');
        s += (key & DescendingBit) ? QLatin1Char('d') : QLatin1Char('u');
        s += QString::number(key & 0xFFFFu);
    }
    return s;
}

void TSortIndexList::LoadFromString(const String& S) {
    FItems.clear();
    String rest = S;
    while (!rest.isEmpty()) {
        const int p = int(rest.indexOf(QLatin1Char(';')));
        const String part = p < 0 ? rest : rest.left(p);
        rest = p < 0 ? String() : rest.mid(p + 1);
        if (part.size() < 2) continue;
        int value = 0, code = 0;
        Val(part.mid(1), value, code);
        // A negative number names no column (its bits would spill into the direction bit).
        if (value < 0) continue;
        AddIndex(value, part[0] == QLatin1Char('u'));
    }
}

// ---- TControlList ----

TControlList::~TControlList() {
    while (!FItems.empty()) RemoveControl(Count() - 1);
}

void TControlList::CheckIndex(int Index) const {
    if (Index < 0 || Index >= Count()) ListIndexError(Index);
}

void TControlList::AddControl(int X, int Y, TControl* AObject) {
    FItems.push_back(new TControlItem(X, Y, AObject));
}

int TControlList::ControlIndex(int X, int Y) const {
    for (int i = 0; i < Count(); ++i)
        if (FItems[size_t(i)]->X == X && FItems[size_t(i)]->Y == Y) return i;
    return -1;
}

TControlItem* TControlList::GetControl(int Index) const {
    CheckIndex(Index);
    return FItems[size_t(Index)];
}

bool TControlList::HasHandle(HWND Handle) const {
    for (TControlItem* item : FItems) {
        auto* win = dynamic_cast<TWinControl*>(item->Control);
        if (win && win->HandleAllocated() && win->Handle() == Handle) return true;
    }
    return false;
}

void TControlList::RemoveControl(int Index) {
    CheckIndex(Index);
    TControlItem* item = FItems[size_t(Index)];
    FItems.erase(FItems.begin() + Index);
    TObject::Free(item);
}

// ---- TFilePicture ----

void TFilePicture::SetFilename(const String& Value) {
    FFilename = Value;
    if (Value.isEmpty()) {
        FWidth = FHeight = 0;
        return;
    }
    TPicture* picture = new TPicture;
    try {
        picture->LoadFromFile(Value);
    } catch (...) {
        TObject::Free(picture);
        throw;
    }
    FWidth = picture->Width();
    FHeight = picture->Height();
    TObject::Free(picture);
}

void TFilePicture::DrawPicture(TCanvas* Canvas, const TRect& R) {
    if (!Canvas || FFilename.isEmpty()) return;
    TPicture* picture = new TPicture;
    try {
        picture->LoadFromFile(FFilename);
        if (picture->Graphic()) Canvas->StretchDraw(R, picture->Graphic());
    } catch (const Exception&) {
        // A file that went missing or broke since its name was set is not drawn.
    }
    TObject::Free(picture);
}

void TFilePicture::Assign(TPersistent* Source) {
    if (auto* src = dynamic_cast<TFilePicture*>(Source)) {
        FFilename = src->FFilename;
        FWidth = src->FWidth;
        FHeight = src->FHeight;
        return;
    }
    TPersistent::Assign(Source);
}

// ---- TFileStringList ----

void TFileStringList::Reset() {
    fp = 0;
    cache.clear();
}

void TFileStringList::ReadLn(String& S) {
    if (fp < 0 || fp >= Count()) ListIndexError(fp);
    S = Strings(fp);
    ++fp;
}

void TFileStringList::WriteLn(const String& S) {
    Add(cache + S);
    cache.clear();
}
