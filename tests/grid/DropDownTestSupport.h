// Helpers of the drop-down unit's tests.
#pragma once

#include "AdvDropDownForm.h"
#include "Forms.h"
#include "Graphics.h"
#include "ImgList.h"

#include <gtest/gtest.h>

// A new image list (no owner) holding one Size x Size image of a single colour.
inline TCustomImageList* NewOneColourImages(TColor Color, int Size = 8) {
    auto* images = new TCustomImageList(nullptr, Size, Size);
    auto* square = new TBitmap(Size, Size);
    square->Canvas()->Brush()->SetColor(Color);
    square->Canvas()->FillRect(TRect(0, 0, Size, Size));
    images->Add(square, nullptr);
    TObject::Free(square);
    return images;
}

// A shown form for drop-downs to sit on, with the tick count of the 250 ms reopen rule in the
// test's hand (Tick).
class DropDownFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetDropDownTickSource([this] { return Tick; });
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 400, 300);
        Form->Show();
    }
    void TearDown() override {
        TObject::Free(Form);
        SetDropDownTickSource(nullptr);
    }

    Cardinal Tick = 100000;
    TForm* Form = nullptr;
};
