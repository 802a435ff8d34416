#include "Classes.h"

#include "StandIn.h"
#include "SysUtils.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

TComponent::TComponent(TComponent* AOwner) {
    if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
    Destroying();
    // Tell everyone linked to us, then drop the links.
    while (!FFreeNotifies.empty()) {
        TComponent* c = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        c->RemoveNotification(this);
        c->Notification(this, opRemove);
    }
    DestroyComponents();
    if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::SetName(const String& NewName) {
    FName = NewName;
}

TComponent* TComponent::Components(int Index) const {
    if (Index < 0 || Index >= ComponentCount())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(Index));
    return FComponents[size_t(Index)];
}

int TComponent::ComponentIndex() const {
    if (!FOwner) return -1;
    auto it = std::find(FOwner->FComponents.begin(), FOwner->FComponents.end(), this);
    return it == FOwner->FComponents.end() ? -1 : int(it - FOwner->FComponents.begin());
}

TComponent* TComponent::FindComponent(const String& AName) const {
    if (AName.isEmpty()) return nullptr;
    for (TComponent* c : FComponents)
        if (c->FName.compare(AName, Qt::CaseInsensitive) == 0) return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent) {
    if (!AComponent || AComponent->FOwner == this) return;
    if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
    Insert(AComponent);
    if (HasState(csLoading)) {
        AComponent->SetComponentState(csLoading, true);
        AComponent->SetComponentState(csReading, true);
    }
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
    if (!AComponent || AComponent->FOwner != this) return;
    Notification(AComponent, opRemove);
    Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent) {
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
    if (AComponent->FHearsInsertions) ++FInsertionHearers;
}

void TComponent::Remove(TComponent* AComponent) {
    if (AComponent->FHearsInsertions) --FInsertionHearers;
    AComponent->FOwner = nullptr;
    auto it = std::find(FComponents.begin(), FComponents.end(), AComponent);
    if (it != FComponents.end()) FComponents.erase(it);
}

void TComponent::DestroyComponents() {
    while (!FComponents.empty()) {
        TComponent* c = FComponents.back();
        Remove(c);
        TObject::Free(c);
    }
}

void TComponent::Destroying() {
    if (HasState(csDestroying)) return;
    FComponentState.insert(csDestroying);
    for (TComponent* c : FComponents) c->Destroying();
}

void TComponent::FreeNotification(TComponent* AComponent) {
    if (!AComponent || AComponent == this) return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end())
        FFreeNotifies.push_back(AComponent);
    if (std::find(AComponent->FFreeNotifies.begin(), AComponent->FFreeNotifies.end(), this) ==
        AComponent->FFreeNotifies.end())
        AComponent->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
    if (!AComponent) return;
    RemoveNotification(AComponent);
    AComponent->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* AComponent) {
    auto it = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent);
    if (it != FFreeNotifies.end()) FFreeNotifies.erase(it);
}

void TComponent::SetHearsInsertions(bool Value) {
    if (Value == FHearsInsertions) return;
    FHearsInsertions = Value;
    if (FOwner) {
        if (Value)
            ++FOwner->FInsertionHearers;
        else
            --FOwner->FInsertionHearers;
    }
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove && AComponent) RemoveNotification(AComponent);
    if (Operation == opInsert && FInsertionHearers == 0) return;
    // Owned components hear of every removal, and of insertions when they asked to: last first,
    // by index, so that one that goes meanwhile is simply passed (no copy of the list: a window
    // of hundreds of controls hears this for each of them).
    for (size_t i = FComponents.size(); i-- > 0;) {
        if (i >= FComponents.size()) continue;
        TComponent* c = FComponents[i];
        if (c == AComponent) continue;
        if (Operation == opInsert && !c->FHearsInsertions) continue;
        c->Notification(AComponent, Operation);
    }
}

void TComponent::Loaded() {
    SetComponentState(csLoading, false);
}

void TComponent::SetComponentState(TComponentStateItem s, bool on) {
    if (on)
        FComponentState.insert(s);
    else
        FComponentState.erase(s);
}

void TComponent::BeginLoading() {
    SetComponentState(csLoading, true);
    SetComponentState(csReading, true);
    for (TComponent* c : FComponents) {
        c->SetComponentState(csLoading, true);
        c->SetComponentState(csReading, true);
    }
}

void TComponent::EndLoading() {
    std::vector<TComponent*> all(FComponents);
    for (TComponent* c : all) c->SetComponentState(csReading, false);
    SetComponentState(csReading, false);
    for (TComponent* c : all) c->Loaded();
    Loaded();
}

namespace {

const char* const kListIndexError = "List index out of bounds (%d)";
const char* const kSortedListError = "Operation not allowed on sorted list";
const char* const kDuplicateString = "String list does not allow duplicates";

// Stable merge sort of Items by Compare (> 0: the first goes after the second). Whatever the
// compare function answers, the sort only moves items around.
template <class T, class C> void MergeSort(std::vector<T>& Items, const C& Compare) {
    const size_t n = Items.size();
    if (n < 2) return;
    std::vector<T> tmp(n);
    for (size_t width = 1; width < n; width *= 2) {
        for (size_t lo = 0; lo < n; lo += 2 * width) {
            const size_t mid = std::min(lo + width, n), hi = std::min(lo + 2 * width, n);
            size_t a = lo, b = mid, k = lo;
            while (a < mid && b < hi) tmp[k++] = Compare(Items[a], Items[b]) > 0 ? Items[b++] : Items[a++];
            while (a < mid) tmp[k++] = Items[a++];
            while (b < hi) tmp[k++] = Items[b++];
        }
        Items.swap(tmp);
    }
}

} // namespace

// =============================================================================================
// TList
// =============================================================================================

TList::~TList() {
    Clear();
}

void TList::Error(const String& Msg, int Data) const {
    throw EListError(Format(Msg, Data));
}

void TList::CheckIndex(int Index) const {
    if (Index < 0 || Index >= Count()) Error(kListIndexError, Index);
}

void TList::Notify(void*, TListNotification) {}

int TList::Add(void* Item) {
    FList.push_back(Item);
    FCapacity = std::max(FCapacity, Count());
    if (Item) Notify(Item, lnAdded);
    return Count() - 1;
}

void TList::Insert(int Index, void* Item) {
    if (Index < 0 || Index > Count()) Error(kListIndexError, Index);
    FList.insert(FList.begin() + Index, Item);
    FCapacity = std::max(FCapacity, Count());
    if (Item) Notify(Item, lnAdded);
}

void TList::Delete(int Index) {
    CheckIndex(Index);
    void* item = FList[size_t(Index)];
    FList.erase(FList.begin() + Index);
    if (item) Notify(item, lnDeleted);
}

int TList::Remove(void* Item) {
    const int i = IndexOf(Item);
    if (i >= 0) Delete(i);
    return i;
}

void* TList::Extract(void* Item) {
    const int i = IndexOf(Item);
    if (i < 0) return nullptr;
    FList.erase(FList.begin() + i);
    Notify(Item, lnExtracted);
    return Item;
}

int TList::IndexOf(void* Item) const {
    auto it = std::find(FList.begin(), FList.end(), Item);
    return it == FList.end() ? -1 : int(it - FList.begin());
}

void* TList::Items(int Index) const {
    CheckIndex(Index);
    return FList[size_t(Index)];
}

void TList::SetItems(int Index, void* Item) {
    CheckIndex(Index);
    void* old = FList[size_t(Index)];
    if (old == Item) return;
    FList[size_t(Index)] = Item;
    if (old) Notify(old, lnDeleted);
    if (Item) Notify(Item, lnAdded);
}

void TList::SetCount(int NewCount) {
    if (NewCount < 0) Error("List count out of bounds (%d)", NewCount);
    if (NewCount > Count()) {
        FList.resize(size_t(NewCount), nullptr);
        FCapacity = std::max(FCapacity, NewCount);
    } else {
        for (int i = Count() - 1; i >= NewCount; --i) Delete(i);
    }
}

void TList::SetCapacity(int NewCapacity) {
    if (NewCapacity < Count()) Error("List capacity out of bounds (%d)", NewCapacity);
    FList.reserve(size_t(NewCapacity));
    FCapacity = NewCapacity;
}

void TList::Clear() {
    SetCount(0);
    FCapacity = 0;
}

void TList::Exchange(int Index1, int Index2) {
    CheckIndex(Index1);
    CheckIndex(Index2);
    std::swap(FList[size_t(Index1)], FList[size_t(Index2)]);
}

void TList::Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex) return;
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    void* item = FList[size_t(CurIndex)];
    FList.erase(FList.begin() + CurIndex);
    FList.insert(FList.begin() + NewIndex, item);
}

void TList::Sort(const TListSortCompare& Compare) {
    if (!Compare) return;
    MergeSort(FList, [&](void* a, void* b) { return Compare(a, b); });
}

void* TList::First() const {
    return Items(0);
}
void* TList::Last() const {
    return Items(Count() - 1);
}

void TList::Pack() {
    for (int i = Count() - 1; i >= 0; --i)
        if (!FList[size_t(i)]) FList.erase(FList.begin() + i);
}

void TList::Assign(TList* Source) {
    if (!Source || Source == this) return;
    Clear();
    for (void* p : Source->FList) Add(p);
}

TObjectList::~TObjectList() {
    Clear();
}

void TObjectList::Notify(void* Ptr, TListNotification Action) {
    if (FOwnsObjects && Action == lnDeleted) TObject::Free(static_cast<TObject*>(Ptr));
    TList::Notify(Ptr, Action);
}

// =============================================================================================
// Streams
// =============================================================================================

Int64 TStream::Seek(Int64 Offset, Word Origin) {
    if (Origin > soFromEnd) throw EStreamError(QStringLiteral("Invalid stream origin (%1)").arg(Origin));
    return Seek(Offset, TSeekOrigin(Origin));
}

Int64 TStream::Position() {
    return Seek(Int64(0), soCurrent);
}
void TStream::SetPosition(Int64 Pos) {
    Seek(Pos, soBeginning);
}

Int64 TStream::Size() {
    const Int64 pos = Seek(Int64(0), soCurrent);
    const Int64 size = Seek(Int64(0), soEnd);
    Seek(pos, soBeginning);
    return size;
}

void TStream::SetSize(Int64) {}

void TStream::ReadBuffer(void* Buffer, Int64 Count) {
    if (Count > 0 && Read(Buffer, Count) != Count) throw EReadError(QStringLiteral("Stream read error"));
}

void TStream::WriteBuffer(const void* Buffer, Int64 Count) {
    if (Count > 0 && Write(Buffer, Count) != Count) throw EWriteError(QStringLiteral("Stream write error"));
}

Int64 TStream::CopyFrom(TStream* Source, Int64 Count) {
    if (!Source) return 0;
    if (Count <= 0) {
        Source->SetPosition(0);
        Count = Source->Size();
    }
    const Int64 total = Count;
    std::vector<char> buf(size_t(std::min<Int64>(Count, 0x10000)) + 1);
    while (Count > 0) {
        const Int64 n = std::min<Int64>(Count, Int64(buf.size()));
        Source->ReadBuffer(buf.data(), n);
        WriteBuffer(buf.data(), n);
        Count -= n;
    }
    return total;
}

QByteArray TStream::ReadAll() {
    const Int64 n = Size() - Position();
    QByteArray bytes;
    if (n <= 0) return bytes;
    bytes.resize(n);
    const Int64 got = Read(bytes.data(), n);
    bytes.resize(std::max<Int64>(got, 0));
    return bytes;
}

// ---- TMemoryStream --------------------------------------------------------------------------

Int64 TMemoryStream::Read(void* Buffer, Int64 Count) {
    if (FPosition < 0 || Count <= 0) return 0;
    const Int64 n = std::min<Int64>(Count, FData.size() - FPosition);
    if (n <= 0) return 0;
    std::memcpy(Buffer, FData.constData() + FPosition, size_t(n));
    FPosition += n;
    return n;
}

Int64 TMemoryStream::Write(const void* Buffer, Int64 Count) {
    if (FPosition < 0 || Count <= 0) return 0;
    const Int64 end = FPosition + Count;
    if (end > FData.size()) SetSize(end);
    std::memcpy(FData.data() + FPosition, Buffer, size_t(Count));
    FPosition = end;
    return Count;
}

Int64 TMemoryStream::Seek(Int64 Offset, TSeekOrigin Origin) {
    switch (Origin) {
        case soBeginning: FPosition = Offset; break;
        case soCurrent: FPosition += Offset; break;
        case soEnd: FPosition = FData.size() + Offset; break;
    }
    return FPosition;
}

void TMemoryStream::SetSize(Int64 NewSize) {
    if (NewSize < 0) NewSize = 0;
    const Int64 old = FData.size();
    FData.resize(NewSize);
    if (NewSize > old) std::memset(FData.data() + old, 0, size_t(NewSize - old));
    if (FPosition > NewSize) FPosition = NewSize;
}

void TMemoryStream::Clear() {
    FData.clear();
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* Stream) {
    Stream->SetPosition(0);
    const Int64 n = Stream->Size();
    QByteArray bytes;
    bytes.resize(n);
    Stream->ReadBuffer(bytes.data(), n);
    FData = bytes;
    FPosition = 0;
}

void TMemoryStream::LoadFromFile(const String& FileName) {
    TFileStream f(FileName, fmOpenRead);
    LoadFromStream(&f);
}

void TMemoryStream::SaveToStream(TStream* Stream) {
    Stream->WriteBuffer(FData.constData(), FData.size());
}

namespace {

// Writes a whole file or nothing: the old file stays until the new one is complete.
void SaveBytes(const String& FileName, const QByteArray& Bytes) {
    QSaveFile f(NativePath(FileName));
    if (!f.open(QIODevice::WriteOnly))
        throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, f.errorString()));
    // A write the file system cut short (a full disk, a size limit) can leave the buffer flushed
    // in part without an error: the temporary file's size tells, and then nothing is committed.
    if (f.write(Bytes) != Bytes.size() || !f.flush() || f.size() != Bytes.size() || !f.commit())
        throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, f.errorString()));
}

} // namespace

void TMemoryStream::SaveToFile(const String& FileName) {
    SaveBytes(FileName, FData);
}

// ---- TFileStream ----------------------------------------------------------------------------

TFileStream::TFileStream(const String& FileName, Word Mode) : FFileName(FileName) {
    // Files are not locked against other openers here (POSIX has no share modes).
    const Word share = Mode & 0x00F0;
    if (share == fmShareExclusive || share == fmShareDenyWrite || share == fmShareDenyRead)
        PlatformStandIn("TFileStream share modes (fmShareExclusive, fmShareDenyWrite, fmShareDenyRead)");
    const QByteArray path = QFile::encodeName(NativePath(FileName));
    const bool create = (Mode & 0xFF00) == fmCreate;
    int flags = O_CLOEXEC;
    if (create)
        flags |= O_RDWR | O_CREAT | O_TRUNC;
    else
        flags |= (Mode & 3) == fmOpenWrite ? O_WRONLY : ((Mode & 3) == fmOpenReadWrite ? O_RDWR : O_RDONLY);
    int err = 0;
    if (FileName.isEmpty()) {
        err = ENOENT;
    } else {
        FHandle = ::open(path.constData(), flags, 0666);
        if (FHandle < 0) {
            err = errno;
        } else {
            struct stat st;
            if (::fstat(FHandle, &st) == 0 && S_ISDIR(st.st_mode)) {
                err = EISDIR;
                ::close(FHandle);
                FHandle = -1;
            }
        }
    }
    if (FHandle < 0) {
        const String reason = SysErrorMessage(err);
        if (create)
            throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, reason));
        throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, reason));
    }
}

TFileStream::~TFileStream() {
    if (FHandle >= 0) ::close(FHandle);
}

Int64 TFileStream::Read(void* Buffer, Int64 Count) {
    Int64 done = 0;
    while (done < Count) {
        const ssize_t n = ::read(FHandle, static_cast<char*>(Buffer) + done, size_t(Count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += n;
    }
    return done;
}

Int64 TFileStream::Write(const void* Buffer, Int64 Count) {
    Int64 done = 0;
    while (done < Count) {
        const ssize_t n = ::write(FHandle, static_cast<const char*>(Buffer) + done, size_t(Count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += n;
    }
    return done;
}

Int64 TFileStream::Seek(Int64 Offset, TSeekOrigin Origin) {
    const int whence = Origin == soBeginning ? SEEK_SET : (Origin == soCurrent ? SEEK_CUR : SEEK_END);
    const off_t r = ::lseek(FHandle, off_t(Offset), whence);
    return r < 0 ? -1 : Int64(r);
}

Int64 TFileStream::Size() {
    struct stat st;
    return ::fstat(FHandle, &st) == 0 ? Int64(st.st_size) : -1;
}

void TFileStream::SetSize(Int64 NewSize) {
    if (::ftruncate(FHandle, off_t(std::max<Int64>(NewSize, 0))) != 0)
        throw EWriteError(QStringLiteral("Stream write error"));
    if (Position() > NewSize) SetPosition(NewSize);
}

// ---- text encodings -------------------------------------------------------------------------

namespace {

QByteArray EncodeText(const String& S, TEncoding Encoding, bool WithBom) {
    QByteArray out;
    switch (Encoding) {
        case TEncoding::ANSI: return ToWin1252(S);
        case TEncoding::UTF8:
            if (WithBom) out = QByteArray("\xEF\xBB\xBF", 3);
            return out + S.toUtf8();
        case TEncoding::Unicode:
        case TEncoding::BigEndianUnicode: {
            const bool be = Encoding == TEncoding::BigEndianUnicode;
            if (WithBom) out = be ? QByteArray("\xFE\xFF", 2) : QByteArray("\xFF\xFE", 2);
            out.reserve(out.size() + S.size() * 2);
            for (QChar c : S) {
                const char hi = char(c.unicode() >> 8), lo = char(c.unicode() & 0xFF);
                out += be ? hi : lo;
                out += be ? lo : hi;
            }
            return out;
        }
    }
    return out;
}

String DecodeText(const QByteArray& Bytes, TEncoding Encoding) {
    switch (Encoding) {
        case TEncoding::ANSI: return FromWin1252(Bytes);
        case TEncoding::UTF8: return QString::fromUtf8(Bytes);
        case TEncoding::Unicode:
        case TEncoding::BigEndianUnicode: {
            const bool be = Encoding == TEncoding::BigEndianUnicode;
            String s;
            s.resize(Bytes.size() / 2); // an odd last byte is not a character
            for (qsizetype i = 0; i < s.size(); ++i) {
                const unsigned char a = static_cast<unsigned char>(Bytes[2 * i]);
                const unsigned char b = static_cast<unsigned char>(Bytes[2 * i + 1]);
                s[i] = QChar(be ? char16_t(a << 8 | b) : char16_t(b << 8 | a));
            }
            return s;
        }
    }
    return String();
}

// The encoding a byte-order mark announces, and its length (0 when there is none).
int DetectBom(const QByteArray& Bytes, TEncoding& Encoding) {
    if (Bytes.startsWith("\xEF\xBB\xBF")) {
        Encoding = TEncoding::UTF8;
        return 3;
    }
    if (Bytes.startsWith("\xFF\xFE")) {
        Encoding = TEncoding::Unicode;
        return 2;
    }
    if (Bytes.startsWith("\xFE\xFF")) {
        Encoding = TEncoding::BigEndianUnicode;
        return 2;
    }
    return 0;
}

} // namespace

// ---- TStringStream --------------------------------------------------------------------------

TStringStream::TStringStream(const String& AString, TEncoding AEncoding) : FEncoding(AEncoding) {
    FData = EncodeText(AString, FEncoding, false);
    FPosition = 0;
}

String TStringStream::DataString() const {
    return DecodeText(FData, FEncoding);
}

String TStringStream::ReadString(Int64 Count) {
    if (Count < 0) Count = Size() - Position();
    QByteArray bytes;
    bytes.resize(std::max<Int64>(0, std::min<Int64>(Count, Size() - Position())));
    bytes.resize(Read(bytes.data(), bytes.size()));
    return DecodeText(bytes, FEncoding);
}

void TStringStream::WriteString(const String& AString) {
    WriteBuffer(EncodeText(AString, FEncoding, false));
}

namespace {

// Runs Body between Target's BeginUpdate and EndUpdate; the update ends also when Body throws.
template <class TUpdatable, class TBody> void InUpdate(TUpdatable* Target, TBody&& Body) {
    Target->BeginUpdate();
    try {
        Body();
    } catch (...) {
        Target->EndUpdate();
        throw;
    }
    Target->EndUpdate();
}

} // namespace

// =============================================================================================
// TStrings
// =============================================================================================

void TStrings::Error(const String& Msg, int Data) const {
    throw EStringListError(Format(Msg, Data));
}

void TStrings::SetStrings(int Index, const String& S) {
    TObject* obj = Objects(Index);
    InUpdate(this, [&] {
        Delete(Index);
        InsertObject(Index, S, obj);
    });
}

TObject* TStrings::Objects(int) const {
    return nullptr;
}
void TStrings::SetObjects(int, TObject*) {}

int TStrings::Add(const String& S) {
    const int r = Count();
    Insert(r, S);
    return r;
}

int TStrings::AddObject(const String& S, TObject* AObject) {
    const int r = Add(S);
    SetObjects(r, AObject);
    return r;
}

int TStrings::AddPair(const String& Name, const String& Value) {
    return Add(Name + NameValueSeparator() + Value);
}

void TStrings::InsertObject(int Index, const String& S, TObject* AObject) {
    Insert(Index, S);
    SetObjects(Index, AObject);
}

void TStrings::AddStrings(TStrings* Strings) {
    if (!Strings) return;
    // Copy first: Strings may be this list.
    const int n = Strings->Count();
    std::vector<std::pair<String, TObject*>> items;
    items.reserve(size_t(n));
    for (int i = 0; i < n; ++i) items.emplace_back(Strings->Strings(i), Strings->Objects(i));
    InUpdate(this, [&] {
        for (auto& [s, o] : items) AddObject(s, o);
    });
}

void TStrings::AddStrings(const QStringList& Strings) {
    InUpdate(this, [&] {
        for (const String& s : Strings) Add(s);
    });
}

void TStrings::Exchange(int Index1, int Index2) {
    InUpdate(this, [&] {
        const String s1 = Strings(Index1), s2 = Strings(Index2);
        TObject* o1 = Objects(Index1);
        TObject* o2 = Objects(Index2);
        SetStrings(Index1, s2);
        SetObjects(Index1, o2);
        SetStrings(Index2, s1);
        SetObjects(Index2, o1);
    });
}

void TStrings::Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex) return;
    InUpdate(this, [&] {
        const String s = Strings(CurIndex);
        TObject* o = Objects(CurIndex);
        if (NewIndex < 0 || NewIndex >= Count()) Error(kListIndexError, NewIndex);
        Delete(CurIndex);
        InsertObject(NewIndex, s, o);
    });
}

int TStrings::CompareStrings(const String& S1, const String& S2) const {
    return AnsiCompareText(S1, S2);
}

int TStrings::IndexOf(const String& S) const {
    for (int i = 0; i < Count(); ++i)
        if (CompareStrings(Strings(i), S) == 0) return i;
    return -1;
}

int TStrings::IndexOfObject(TObject* AObject) const {
    for (int i = 0; i < Count(); ++i)
        if (Objects(i) == AObject) return i;
    return -1;
}

int TStrings::IndexOfName(const String& Name) const {
    for (int i = 0; i < Count(); ++i) {
        const String s = Strings(i);
        const int p = int(s.indexOf(FNameValueSeparator));
        if (p >= 0 && CompareStrings(s.left(p), Name) == 0) return i;
    }
    return -1;
}

void TStrings::Assign(TPersistent* Source) {
    if (auto* src = dynamic_cast<TStrings*>(Source)) {
        if (src == this) return;
        InUpdate(this, [&] {
            Clear();
            FDelimiter = src->FDelimiter;
            FQuoteChar = src->FQuoteChar;
            FNameValueSeparator = src->FNameValueSeparator;
            FStrictDelimiter = src->FStrictDelimiter;
            FLineBreak = src->FLineBreak;
            AddStrings(src);
        });
        return;
    }
    TPersistent::Assign(Source);
}

void TStrings::AssignTo(TPersistent* Dest) {
    TPersistent::AssignTo(Dest);
}

bool TStrings::Equals(TStrings* Strings) const {
    if (!Strings) return false;
    if (Strings->Count() != Count()) return false;
    for (int i = 0; i < Count(); ++i)
        if (Strings->Strings(i) != this->Strings(i)) return false;
    return true;
}

String TStrings::Names(int Index) const {
    const String s = Strings(Index);
    const int p = int(s.indexOf(FNameValueSeparator));
    return p >= 0 ? s.left(p) : String();
}

String TStrings::Values(const String& Name) const {
    const int i = IndexOfName(Name);
    return i >= 0 ? ValueFromIndex(i) : String();
}

void TStrings::SetValues(const String& Name, const String& Value) {
    const int i = IndexOfName(Name);
    if (!Value.isEmpty()) {
        if (i < 0)
            Add(Name + FNameValueSeparator + Value);
        else
            SetStrings(i, Name + FNameValueSeparator + Value);
    } else if (i >= 0) {
        Delete(i);
    }
}

String TStrings::ValueFromIndex(int Index) const {
    if (Index < 0) return String();
    const String s = Strings(Index);
    const int p = int(s.indexOf(FNameValueSeparator));
    return p >= 0 ? s.mid(p + 1) : String();
}

void TStrings::SetValueFromIndex(int Index, const String& Value) {
    if (!Value.isEmpty()) {
        if (Index < 0)
            Add(FNameValueSeparator + Value);
        else
            SetStrings(Index, Names(Index) + FNameValueSeparator + Value);
    } else if (Index >= 0) {
        Delete(Index);
    }
}

String TStrings::Text() const {
    String r;
    for (int i = 0; i < Count(); ++i) r += Strings(i) + FLineBreak;
    return r;
}

void TStrings::SetText(const String& Value) {
    InUpdate(this, [&] {
        Clear();
        const int n = int(Value.size());
        int start = 0;
        for (int i = 0; i < n; ++i) {
            const QChar c = Value[i];
            if (c == u'\r' || c == u'\n') {
                Add(Value.mid(start, i - start));
                if (c == u'\r' && i + 1 < n && Value[i + 1] == u'\n') ++i;
                start = i + 1;
            }
        }
        if (start < n) Add(Value.mid(start));
    });
}

String TStrings::DelimitedText() const {
    const int n = Count();
    if (n == 1 && Strings(0).isEmpty()) return String(2, FQuoteChar);
    String r;
    for (int i = 0; i < n; ++i) {
        String s = Strings(i);
        bool quote = false;
        for (QChar c : s)
            if (c == QChar(0) || c == FQuoteChar || c == FDelimiter || (!FStrictDelimiter && c <= u' ')) {
                quote = true;
                break;
            }
        if (quote) s = AnsiQuotedStr(s, FQuoteChar);
        if (i > 0) r += FDelimiter;
        r += s;
    }
    return r;
}

void TStrings::SetDelimitedText(const String& Value) {
    auto blank = [](QChar c) { return c.unicode() >= 1 && c <= u' '; };
    InUpdate(this, [&] {
        Clear();
        const int n = int(Value.size());
        int p = 0;
        if (!FStrictDelimiter)
            while (p < n && blank(Value[p])) ++p;
        while (p < n) {
            String s;
            if (Value[p] == FQuoteChar) {
                String rest = Value.mid(p);
                s = AnsiExtractQuotedStr(rest, FQuoteChar);
                p = n - int(rest.size());
            } else {
                const int p1 = p;
                while (p < n && ((!FStrictDelimiter && Value[p] > u' ') || FStrictDelimiter) &&
                       Value[p] != FDelimiter)
                    ++p;
                s = Value.mid(p1, p - p1);
            }
            Add(s);
            if (!FStrictDelimiter)
                while (p < n && blank(Value[p])) ++p;
            if (p < n && Value[p] == FDelimiter) {
                if (p + 1 >= n) Add(String());
                do {
                    ++p;
                } while (p < n && !FStrictDelimiter && blank(Value[p]));
            }
        }
    });
}

String TStrings::CommaText() const {
    auto* self = const_cast<TStrings*>(this);
    const Char d = FDelimiter, q = FQuoteChar;
    self->FDelimiter = u',';
    self->FQuoteChar = u'"';
    String r = DelimitedText();
    self->FDelimiter = d;
    self->FQuoteChar = q;
    return r;
}

void TStrings::SetCommaText(const String& Value) {
    const Char d = FDelimiter, q = FQuoteChar;
    FDelimiter = u',';
    FQuoteChar = u'"';
    try {
        SetDelimitedText(Value);
    } catch (...) {
        FDelimiter = d;
        FQuoteChar = q;
        throw;
    }
    FDelimiter = d;
    FQuoteChar = q;
}

void TStrings::BeginUpdate() {
    if (FUpdateCount++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
    if (FUpdateCount <= 0) return;
    if (--FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::SetUpdateState(bool) {}

void TStrings::LoadFromBytes(const QByteArray& Bytes, bool Detect, TEncoding Encoding) {
    TEncoding found = Encoding;
    const int bom = DetectBom(Bytes, found);
    String text;
    if (Detect)
        text = DecodeText(Bytes.mid(bom), bom ? found : TEncoding::ANSI);
    else
        text = DecodeText(Bytes.mid(bom && found == Encoding ? bom : 0), Encoding);
    SetText(text);
}

void TStrings::LoadFromFile(const String& FileName) {
    TFileStream f(FileName, fmOpenRead);
    LoadFromStream(&f);
}

void TStrings::LoadFromFile(const String& FileName, TEncoding Encoding) {
    TFileStream f(FileName, fmOpenRead);
    LoadFromStream(&f, Encoding);
}

void TStrings::LoadFromStream(TStream* Stream) {
    LoadFromBytes(Stream->ReadAll(), true, TEncoding::ANSI);
}
void TStrings::LoadFromStream(TStream* Stream, TEncoding Encoding) {
    LoadFromBytes(Stream->ReadAll(), false, Encoding);
}

void TStrings::SaveToFile(const String& FileName) {
    SaveToFile(FileName, TEncoding::ANSI);
}
void TStrings::SaveToFile(const String& FileName, TEncoding Encoding) {
    SaveBytes(FileName, EncodeText(Text(), Encoding, true));
}

void TStrings::SaveToStream(TStream* Stream) {
    SaveToStream(Stream, TEncoding::ANSI);
}
void TStrings::SaveToStream(TStream* Stream, TEncoding Encoding) {
    Stream->WriteBuffer(EncodeText(Text(), Encoding, true));
}

QStringList TStrings::ToStringList() const {
    QStringList r;
    r.reserve(Count());
    for (int i = 0; i < Count(); ++i) r << Strings(i);
    return r;
}

// =============================================================================================
// TStringList
// =============================================================================================

TStringList::~TStringList() {
    OnChange = nullptr;
    OnChanging = nullptr;
    if (FOwnsObjects)
        for (TStringItem& it : FList) TObject::Free(std::exchange(it.FObject, nullptr));
}

void TStringList::CheckIndex(int Index) const {
    if (Index < 0 || Index >= Count()) Error(kListIndexError, Index);
}

void TStringList::Changed() {
    if (UpdateCount() == 0) {
        if (Assigned(OnChange)) OnChange(this);
    } else {
        FChangedInUpdate = true;
    }
}

void TStringList::Changing() {
    if (UpdateCount() > 0) {
        if (FChangingSent) return;
        FChangingSent = true;
    }
    if (Assigned(OnChanging)) OnChanging(this);
}

void TStringList::SetUpdateState(bool Updating) {
    if (Updating) {
        FChangedInUpdate = false;
        FChangingSent = false;
    } else if (FChangedInUpdate) {
        FChangedInUpdate = false;
        FChangingSent = false;
        if (Assigned(OnChange)) OnChange(this);
    }
}

int TStringList::CompareStrings(const String& S1, const String& S2) const {
    return FCaseSensitive ? AnsiCompareStr(S1, S2) : AnsiCompareText(S1, S2);
}

String TStringList::Strings(int Index) const {
    CheckIndex(Index);
    return FList[size_t(Index)].FString;
}

void TStringList::SetStrings(int Index, const String& S) {
    if (FSorted) Error(kSortedListError, 0);
    CheckIndex(Index);
    Changing();
    FList[size_t(Index)].FString = S;
    Changed();
}

TObject* TStringList::Objects(int Index) const {
    CheckIndex(Index);
    return FList[size_t(Index)].FObject;
}

void TStringList::SetObjects(int Index, TObject* AObject) {
    CheckIndex(Index);
    Changing();
    FList[size_t(Index)].FObject = AObject;
    Changed();
}

int TStringList::Add(const String& S) {
    return AddObject(S, nullptr);
}

int TStringList::AddObject(const String& S, TObject* AObject) {
    int index = Count();
    if (FSorted && Find(S, index)) {
        switch (FDuplicates) {
            case dupIgnore: return index;
            case dupError: Error(kDuplicateString, 0);
            case dupAccept: break;
        }
    }
    InsertItem(index, S, AObject);
    return index;
}

void TStringList::Insert(int Index, const String& S) {
    InsertObject(Index, S, nullptr);
}

void TStringList::InsertObject(int Index, const String& S, TObject* AObject) {
    if (FSorted) Error(kSortedListError, 0);
    if (Index < 0 || Index > Count()) Error(kListIndexError, Index);
    InsertItem(Index, S, AObject);
}

void TStringList::InsertItem(int Index, const String& S, TObject* AObject) {
    Changing();
    FList.insert(FList.begin() + Index, TStringItem{S, AObject});
    Changed();
}

void TStringList::Delete(int Index) {
    CheckIndex(Index);
    Changing();
    TObject* obj = FList[size_t(Index)].FObject;
    FList.erase(FList.begin() + Index);
    if (FOwnsObjects) TObject::Free(obj);
    Changed();
}

void TStringList::Clear() {
    if (FList.empty()) return;
    Changing();
    std::vector<TStringItem> old;
    old.swap(FList);
    if (FOwnsObjects)
        for (TStringItem& it : old) TObject::Free(it.FObject);
    Changed();
}

void TStringList::Exchange(int Index1, int Index2) {
    // Swapping two strings of a sorted list would break its order (and its searches).
    if (FSorted) Error(kSortedListError, 0);
    CheckIndex(Index1);
    CheckIndex(Index2);
    if (Index1 == Index2) return;
    Changing();
    std::swap(FList[size_t(Index1)], FList[size_t(Index2)]);
    Changed();
}

void TStringList::Move(int CurIndex, int NewIndex) {
    if (FSorted) Error(kSortedListError, 0);
    CheckIndex(CurIndex);
    CheckIndex(NewIndex);
    if (CurIndex == NewIndex) return;
    // Moved as a whole: the object is not freed on the way, even when the list owns it.
    Changing();
    TStringItem item = FList[size_t(CurIndex)];
    FList.erase(FList.begin() + CurIndex);
    FList.insert(FList.begin() + NewIndex, item);
    Changed();
}

void TStringList::SetText(const String& Value) {
    TStrings::SetText(Value);
}

bool TStringList::Find(const String& S, int& Index) const {
    if (!FSorted) {
        for (int i = 0; i < Count(); ++i)
            if (CompareStrings(FList[size_t(i)].FString, S) == 0) {
                Index = i;
                return true;
            }
        Index = Count();
        return false;
    }
    int lo = 0, hi = Count();
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (CompareStrings(FList[size_t(mid)].FString, S) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    Index = lo;
    return lo < Count() && CompareStrings(FList[size_t(lo)].FString, S) == 0;
}

int TStringList::IndexOf(const String& S) const {
    int i;
    return Find(S, i) ? i : -1;
}

void TStringList::SortItems(const std::function<int(int, int)>& Compare) {
    if (Count() < 2) return;
    std::vector<int> order(FList.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = int(i);
    MergeSort(order, Compare);
    std::vector<TStringItem> sorted;
    sorted.reserve(FList.size());
    for (int i : order) sorted.push_back(FList[size_t(i)]);
    Changing();
    FList.swap(sorted);
    Changed();
}

void TStringList::Sort() {
    if (FSorted) return;
    SortItems(
        [this](int a, int b) { return CompareStrings(FList[size_t(a)].FString, FList[size_t(b)].FString); });
}

void TStringList::CustomSort(const TStringListSortCompare& Compare) {
    if (FSorted || !Compare) return;
    SortItems([this, &Compare](int a, int b) { return Compare(this, a, b); });
}

void TStringList::SetSorted(bool Value) {
    if (Value == FSorted) return;
    if (Value) Sort();
    FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
    if (Value == FCaseSensitive) return;
    FCaseSensitive = Value;
    if (FSorted)
        SortItems([this](int a, int b) {
            return CompareStrings(FList[size_t(a)].FString, FList[size_t(b)].FString);
        });
}

// =============================================================================================
// Collections
// =============================================================================================

TCollectionItem::TCollectionItem(TCollection* Collection) {
    SetCollection(Collection);
}

TCollectionItem::~TCollectionItem() {
    SetCollection(nullptr);
}

void TCollectionItem::BeforeDestruction() {
    SetCollection(nullptr);
}

void TCollectionItem::SetCollection(TCollection* Value) {
    if (Value == FCollection) return;
    if (FCollection) FCollection->RemoveItem(this);
    if (Value) Value->InsertItem(this);
}

int TCollectionItem::Index() const {
    if (!FCollection) return -1;
    auto& items = FCollection->FItems;
    auto it = std::find(items.begin(), items.end(), this);
    return it == items.end() ? -1 : int(it - items.begin());
}

void TCollectionItem::SetIndex(int Value) {
    const int cur = Index();
    if (cur < 0 || cur == Value) return;
    FCollection->CheckIndex(Value);
    auto& items = FCollection->FItems;
    items.erase(items.begin() + cur);
    items.insert(items.begin() + Value, this);
    Changed(true);
}

void TCollectionItem::Changed(bool AllItems) {
    if (FCollection && FCollection->FUpdateCount == 0) FCollection->Update(AllItems ? nullptr : this);
}

TPersistent* TCollectionItem::GetOwner() {
    return FCollection;
}

TCollection::TCollection(TCollectionItemClass ItemClass) : FItemClass(std::move(ItemClass)) {}

TCollection::~TCollection() {
    FUpdateCount = 1;
    OnUpdate = nullptr;
    while (!FItems.empty()) TObject::Free(FItems.back());
}

void TCollection::CheckIndex(int Index) const {
    if (Index < 0 || Index >= Count()) throw EListError(Format(kListIndexError, Index));
}

TCollectionItem* TCollection::Add() {
    if (!FItemClass) throw EInvalidOperation(QStringLiteral("Collection has no item class"));
    TCollectionItem* item = FItemClass(this);
    if (item && item->Collection() != this) item->SetCollection(this);
    return item;
}

TCollectionItem* TCollection::Insert(int Index) {
    if (Index < 0 || Index > Count()) throw EListError(Format(kListIndexError, Index));
    TCollectionItem* item = Add();
    item->SetIndex(Index);
    return item;
}

void TCollection::Delete(int Index) {
    CheckIndex(Index);
    TCollectionItem* item = FItems[size_t(Index)];
    Notify(item, cnDeleting);
    TObject::Free(item);
}

void TCollection::Clear() {
    if (FItems.empty()) return;
    InUpdate(this, [&] {
        while (!FItems.empty()) TObject::Free(FItems.back());
    });
}

TCollectionItem* TCollection::Items(int Index) const {
    CheckIndex(Index);
    return FItems[size_t(Index)];
}

void TCollection::SetItems(int Index, TCollectionItem* Value) {
    Items(Index)->Assign(Value);
}

TCollectionItem* TCollection::FindItemID(int ID) const {
    for (TCollectionItem* it : FItems)
        if (it->FID == ID) return it;
    return nullptr;
}

void TCollection::Assign(TPersistent* Source) {
    if (auto* src = dynamic_cast<TCollection*>(Source)) {
        if (src == this) return;
        InUpdate(this, [&] {
            Clear();
            for (TCollectionItem* it : src->FItems) Add()->Assign(it);
        });
        return;
    }
    TPersistent::Assign(Source);
}

void TCollection::BeginUpdate() {
    ++FUpdateCount;
}

void TCollection::EndUpdate() {
    if (FUpdateCount <= 0) return;
    --FUpdateCount;
    Changed();
}

void TCollection::Changed() {
    if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::Update(TCollectionItem* Item) {
    if (Assigned(OnUpdate)) OnUpdate(this, Item);
}

void TCollection::Notify(TCollectionItem*, TCollectionNotification) {}

void TCollection::InsertItem(TCollectionItem* Item) {
    FItems.push_back(Item);
    Item->FCollection = this;
    Item->FID = FNextID++;
    Notify(Item, cnAdded);
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item) {
    Notify(Item, cnExtracting);
    auto it = std::find(FItems.begin(), FItems.end(), Item);
    if (it != FItems.end()) FItems.erase(it);
    Item->FCollection = nullptr;
    Changed();
}

// =============================================================================================
// Threads
// =============================================================================================

namespace {

struct TSyncRequest {
    std::function<void()> Method;
    std::exception_ptr Error;
    bool Done = false;
};

// One lock and one condition for the synchronised-call queue and the ends of threads: a waiter
// wakes when a call is queued or done, or a thread finished.
std::mutex gSyncLock;
std::condition_variable gSyncSignal;
std::deque<TSyncRequest*> gSyncQueue;
// Static initialisation runs on the main thread.
const std::thread::id gMainThreadId = std::this_thread::get_id();
thread_local TThread* tCurrentThread = nullptr;

} // namespace

bool IsMainThread() {
    if (QCoreApplication* app = QCoreApplication::instance())
        return QThread::currentThread() == app->thread();
    return std::this_thread::get_id() == gMainThreadId;
}

bool CheckSynchronize(int Timeout) {
    if (!IsMainThread())
        throw EThread(QStringLiteral("CheckSynchronize called from a thread other than the main thread"));
    std::unique_lock<std::mutex> lk(gSyncLock);
    if (gSyncQueue.empty() && Timeout > 0)
        gSyncSignal.wait_for(lk, std::chrono::milliseconds(Timeout), [] { return !gSyncQueue.empty(); });
    bool ran = false;
    while (!gSyncQueue.empty()) {
        TSyncRequest* r = gSyncQueue.front();
        gSyncQueue.pop_front();
        lk.unlock();
        try {
            r->Method();
        } catch (...) {
            r->Error = std::current_exception();
        }
        lk.lock();
        r->Done = true;
        ran = true;
        gSyncSignal.notify_all();
    }
    return ran;
}

TThread::TThread(bool CreateSuspended) {
    if (CreateSuspended) {
        FSuspended = true;
        return;
    }
    // Execute may only run once the derived object is complete: start from the event loop (or at
    // the first Resume/WaitFor).
    FPendingStart = std::make_shared<std::atomic<bool>>(true);
    if (IsMainThread() && QCoreApplication::instance()) {
        auto token = FPendingStart;
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [this, token] {
                if (token->exchange(false)) StartThread();
            },
            Qt::QueuedConnection);
    }
}

TThread::~TThread() {
    StopAndWait();
    std::lock_guard<std::mutex> g(FLock);
    if (FThread.joinable()) {
        if (FThread.get_id() == std::this_thread::get_id())
            FThread.detach(); // freeing itself at its end
        else
            FThread.join();
    }
}

void TThread::BeforeDestruction() {
    StopAndWait();
}

void TThread::StartThread() {
    {
        std::lock_guard<std::mutex> g(FLock);
        if (FStarted) return;
        FStarted = true;
        FSuspended = false;
        if (!Terminated() || !IsMainThread()) {
            // The new thread takes FLock first, so it runs only once FThread is assigned.
            FThread = std::thread([this] {
                { std::lock_guard<std::mutex> wait(FLock); }
                Run();
            });
            return;
        }
    }
    // Terminated before it ever ran (a control ending the thread it made suspended): it would
    // only end, which needs no OS thread.
    Finish();
}

void TThread::Run() {
    tCurrentThread = this;
    if (!Terminated()) {
        try {
            Execute();
        } catch (...) {
            FFatalException = std::current_exception();
        }
    }
    Finish();
    tCurrentThread = nullptr;
}

// The end of the thread procedure: OnTerminate, the finished mark, FreeOnTerminate.
void TThread::Finish() {
    try {
        DoTerminate();
    } catch (...) {
        if (!FFatalException) FFatalException = std::current_exception();
    }
    bool freeIt;
    {
        std::lock_guard<std::mutex> g(gSyncLock);
        freeIt = FFreeOnTerminate;
        FFinished = true;
    }
    gSyncSignal.notify_all();
    // From here on the object may be gone (joined and freed by its owner) unless it frees itself.
    if (freeIt) TObject::Free(this);
}

void TThread::DoTerminate() {
    if (Assigned(OnTerminate)) Synchronize(nullptr, [this] { OnTerminate(this); });
}

void TThread::Resume() {
    if (FPendingStart && FPendingStart->exchange(false)) {
        StartThread();
        return;
    }
    if (!FStarted) {
        if (FSuspended) StartThread();
        return;
    }
    std::lock_guard<std::mutex> g(FLock);
    if (FSuspended) {
        FSuspended = false;
        FResumed.notify_all();
    }
}

void TThread::Suspend() {
    if (FFinished) return;
    if (!FStarted) {
        if (FPendingStart) FPendingStart->store(false);
        FSuspended = true;
        return;
    }
    {
        std::lock_guard<std::mutex> g(FLock);
        FSuspended = true;
    }
    if (tCurrentThread == this) CheckSuspended();
}

void TThread::CheckSuspended() {
    if (tCurrentThread != this) return;
    std::unique_lock<std::mutex> lk(FLock);
    FResumed.wait(lk, [this] { return !FSuspended.load(); });
}

void TThread::WaitForEnd() {
    if (IsMainThread()) {
        // Keep serving synchronised calls: the thread may be waiting in one.
        for (;;) {
            CheckSynchronize();
            std::unique_lock<std::mutex> lk(gSyncLock);
            if (FFinished) break;
            gSyncSignal.wait(lk, [this] { return FFinished.load() || !gSyncQueue.empty(); });
            if (FFinished) break;
        }
    } else {
        std::unique_lock<std::mutex> lk(gSyncLock);
        gSyncSignal.wait(lk, [this] { return FFinished.load(); });
    }
    std::lock_guard<std::mutex> g(FLock);
    if (FThread.joinable()) FThread.join();
}

int TThread::WaitFor() {
    if (tCurrentThread == this) throw EThread(QStringLiteral("A thread cannot wait for itself"));
    if (FFreeOnTerminate) throw EThread(QStringLiteral("Cannot wait for a thread that frees itself"));
    if (!FStarted) {
        if (FPendingStart && FPendingStart->exchange(false))
            StartThread();
        else
            throw EThread(QStringLiteral("Cannot wait for a thread that was never started"));
    }
    if (FSuspended && !FFinished) throw EThread(QStringLiteral("Cannot wait for a suspended thread"));
    WaitForEnd();
    return FReturnValue;
}

void TThread::StopAndWait() {
    if (FPendingStart) FPendingStart->store(false);
    if (!FStarted || tCurrentThread == this) return;
    {
        std::lock_guard<std::mutex> g(gSyncLock);
        if (FFinished) {
            // Finished: only the join is left.
        } else {
            FFreeOnTerminate = false; // its owner frees it now
        }
    }
    if (!FFinished) {
        Terminate();
        Resume();
    }
    WaitForEnd();
}

std::exception_ptr TThread::FatalException() const {
    return FFatalException;
}

std::thread::id TThread::ThreadID() const {
    return FThread.get_id();
}

void TThread::Synchronize(const std::function<void()>& Method) {
    Synchronize(this, Method);
}

void TThread::Synchronize(TThread* Thread, const std::function<void()>& Method) {
    if (!Method) return;
    if (IsMainThread()) {
        Method();
        return;
    }
    TSyncRequest r{Method, nullptr, false};
    {
        std::lock_guard<std::mutex> g(gSyncLock);
        gSyncQueue.push_back(&r);
    }
    gSyncSignal.notify_all();
    if (QCoreApplication* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(
            app, [] { CheckSynchronize(); }, Qt::QueuedConnection);
    {
        std::unique_lock<std::mutex> lk(gSyncLock);
        gSyncSignal.wait(lk, [&r] { return r.Done; });
    }
    if (Thread && tCurrentThread == Thread) Thread->CheckSuspended();
    if (r.Error) std::rethrow_exception(r.Error);
}

void TThread::Sleep(int Milliseconds) {
    if (Milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(Milliseconds));
    if (TThread* t = tCurrentThread) t->CheckSuspended();
}

TThread* TThread::CurrentThread() {
    return tCurrentThread;
}
