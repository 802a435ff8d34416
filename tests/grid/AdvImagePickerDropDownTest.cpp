// The image picker drop-down on a real form: items from an image list and from a folder (with
// its "." and ".." entries, damaged and unknown files), the ItemIndex and ImageIndex rules with
// the order of their events, the keys open and closed, Enter on the hot item, Escape, the
// type-ahead with its timer driven by hand, the wheel, and drawing the edit content.
#include "AdvImagePickerDropDown.h"

#include "ControlImage.h"
#include "DropDownTestSupport.h"
#include "ExtCtrls.h"
#include "PictureTestData.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>

namespace {

class ImagePicker : public DropDownFormTest {
protected:
    void SetUp() override {
        DropDownFormTest::SetUp();
        DD = new TAdvImagePickerDropDown(Form);
        DD->SetParent(Form);
        DD->SetBounds(20, 30, 200, 21);
        DD->OnChange = [this](TObject*) { Events.push_back("change"); };
        DD->OnSelect = [this](TObject*) { Events.push_back("select"); };
        DD->SetFocus();
    }
    void TearDown() override {
        TObject::Free(Form);
        Form = nullptr;
        TObject::Free(ImageList);
        DropDownFormTest::TearDown();
    }
    // An image list of Count 8 x 8 images.
    TCustomImageList* Images(int Count) {
        ImageList = NewOneColourImages(clRed);
        for (int i = 1; i < Count; ++i) {
            auto* b = new TBitmap(8, 8);
            ImageList->Add(b, nullptr);
            TObject::Free(b);
        }
        return ImageList;
    }
    void AddCaptions(std::initializer_list<const char*> Captions) {
        for (const char* c : Captions) DD->Items()->Add()->SetCaption(QString::fromLatin1(c));
    }
    void Open() {
        DD->ShowDropDown();
        ASSERT_TRUE(DD->DroppedDown());
    }
    void Close(bool Cancel = false) {
        DD->HideDropDown(Cancel);
        Tick += 1000;
    }

    TAdvImagePickerDropDown* DD = nullptr;
    TCustomImageList* ImageList = nullptr;
    std::vector<std::string> Events;
};

TEST_F(ImagePicker, ANewControlIsAPickOnlyEditWithAList) {
    EXPECT_EQ(DD->ItemIndex(), -1);
    EXPECT_EQ(DD->ImageIndex(), -1);
    EXPECT_EQ(DD->Items()->Count(), 0);
    EXPECT_EQ(DD->Columns(), 1);
    EXPECT_EQ(DD->Layout(), ilCaptionRight);
    EXPECT_FALSE(DD->EditorEnabled());
    EXPECT_TRUE(DD->DropDownEnabled());
    EXPECT_EQ(DD->Cursor(), crArrow);
    EXPECT_EQ(DD->KeyTimer()->Interval(), 500u);
    EXPECT_FALSE(DD->KeyTimer()->Enabled());
    ASSERT_NE(DD->ItemSelector(), nullptr);
    EXPECT_EQ(DD->Control(), DD->ItemSelector());
    EXPECT_EQ(DD->ItemSelector()->SelectorType(), stImage);
}

TEST_F(ImagePicker, ImagesFromTheImageListAreAppended) {
    // Without an image list nothing is added.
    DD->AddImagesFromImageList();
    EXPECT_EQ(DD->Items()->Count(), 0);
    DD->SetImages(Images(5));
    DD->AddImagesFromImageList();
    ASSERT_EQ(DD->Items()->Count(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(DD->Items()->GetItem(i)->ImageIndex(), i);
        EXPECT_TRUE(DD->Items()->GetItem(i)->Caption().isEmpty());
    }
    DD->AddImagesFromImageList();
    ASSERT_EQ(DD->Items()->Count(), 10);
    EXPECT_EQ(DD->Items()->GetItem(7)->ImageIndex(), 2);
    EXPECT_TRUE(Events.empty());
}

TEST_F(ImagePicker, ItemIndexRaisesChangeThenSelectOnlyForANewIndex) {
    DD->SetImages(Images(5));
    DD->AddImagesFromImageList();
    DD->SetItemIndex(2);
    EXPECT_EQ(Events, (std::vector<std::string>{"change", "select"}));
    Events.clear();
    DD->SetItemIndex(2);
    DD->SetItemIndex(5); // the count
    DD->SetItemIndex(50);
    EXPECT_TRUE(Events.empty());
    EXPECT_EQ(DD->ItemIndex(), 2);
    DD->SetItemIndex(-1);
    EXPECT_EQ(DD->ItemIndex(), -1);
    EXPECT_EQ(Events, (std::vector<std::string>{"change", "select"}));
    // Any negative value is "none": no change from none.
    Events.clear();
    DD->SetItemIndex(-7);
    EXPECT_EQ(DD->ItemIndex(), -1);
    EXPECT_TRUE(Events.empty());
}

TEST_F(ImagePicker, ImageIndexSelectsTheFirstItemWithThatImage) {
    DD->SetImages(Images(5));
    DD->AddImagesFromImageList();
    DD->AddImagesFromImageList();
    DD->SetImageIndex(3);
    EXPECT_EQ(DD->ItemIndex(), 3);
    EXPECT_EQ(DD->ImageIndex(), 3);
    DD->SetImageIndex(99);
    EXPECT_EQ(DD->ItemIndex(), -1);
    EXPECT_EQ(DD->ImageIndex(), -1);
    // An item without image: its ImageIndex is -1.
    DD->Items()->Add()->SetCaption(QStringLiteral("plain"));
    DD->SetItemIndex(10);
    EXPECT_EQ(DD->ImageIndex(), -1);
}

class ImageFolder : public ImagePicker {
protected:
    void SetUp() override {
        ImagePicker::SetUp();
        ASSERT_TRUE(Dir.isValid());
        using namespace picture_test;
        Write("red.png", Encode(Filled(6, 4, Qt::red), "PNG"));
        Write("blue.jpg", Encode(Filled(5, 3, Qt::blue), "JPEG"));
        Write("green.bmp", Encode(Filled(7, 2, Qt::green), "BMP"));
        QByteArray png = Encode(Filled(6, 4, Qt::red), "PNG");
        png.truncate(30);
        Write("damaged.png", png);
        Write("damaged.jpg", QByteArray("\xFF\xD8\xFF\xE0garbage", 11));
        Write("notes.txt", "not a picture");
        ASSERT_TRUE(QDir(Dir.path()).mkdir(QStringLiteral("sub")));
    }
    void Write(const char* Name, const QByteArray& Data) {
        QFile f(Dir.filePath(QString::fromLatin1(Name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Data);
    }
    String Mask(const char* Pattern) const {
        return Dir.path() + QLatin1Char('/') + QString::fromLatin1(Pattern);
    }

    QTemporaryDir Dir;
};

TEST_F(ImageFolder, EveryMatchingEntryBecomesAnItemAndWhatDoesNotLoadStaysEmpty) {
    EXPECT_NO_THROW(DD->AddImagesFromFolder(Mask("*.*"), true));
    // Seven files and folders, with "." and "..".
    ASSERT_EQ(DD->Items()->Count(), 9);
    std::map<std::string, QSize> loaded;
    int empty = 0;
    for (int i = 0; i < DD->Items()->Count(); ++i) {
        TImageItem* item = DD->Items()->GetItem(i);
        TGraphic* g = item->Image()->Graphic();
        if (g && !g->Empty()) {
            loaded[item->Caption().toStdString()] = QSize(g->Width(), g->Height());
        } else {
            EXPECT_TRUE(item->Caption().isEmpty()) << i;
            ++empty;
        }
        EXPECT_EQ(item->ImageIndex(), -1);
    }
    EXPECT_EQ(empty, 6);
    const std::map<std::string, QSize> expected{
        {"red.png", QSize(6, 4)}, {"blue.jpg", QSize(5, 3)}, {"green.bmp", QSize(7, 2)}};
    EXPECT_EQ(loaded, expected);
    EXPECT_TRUE(Events.empty());
}

TEST_F(ImageFolder, TheMaskChoosesTheEntries) {
    const struct {
        const char* Pattern;
        bool Captions;
        int Items, Loaded;
    } cases[] = {
        {"*.png", true, 2, 1},
        {"*.jpg", false, 2, 1},
        {"*.xyz", true, 0, 0},
        {"sub", true, 1, 0},
        {"no-such-folder/*.*", true, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Pattern);
        DD->Items()->Clear();
        EXPECT_NO_THROW(DD->AddImagesFromFolder(Mask(c.Pattern), c.Captions));
        EXPECT_EQ(DD->Items()->Count(), c.Items);
        int loaded = 0;
        for (int i = 0; i < DD->Items()->Count(); ++i) {
            TImageItem* item = DD->Items()->GetItem(i);
            const bool picture = item->Image()->Graphic() && !item->Image()->Graphic()->Empty();
            loaded += picture;
            EXPECT_EQ(!item->Caption().isEmpty(), picture && c.Captions);
        }
        EXPECT_EQ(loaded, c.Loaded);
    }
}

TEST_F(ImageFolder, PictureFilesLoadByTheirKind) {
    TPicture picture;
    LoadPictureFile(&picture, Dir.filePath(QStringLiteral("blue.jpg")));
    ASSERT_NE(picture.Graphic(), nullptr);
    EXPECT_EQ(picture.Width(), 5);
    auto* bitmap = dynamic_cast<TBitmap*>(picture.Graphic());
    ASSERT_NE(bitmap, nullptr);
    const QRgb blue = bitmap->Image().pixel(2, 1);
    EXPECT_GT(qBlue(blue), 200);
    EXPECT_LT(qRed(blue), 60);
    // What does not load raises and leaves the picture as it was.
    for (const char* bad : {"damaged.jpg", "damaged.png", "notes.txt", "sub", "missing.png"}) {
        SCOPED_TRACE(bad);
        EXPECT_ANY_THROW(LoadPictureFile(&picture, Dir.filePath(QString::fromLatin1(bad))));
        EXPECT_EQ(picture.Width(), 5);
    }
}

TEST_F(ImagePicker, KeysStepTheSelectionOpenOrClosed) {
    DD->SetImages(Images(5));
    DD->AddImagesFromImageList();
    DD->AddImagesFromImageList();
    // Closed: from no selection both Up and Down select the first item.
    SimulateKey(DD, VK_UP);
    EXPECT_EQ(DD->ItemIndex(), 0);
    SimulateKey(DD, VK_DOWN);
    SimulateKey(DD, VK_DOWN);
    EXPECT_EQ(DD->ItemIndex(), 2);
    SimulateKey(DD, VK_UP);
    EXPECT_EQ(DD->ItemIndex(), 1);
    SimulateKey(DD, VK_END);
    EXPECT_EQ(DD->ItemIndex(), 9);
    SimulateKey(DD, VK_DOWN);
    EXPECT_EQ(DD->ItemIndex(), 9);
    SimulateKey(DD, VK_HOME);
    EXPECT_EQ(DD->ItemIndex(), 0);
    EXPECT_FALSE(DD->DroppedDown());
    // Open with three columns: Up and Down move a row, Left and Right one item; none closes.
    DD->SetColumns(3);
    Open();
    SimulateKey(DD, VK_DOWN);
    EXPECT_EQ(DD->ItemIndex(), 3);
    SimulateKey(DD, VK_DOWN);
    SimulateKey(DD, VK_RIGHT);
    EXPECT_EQ(DD->ItemIndex(), 7);
    SimulateKey(DD, VK_DOWN); // 10 is beyond the items
    EXPECT_EQ(DD->ItemIndex(), 7);
    SimulateKey(DD, VK_UP);
    SimulateKey(DD, VK_LEFT);
    EXPECT_EQ(DD->ItemIndex(), 3);
    EXPECT_TRUE(DD->DroppedDown());
    // Escape puts the item of the opening back.
    SimulateKey(DD, VK_ESCAPE);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->ItemIndex(), 0);
}

TEST_F(ImagePicker, EnterTakesTheHotItemOrReportsTheSelection) {
    DD->SetImages(Images(5));
    DD->AddImagesFromImageList();
    // Closed: Enter raises OnSelect for the value there is.
    SimulateKey(DD, VK_RETURN);
    EXPECT_EQ(Events, (std::vector<std::string>{"select"}));
    Events.clear();
    Open();
    DD->ItemSelector()->HotNext();
    DD->ItemSelector()->HotNext();
    ASSERT_EQ(DD->ItemSelector()->ItemHot(), 1);
    SimulateKey(DD, VK_RETURN);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->ItemIndex(), 1);
    // Selecting the hot item raises the events once; that Enter raises no second OnSelect.
    EXPECT_EQ(Events, (std::vector<std::string>{"change", "select"}));
}

TEST_F(ImagePicker, TheWheelMovesTheSelectionClosedAndTheHotItemOpen) {
    DD->SetImages(Images(5));
    DD->AddImagesFromImageList();
    SimulateWheel(DD, -120, {}, 5, 5);
    EXPECT_EQ(DD->ItemIndex(), 0);
    SimulateWheel(DD, -120, {}, 5, 5);
    EXPECT_EQ(DD->ItemIndex(), 1);
    SimulateWheel(DD, 120, {}, 5, 5);
    EXPECT_EQ(DD->ItemIndex(), 0);
    EXPECT_FALSE(DD->DroppedDown());
}

TEST_F(ImagePicker, TypeAheadLooksUpTheCharactersOfOneBurst) {
    AddCaptions({"Apple", "Banana"});
    Open();
    Close();
    // Items added after the last opening are looked up too.
    AddCaptions({"Blueberry", "Cherry"});
    DD->SetFocus();
    SimulateKey(DD, 'B', {}, Char(u'b'));
    EXPECT_EQ(DD->SearchText(), QStringLiteral("B"));
    EXPECT_EQ(DD->ItemIndex(), 1);
    SimulateKey(DD, 'L', {}, Char(u'l'));
    EXPECT_EQ(DD->SearchText(), QStringLiteral("BL"));
    EXPECT_EQ(DD->ItemIndex(), 2);
    EXPECT_TRUE(DD->KeyTimer()->Enabled());
    EXPECT_FALSE(DD->DroppedDown());
    DD->KeyTimerTick(DD->KeyTimer());
    EXPECT_TRUE(DD->SearchText().isEmpty());
    SimulateKey(DD, 'C', {}, Char(u'c'));
    EXPECT_EQ(DD->ItemIndex(), 3);
    DD->KeyTimerTick(DD->KeyTimer());
    SimulateKey(DD, VK_F3);
    EXPECT_TRUE(DD->SearchText().isEmpty());
}

TEST_F(ImagePicker, TheApplicationCanDrawTheEditContent) {
    // Nothing selected, or an item with neither picture nor image: nothing to draw, no failure.
    DD->Perform(WM_PAINT, 0, 0);
    AddCaptions({"plain"});
    DD->SetItemIndex(0);
    DD->Perform(WM_PAINT, 0, 0);
    int calls = 0;
    DD->OnDrawSelectedImage = [&](TObject* Sender, TCanvas* Canvas, TRect R) {
        ++calls;
        EXPECT_EQ(Sender, DD);
        EXPECT_NE(Canvas, nullptr);
        EXPECT_EQ(R, DD->GetEditRect());
    };
    DD->Perform(WM_PAINT, 0, 0);
    EXPECT_EQ(calls, 1);
}

TEST_F(ImagePicker, TheSelectedPictureShowsCentredInTheEdit) {
    // Item 0 draws the list's red 8 x 8 image; item 1 holds a blue 6 x 6 picture of its own,
    // which comes before its image index.
    DD->SetImages(Images(2));
    DD->AddImagesFromImageList();
    TBitmap blue(6, 6);
    blue.Canvas()->Brush()->SetColor(clBlue);
    blue.Canvas()->FillRect(TRect(0, 0, 6, 6));
    DD->Items()->GetItem(1)->Image()->SetGraphic(&blue);
    const struct {
        int Index;
        int Size;
        QColor Colour;
    } cases[] = {{0, 8, QColor(Qt::red)}, {1, 6, QColor(Qt::blue)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Index);
        DD->SetItemIndex(c.Index);
        Application->ProcessMessages();
        const TRect r = DD->GetEditRect();
        const int left = r.Left + (r.Width() - c.Size) / 2, top = r.Top + (r.Height() - c.Size) / 2;
        const QImage shown = ControlImage(DD);
        EXPECT_EQ(shown.pixelColor(left, top), c.Colour);
        EXPECT_EQ(shown.pixelColor(left + c.Size - 1, top + c.Size - 1), c.Colour);
        EXPECT_NE(shown.pixelColor(left - 1, top + c.Size / 2), c.Colour);
    }
}

TEST_F(ImagePicker, ThePopupListHoldsTheItemsAndAPickCloses) {
    DD->SetImages(Images(5));
    DD->AddImagesFromImageList();
    DD->Items()->GetItem(4)->SetCaption(QStringLiteral("four"));
    DD->Items()->GetItem(4)->SetHint(QStringLiteral("the fifth"));
    DD->SetItemIndex(1);
    Open();
    TAdvCustomItemSelector* list = DD->ItemSelector();
    ASSERT_EQ(list->Items()->Count(), 5);
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(list->Items()->Items(4)->Caption(), QStringLiteral("four"));
    EXPECT_EQ(list->Items()->Items(4)->Hint(), QStringLiteral("the fifth"));
    EXPECT_EQ(list->Items()->Items(3)->ImageIndex(), 3);
    Events.clear();
    list->SetItemIndex(3);
    EXPECT_FALSE(DD->DroppedDown());
    EXPECT_EQ(DD->ItemIndex(), 3);
    EXPECT_EQ(Events, (std::vector<std::string>{"change", "select"}));
}

TEST_F(ImagePicker, StylesAndOwnerDrawingReachTheList) {
    DD->SetImages(Images(3));
    DD->AddImagesFromImageList();
    DD->SetComponentStyle(tsWindows7);
    DD->SetColumns(3);
    DD->SetLayout(ilCaptionBottom);
    std::vector<int> drawn;
    DD->OnDrawItem = [&](TObject* Sender, TCanvas*, TRect, int Index) {
        EXPECT_EQ(Sender, DD);
        drawn.push_back(Index);
    };
    Open();
    TAdvCustomItemSelector* list = DD->ItemSelector();
    EXPECT_EQ(list->ItemAppearance()->ColorHot(), TColor(0xFDFBFA));
    EXPECT_EQ(list->Columns(), 3);
    EXPECT_EQ(list->ItemLayout(), ilCaptionBottom);
    EXPECT_EQ(list->Images(), ImageList);
    (void)ControlImage(list->SelectorPanel());
    EXPECT_EQ(drawn, (std::vector<int>{0, 1, 2}));
    Close();
    DD->SetSelectionColorStyle(scWindowsVista);
    EXPECT_EQ(list->ItemAppearance()->ColorStyle(), scWindowsVista);
}

TEST(ImageItems, AssignCopiesAnotherImageItemOnly) {
    TImageItems from(nullptr), to(nullptr);
    TImageItem* source = from.Add();
    source->SetCaption(QStringLiteral("logo"));
    source->SetImageIndex(4);
    source->SetHint(QStringLiteral("the logo"));
    TBitmap square(3, 2);
    source->Image()->SetGraphic(&square);
    int changes = 0;
    to.OnChange = [&](TObject*) { ++changes; };
    TImageItem* target = to.Add();
    target->Assign(source);
    EXPECT_EQ(target->Caption(), QStringLiteral("logo"));
    EXPECT_EQ(target->ImageIndex(), 4);
    EXPECT_EQ(target->Hint(), QStringLiteral("the logo"));
    EXPECT_EQ(target->Image()->Width(), 3);
    EXPECT_EQ(changes, 2); // caption and image index; the picture raises nothing
    TFont font;
    EXPECT_ANY_THROW(target->Assign(&font));
}

} // namespace
