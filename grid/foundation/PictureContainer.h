// Pictures of cell markup: THTMLPicture keeps a picture file's bytes in memory and decodes them for
// display (JPEG, BMP, PNG, GIF with the frames of animated GIFs, and what else the image readers
// know); THTMLPictureCache holds the pictures markup names by URL; TPictureContainer is a component
// holding named pictures.
#pragma once

#include "Classes.h"
#include "Graphics.h"
#include "OSInfo.h"

#include <QByteArray>
#include <QImage>

class QIODevice;

// A picture file held in memory and shown through its decoded image. Sizes are kept as the
// platform's picture service keeps them, in 0.01 mm, and answered in pixels at 96 per inch.
class THTMLPicture : public TGraphic {
public:
    THTMLPicture();
    ~THTMLPicture() override;

    // Copies another THTMLPicture's data (and decodes them); nullptr or another class empties.
    void Assign(TPersistent* Source) override;
    // Nothing when empty; with Stretch fills Rect, else at the picture's own size at its corner.
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;
    bool Empty() const override { return FEmpty; }
    int Width() const override;
    int Height() const override;
    int GetWidth() const { return Width(); }
    int GetHeight() const { return Height(); }
    bool GetEmpty() const { return FEmpty; }
    // Sizes follow the data; these have no effect.
    void SetWidth(int) override {}
    void SetHeight(int) override {}

    // Reads the file; any failure leaves the picture empty without raising.
    void LoadFromFile(const String& FileName) override;
    // Copies the rest of the stream and decodes it; data that cannot be decoded raise
    // EInvalidGraphic and leave the picture empty. Nothing for a nil stream.
    void LoadFromStream(TStream* Stream);
    void LoadFromStream(QIODevice* Stream) override;
    // Loads the bytes of a picture file.
    void LoadFromData(const QByteArray& Data);
    // Write the data unchanged.
    void SaveToStream(TStream* Stream);
    void SaveToStream(QIODevice* Stream) override;
    // Component streaming: as LoadFromStream without OnChange, and SaveToStream.
    void ReadData(TStream* Stream);
    void WriteData(TStream* Stream);
    void LoadFromClipboardFormat(Word, uintptr_t, uintptr_t) {}
    void SaveToClipboardFormat(Word&, uintptr_t&, uintptr_t&) {}

    // The program's picture resource of that name (case ignored; the instance is not used); a
    // name without such a resource changes nothing.
    void LoadFromResourceName(HINSTANCE Instance, const String& Name);
    void LoadFromResourceID(HINSTANCE Instance, int ResID);
    // "RES://name" loads a resource, "FILE://path" a file, and both make the URL the picture's ID.
    // Other URLs are not fetched: with Asynch off the URL becomes the ID; with Asynch on the URL is
    // recorded and the picture is Busy. The picture stays empty in both cases.
    void LoadFromURL(const String& URL);

    // The encoded picture file.
    const QByteArray& Data() const { return FData; }
    // The decoded picture being shown (the selected frame of a GIF).
    const QImage& Image() const { return FImage; }

    bool Stretch() const { return FStretch; }
    void SetStretch(bool Value) { FStretch = Value; }
    const String& ID() const { return FID; }
    void SetID(const String& Value) { FID = Value; }
    bool Asynch() const { return FAsynch; }
    void SetAsynch(bool Value) { FAsynch = Value; }
    bool Busy() const { return FBusy; }
    const String& RequestedURL() const { return FURL; }

    // GIF animation. FrameCount is -1 for other data, else the number of frames (counted once).
    bool IsGIF() const;
    int FrameCount();
    int Frame() const { return FFrame; }
    // Selects a frame (kept within 1..FrameCount); decodes it and raises OnFrameChange.
    void SetFrame(int Value);
    void FrameNext();
    void FramePrev();
    // One animation tick (a tenth of a second); true when the frame changed.
    bool Step();
    int FrameXPos() const { return FFrameXPos; }
    int FrameYPos() const { return FFrameYPos; }
    // The animation's size when it has one, else the picture's.
    int MaxWidth() const { return FLogicalWidth ? FLogicalWidth : Width(); }
    int MaxHeight() const { return FLogicalHeight ? FLogicalHeight : Height(); }
    // The delay of a frame in hundredths of a second (0 for a frame that does not exist).
    int FrameDelay(int Index);

    TNotifyEvent OnFrameChange;

private:
    void Reset();
    // Decodes the data for the selected frame; raises EInvalidGraphic on bad data.
    void Build();
    // Loads Bytes as the picture's data; failures empty the picture and raise.
    void LoadBytes(const QByteArray& Bytes, bool Notify);
    void CountFrames();

    QByteArray FData;
    bool FEmpty = true;
    bool FStretch = false;
    QImage FImage;
    int FHimetricWidth = 0, FHimetricHeight = 0;
    String FURL;
    String FID;
    bool FAsynch = true;
    bool FBusy = false;
    int FFrame = 1;
    int FFrameCount = -1;
    std::vector<int> FFrameBlocks;
    int FFrameXPos = 0, FFrameYPos = 0;
    int FLogicalWidth = 0, FLogicalHeight = 0;
    int FNextChange = -1;
    int FTicks = -1;
};

// Pictures that markup names by URL; the cache owns them.
class THTMLPictureCache : public TList {
public:
    THTMLPictureCache() = default;
    ~THTMLPictureCache() override;

    // Appends a new empty picture.
    THTMLPicture* AddPicture();
    // The first picture whose ID is exactly ID, or nullptr.
    THTMLPicture* FindPicture(const String& ID) const;
    void ClearPictures();
    // One animation tick for every picture; true when any frame changed.
    bool Animate();
    THTMLPicture* GetPicture(int Index) const { return static_cast<THTMLPicture*>(Items(Index)); }
    // Replaces the entry (the old picture is freed; the cache owns the new one).
    void SetPicture(int Index, THTMLPicture* Value);
};

class TPictureItem : public TCollectionItem {
public:
    explicit TPictureItem(TCollection* Collection);
    ~TPictureItem() override;

    THTMLPicture* Picture() const { return FPicture; }
    // Copies the picture's data.
    void SetPicture(THTMLPicture* Value) { FPicture->Assign(Value); }
    const String& Name() const { return FName; }
    void SetName(const String& Value) { FName = Value; }
    int Tag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }

    // Copies Name, Tag and the picture's data of another item.
    void Assign(TPersistent* Source) override;
    String DisplayName() const override { return FName; }

private:
    THTMLPicture* FPicture;
    String FName;
    int FTag = 0;
};

class TPictureCollection : public TOwnedCollection {
public:
    explicit TPictureCollection(TPersistent* AOwner);

    TPictureItem* Add() { return static_cast<TPictureItem*>(TCollection::Add()); }
    TPictureItem* Insert(int Index) { return static_cast<TPictureItem*>(TCollection::Insert(Index)); }
    TPictureItem* Items(int Index) const { return static_cast<TPictureItem*>(TCollection::Items(Index)); }
    // One animation tick for every picture; true when any frame changed.
    bool Animate();
};

// A component holding named pictures for markup.
class TPictureContainer : public TComponent {
public:
    explicit TPictureContainer(TComponent* AOwner);
    ~TPictureContainer() override;

    TPictureCollection* Items() const { return FItems; }
    void SetItems(TPictureCollection* Value) { FItems->Assign(Value); }
    // The picture of the first item whose name equals Name without regard to case, or nullptr.
    virtual THTMLPicture* FindPicture(const String& Name);

private:
    TPictureCollection* FItems;
};
