// Components, lists, string lists, streams and threads of the class library.
#pragma once

#include "System.h"

#include <QByteArray>
#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

enum TComponentStateItem {
    csLoading,
    csReading,
    csWriting,
    csDestroying,
    csDesigning,
    csAncestor,
    csUpdating,
    csFixups
};
using TComponentState = TEnumSet<TComponentStateItem>;

enum TOperation { opInsert, opRemove };

// A component: owned by another component (which frees it), named, told about the removal of
// components it asked to be notified of, and loaded in a bracket that ends with Loaded.
class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;

    void BeforeDestruction() override { Destroying(); }

    TComponent* Owner() const { return FOwner; }
    const String& Name() const { return FName; }
    virtual void SetName(const String& NewName);
    int ComponentCount() const { return int(FComponents.size()); }
    TComponent* Components(int Index) const;
    int ComponentIndex() const;
    // First owned component with the given name (case-insensitive), or nullptr.
    TComponent* FindComponent(const String& AName) const;

    const TComponentState& ComponentState() const { return FComponentState; }
    bool HasState(TComponentStateItem s) const { return FComponentState.count(s) != 0; }

    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    void DestroyComponents();
    // Marks the component as being destroyed (idempotent); owned components follow.
    void Destroying();

    // Asks to be told (opRemove) when AComponent is freed; the link is mutual.
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    // Loading bracket for forms built in code: BeginLoading sets csLoading and csReading on this
    // component (components created into it while loading get them too); EndLoading clears them
    // and calls Loaded on every owned component in creation order, then on this one.
    void BeginLoading();
    void EndLoading();

    int Tag = 0;

protected:
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    virtual void Loaded();
    void SetComponentState(TComponentStateItem s, bool on);

    // Called by a component whose Notification acts on opInsert. An owner passes a new
    // component's insertion on only to the owned components that asked: a window of hundreds of
    // controls would otherwise call every control's Notification for each control created after
    // it, and none of them cares.
    void SetHearsInsertions(bool Value);

private:
    bool FHearsInsertions = false;
    size_t FInsertionHearers = 0; // owned components that hear insertions
    void Insert(TComponent* AComponent);
    void Remove(TComponent* AComponent);
    void RemoveNotification(TComponent* AComponent);

    TComponent* FOwner = nullptr;
    String FName;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    TComponentState FComponentState;
};

// ---------------------------------------------------------------------------------------------
// Errors of this unit
// ---------------------------------------------------------------------------------------------

class EWriteError : public EStreamError {
    using EStreamError::EStreamError;
};
class EStringListError : public EListError {
    using EListError::EListError;
};

// ---------------------------------------------------------------------------------------------
// TList: a list of pointers
// ---------------------------------------------------------------------------------------------

enum TListNotification { lnAdded, lnExtracted, lnDeleted };
// Sort order of two items: < 0, 0 or > 0.
using TListSortCompare = std::function<int(void* Item1, void* Item2)>;

// A list of untyped pointers. An index outside 0..Count-1 raises EListError
// "List index out of bounds (<index>)".
class TList : public TObject {
public:
    TList() = default;
    ~TList() override;

    int Add(void* Item);
    void Insert(int Index, void* Item);
    void Delete(int Index);
    // Removes the first occurrence; answers its former index or -1.
    int Remove(void* Item);
    // Removes the first occurrence without the deletion notification; answers Item or nullptr.
    void* Extract(void* Item);
    int IndexOf(void* Item) const;
    void* Items(int Index) const;
    void SetItems(int Index, void* Item);
    void* operator[](int Index) const { return Items(Index); }
    int Count() const { return int(FList.size()); }
    // Growing adds nullptr items; shrinking deletes items from the end.
    void SetCount(int NewCount);
    int Capacity() const { return FCapacity; }
    void SetCapacity(int NewCapacity);
    virtual void Clear();
    void Exchange(int Index1, int Index2);
    void Move(int CurIndex, int NewIndex);
    // Stable sort; a compare function that answers inconsistently cannot make it misbehave.
    void Sort(const TListSortCompare& Compare);
    void* First() const;
    void* Last() const;
    // Removes the nullptr items.
    void Pack();
    void Assign(TList* Source);
    const std::vector<void*>& List() const { return FList; }

protected:
    virtual void Notify(void* Ptr, TListNotification Action);
    [[noreturn]] void Error(const String& Msg, int Data) const;
    void CheckIndex(int Index) const;

private:
    std::vector<void*> FList;
    int FCapacity = 0;
};

// A list of objects that frees them when they are deleted from it (while OwnsObjects is true).
class TObjectList : public TList {
public:
    explicit TObjectList(bool AOwnsObjects = true) : FOwnsObjects(AOwnsObjects) {}
    ~TObjectList() override;
    int Add(TObject* AObject) { return TList::Add(AObject); }
    void Insert(int Index, TObject* AObject) { TList::Insert(Index, AObject); }
    int Remove(TObject* AObject) { return TList::Remove(AObject); }
    int IndexOf(TObject* AObject) const { return TList::IndexOf(AObject); }
    TObject* Extract(TObject* Item) { return static_cast<TObject*>(TList::Extract(Item)); }
    TObject* Items(int Index) const { return static_cast<TObject*>(TList::Items(Index)); }
    void SetItems(int Index, TObject* AObject) { TList::SetItems(Index, AObject); }
    TObject* operator[](int Index) const { return Items(Index); }
    bool OwnsObjects() const { return FOwnsObjects; }
    void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }

protected:
    void Notify(void* Ptr, TListNotification Action) override;

private:
    bool FOwnsObjects;
};

// ---------------------------------------------------------------------------------------------
// Streams
// ---------------------------------------------------------------------------------------------

enum TSeekOrigin { soBeginning, soCurrent, soEnd };
constexpr Word soFromBeginning = 0;
constexpr Word soFromCurrent = 1;
constexpr Word soFromEnd = 2;

// A sequence of bytes with a position.
class TStream : public TObject {
public:
    // Read up to Count bytes; answer how many were read (0 at the end).
    virtual Int64 Read(void* Buffer, Int64 Count) = 0;
    // Write Count bytes; answer how many were written.
    virtual Int64 Write(const void* Buffer, Int64 Count) = 0;
    // Move the position; answers the new position. A position past the end is allowed (a write
    // there fills the gap with zeros).
    virtual Int64 Seek(Int64 Offset, TSeekOrigin Origin) = 0;
    Int64 Seek(Int64 Offset, Word Origin);

    Int64 Position();
    void SetPosition(Int64 Pos);
    virtual Int64 Size();
    virtual void SetSize(Int64 NewSize);

    // Exactly Count bytes, else EReadError "Stream read error" / EWriteError "Stream write error".
    void ReadBuffer(void* Buffer, Int64 Count);
    void WriteBuffer(const void* Buffer, Int64 Count);
    void WriteBuffer(const QByteArray& Bytes) { WriteBuffer(Bytes.constData(), Bytes.size()); }
    // Copies Count bytes of Source from its position (Count 0: all of Source from its start);
    // answers the number copied. Raises EReadError when Source has fewer.
    Int64 CopyFrom(TStream* Source, Int64 Count);
    // Reads everything from the position to the end.
    QByteArray ReadAll();
};

// A stream held in memory.
class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    Int64 Read(void* Buffer, Int64 Count) override;
    Int64 Write(const void* Buffer, Int64 Count) override;
    Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
    using TStream::Seek;
    Int64 Size() override { return FData.size(); }
    void SetSize(Int64 NewSize) override;

    void* Memory() { return FData.data(); }
    const void* Memory() const { return FData.constData(); }
    const QByteArray& Bytes() const { return FData; }
    void Clear();
    // Replace the content by the whole of Stream / the file; the position goes to 0.
    void LoadFromStream(TStream* Stream);
    void LoadFromFile(const String& FileName);
    // Write the whole content (not just from the position).
    void SaveToStream(TStream* Stream);
    void SaveToFile(const String& FileName);

protected:
    QByteArray FData;
    Int64 FPosition = 0;
};

// Open modes of TFileStream; the share flags that deny others are stand-ins (nothing is locked).
constexpr Word fmCreate = 0xFF00;
constexpr Word fmOpenRead = 0x0000;
constexpr Word fmOpenWrite = 0x0001;
constexpr Word fmOpenReadWrite = 0x0002;
constexpr Word fmShareCompat = 0x0000;
constexpr Word fmShareExclusive = 0x0010;
constexpr Word fmShareDenyWrite = 0x0020;
constexpr Word fmShareDenyRead = 0x0030;
constexpr Word fmShareDenyNone = 0x0040;

// A stream on a file. fmCreate creates (or empties) the file and opens it for reading and
// writing. Failures raise EFCreateError "Cannot create file "<name>". <reason>" or EFOpenError
// "Cannot open file "<name>". <reason>".
class TFileStream : public TStream {
public:
    TFileStream(const String& FileName, Word Mode);
    ~TFileStream() override;
    Int64 Read(void* Buffer, Int64 Count) override;
    Int64 Write(const void* Buffer, Int64 Count) override;
    Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
    using TStream::Seek;
    Int64 Size() override;
    void SetSize(Int64 NewSize) override;
    const String& FileName() const { return FFileName; }

private:
    String FFileName;
    int FHandle = -1;
};

// Text encodings of string lists and string streams. ANSI is the system code page (Windows-1252).
enum class TEncoding { ANSI, Default = ANSI, UTF8, Unicode, BigEndianUnicode };

// A memory stream holding text in an encoding (ANSI unless told otherwise).
class TStringStream : public TMemoryStream {
public:
    explicit TStringStream(const String& AString = String(), TEncoding AEncoding = TEncoding::ANSI);
    // The whole content decoded.
    String DataString() const;
    TEncoding Encoding() const { return FEncoding; }
    // Reads Count bytes (all from the position when Count < 0) as text.
    String ReadString(Int64 Count);
    void WriteString(const String& AString);

private:
    TEncoding FEncoding;
};

// ---------------------------------------------------------------------------------------------
// String lists
// ---------------------------------------------------------------------------------------------

// A list of strings, each with an object. The storage is the descendant's.
class TStrings : public TPersistent {
public:
    TStrings() = default;
    ~TStrings() override = default;

    virtual int Count() const = 0;
    virtual String Strings(int Index) const = 0;
    virtual void SetStrings(int Index, const String& S);
    String operator[](int Index) const { return Strings(Index); }
    virtual TObject* Objects(int Index) const;
    virtual void SetObjects(int Index, TObject* AObject);

    virtual int Add(const String& S);
    virtual int AddObject(const String& S, TObject* AObject);
    // Name=Value
    int AddPair(const String& Name, const String& Value);
    virtual void Insert(int Index, const String& S) = 0;
    virtual void InsertObject(int Index, const String& S, TObject* AObject);
    virtual void Delete(int Index) = 0;
    virtual void Clear() = 0;
    virtual void AddStrings(TStrings* Strings);
    void AddStrings(const QStringList& Strings);
    virtual void Exchange(int Index1, int Index2);
    virtual void Move(int CurIndex, int NewIndex);

    virtual int IndexOf(const String& S) const;
    int IndexOfObject(TObject* AObject) const;
    virtual int IndexOfName(const String& Name) const;
    // Copies strings and objects (and the delimiter settings) of a TStrings.
    void Assign(TPersistent* Source) override;
    // Same count and the same strings in the same order (case-sensitive).
    bool Equals(TStrings* Strings) const;

    // Name=Value lines.
    String Names(int Index) const;
    String Values(const String& Name) const;
    // An empty value deletes the line.
    void SetValues(const String& Name, const String& Value);
    String ValueFromIndex(int Index) const;
    void SetValueFromIndex(int Index, const String& Value);
    Char NameValueSeparator() const { return FNameValueSeparator; }
    void SetNameValueSeparator(Char C) { FNameValueSeparator = C; }

    // Every line followed by LineBreak (CR LF unless changed).
    virtual String Text() const;
    // Splits at CR, LF or CR LF; a final line break adds no empty line.
    virtual void SetText(const String& Value);
    const String& LineBreak() const { return FLineBreak; }
    void SetLineBreak(const String& Value) { FLineBreak = Value; }

    // Delimited text: joining quotes (with QuoteChar, inner quotes doubled) every string holding a
    // QuoteChar, a Delimiter or (unless StrictDelimiter) a character up to the blank; a list of
    // one empty string is two quote characters. Splitting: quoted parts are unquoted; unless
    // StrictDelimiter, blanks and control characters also separate strings and are skipped around
    // them; a delimiter at the end adds an empty string.
    String DelimitedText() const;
    void SetDelimitedText(const String& Value);
    // Delimited text with "," and '"'.
    String CommaText() const;
    void SetCommaText(const String& Value);
    Char Delimiter() const { return FDelimiter; }
    void SetDelimiter(Char C) { FDelimiter = C; }
    Char QuoteChar() const { return FQuoteChar; }
    void SetQuoteChar(Char C) { FQuoteChar = C; }
    bool StrictDelimiter() const { return FStrictDelimiter; }
    void SetStrictDelimiter(bool B) { FStrictDelimiter = B; }

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    // Loading: a byte-order mark selects UTF-8, UTF-16 LE or UTF-16 BE; without one the text is
    // Windows-1252 (or the given encoding). Lines end at CR, LF or CR LF.
    virtual void LoadFromFile(const String& FileName);
    virtual void LoadFromFile(const String& FileName, TEncoding Encoding);
    virtual void LoadFromStream(TStream* Stream);
    virtual void LoadFromStream(TStream* Stream, TEncoding Encoding);
    // Saving: Windows-1252 by default (characters it lacks become "?"); UTF-8 and UTF-16 are
    // written with their byte-order mark. A file is written whole or not at all.
    virtual void SaveToFile(const String& FileName);
    virtual void SaveToFile(const String& FileName, TEncoding Encoding);
    virtual void SaveToStream(TStream* Stream);
    virtual void SaveToStream(TStream* Stream, TEncoding Encoding);

    QStringList ToStringList() const;

protected:
    // Called when the update count leaves or reaches 0.
    virtual void SetUpdateState(bool Updating);
    // Comparison used by IndexOf and IndexOfName (without regard to case here).
    virtual int CompareStrings(const String& S1, const String& S2) const;
    [[noreturn]] void Error(const String& Msg, int Data) const;
    void AssignTo(TPersistent* Dest) override;

private:
    void LoadFromBytes(const QByteArray& Bytes, bool Detect, TEncoding Encoding);

    int FUpdateCount = 0;
    Char FDelimiter = u',';
    Char FQuoteChar = u'"';
    Char FNameValueSeparator = u'=';
    bool FStrictDelimiter = false;
    String FLineBreak = QStringLiteral("\r\n");
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList;
using TStringListSortCompare = std::function<int(TStringList* List, int Index1, int Index2)>;

// The string list. Sorted lists keep their order on Add and find by binary search; inserting
// into one raises EListError "Operation not allowed on sorted list". Duplicates applies to sorted
// lists ("String list does not allow duplicates" for dupError). OnChanging/OnChange fire once per
// change, and inside BeginUpdate/EndUpdate once at the end when something changed.
class TStringList : public TStrings {
public:
    TStringList() = default;
    explicit TStringList(bool AOwnsObjects) : FOwnsObjects(AOwnsObjects) {}
    ~TStringList() override;

    int Count() const override { return int(FList.size()); }
    String Strings(int Index) const override;
    void SetStrings(int Index, const String& S) override;
    TObject* Objects(int Index) const override;
    void SetObjects(int Index, TObject* AObject) override;
    int Add(const String& S) override;
    int AddObject(const String& S, TObject* AObject) override;
    void Insert(int Index, const String& S) override;
    void InsertObject(int Index, const String& S, TObject* AObject) override;
    void Delete(int Index) override;
    void Clear() override;
    void Exchange(int Index1, int Index2) override;
    void Move(int CurIndex, int NewIndex) override;
    void SetText(const String& Value) override;
    int IndexOf(const String& S) const override;

    // Whether S is in the list; Index is its first occurrence, or (when absent) where it would go in
    // a sorted list and Count in an unsorted one. Sorted lists are searched in halves.
    virtual bool Find(const String& S, int& Index) const;
    // Sorts an unsorted list (a sorted list is in order already).
    virtual void Sort();
    // Stable sort of an unsorted list with a compare function of two indexes (the indexes refer to
    // the list as it was before sorting; the list does not change while the function is called).
    virtual void CustomSort(const TStringListSortCompare& Compare);

    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    TDuplicates Duplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
    // Default false: compares like AnsiCompareText; true: like AnsiCompareStr.
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool Value);
    // Frees the objects of deleted strings (and all at Clear and destruction).
    bool OwnsObjects() const { return FOwnsObjects; }
    void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    virtual void Changed();
    virtual void Changing();
    void SetUpdateState(bool Updating) override;
    int CompareStrings(const String& S1, const String& S2) const override;
    virtual void InsertItem(int Index, const String& S, TObject* AObject);

private:
    struct TStringItem {
        String FString;
        TObject* FObject = nullptr;
    };
    void CheckIndex(int Index) const;
    void SortItems(const std::function<int(int, int)>& Compare);

    std::vector<TStringItem> FList;
    bool FSorted = false;
    TDuplicates FDuplicates = dupIgnore;
    bool FCaseSensitive = false;
    bool FOwnsObjects = false;
    bool FChangedInUpdate = false;
    bool FChangingSent = false;
};

// ---------------------------------------------------------------------------------------------
// Collections
// ---------------------------------------------------------------------------------------------

class TCollection;

// An item of a collection; creating it with a collection adds it there, freeing it removes it.
class TCollectionItem : public TPersistent {
public:
    explicit TCollectionItem(TCollection* Collection);
    ~TCollectionItem() override;
    // Leaves the collection before any destructor runs.
    void BeforeDestruction() override;

    TCollection* Collection() const { return FCollection; }
    // Moves the item into another collection (nullptr: into none).
    virtual void SetCollection(TCollection* Value);
    // Position in the collection, -1 when in none.
    int Index() const;
    virtual void SetIndex(int Value);
    // Unique within its collection, never reused.
    int ID() const { return FID; }
    virtual String DisplayName() const { return ClassName(); }

protected:
    // Tells the collection this item (or, with AllItems, everything) changed.
    void Changed(bool AllItems);
    TPersistent* GetOwner() override;

private:
    friend class TCollection;
    TCollection* FCollection = nullptr;
    int FID = 0;
};

// Creates an item of the collection's item class into the given collection.
using TCollectionItemClass = std::function<TCollectionItem*(TCollection*)>;
template <class T> TCollectionItemClass CollectionItemClass() {
    return [](TCollection* c) -> TCollectionItem* { return new T(c); };
}

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

// An ordered set of items of one class, created through ItemClass.
class TCollection : public TPersistent {
public:
    explicit TCollection(TCollectionItemClass ItemClass);
    ~TCollection() override;

    TCollectionItem* Add();
    TCollectionItem* Insert(int Index);
    void Delete(int Index);
    void Clear();
    int Count() const { return int(FItems.size()); }
    TCollectionItem* Items(int Index) const;
    // Assigns Value to the item at Index.
    void SetItems(int Index, TCollectionItem* Value);
    TCollectionItem* FindItemID(int ID) const;
    const TCollectionItemClass& ItemClass() const { return FItemClass; }
    // Replaces the items by new ones assigned one by one from Source's.
    void Assign(TPersistent* Source) override;
    virtual void BeginUpdate();
    virtual void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    // Called when an item (nullptr: the whole collection) changed, outside updates.
    TEvent<TCollection*, TCollectionItem*> OnUpdate;

protected:
    virtual void Update(TCollectionItem* Item);
    virtual void Notify(TCollectionItem* Item, TCollectionNotification Action);
    // Item nullptr: the collection as a whole.
    void Changed();
    TPersistent* GetOwner() override { return nullptr; }

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* Item);
    void RemoveItem(TCollectionItem* Item);
    void CheckIndex(int Index) const;

    TCollectionItemClass FItemClass;
    std::vector<TCollectionItem*> FItems;
    int FUpdateCount = 0;
    int FNextID = 0;
};

// A collection that knows its owner.
class TOwnedCollection : public TCollection {
public:
    TOwnedCollection(TPersistent* AOwner, TCollectionItemClass ItemClass)
        : TCollection(std::move(ItemClass)), FOwner(AOwner) {}
    TPersistent* Owner() const { return FOwner; }

protected:
    TPersistent* GetOwner() override { return FOwner; }

private:
    TPersistent* FOwner;
};

// ---------------------------------------------------------------------------------------------
// Threads
// ---------------------------------------------------------------------------------------------

// Runs the calls that threads queued with Synchronize; must be called on the main thread
// (posted there through the Qt event loop each time a call is queued). Waits up to Timeout ms for
// a call when none is queued. Answers whether it ran any.
bool CheckSynchronize(int Timeout = 0);
// Whether the calling thread is the main (GUI) thread.
bool IsMainThread();

// A thread of execution. Execute runs on its own thread (std::thread).
// - A thread created suspended starts no OS thread until its first Resume; freed before that, it
//   never starts. A thread created not suspended starts when its creating thread returns to the
//   event loop, or at the first Resume/Start/WaitFor, whichever comes first (never before the
//   construction of the derived object has finished).
// - Suspend is cooperative: the thread stops at its next check point: right after a
//   synchronised call returns, in CheckSuspended, or after TThread::Sleep. Resume lets it go on.
// - Synchronize runs a call on the main thread and waits for it; on the main thread it runs the
//   call at once. An exception of the call is raised again in the calling thread.
// - WaitFor on the main thread keeps running synchronised calls until the thread ends.
// - Freeing a thread that runs terminates it, resumes it when suspended and waits for its end.
// - FreeOnTerminate: the thread frees itself after Execute and OnTerminate.
// - OnTerminate runs on the main thread (through Synchronize) after Execute.
// - A thread terminated before it starts skips Execute, as the platform's thread procedure does;
//   started from the main thread, it then only ends (OnTerminate, FreeOnTerminate) without
//   starting an OS thread at all.
class TThread : public TObject {
public:
    explicit TThread(bool CreateSuspended);
    ~TThread() override;
    void BeforeDestruction() override;

    void Resume();
    void Start() { Resume(); }
    void Suspend();
    bool Suspended() const { return FSuspended.load(); }
    void Terminate() { FTerminated = true; }
    bool Terminated() const { return FTerminated.load(); }
    bool Finished() const { return FFinished.load(); }
    // Waits for the end of the thread and answers ReturnValue (a thread created running but not
    // started yet is started first). Raises EThread when the thread was created suspended and
    // never resumed, or is suspended (it would never end), when called on the thread itself, and
    // for a thread that frees itself.
    int WaitFor();
    bool FreeOnTerminate() const { return FFreeOnTerminate.load(); }
    void SetFreeOnTerminate(bool Value) { FFreeOnTerminate = Value; }
    int ReturnValue() const { return FReturnValue.load(); }
    // The exception that ended Execute, if any.
    std::exception_ptr FatalException() const;
    std::thread::id ThreadID() const;

    void Synchronize(const std::function<void()>& Method);
    // Synchronize for any thread (Thread may be nullptr: no suspension check point).
    static void Synchronize(TThread* Thread, const std::function<void()>& Method);
    // Sleeps, then stops here while suspended (when called on a TThread).
    static void Sleep(int Milliseconds);
    // The TThread running the caller, nullptr on other threads.
    static TThread* CurrentThread();

    TNotifyEvent OnTerminate;

protected:
    virtual void Execute() = 0;
    // Fires OnTerminate on the main thread.
    virtual void DoTerminate();
    void SetReturnValue(int Value) { FReturnValue = Value; }
    // The cooperative suspension check point: blocks while the thread is suspended.
    void CheckSuspended();

private:
    void StartThread();
    void Run();
    void Finish();
    void StopAndWait();
    void WaitForEnd();

    std::thread FThread;
    mutable std::mutex FLock;
    std::condition_variable FResumed;
    std::atomic<bool> FStarted{false};
    std::atomic<bool> FSuspended{false};
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FFinished{false};
    std::atomic<bool> FFreeOnTerminate{false};
    std::atomic<int> FReturnValue{0};
    std::exception_ptr FFatalException;
    std::shared_ptr<std::atomic<bool>> FPendingStart;
};
