// The header and footer strips of a drop-down popup: defaults, what a form would store,
// notifications and copies.
#include "PopupAppearance.h"

#include "SettingsTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// The values both strips share, as (name, actual, expected).
template <class Strip> void ExpectStripDefaults(const Strip& S) {
    struct Row {
        const char* Name;
        long long Actual;
        long long Expected;
    } rows[] = {
        {"Visible", S.Visible(), true},
        {"Height", S.Height(), 22},
        {"BorderWidth", S.BorderWidth(), 1},
        {"ImageIndex", S.ImageIndex(), -1},
        {"Caption empty", S.Caption().isEmpty(), true},
        {"Color", S.Color(), 0xC0C0C0},
        {"ColorTo", S.ColorTo(), 0xFFFFFF},
        {"BorderColor", S.BorderColor(), 0},
        {"GradientDirection", S.GradientDirection(), gdVertical},
        {"ButtonAlignment", S.ButtonAlignment(), baRight},
        {"Buttons", S.Buttons()->Count(), 0},
    };
    for (const Row& r : rows) EXPECT_EQ(r.Actual, r.Expected) << r.Name;
}

} // namespace

TEST(PopupAppearance, Defaults) {
    TPersistent owner;
    THeaderAppearance header(&owner);
    TFooterAppearance footer(&owner);
    ExpectStripDefaults(header);
    ExpectStripDefaults(footer);
    EXPECT_TRUE(footer.SizeGrip());
    EXPECT_EQ(header.Font()->Name(), "Tahoma");
    TFont platformDefault;
    EXPECT_EQ(footer.Font()->Name(), platformDefault.Name());
    EXPECT_EQ(footer.Font()->Height(), platformDefault.Height());
    EXPECT_EQ(header.Buttons()->Owner(), &owner);
}

TEST(PopupAppearance, StoredProperties) {
    TPersistent owner;
    THeaderAppearance header(&owner);
    TFooterAppearance footer(&owner);
    // A default strip stores only what has no default.
    const QStringList always{"Font", "Visible", "Buttons"};
    EXPECT_EQ(header.StoredProperties(), always);
    EXPECT_EQ(footer.StoredProperties(), always);

    header.SetVisible(false);
    EXPECT_EQ(header.StoredProperties(), always) << "Visible is stored either way";

    struct Case {
        const char* Name;
        void (*Change)(TFooterAppearance&);
    } cases[] = {
        {"Color", [](TFooterAppearance& f) { f.SetColor(clRed); }},
        {"ColorTo", [](TFooterAppearance& f) { f.SetColorTo(clNone); }},
        {"Caption", [](TFooterAppearance& f) { f.SetCaption("x"); }},
        {"GradientDirection", [](TFooterAppearance& f) { f.SetGradientDirection(gdHorizontal); }},
        {"Height", [](TFooterAppearance& f) { f.SetHeight(30); }},
        {"BorderColor", [](TFooterAppearance& f) { f.SetBorderColor(clNone); }},
        {"BorderWidth", [](TFooterAppearance& f) { f.SetBorderWidth(0); }},
        {"ImageIndex", [](TFooterAppearance& f) { f.SetImageIndex(2); }},
        {"SizeGrip", [](TFooterAppearance& f) { f.SetSizeGrip(false); }},
        {"ButtonAlignment", [](TFooterAppearance& f) { f.SetButtonAlignment(baLeft); }},
    };
    for (const Case& c : cases) {
        TFooterAppearance f(&owner);
        c.Change(f);
        const QStringList stored = f.StoredProperties();
        EXPECT_EQ(stored.size(), 4) << c.Name;
        EXPECT_TRUE(stored.contains(c.Name)) << c.Name;
    }
    // In the published order.
    footer.SetButtonAlignment(baLeft);
    footer.SetSizeGrip(false);
    footer.SetColor(clRed);
    EXPECT_EQ(footer.StoredProperties(),
              (QStringList{"Color", "Font", "Visible", "SizeGrip", "Buttons", "ButtonAlignment"}));
}

TEST(PopupAppearance, VisibleNotifies) {
    THeaderAppearance header(nullptr);
    TFooterAppearance footer(nullptr);
    Counter h, f;
    header.OnChange = h.Handler();
    footer.OnChange = f.Handler();
    header.SetVisible(true);
    footer.SetVisible(true);
    EXPECT_EQ(h.Count + f.Count, 0) << "unchanged";
    header.SetVisible(false);
    footer.SetVisible(false);
    EXPECT_EQ(h.Count, 1);
    EXPECT_EQ(f.Count, 1);
    EXPECT_EQ(h.LastSender, &header);
    // Nothing else notifies.
    header.SetColor(clRed);
    header.SetCaption("x");
    header.SetHeight(40);
    header.Font()->SetName("Arial");
    EXPECT_EQ(h.Count, 1);
}

TEST(PopupAppearance, ButtonChangesNotify) {
    THeaderAppearance header(nullptr);
    TFooterAppearance footer(nullptr);
    Counter h, f;
    header.OnButtonsChanged = h.Handler();
    footer.OnButtonsChanged = f.Handler();
    THeaderButton* hb = header.Buttons()->Add();
    TFooterButton* fb = footer.Buttons()->Add();
    footer.Buttons()->Insert(0);
    EXPECT_EQ(h.Count + f.Count, 0) << "adding fires nothing";

    struct Case {
        const char* Name;
        std::function<void()> Act;
        int Fires;
    } cases[] = {
        {"header Caption", [&] { hb->SetCaption("OK"); }, 1},
        {"header Caption unchanged", [&] { hb->SetCaption("OK"); }, 0},
        {"header Enabled", [&] { hb->SetEnabled(false); }, 1},
        {"header Width", [&] { hb->SetWidth(60); }, 1},
        {"header Height", [&] { hb->SetHeight(20); }, 0},
        {"header ImageIndex", [&] { hb->SetImageIndex(3); }, 0},
        {"footer Caption", [&] { fb->SetCaption("Close"); }, 1},
        {"footer Enabled", [&] { fb->SetEnabled(false); }, 1},
        {"footer Width", [&] { fb->SetWidth(70); }, 1},
        {"footer Height", [&] { fb->SetHeight(20); }, 0},
        {"footer ModalResult", [&] { fb->SetModalResult(mrOk); }, 0},
        {"footer delete", [&] { footer.Buttons()->Delete(0); }, 0},
    };
    for (const Case& c : cases) {
        const int before = h.Count + f.Count;
        c.Act();
        EXPECT_EQ(h.Count + f.Count - before, c.Fires) << c.Name;
    }
    EXPECT_EQ(h.LastSender, &header);
    EXPECT_EQ(f.LastSender, &footer);
}

TEST(PopupAppearance, AssignHeader) {
    THeaderAppearance src(nullptr), dst(nullptr);
    src.SetColorTo(1);
    src.SetColor(2);
    src.SetBorderColor(3);
    src.SetCaption("Pick one");
    src.Font()->SetName("Arial");
    src.SetImageIndex(4);
    src.SetBorderWidth(2);
    src.SetGradientDirection(gdHorizontal);
    src.SetHeight(30);
    src.SetVisible(false);
    src.SetButtonAlignment(baLeft);
    src.Buttons()->Add()->SetCaption("All");

    // OnChange fires once, after the colours, caption and sizes and before the buttons.
    int fired = 0;
    dst.OnChange = [&](TObject*) {
        ++fired;
        EXPECT_EQ(dst.Color(), 2);
        EXPECT_EQ(dst.Caption(), "Pick one");
        EXPECT_EQ(dst.Height(), 30);
        EXPECT_EQ(dst.Font()->Name(), "Arial");
        EXPECT_EQ(dst.Buttons()->Count(), 0);
    };
    dst.Assign(&src);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(dst.ColorTo(), 1);
    EXPECT_EQ(dst.BorderColor(), 3);
    EXPECT_EQ(dst.ImageIndex(), 4);
    EXPECT_EQ(dst.BorderWidth(), 2);
    EXPECT_EQ(dst.GradientDirection(), gdHorizontal);
    EXPECT_FALSE(dst.Visible());
    EXPECT_EQ(dst.ButtonAlignment(), baLeft);
    ASSERT_EQ(dst.Buttons()->Count(), 1);
    EXPECT_EQ(dst.Buttons()->Items(0)->Caption(), "All");
    EXPECT_NE(dst.Buttons()->Items(0), src.Buttons()->Items(0));
}

TEST(PopupAppearance, AssignFooter) {
    TFooterAppearance src(nullptr), dst(nullptr);
    src.SetBorderColor(1);
    src.SetColor(2);
    src.SetColorTo(3);
    src.SetGradientDirection(gdHorizontal);
    src.Font()->SetName("Arial");
    src.SetCaption("3 items");
    src.SetSizeGrip(false);
    src.SetBorderWidth(2);
    src.SetHeight(30);
    src.SetImageIndex(4);
    src.SetButtonAlignment(baLeft);
    TFooterButton* b = src.Buttons()->Add();
    b->SetCaption("OK");
    b->SetModalResult(mrOk);
    b->SetWidth(50);
    Counter changes;
    dst.OnChange = changes.Handler();
    dst.Assign(&src);
    EXPECT_EQ(changes.Count, 0) << "Visible unchanged";
    EXPECT_EQ(dst.BorderColor(), 1);
    EXPECT_EQ(dst.Color(), 2);
    EXPECT_EQ(dst.ColorTo(), 3);
    EXPECT_EQ(dst.GradientDirection(), gdHorizontal);
    EXPECT_EQ(dst.Font()->Name(), "Arial");
    EXPECT_EQ(dst.Caption(), "3 items");
    EXPECT_FALSE(dst.SizeGrip());
    EXPECT_EQ(dst.BorderWidth(), 2);
    EXPECT_EQ(dst.Height(), 30);
    EXPECT_EQ(dst.ImageIndex(), 4);
    EXPECT_EQ(dst.ButtonAlignment(), baLeft);
    ASSERT_EQ(dst.Buttons()->Count(), 1);
    EXPECT_EQ(dst.Buttons()->Items(0)->ModalResult(), mrOk);
    EXPECT_EQ(dst.Buttons()->Items(0)->Width(), 50);
}

TEST(PopupAppearance, ForeignSourcesAreIgnored) {
    THeaderAppearance header(nullptr);
    TFooterAppearance footer(nullptr);
    header.SetCaption("h");
    footer.SetCaption("f");
    EXPECT_NO_THROW(footer.Assign(&header));
    EXPECT_NO_THROW(header.Assign(nullptr));
    EXPECT_NO_THROW(header.AssignColors(&footer));
    EXPECT_EQ(footer.Caption(), "f");
    EXPECT_EQ(header.Caption(), "h");

    // Button items fall back to the platform's copy, which refuses.
    THeaderButton* hb = header.Buttons()->Add();
    TFooterButton* fb = footer.Buttons()->Add();
    EXPECT_THROW(hb->Assign(fb), EConvertError);
    EXPECT_THROW(fb->Assign(hb), EConvertError);
    EXPECT_THROW(header.Buttons()->Items(5), EListError);
}

TEST(PopupAppearance, AssignColorsOnlyTheColours) {
    THeaderAppearance src(nullptr), dst(nullptr);
    src.SetColorTo(1);
    src.SetColor(2);
    src.SetBorderColor(3);
    src.Font()->SetName("Arial");
    src.SetGradientDirection(gdHorizontal);
    src.SetCaption("c");
    src.SetHeight(40);
    src.SetVisible(false);
    src.SetImageIndex(5);
    src.SetBorderWidth(3);
    src.Buttons()->Add();
    Counter changes;
    dst.OnChange = changes.Handler();
    dst.AssignColors(&src);
    EXPECT_EQ(dst.ColorTo(), 1);
    EXPECT_EQ(dst.Color(), 2);
    EXPECT_EQ(dst.BorderColor(), 3);
    EXPECT_EQ(dst.Font()->Name(), "Arial");
    EXPECT_EQ(dst.GradientDirection(), gdHorizontal);
    EXPECT_TRUE(dst.Caption().isEmpty());
    EXPECT_EQ(dst.Height(), 22);
    EXPECT_TRUE(dst.Visible());
    EXPECT_EQ(dst.ImageIndex(), -1);
    EXPECT_EQ(dst.BorderWidth(), 1);
    EXPECT_EQ(dst.Buttons()->Count(), 0);
    EXPECT_EQ(changes.Count, 0);

    TFooterAppearance fsrc(nullptr), fdst(nullptr);
    fsrc.SetColor(7);
    fsrc.SetSizeGrip(false);
    fdst.AssignColors(&fsrc);
    EXPECT_EQ(fdst.Color(), 7);
    EXPECT_TRUE(fdst.SizeGrip());
}
