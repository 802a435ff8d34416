#include "GridTypes.h"

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
