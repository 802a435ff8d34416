// Floating footer, balloon and filter drop-down settings: defaults, copies and notifications.
#include "GridPanelSettings.h"

#include "SettingsTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

// ---------------------------------------------------------------------------------------------
// Floating footer

TEST(FloatingFooter, Defaults) {
    TFloatingFooter f(nullptr);
    EXPECT_EQ(f.Height(), 0);
    EXPECT_FALSE(f.Visible());
    EXPECT_EQ(f.Color(), clBtnFace);
    EXPECT_EQ(f.FooterStyle(), fsFixedLastRow);
    EXPECT_EQ(f.Column(), 0);
    EXPECT_TRUE(f.CustomTemplate().isEmpty());
    EXPECT_TRUE(f.CalculateHiddenRows());
    EXPECT_TRUE(f.EnableCalculation());
    EXPECT_FALSE(f.ShowHint());
    EXPECT_EQ(f.BorderColor(), clNone);
    EXPECT_FALSE(Assigned(f.OnCalcFooter));
}

TEST(FloatingFooter, Notifications) {
    TSettingsHostFake host;
    TFloatingFooter f(&host);
    f.SetHeight(20); // no panel yet: the value only
    EXPECT_EQ(host.Take(), QStringList());
    using F = TFloatingFooter;
    struct Case {
        const char* Name;
        std::function<void(F&)> Act;
        QStringList Expected;
    } cases[] = {
        // Shown in the default style: the last row becomes the fixed footer row.
        {"Visible",
         [](F& x) { x.SetVisible(true); },
         {"PanelHeight 19", "PanelVisible 1", "FooterRows 1,1", "RepaintGrid"}},
        // Another style shows the last row in the row area again; FixedFooters stays.
        {"FooterStyle preview",
         [](F& x) { x.SetFooterStyle(fsColumnPreview); },
         {"HideLastRow 0", "RepaintGrid", "RepaintPanel"}},
        {"Visible in preview",
         [](F& x) { x.SetVisible(true); },
         {"PanelHeight 19", "PanelVisible 1", "FooterRows 0,0", "RepaintGrid"}},
        {"FooterStyle back",
         [](F& x) { x.SetFooterStyle(fsFixedLastRow); },
         {"HideLastRow 1", "RepaintGrid", "RepaintPanel"}},
        {"hidden",
         [](F& x) { x.SetVisible(false); },
         {"PanelHeight 0", "PanelVisible 0", "FooterRows 0,0", "RepaintGrid"}},
        {"FooterStyle while hidden",
         [](F& x) { x.SetFooterStyle(fsCustomPaint); },
         {"HideLastRow 0", "RepaintGrid", "RepaintPanel"}},
        {"Color", [](F& x) { x.SetColor(clRed); }, {"RepaintPanel"}},
        {"Column", [](F& x) { x.SetColumn(2); }, {"RepaintPanel"}},
        {"CustomTemplate", [](F& x) { x.SetCustomTemplate("<#2>"); }, {"RepaintPanel"}},
        {"BorderColor", [](F& x) { x.SetBorderColor(clRed); }, {"RepaintPanel"}},
        {"BorderColor unchanged", [](F& x) { x.SetBorderColor(clRed); }, {}},
        {"ShowHint", [](F& x) { x.SetShowHint(true); }, {"PanelShowHint 1"}},
        {"EnableCalculation", [](F& x) { x.SetEnableCalculation(false); }, {}},
        {"CalculateHiddenRows", [](F& x) { x.SetCalculateHiddenRows(false); }, {}},
        {"Invalidate", [](F& x) { x.Invalidate(); }, {"RepaintPanel"}},
    };
    for (const Case& c : cases) {
        c.Act(f);
        EXPECT_EQ(host.Take(), c.Expected) << c.Name;
    }

    host.PanelExists = true;
    f.SetHeight(25);
    EXPECT_EQ(host.Take(), QStringList{"PanelHeight 24"});
    f.SetHeight(0);
    EXPECT_EQ(host.Take(), QStringList());
    EXPECT_EQ(f.Height(), 0);
}

TEST(FloatingFooter, Assign) {
    TFloatingFooter src(nullptr);
    src.SetCalculateHiddenRows(false);
    src.SetColor(clRed);
    src.SetColumn(3);
    src.SetCustomTemplate("Total: <#2>");
    src.SetFooterStyle(fsFixedLastRow);
    src.SetVisible(true);
    src.SetShowHint(true);
    src.SetHeight(30);
    src.SetBorderColor(clBlue);
    src.SetEnableCalculation(false);

    TSettingsHostFake host;
    TFloatingFooter dst(&host);
    dst.SetHeight(20);
    dst.Assign(&src);
    EXPECT_FALSE(dst.CalculateHiddenRows());
    EXPECT_EQ(dst.Color(), clRed);
    EXPECT_EQ(dst.Column(), 3);
    EXPECT_EQ(dst.CustomTemplate(), "Total: <#2>");
    EXPECT_EQ(dst.FooterStyle(), fsFixedLastRow);
    EXPECT_TRUE(dst.Visible());
    EXPECT_TRUE(dst.ShowHint());
    // not copied
    EXPECT_EQ(dst.Height(), 20);
    EXPECT_EQ(dst.BorderColor(), clNone);
    EXPECT_TRUE(dst.EnableCalculation());
    // Visible and ShowHint go through their setters, so the grid follows.
    EXPECT_EQ(host.Take(), (QStringList{"PanelHeight 19", "PanelVisible 1", "FooterRows 1,1", "RepaintGrid",
                                        "PanelShowHint 1"}));
}

// ---------------------------------------------------------------------------------------------
// Balloons

TEST(BalloonSettings, DefaultsEnableAndAssign) {
    TBalloonSettings b;
    EXPECT_EQ(b.BackgroundColor(), clNone);
    EXPECT_EQ(b.TextColor(), clNone);
    EXPECT_EQ(b.ReshowDelay(), -1);
    EXPECT_EQ(b.InitialDelay(), -1);
    EXPECT_EQ(b.AutoHideDelay(), -1);
    EXPECT_EQ(b.Transparency(), 0);
    EXPECT_FALSE(b.Enable());
    EXPECT_FALSE(b.Initialized());

    Counter changes;
    b.OnEnableChange = changes.Handler();
    b.SetEnable(true);
    b.SetEnable(true); // the grid's handler decides what a repeat means
    EXPECT_EQ(changes.Count, 2);
    b.SetTextColor(clRed);
    EXPECT_EQ(changes.Count, 2);

    TBalloonSettings src;
    src.SetBackgroundColor(1);
    src.SetTextColor(2);
    src.SetReshowDelay(3);
    src.SetInitialDelay(4);
    src.SetAutoHideDelay(5);
    src.SetTransparency(6);
    src.SetEnable(true);
    TBalloonSettings dst;
    Counter dstChanges;
    dst.OnEnableChange = dstChanges.Handler();
    dst.Assign(&src);
    EXPECT_EQ(dst.BackgroundColor(), 1);
    EXPECT_EQ(dst.TextColor(), 2);
    EXPECT_EQ(dst.ReshowDelay(), 3);
    EXPECT_EQ(dst.InitialDelay(), 4);
    EXPECT_EQ(dst.AutoHideDelay(), 5);
    EXPECT_TRUE(dst.Enable());
    EXPECT_EQ(dst.Transparency(), 0) << "not copied";
    EXPECT_EQ(dstChanges.Count, 0) << "copied without the event";
}

// ---------------------------------------------------------------------------------------------
// Filter drop-down

TEST(FilterDropDown, DefaultsChangeAndAssign) {
    TFilterDropDown d;
    EXPECT_FALSE(d.AutoSize());
    EXPECT_EQ(d.Height(), 150);
    EXPECT_EQ(d.Width(), 150);
    EXPECT_EQ(d.Color(), clWindow);
    EXPECT_TRUE(d.Glyph()->Empty());
    EXPECT_TRUE(d.GlyphActive()->Empty());
    EXPECT_FALSE(d.ColumnWidth());

    Counter changes;
    d.OnChange = changes.Handler();
    d.SetWidth(200);
    d.SetColor(clRed);
    EXPECT_EQ(changes.Count, 0) << "plain values";
    TBitmap pic;
    FillGlyph(&pic, clRed);
    d.SetGlyph(&pic);
    EXPECT_GE(changes.Count, 1) << "a new glyph";
    changes.Count = 0;
    FillGlyph(d.GlyphActive(), clBlue); // drawing on the picture changes it too
    EXPECT_GE(changes.Count, 1);

    TFilterDropDown dst;
    dst.Font()->SetName("Courier New");
    d.SetAutoSize(true);
    d.SetHeight(120);
    d.SetColumnWidth(true);
    d.Font()->SetName("Arial");
    dst.Assign(&d);
    EXPECT_EQ(dst.Color(), clRed);
    EXPECT_TRUE(dst.ColumnWidth());
    EXPECT_EQ(dst.Font()->Name(), "Arial");
    EXPECT_EQ(dst.Height(), 120);
    EXPECT_EQ(dst.Width(), 200);
    EXPECT_EQ(dst.Glyph()->Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(dst.GlyphActive()->Canvas()->Pixels(0, 0), clBlue);
    EXPECT_FALSE(dst.AutoSize()) << "not copied";
}
