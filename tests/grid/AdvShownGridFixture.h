// A test fixture for the grid control: a grid shown on a form (so it measures and paints on its
// window's canvas), with a probe canvas that starts with the grid's font for the expected text
// metrics.
#pragma once

#include "AdvGrid.h"
#include "Forms.h"
#include "Graphics.h"

#include <gtest/gtest.h>

#include <memory>

class AdvShownGridFixture : public ::testing::Test {
protected:
    void SetUp() override {
        Form = new TForm(nullptr);
        Form->SetBounds(100, 100, 600, 400);
        Grid = new TAdvStringGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(10, 10, 400, 250);
        Form->Show();
        Application->ProcessMessages();
        Probe = std::make_unique<TBitmap>();
        Probe->SetSize(10, 10);
        Probe->Canvas()->Font()->Assign(Grid->Font());
    }
    void TearDown() override { TObject::Free(Form); }

    TForm* Form = nullptr;
    TAdvStringGrid* Grid = nullptr;
    std::unique_ptr<TBitmap> Probe;
};
