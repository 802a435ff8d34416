// The grid's option objects: defaults, copies, what each tells the grid, and the sort-settings
// text.
#include "GridSettings.h"

#include "SettingsTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// One expected value of a table: a name and two values compared as 64-bit integers.
struct Value {
    const char* Name;
    long long Actual;
    long long Expected;
};

void ExpectValues(const std::vector<Value>& Values) {
    for (const Value& v : Values) EXPECT_EQ(v.Actual, v.Expected) << v.Name;
}

// One setter call and the requests it must make of the grid.
template <class T> struct Notice {
    const char* Name;
    std::function<void(T&)> Act;
    QStringList Expected;
};

template <class T>
void ExpectNotices(TSettingsHostFake& Host, T& Object, const std::vector<Notice<T>>& Cases) {
    for (const Notice<T>& c : Cases) {
        Host.Log.clear();
        c.Act(Object);
        EXPECT_EQ(Host.Take(), c.Expected) << c.Name;
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Sort settings

TEST(SortSettings, Defaults) {
    TSortSettings s(nullptr);
    ExpectValues({
        {"AutoSortForGrouping", s.AutoSortForGrouping(), true},
        {"AutoColumnMerge", s.AutoColumnMerge(), false},
        {"Column", s.Column(), -1},
        {"Show", s.Show(), false},
        {"IndexShow", s.IndexShow(), false},
        {"IndexColor", s.IndexColor(), 0x00FFFF},
        {"IndexSortKey", s.IndexSortKey(), ikShift},
        {"Full", s.Full(), true},
        {"SingleColumn", s.SingleColumn(), false},
        {"IgnoreBlanks", s.IgnoreBlanks(), false},
        {"BlankPos", s.BlankPos(), blFirst},
        {"AutoFormat", s.AutoFormat(), true},
        {"Direction", s.Direction(), sdAscending},
        {"UpGlyph empty", s.UpGlyph()->Empty(), true},
        {"DownGlyph empty", s.DownGlyph()->Empty(), true},
        {"IgnoreCase", s.IgnoreCase(), false},
        {"IndexUpGlyph empty", s.IndexUpGlyph()->Empty(), true},
        {"IndexDownGlyph empty", s.IndexDownGlyph()->Empty(), true},
        {"InitSortDirection", s.InitSortDirection(), sdAscending},
        {"FixedCols", s.FixedCols(), false},
        {"NormalCellsOnly", s.NormalCellsOnly(), false},
        {"Row", s.Row(), 0},
        {"UndoSort", s.UndoSort(), false},
        {"SortOnVirtualCells", s.SortOnVirtualCells(), true},
        {"HeaderColor", s.HeaderColor(), clNone},
        {"HeaderColorTo", s.HeaderColorTo(), clNone},
        {"HeaderMirrorColor", s.HeaderMirrorColor(), clNone},
        {"HeaderMirrorColorTo", s.HeaderMirrorColorTo(), clNone},
    });
}

TEST(SortSettings, AssignCopiesAllButIgnoreCaseAndVirtualCells) {
    TSortSettings src(nullptr), dst(nullptr);
    src.SetAutoSortForGrouping(false);
    src.SetAutoColumnMerge(true);
    src.SetColumn(4);
    src.SetShow(true);
    src.SetIndexShow(true);
    src.SetIndexColor(clRed);
    src.SetIndexSortKey(ikCtrl);
    src.SetFull(false);
    src.SetSingleColumn(true);
    src.SetIgnoreBlanks(true);
    src.SetBlankPos(blLast);
    src.SetAutoFormat(false);
    src.SetDirection(sdDescending);
    FillGlyph(src.UpGlyph(), clRed);
    FillGlyph(src.DownGlyph(), clBlue);
    FillGlyph(src.IndexUpGlyph(), clLime);
    FillGlyph(src.IndexDownGlyph(), clYellow);
    src.SetIgnoreCase(true);
    src.SetInitSortDirection(sdDescending);
    src.SetFixedCols(true);
    src.SetNormalCellsOnly(true);
    src.SetRow(3);
    src.SetUndoSort(true);
    src.SetSortOnVirtualCells(false);
    src.SetHeaderColor(1);
    src.SetHeaderColorTo(2);
    src.SetHeaderMirrorColor(3);
    src.SetHeaderMirrorColorTo(4);

    dst.Assign(&src);
    ExpectValues({
        {"AutoSortForGrouping", dst.AutoSortForGrouping(), false},
        {"AutoColumnMerge", dst.AutoColumnMerge(), true},
        {"Column", dst.Column(), 4},
        {"Show", dst.Show(), true},
        {"IndexShow", dst.IndexShow(), true},
        {"IndexColor", dst.IndexColor(), clRed},
        {"IndexSortKey", dst.IndexSortKey(), ikCtrl},
        {"Full", dst.Full(), false},
        {"SingleColumn", dst.SingleColumn(), true},
        {"IgnoreBlanks", dst.IgnoreBlanks(), true},
        {"BlankPos", dst.BlankPos(), blLast},
        {"AutoFormat", dst.AutoFormat(), false},
        {"Direction", dst.Direction(), sdDescending},
        {"UpGlyph", dst.UpGlyph()->Canvas()->Pixels(0, 0), clRed},
        {"DownGlyph", dst.DownGlyph()->Canvas()->Pixels(0, 0), clBlue},
        {"IndexUpGlyph", dst.IndexUpGlyph()->Canvas()->Pixels(0, 0), clLime},
        {"IndexDownGlyph", dst.IndexDownGlyph()->Canvas()->Pixels(0, 0), clYellow},
        {"InitSortDirection", dst.InitSortDirection(), sdDescending},
        {"FixedCols", dst.FixedCols(), true},
        {"NormalCellsOnly", dst.NormalCellsOnly(), true},
        {"Row", dst.Row(), 3},
        {"UndoSort", dst.UndoSort(), true},
        {"HeaderColor", dst.HeaderColor(), 1},
        {"HeaderColorTo", dst.HeaderColorTo(), 2},
        {"HeaderMirrorColor", dst.HeaderMirrorColor(), 3},
        {"HeaderMirrorColorTo", dst.HeaderMirrorColorTo(), 4},
        // not copied
        {"IgnoreCase", dst.IgnoreCase(), false},
        {"SortOnVirtualCells", dst.SortOnVirtualCells(), true},
    });
    EXPECT_NE(dst.UpGlyph(), src.UpGlyph()) << "pictures are copied, not shared";

    TShowModified other;
    dst.Assign(&other); // another class: ignored
    EXPECT_EQ(dst.Column(), 4);
}

TEST(SortSettings, Notifications) {
    TSettingsHostFake host;
    host.FixedRows = 2;
    TSortSettings s(&host);
    ExpectNotices<TSortSettings>(
        host, s,
        {
            {"Show on", [](TSortSettings& x) { x.SetShow(true); }, {"RepaintGrid"}},
            {"Show unchanged", [](TSortSettings& x) { x.SetShow(true); }, {}},
            {"HeaderColor", [](TSortSettings& x) { x.SetHeaderColor(clRed); }, {"RepaintRow 1"}},
            {"HeaderColor unchanged", [](TSortSettings& x) { x.SetHeaderColor(clRed); }, {}},
            {"HeaderColorTo", [](TSortSettings& x) { x.SetHeaderColorTo(clRed); }, {"RepaintRow 1"}},
            {"HeaderMirrorColor", [](TSortSettings& x) { x.SetHeaderMirrorColor(clRed); }, {"RepaintRow 1"}},
            {"HeaderMirrorColorTo",
             [](TSortSettings& x) { x.SetHeaderMirrorColorTo(clRed); },
             {"RepaintRow 1"}},
            {"Column", [](TSortSettings& x) { x.SetColumn(3); }, {}},
            {"Direction", [](TSortSettings& x) { x.ToggleDirection(); }, {}},
            {"Remove", [](TSortSettings& x) { x.Remove(); }, {"RepaintRow 1"}},
        });
    EXPECT_EQ(s.Column(), -1);
    EXPECT_EQ(s.Direction(), sdDescending);

    host.FixedRows = 0; // no fixed row to repaint
    s.SetHeaderColor(clBlue);
    s.Remove();
    EXPECT_EQ(host.Take(), QStringList());
}

TEST(SortSettings, RemoveEmptiesTheKeyList) {
    TSettingsHostFake host;
    TSortSettings s(&host);
    host.Keys.AddIndex(2, true);
    s.SetColumn(2);
    s.Remove();
    EXPECT_EQ(host.Keys.Count(), 0);
    EXPECT_EQ(s.SaveToString(), "u-1");
}

TEST(SortSettings, RowMustLieInTheFixedRows) {
    TSettingsHostFake host;
    host.FixedRows = 2;
    TSortSettings s(&host);
    s.SetRow(1); // FixedRows - 1
    EXPECT_EQ(s.Row(), 1);
    for (int bad : {2, 5}) {
        try {
            s.SetRow(bad);
            ADD_FAILURE() << bad << " accepted";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), "Sort row should be smaller than number of fixed rows");
        }
        EXPECT_EQ(s.Row(), 1) << "the old row stays";
    }
}

TEST(SortSettings, TextBothWays) {
    struct Case {
        const char* Text;
        const char* Saved;
        int Column;
        TSortDirection Direction;
        bool IndexShow;
        QStringList Requests;
    } cases[] = {
        {"d2", "d2", 2, sdDescending, false, {"RepaintGrid", "Sort"}},
        {"u0", "u0", 0, sdAscending, false, {"RepaintGrid", "Sort"}},
        {"u12", "u12", 12, sdAscending, false, {"RepaintGrid", "Sort"}},
        // no "u" in the text: descending
        {"x5", "d5", 5, sdDescending, false, {"RepaintGrid", "Sort"}},
        // not a number: direction and Show only, no sort
        {"uA", "u-1", -1, sdAscending, false, {"RepaintGrid"}},
        {"dA", "d-1", -1, sdDescending, false, {"RepaintGrid"}},
        {"i;u1;d3", "i;u1;d3", -1, sdAscending, true, {"RepaintGrid", "SortIndexed"}},
        // no keys after the marker: no sort
        {"i;", "i;", -1, sdAscending, true, {"RepaintGrid"}},
    };
    for (const Case& c : cases) {
        TSettingsHostFake host;
        TSortSettings s(&host);
        s.LoadFromString(c.Text);
        EXPECT_TRUE(s.Show()) << c.Text;
        EXPECT_EQ(s.Column(), c.Column) << c.Text;
        EXPECT_EQ(s.Direction(), c.Direction) << c.Text;
        EXPECT_EQ(s.IndexShow(), c.IndexShow) << c.Text;
        EXPECT_EQ(host.Take(), c.Requests) << c.Text;
        EXPECT_EQ(s.SaveToString(), c.Saved) << c.Text;
    }
}

TEST(SortSettings, KeysLoadIntoTheGridsList) {
    TSettingsHostFake host;
    TSortSettings s(&host);
    s.LoadFromString("i;u1;d3");
    ASSERT_EQ(host.Keys.Count(), 2);
    EXPECT_EQ(host.Keys.SortColumns(0), 1);
    EXPECT_TRUE(host.Keys.SortDirections(0));
    EXPECT_EQ(host.Keys.SortColumns(1), 3);
    EXPECT_FALSE(host.Keys.SortDirections(1));

    // Back to a single column: the index mode ends.
    s.LoadFromString("d4");
    EXPECT_FALSE(s.IndexShow());
    EXPECT_EQ(s.SaveToString(), "d4");
}

TEST(SortSettings, BadTextChangesNothing) {
    TSettingsHostFake host;
    TSortSettings s(&host);
    s.SetColumn(3);
    s.SetDirection(sdDescending);
    for (const char* text : {"u", "7", "i"}) {
        try {
            s.LoadFromString(text);
            ADD_FAILURE() << text << " accepted";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), "Invalid sort settings specifier") << text;
        }
        EXPECT_FALSE(s.Show()) << text;
        EXPECT_EQ(s.SaveToString(), "d3") << text;
        EXPECT_EQ(host.Take(), QStringList()) << text;
    }
    s.LoadFromString(""); // empty: nothing at all
    EXPECT_FALSE(s.Show());
    EXPECT_EQ(s.SaveToString(), "d3");
    EXPECT_EQ(host.Take(), QStringList());
}

// ---------------------------------------------------------------------------------------------
// Filter

TEST(Filter, ItemDefaultsAndAssign) {
    TFilter f(nullptr);
    TFilterData* a = f.Insert(0);
    ExpectValues({
        {"Column", a->Column(), 0},
        {"Condition empty", a->Condition().isEmpty(), true},
        {"CaseSensitive", a->CaseSensitive(), true},
        {"Data", a->Data(), fcVirtual},
        {"Prefix empty", a->Prefix().isEmpty(), true},
        {"Suffix empty", a->Suffix().isEmpty(), true},
        {"Operation", a->Operation(), foSHORT},
        {"Method", a->Method(), fmExpression},
    });
    a->SetColumn(3);
    a->SetCondition(">5");
    a->SetCaseSensitive(false);
    a->SetData(fcStripHTML);
    a->SetPrefix("$");
    a->SetSuffix("kg");
    a->SetOperation(foOR);
    a->SetMethod(fmLiteral);
    TFilterData* b = f.Insert(0);
    b->Assign(a);
    ExpectValues({
        {"Column", b->Column(), 3},
        {"Condition", b->Condition() == ">5", true},
        {"CaseSensitive", b->CaseSensitive(), false},
        {"Data", b->Data(), fcStripHTML},
        {"Prefix", b->Prefix() == "$", true},
        {"Suffix", b->Suffix() == "kg", true},
        {"Operation", b->Operation(), foOR},
        {"Method not copied", b->Method(), fmExpression},
    });
}

TEST(Filter, AddSetsTheOperation) {
    TFilter f(nullptr);
    EXPECT_EQ(f.Add()->Operation(), foNONE);
    EXPECT_EQ(f.Add()->Operation(), foAND);
    EXPECT_EQ(f.Add()->Operation(), foAND);
    EXPECT_EQ(f.Insert(0)->Operation(), foSHORT);
    EXPECT_EQ(f.Count(), 4);
    EXPECT_EQ(f.GetItem(3)->Operation(), foSHORT) << "Insert appends";
}

TEST(Filter, ColumnFilters) {
    TSettingsHostFake host;
    TFilter f(&host);
    EXPECT_EQ(f.Owner(), &host.Owner);
    EXPECT_FALSE(f.HasFilter(3));
    TFilterData* first = f.GetColFilter(3);
    EXPECT_EQ(first->Column(), 3);
    EXPECT_EQ(f.GetColFilter(3), first);
    EXPECT_EQ(f.Count(), 1);
    EXPECT_TRUE(f.HasFilter(3));

    f.Add()->SetColumn(1);
    f.Add()->SetColumn(3); // a second condition for column 3
    f.RemoveColumnFilter(3);
    ASSERT_EQ(f.Count(), 1);
    EXPECT_EQ(f.GetItem(0)->Column(), 1);
    EXPECT_FALSE(f.HasFilter(3));
    EXPECT_EQ(host.Take(), QStringList{"RepaintCell 3,0"});
}

TEST(Filter, AssignCopiesTheConditions) {
    TFilter src(nullptr), dst(nullptr);
    src.GetColFilter(2)->SetCondition("a*");
    src.GetColFilter(5)->SetCondition("b*");
    dst.Add();
    dst.Assign(&src);
    ASSERT_EQ(dst.Count(), 2);
    EXPECT_EQ(dst.GetItem(0)->Column(), 2);
    EXPECT_EQ(dst.GetItem(1)->Condition(), "b*");
    EXPECT_EQ(dst.GetItem(1)->Operation(), foAND);

    TFilterData* item = dst.GetItem(0);
    dst.SetItem(0, src.GetItem(1));
    EXPECT_EQ(dst.GetItem(0), item);
    EXPECT_EQ(item->Column(), 5);
}

// ---------------------------------------------------------------------------------------------
// Background

TEST(BackGround, DefaultsAndRepaints) {
    TSettingsHostFake host;
    TBackGround b(&host);
    ExpectValues({
        {"Top", b.Top(), 0},
        {"Left", b.Left(), 0},
        {"Display", b.Display(), bdTile},
        {"Bitmap empty", b.Bitmap()->Empty(), true},
        {"Cells", b.Cells(), bcNormal},
        {"Color", b.Color(), clWindow},
        {"ColorTo", b.ColorTo(), clBtnFace},
    });
    TBitmap pic;
    FillGlyph(&pic, clRed);
    const QStringList repaint{"RepaintGrid"};
    ExpectNotices<TBackGround>(host, b,
                               {
                                   {"Top", [](TBackGround& x) { x.SetTop(4); }, repaint},
                                   {"Left", [](TBackGround& x) { x.SetLeft(4); }, repaint},
                                   {"Display", [](TBackGround& x) { x.SetDisplay(bdGradientVert); }, repaint},
                                   {"Bitmap", [&](TBackGround& x) { x.SetBitmap(&pic); }, repaint},
                                   {"Cells", [](TBackGround& x) { x.SetCells(bcAll); }, repaint},
                                   {"Color", [](TBackGround& x) { x.SetColor(clRed); }, repaint},
                                   {"ColorTo", [](TBackGround& x) { x.SetColorTo(clRed); }, repaint},
                                   {"Color unchanged", [](TBackGround& x) { x.SetColor(clRed); }, repaint},
                               });
    EXPECT_EQ(b.Bitmap()->Canvas()->Pixels(1, 1), clRed);
    EXPECT_NE(b.Bitmap(), &pic);
}

TEST(BackGround, HasNoCopy) {
    TBackGround a(nullptr), b(nullptr);
    a.SetTop(7);
    EXPECT_THROW(b.Assign(&a), EConvertError);
    EXPECT_EQ(b.Top(), 0);
}

// ---------------------------------------------------------------------------------------------
// Control look

TEST(ControlLook, Defaults) {
    TSettingsHostFake host;
    TControlLook l(&host);
    ExpectValues({
        {"Color", l.Color(), clBlack},
        {"CommentColor", l.CommentColor(), 0x0000FF},
        {"CheckedGlyph empty", l.CheckedGlyph()->Empty(), true},
        {"UnCheckedGlyph empty", l.UnCheckedGlyph()->Empty(), true},
        {"RadioOnGlyph empty", l.RadioOnGlyph()->Empty(), true},
        {"RadioOffGlyph empty", l.RadioOffGlyph()->Empty(), true},
        {"CheckSize", l.CheckSize(), 15},
        {"RadioSize", l.RadioSize(), 10},
        {"CheckAlwaysActive", l.CheckAlwaysActive(), false},
        {"RadioAlwaysActive", l.RadioAlwaysActive(), false},
        {"ControlStyle", l.ControlStyle(), csTheme},
        {"DropDownAlwaysVisible", l.DropDownAlwaysVisible(), false},
        {"SpinButtonsAlwaysVisible", l.SpinButtonsAlwaysVisible(), false},
        {"DropDownCount", l.DropDownCount(), 8},
        {"FlatButton", l.FlatButton(), false},
        {"NoDisabledCheckRadioLook", l.NoDisabledCheckRadioLook(), false},
        {"NoDisabledButtonLook", l.NoDisabledButtonLook(), false},
        {"ProgressBorderColor", l.ProgressBorderColor(), 0x808080},
        {"ProgressMarginX", l.ProgressMarginX(), 2},
        {"ProgressMarginY", l.ProgressMarginY(), 2},
        {"ProgressXP", l.ProgressXP(), false},
        {"FixedDropDownButton", l.FixedDropDownButton(), false},
        {"HintMaxWidth", l.HintMaxWidth(), 0},
        {"FixedGradientFrom", l.FixedGradientFrom(), clNone},
        {"FixedGradientTo", l.FixedGradientTo(), clNone},
        {"FixedGradientMirrorFrom", l.FixedGradientMirrorFrom(), clNone},
        {"FixedGradientMirrorTo", l.FixedGradientMirrorTo(), clNone},
        {"FixedGradientHoverFrom", l.FixedGradientHoverFrom(), 0xFFFFFF},
        {"FixedGradientHoverTo", l.FixedGradientHoverTo(), 0x808080},
        {"FixedGradientHoverMirrorFrom", l.FixedGradientHoverMirrorFrom(), clNone},
        {"FixedGradientHoverMirrorTo", l.FixedGradientHoverMirrorTo(), clNone},
        {"FixedGradientHoverBorder", l.FixedGradientHoverBorder(), 0xC0C0C0},
        {"FixedGradientDownFrom", l.FixedGradientDownFrom(), 0xC0C0C0},
        {"FixedGradientDownTo", l.FixedGradientDownTo(), 0x808080},
        {"FixedGradientDownMirrorFrom", l.FixedGradientDownMirrorFrom(), clNone},
        {"FixedGradientDownMirrorTo", l.FixedGradientDownMirrorTo(), clNone},
        {"FixedGradientDownBorder", l.FixedGradientDownBorder(), 0x808080},
        {"DropDownHeader Visible", l.DropDownHeader()->Visible(), true},
        {"DropDownFooter Visible", l.DropDownFooter()->Visible(), true},
    });
    // The construction sets the grid's hover and down mirror colours, and nothing else.
    EXPECT_EQ(host.Take(), (QStringList{KitLine(fgHoverMirrorFrom, clNone), KitLine(fgHoverMirrorTo, clNone),
                                        KitLine(fgDownMirrorFrom, clNone), KitLine(fgDownMirrorTo, clNone)}));
    // csQuillon is the same style as csKestril.
    l.SetControlStyle(csQuillon);
    EXPECT_EQ(l.ControlStyle(), csKestril);
}

TEST(ControlLook, Notifications) {
    TSettingsHostFake host;
    TControlLook l(&host);
    TBitmap pic;
    FillGlyph(&pic, clRed);
    const QStringList repaint{"RepaintGrid"};
    const QStringList none;
    using L = TControlLook;
    ExpectNotices<L>(
        host, l,
        {
            {"Color", [](L& x) { x.SetColor(clRed); }, repaint},
            {"CommentColor", [](L& x) { x.SetCommentColor(clBlue); }, repaint},
            {"CheckedGlyph", [&](L& x) { x.SetCheckedGlyph(&pic); }, repaint},
            {"UnCheckedGlyph", [&](L& x) { x.SetUnCheckedGlyph(&pic); }, repaint},
            {"RadioOnGlyph", [&](L& x) { x.SetRadioOnGlyph(&pic); }, repaint},
            {"RadioOffGlyph", [&](L& x) { x.SetRadioOffGlyph(&pic); }, repaint},
            {"CheckSize", [](L& x) { x.SetCheckSize(20); }, repaint},
            {"RadioSize", [](L& x) { x.SetRadioSize(12); }, repaint},
            {"ControlStyle", [](L& x) { x.SetControlStyle(csWinXP); }, repaint},
            {"DropDownAlwaysVisible", [](L& x) { x.SetDropDownAlwaysVisible(true); }, repaint},
            {"SpinButtonsAlwaysVisible", [](L& x) { x.SetSpinButtonsAlwaysVisible(true); }, repaint},
            {"FlatButton", [](L& x) { x.SetFlatButton(true); }, repaint},
            {"NoDisabledCheckRadioLook", [](L& x) { x.SetNoDisabledCheckRadioLook(true); }, repaint},
            {"NoDisabledButtonLook", [](L& x) { x.SetNoDisabledButtonLook(true); }, repaint},
            {"ProgressMarginX", [](L& x) { x.SetProgressMarginX(3); }, repaint},
            {"ProgressMarginY", [](L& x) { x.SetProgressMarginY(3); }, repaint},
            {"ProgressXP", [](L& x) { x.SetProgressXP(true); }, repaint},
            {"DropDownCount", [](L& x) { x.SetDropDownCount(12); }, none},
            {"CheckAlwaysActive", [](L& x) { x.SetCheckAlwaysActive(true); }, none},
            {"RadioAlwaysActive", [](L& x) { x.SetRadioAlwaysActive(true); }, none},
            {"ProgressBorderColor", [](L& x) { x.SetProgressBorderColor(clRed); }, none},
            {"FixedDropDownButton", [](L& x) { x.SetFixedDropDownButton(true); }, none},
            {"HintMaxWidth", [](L& x) { x.SetHintMaxWidth(200); }, none},
        });
    EXPECT_EQ(l.CheckedGlyph()->Canvas()->Pixels(0, 0), clRed);
}

TEST(ControlLook, FixedGradientsGoToTheGrid) {
    TSettingsHostFake host;
    TControlLook l(&host);
    host.Log.clear();
    // The plain, hover and down colours and both borders go on only when not clNone; the mirror
    // colours always.
    const TFixedGradientColor passedUnlessNone[] = {fgFrom,        fgTo,       fgHoverFrom, fgHoverTo,
                                                    fgHoverBorder, fgDownFrom, fgDownTo,    fgDownBorder};
    const TFixedGradientColor mirrors[] = {fgMirrorFrom,    fgMirrorTo,       fgHoverMirrorFrom,
                                           fgHoverMirrorTo, fgDownMirrorFrom, fgDownMirrorTo};
    for (TFixedGradientColor w : passedUnlessNone) {
        l.SetFixedGradient(w, clRed);
        EXPECT_EQ(host.Take(), QStringList{KitLine(w, clRed)}) << w;
        l.SetFixedGradient(w, clNone);
        EXPECT_EQ(l.FixedGradient(w), clNone) << w;
        EXPECT_EQ(host.Take(), QStringList()) << w;
    }
    for (TFixedGradientColor w : mirrors) {
        l.SetFixedGradient(w, clRed);
        EXPECT_EQ(host.Take(), QStringList{KitLine(w, clRed)}) << w;
        l.SetFixedGradient(w, clNone);
        EXPECT_EQ(host.Take(), QStringList{KitLine(w, clNone)}) << w;
    }
    // The named setters reach the same colours.
    l.SetFixedGradientTo(clBlue);
    l.SetFixedGradientMirrorTo(clNone);
    EXPECT_EQ(host.Take(), (QStringList{KitLine(fgTo, clBlue), KitLine(fgMirrorTo, clNone)}));
    EXPECT_EQ(l.FixedGradientTo(), clBlue);
}

TEST(ControlLook, AssignCopiesEachToItself) {
    TSettingsHostFake host;
    TControlLook src(nullptr), dst(&host);
    src.SetColor(1);
    src.SetCommentColor(2);
    FillGlyph(src.CheckedGlyph(), clRed);
    FillGlyph(src.UnCheckedGlyph(), clBlue);
    FillGlyph(src.RadioOnGlyph(), clLime);
    FillGlyph(src.RadioOffGlyph(), clYellow);
    src.SetCheckSize(21);
    src.SetRadioSize(22);
    src.SetCheckAlwaysActive(true);
    src.SetRadioAlwaysActive(true);
    src.SetControlStyle(csGlyph);
    src.SetDropDownAlwaysVisible(true);
    src.SetSpinButtonsAlwaysVisible(true);
    src.SetDropDownCount(23);
    src.DropDownHeader()->SetCaption("head");
    src.DropDownFooter()->SetCaption("foot");
    src.SetFlatButton(true);
    src.SetNoDisabledCheckRadioLook(true);
    src.SetNoDisabledButtonLook(true);
    src.SetProgressBorderColor(3);
    src.SetProgressMarginX(24);
    src.SetProgressMarginY(25);
    src.SetProgressXP(true);
    src.SetFixedDropDownButton(true);
    src.SetHintMaxWidth(26);
    for (int w = fgFrom; w <= fgDownBorder; ++w) src.SetFixedGradient(TFixedGradientColor(w), 100 + w);
    host.Log.clear();

    dst.Assign(&src);
    std::vector<Value> values{
        {"Color", dst.Color(), 1},
        {"CommentColor", dst.CommentColor(), 2},
        {"CheckedGlyph", dst.CheckedGlyph()->Canvas()->Pixels(0, 0), clRed},
        {"UnCheckedGlyph", dst.UnCheckedGlyph()->Canvas()->Pixels(0, 0), clBlue},
        {"RadioOnGlyph", dst.RadioOnGlyph()->Canvas()->Pixels(0, 0), clLime},
        {"RadioOffGlyph", dst.RadioOffGlyph()->Canvas()->Pixels(0, 0), clYellow},
        {"CheckSize", dst.CheckSize(), 21},
        {"RadioSize", dst.RadioSize(), 22},
        {"CheckAlwaysActive", dst.CheckAlwaysActive(), true},
        {"RadioAlwaysActive", dst.RadioAlwaysActive(), true},
        {"ControlStyle", dst.ControlStyle(), csGlyph},
        {"DropDownAlwaysVisible", dst.DropDownAlwaysVisible(), true},
        {"SpinButtonsAlwaysVisible", dst.SpinButtonsAlwaysVisible(), true},
        {"DropDownCount", dst.DropDownCount(), 23},
        {"DropDownHeader", dst.DropDownHeader()->Caption() == "head", true},
        {"DropDownFooter", dst.DropDownFooter()->Caption() == "foot", true},
        {"FlatButton", dst.FlatButton(), true},
        {"NoDisabledCheckRadioLook", dst.NoDisabledCheckRadioLook(), true},
        {"NoDisabledButtonLook", dst.NoDisabledButtonLook(), true},
        {"ProgressBorderColor", dst.ProgressBorderColor(), 3},
        {"ProgressMarginX", dst.ProgressMarginX(), 24},
        {"ProgressMarginY", dst.ProgressMarginY(), 25},
        {"ProgressXP", dst.ProgressXP(), true},
        {"FixedDropDownButton", dst.FixedDropDownButton(), true},
        {"HintMaxWidth", dst.HintMaxWidth(), 26},
    };
    for (int w = fgFrom; w <= fgDownBorder; ++w)
        values.push_back({"FixedGradient", dst.FixedGradient(TFixedGradientColor(w)), 100 + w});
    ExpectValues(values);
    EXPECT_EQ(dst.FixedGradientFrom(), 100 + fgFrom) << "From goes to From, not To";
    // The gradient is not passed on; the grid repaints once.
    EXPECT_EQ(host.Take(), QStringList{"RepaintGrid"});
}

// ---------------------------------------------------------------------------------------------
// Grouping

TEST(Grouping, DefaultsAndAssign) {
    TGrouping g;
    ExpectValues({
        {"MergeHeader", g.MergeHeader, false},
        {"MergeSummary", g.MergeSummary, false},
        {"HeaderColor", g.HeaderColor, clNone},
        {"HeaderColorTo", g.HeaderColorTo, clNone},
        {"HeaderTextColor", g.HeaderTextColor, clNone},
        {"HeaderUnderline", g.HeaderUnderline, false},
        {"HeaderLineColor", g.HeaderLineColor, 0xFF0000},
        {"HeaderLineWidth", g.HeaderLineWidth, 2},
        {"Summary", g.Summary, false},
        {"SummaryColor", g.SummaryColor, clNone},
        {"SummaryColorTo", g.SummaryColorTo, clNone},
        {"SummaryTextColor", g.SummaryTextColor, clNone},
        {"SummaryLine", g.SummaryLine, false},
        {"SummaryLineColor", g.SummaryLineColor, 0xFF0000},
        {"SummaryLineWidth", g.SummaryLineWidth, 2},
        {"ShowGroupCount", g.ShowGroupCount, false},
        {"GroupCountFormat empty", g.GroupCountFormat.isEmpty(), true},
        {"AutoSelectGroup", g.AutoSelectGroup, false},
        {"AutoCheckGroup", g.AutoCheckGroup, false},
    });
    TGrouping src;
    src.MergeHeader = src.MergeSummary = src.HeaderUnderline = src.Summary = true;
    src.SummaryLine = src.ShowGroupCount = src.AutoSelectGroup = src.AutoCheckGroup = true;
    src.HeaderColor = 1;
    src.HeaderColorTo = 2;
    src.HeaderTextColor = 3;
    src.HeaderLineColor = 4;
    src.HeaderLineWidth = 5;
    src.SummaryColor = 6;
    src.SummaryColorTo = 7;
    src.SummaryTextColor = 8;
    src.SummaryLineColor = 9;
    src.SummaryLineWidth = 10;
    src.GroupCountFormat = "(%d)";
    g.Assign(&src);
    ExpectValues({
        {"MergeHeader", g.MergeHeader, true},
        {"MergeSummary", g.MergeSummary, true},
        {"HeaderColor", g.HeaderColor, 1},
        {"HeaderColorTo", g.HeaderColorTo, 2},
        {"HeaderTextColor", g.HeaderTextColor, 3},
        {"HeaderUnderline", g.HeaderUnderline, true},
        {"SummaryColor", g.SummaryColor, 6},
        {"SummaryColorTo", g.SummaryColorTo, 7},
        {"SummaryTextColor", g.SummaryTextColor, 8},
        {"SummaryLine", g.SummaryLine, true},
        {"ShowGroupCount", g.ShowGroupCount, true},
        {"GroupCountFormat", g.GroupCountFormat == "(%d)", true},
        {"AutoSelectGroup", g.AutoSelectGroup, true},
        {"AutoCheckGroup", g.AutoCheckGroup, true},
        // not copied
        {"Summary", g.Summary, false},
        {"HeaderLineColor", g.HeaderLineColor, 0xFF0000},
        {"HeaderLineWidth", g.HeaderLineWidth, 2},
        {"SummaryLineColor", g.SummaryLineColor, 0xFF0000},
        {"SummaryLineWidth", g.SummaryLineWidth, 2},
    });
}

// ---------------------------------------------------------------------------------------------
// Drag and drop

namespace {

// The fifteen flags of the drag-and-drop settings, with their setters.
struct Flag {
    const char* Name;
    bool (TDragDropSettings::*Get)() const;
    void (TDragDropSettings::*Set)(bool);
    bool Default;
};

const Flag DragDropFlags[] = {
    {"OleDropTarget", &TDragDropSettings::OleDropTarget, &TDragDropSettings::SetOleDropTarget, false},
    {"OleDropSource", &TDragDropSettings::OleDropSource, &TDragDropSettings::SetOleDropSource, false},
    {"OleAcceptFiles", &TDragDropSettings::OleAcceptFiles, &TDragDropSettings::SetOleAcceptFiles, true},
    {"OleAcceptText", &TDragDropSettings::OleAcceptText, &TDragDropSettings::SetOleAcceptText, true},
    {"OleAcceptURLs", &TDragDropSettings::OleAcceptURLs, &TDragDropSettings::SetOleAcceptURLs, true},
    {"OleEntireRows", &TDragDropSettings::OleEntireRows, &TDragDropSettings::SetOleEntireRows, false},
    {"OleInsertRows", &TDragDropSettings::OleInsertRows, &TDragDropSettings::SetOleInsertRows, false},
    {"OleAppendRows", &TDragDropSettings::OleAppendRows, &TDragDropSettings::SetOleAppendRows, false},
    {"OleRemoveRows", &TDragDropSettings::OleRemoveRows, &TDragDropSettings::SetOleRemoveRows, false},
    {"OleCopyAlways", &TDragDropSettings::OleCopyAlways, &TDragDropSettings::SetOleCopyAlways, false},
    {"OleColumnDragDrop", &TDragDropSettings::OleColumnDragDrop, &TDragDropSettings::SetOleColumnDragDrop,
     false},
    {"OleColumnReorder", &TDragDropSettings::OleColumnReorder, &TDragDropSettings::SetOleColumnReorder,
     false},
    {"OleColumnsOnly", &TDragDropSettings::OleColumnsOnly, &TDragDropSettings::SetOleColumnsOnly, false},
    {"ShowCells", &TDragDropSettings::ShowCells, &TDragDropSettings::SetShowCells, true},
    {"OleDropRTF", &TDragDropSettings::OleDropRTF, &TDragDropSettings::SetOleDropRTF, false},
};

} // namespace

TEST(DragDropSettings, DefaultsAndAssign) {
    TDragDropSettings src(nullptr), dst(nullptr);
    for (const Flag& f : DragDropFlags) {
        EXPECT_EQ((dst.*f.Get)(), f.Default) << f.Name;
        (src.*f.Set)(!f.Default);
    }
    TSettingsHostFake host;
    TDragDropSettings hosted(&host);
    hosted.Assign(&src);
    EXPECT_EQ(host.Take(), QStringList()) << "no registration, no RTF flag";
    for (const Flag& f : DragDropFlags) EXPECT_EQ((hosted.*f.Get)(), !f.Default) << f.Name;
}

TEST(DragDropSettings, DropTargetAndRTF) {
    TSettingsHostFake host;
    TDragDropSettings d(&host);
    ExpectNotices<TDragDropSettings>(
        host, d,
        {
            {"OleDropTarget on", [](TDragDropSettings& x) { x.SetOleDropTarget(true); }, {"OleDropTarget 1"}},
            {"OleDropTarget off",
             [](TDragDropSettings& x) { x.SetOleDropTarget(false); },
             {"OleDropTarget 0"}},
            {"OleDropRTF", [](TDragDropSettings& x) { x.SetOleDropRTF(true); }, {"RTF 1"}},
            {"OleDropSource", [](TDragDropSettings& x) { x.SetOleDropSource(true); }, {}},
        });
    host.Designing = true; // design time: the flag only
    d.SetOleDropTarget(true);
    EXPECT_TRUE(d.OleDropTarget());
    EXPECT_EQ(host.Take(), QStringList());
}

// ---------------------------------------------------------------------------------------------
// Modified-row marks, drag scrolling

TEST(ShowModified, DefaultsChangeAndAssign) {
    TShowModified m;
    EXPECT_FALSE(m.Enabled());
    EXPECT_EQ(m.Color(), clYellow);
    Counter changes;
    m.OnChange = changes.Handler();
    m.SetEnabled(true);
    EXPECT_EQ(changes.Count, 0);
    m.SetColor(clRed);
    EXPECT_EQ(changes.Count, 1);
    EXPECT_EQ(changes.LastSender, &m);

    TShowModified copy;
    Counter copyChanges;
    copy.OnChange = copyChanges.Handler();
    copy.Assign(&m);
    EXPECT_TRUE(copy.Enabled());
    EXPECT_EQ(copy.Color(), clRed);
    EXPECT_EQ(copyChanges.Count, 0);
}

TEST(DragScrollOptions, DefaultsAndAssign) {
    TDragScrollOptions o;
    ExpectValues({
        {"Active", o.Active(), false},
        {"InitialDelay", o.Delays()->InitialDelay, 1000},
        {"RepeatDelay", o.Delays()->RepeatDelay, 250},
        {"TopMargin", o.Margins()->TopMargin, 50},
        {"BottomMargin", o.Margins()->BottomMargin, 50},
        {"LeftMargin", o.Margins()->LeftMargin, 50},
        {"RightMargin", o.Margins()->RightMargin, 50},
    });
    TDragScrollOptions src;
    src.SetActive(true);
    src.Delays()->InitialDelay = 1;
    src.Delays()->RepeatDelay = 2;
    src.Margins()->TopMargin = 3;
    src.Margins()->BottomMargin = 4;
    src.Margins()->LeftMargin = 5;
    src.Margins()->RightMargin = 6;
    o.Assign(&src);
    ExpectValues({
        {"Active", o.Active(), true},
        {"InitialDelay", o.Delays()->InitialDelay, 1},
        {"RepeatDelay", o.Delays()->RepeatDelay, 2},
        {"TopMargin", o.Margins()->TopMargin, 3},
        {"BottomMargin", o.Margins()->BottomMargin, 4},
        {"LeftMargin", o.Margins()->LeftMargin, 5},
        {"RightMargin", o.Margins()->RightMargin, 6},
    });
    EXPECT_NE(o.Delays(), src.Delays());
}

// ---------------------------------------------------------------------------------------------
// Progress appearance

namespace {

struct ProgressProperty {
    const char* Name;
    long long (*Get)(const TGridProgressAppearance&);
    void (*Set)(TGridProgressAppearance&, long long);
    long long Default;
    long long Other;
};

#define PROGRESS_PROPERTY(Name, Type, Default, Other)                                                        \
    ProgressProperty {                                                                                       \
#Name, [](const TGridProgressAppearance& p)                                                          \
                    -> long long { return p.Name(); }, [](TGridProgressAppearance & p,                       \
                                                          long long v) { p.Set##Name(Type(v)); }, Default,   \
                                                                                               Other         \
    }

const ProgressProperty ProgressProperties[] = {
    PROGRESS_PROPERTY(CompleteColor, TColor, 0x0000FF, 1),
    PROGRESS_PROPERTY(CompleteFontColor, TColor, 0xFF0000, 2),
    PROGRESS_PROPERTY(UnCompleteColor, TColor, clNone, 3),
    PROGRESS_PROPERTY(UnCompleteFontColor, TColor, clWindowText, 4),
    PROGRESS_PROPERTY(Level0Color, TColor, 0x00FF00, 5),
    PROGRESS_PROPERTY(Level0ColorTo, TColor, 0xE1FFE1, 6),
    PROGRESS_PROPERTY(Level1Color, TColor, 0x00FFFF, 7),
    PROGRESS_PROPERTY(Level1ColorTo, TColor, 0xCAFFFF, 8),
    PROGRESS_PROPERTY(Level2Color, TColor, 0x53A9FF, 9),
    PROGRESS_PROPERTY(Level2ColorTo, TColor, 0xA8D3FF, 10),
    PROGRESS_PROPERTY(Level3Color, TColor, 0x0000FF, 11),
    PROGRESS_PROPERTY(Level3ColorTo, TColor, 0xCACAFF, 12),
    PROGRESS_PROPERTY(Level1Perc, int, 70, 13),
    PROGRESS_PROPERTY(Level2Perc, int, 90, 14),
    PROGRESS_PROPERTY(BorderColor, TColor, 0, 15),
    PROGRESS_PROPERTY(ShowBorder, bool, false, true),
    PROGRESS_PROPERTY(Stacked, bool, false, true),
    PROGRESS_PROPERTY(ShowPercentage, bool, true, false),
    PROGRESS_PROPERTY(CompletionSmooth, bool, true, false),
    PROGRESS_PROPERTY(ShowGradient, bool, true, false),
    PROGRESS_PROPERTY(Steps, int, 11, 16),
    PROGRESS_PROPERTY(Style, TProgressStyle, psXP, psClassic),
};

#undef PROGRESS_PROPERTY

} // namespace

TEST(ProgressAppearance, DefaultsAndChanges) {
    TGridProgressAppearance p;
    Counter changes;
    p.OnChange = changes.Handler();
    for (const ProgressProperty& prop : ProgressProperties) {
        EXPECT_EQ(prop.Get(p), prop.Default) << prop.Name;
        changes.Count = 0;
        prop.Set(p, prop.Default); // unchanged: nothing
        EXPECT_EQ(changes.Count, 0) << prop.Name;
        prop.Set(p, prop.Other);
        EXPECT_EQ(changes.Count, 1) << prop.Name;
        EXPECT_EQ(prop.Get(p), prop.Other) << prop.Name;
    }
    EXPECT_EQ(changes.LastSender, &p);
}

TEST(ProgressAppearance, AssignCopiesAllAndNotifiesOnce) {
    TGridProgressAppearance src, dst;
    for (const ProgressProperty& prop : ProgressProperties) prop.Set(src, prop.Other);
    Counter changes;
    dst.OnChange = changes.Handler();
    dst.Assign(&src);
    EXPECT_EQ(changes.Count, 1);
    for (const ProgressProperty& prop : ProgressProperties) EXPECT_EQ(prop.Get(dst), prop.Other) << prop.Name;
    TShowModified other;
    dst.Assign(&other);
    EXPECT_EQ(changes.Count, 1) << "another class is ignored";
}
