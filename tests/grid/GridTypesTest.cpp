// The grid's shared lists: integer lists with their events and string form, sort keys, controls
// in cells, file pictures and the line file in memory.
#include "GridTypes.h"

#include "Controls.h"
#include "Graphics.h"
#include "SysUtils.h"
#include "TestSupport.h"

#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Other units test editor kinds and sort styles by ordinal.
static_assert(edComboEdit == 2 && edComboList == 3 && edSpinEdit == 1 && edFloatSpinEdit == 20 &&
              edDateSpinEdit == 22 && edNone == 27 && edMaskEditBtn == 42);
static_assert(ssAutomatic == 0 && ssFinancial == 9 && ssAlphaNumericNoCase == 19);

namespace {

struct ChangeLog {
    int Count = 0;
    int Col = -1, Row = -1;
    TImageChangeEvent Handler() {
        return [this](TObject*, int c, int r) {
            ++Count;
            Col = c;
            Row = r;
        };
    }
};

} // namespace

TEST(IntList, ChangesFireWithTheOwningCell) {
    ChangeLog log;
    TIntList* list = new TIntList(4, 7);
    auto freeList = FreeAtEnd(list);
    list->OnChange = log.Handler();
    list->Add(1);
    list->Add(20);
    list->Add(3);
    EXPECT_EQ(log.Count, 3);
    EXPECT_EQ(log.Col, 4);
    EXPECT_EQ(log.Row, 7);
    EXPECT_EQ(list->StrValue(), QStringLiteral("1,20,3"));

    list->Insert(0, 9); // no event
    EXPECT_EQ(log.Count, 3);
    list->SetInteger(0, 8);
    list->Delete(1);
    EXPECT_EQ(log.Count, 5);
    list->DeleteValue(42); // absent: nothing
    EXPECT_EQ(log.Count, 5);
    list->DeleteValue(20);
    EXPECT_EQ(log.Count, 6);
    EXPECT_EQ(list->StrValue(), QStringLiteral("8,3"));
    EXPECT_TRUE(list->HasValue(3));
    EXPECT_FALSE(list->HasValue(20));

    EXPECT_THROW(list->GetInteger(2), EListError);
    EXPECT_THROW(list->SetInteger(-1, 0), EListError);
    EXPECT_THROW(list->Delete(5), EListError);
    EXPECT_THROW(list->Insert(4, 0), EListError);
}

TEST(IntList, StrValueWriteClearsAndAddsEachValue) {
    ChangeLog log;
    TIntList* list = new TIntList(0, 0);
    auto freeList = FreeAtEnd(list);
    list->Add(1);
    list->OnChange = log.Handler();
    list->SetStrValue(QStringLiteral("4,5"));
    EXPECT_EQ(log.Count, 2); // one per value, none for the clearing
    EXPECT_EQ(list->Count(), 2);
    EXPECT_EQ(list->GetInteger(0), 4);
    EXPECT_EQ(list->GetInteger(1), 5);
    list->SetStrValue(QString());
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(list->StrValue(), QString());
    // A part that is no integer: the error, and the list keeps its values without an event.
    list->SetStrValue(QStringLiteral("7,8"));
    log.Count = 0;
    EXPECT_THROW(list->SetStrValue(QStringLiteral("1,x")), EConvertError);
    EXPECT_EQ(list->StrValue(), QStringLiteral("7,8"));
    EXPECT_EQ(log.Count, 0);
}

TEST(SortIndexList, StringForm) {
    TSortIndexList* keys = new TSortIndexList;
    auto freeKeys = FreeAtEnd(keys);
    keys->AddIndex(3, false);
    EXPECT_EQ(keys->SaveToString(), QStringLiteral("d3"));
    keys->AddIndex(65537, true); // only the low 16 bits are written
    EXPECT_EQ(keys->SaveToString(), QStringLiteral("d3;u1"));

    struct Case {
        const char* Text;
        const char* Saved;
    } cases[] = {
        {"u2;;d0;x", "u2;d0"}, // the empty and the one-character part are passed over
        {"x5", "d5"},          // any first letter but "u" is descending
        {"u12x;d3", "u12;d3"}, // a malformed number keeps its leading digits
        {"u-3;u4", "u4"},      // a negative column is passed over
        {"", ""},
    };
    for (const Case& c : cases) {
        keys->LoadFromString(QString::fromLatin1(c.Text));
        EXPECT_EQ(keys->SaveToString(), QString::fromLatin1(c.Saved)) << c.Text;
    }
    keys->LoadFromString(QStringLiteral("u2;d0"));
    EXPECT_EQ(keys->SortColumns(0), 2);
    EXPECT_TRUE(keys->SortDirections(0));
    EXPECT_EQ(keys->SortColumns(1), 0);
    EXPECT_FALSE(keys->SortDirections(1));
}

TEST(SortIndexList, FindToggleAndBitFields) {
    TSortIndexList* keys = new TSortIndexList;
    auto freeKeys = FreeAtEnd(keys);
    keys->AddIndex(5, true);
    keys->AddIndex(2, false);
    EXPECT_EQ(keys->FindIndex(2), 1);
    EXPECT_EQ(keys->FindIndex(9), -1);
    keys->ToggleIndex(9); // no key: nothing
    keys->ToggleIndex(5);
    EXPECT_FALSE(keys->SortDirections(0));
    keys->ToggleIndex(5);
    EXPECT_TRUE(keys->SortDirections(0));
    EXPECT_EQ(keys->GetInteger(0), 5);

    keys->SetSortColumns(1, 7); // keeps the direction
    EXPECT_EQ(keys->SortColumns(1), 7);
    EXPECT_FALSE(keys->SortDirections(1));
    keys->SetSortDirections(1, true); // keeps the column
    EXPECT_EQ(keys->GetInteger(1), 7);
    EXPECT_EQ(unsigned(keys->GetInteger(0) | 0), 5u);
    keys->SetSortDirections(0, false);
    EXPECT_EQ(unsigned(keys->GetInteger(0)), 0x80000005u);
}

TEST(ControlList, ItemsAreOwnedControlsAreNot) {
    TControlList* list = new TControlList;
    TWinControl* control = new TWinControl(nullptr);
    auto freeControl = FreeAtEnd(control);
    control->HandleNeeded();
    list->AddControl(1, 2, control);
    list->AddControl(3, 4, nullptr);
    EXPECT_EQ(list->ControlIndex(3, 4), 1);
    EXPECT_EQ(list->ControlIndex(2, 1), -1);
    EXPECT_EQ(list->GetControl(0)->Control, control);
    EXPECT_TRUE(list->HasHandle(control->Handle()));
    EXPECT_FALSE(list->HasHandle(control->Handle() + 1000));
    list->RemoveControl(0);
    EXPECT_EQ(list->Count(), 1);
    EXPECT_FALSE(list->HasHandle(control->Handle()));
    EXPECT_THROW(list->GetControl(1), EListError);
    EXPECT_THROW(list->RemoveControl(3), EListError);
    TObject::Free(list);                           // frees the remaining item
    EXPECT_EQ(control->Width(), control->Width()); // the control is still alive
}

TEST(FilePicture, NameReadsTheSizeAndDrawingReadsTheFile) {
    QTemporaryDir dir;
    const String file = dir.filePath(QStringLiteral("pic.png"));
    QImage img(8, 6, QImage::Format_RGB32);
    img.fill(QColor(0, 0, 255));
    ASSERT_TRUE(img.save(file));

    TFilePicture* pic = new TFilePicture;
    auto freePic = FreeAtEnd(pic);
    pic->SetFilename(file);
    EXPECT_EQ(pic->Width(), 8);
    EXPECT_EQ(pic->Height(), 6);

    TBitmap* bmp = new TBitmap(20, 20);
    auto freeBmp = FreeAtEnd(bmp);
    bmp->Canvas()->Brush()->SetColor(clWhite);
    bmp->Canvas()->FillRect(TRect(0, 0, 20, 20));
    pic->DrawPicture(bmp->Canvas(), TRect(2, 2, 18, 14)); // stretched
    EXPECT_EQ(bmp->Canvas()->Pixels(17, 13), clBlue);
    EXPECT_EQ(bmp->Canvas()->Pixels(18, 14), clWhite);

    TFilePicture* copy = new TFilePicture;
    auto freeCopy = FreeAtEnd(copy);
    QFile::remove(file);
    copy->Assign(pic); // no reading
    EXPECT_EQ(copy->Filename(), file);
    EXPECT_EQ(copy->Width(), 8);
    copy->DrawPicture(bmp->Canvas(), TRect(0, 0, 20, 20)); // the file is gone: nothing drawn
    EXPECT_EQ(bmp->Canvas()->Pixels(0, 0), clWhite);

    EXPECT_ANY_THROW(copy->SetFilename(file));
    copy->SetFilename(QString());
    EXPECT_EQ(copy->Width(), 0);
}

TEST(FileStringList, LineFileInMemory) {
    TFileStringList* f = new TFileStringList;
    auto freeF = FreeAtEnd(f);
    f->Write(QStringLiteral("a"));
    f->Write(QStringLiteral("b"));
    f->WriteLn(QStringLiteral("c"));
    f->WriteLn(QStringLiteral("d"));
    EXPECT_EQ(f->Count(), 2);
    EXPECT_EQ(f->Strings(0), QStringLiteral("abc"));
    f->Write(QStringLiteral("pending"));
    f->Reset();
    EXPECT_TRUE(f->cache.isEmpty());
    String s;
    EXPECT_FALSE(f->Eof());
    f->ReadLn(s);
    EXPECT_EQ(s, QStringLiteral("abc"));
    f->ReadLn(s);
    EXPECT_EQ(s, QStringLiteral("d"));
    EXPECT_TRUE(f->Eof());
    EXPECT_THROW(f->ReadLn(s), EListError);
    EXPECT_EQ(s, QStringLiteral("d"));
}
