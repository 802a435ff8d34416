#include "AdvItemSelector.h"

#include "ExtCtrls.h"
#include "ImgList.h"
#include "MarkupText.h"
#include "SysUtils.h"

#include <QKeyEvent>

#include <algorithm>

namespace {

bool HasPicture(const TPicture* P) {
    return P && P->Graphic() && !P->Graphic()->Empty();
}

// Twelve colours of a selection colour style, in the order of the style table.
struct TItemPreset {
    TColor ColorHot, ColorHotTo, ColorMirrorHot, ColorMirrorHotTo;
    TColor BorderColorTop, BorderColorBottom, BorderColor, EdgeColor;
    TColor ColorSelected, ColorSelectedTo, ColorMirrorSelected, ColorMirrorSelectedTo;
};

const TItemPreset* ItemPreset(TSelectionColorStyle Style) {
    static const TItemPreset office2007 = {0xD7FFFD, 0x58D4FC, 0x58D4FC, 0xB3F1FC, 0xF4FEFF, 0xCAF8FF,
                                           0x8DD7D3, 0xC3D9DF, 0xA6FFFB, 0x04B9F4, 0x15C1FB, 0x68E3F9};
    static const TItemPreset vista = {0xFDF8F1, 0xFCEFD5, clNone,   clNone,   0xFDFBF6, 0xFDF5E7,
                                      0xFDDE99, 0xFCEDCB, 0xFAEEDE, 0xFAE3B4, clNone,   clNone};
    static const TItemPreset windows7 = {0xFCEBDC, 0xFCDBC1, clNone,   clNone,   0xFDF4EB, 0xFDEADB,
                                         0xCEA27D, 0xE0C5AE, 0xF9D8B9, 0xFBCAA2, clNone,   clNone};
    switch (Style) {
        case scOffice2007: return &office2007;
        case scWindowsVista: return &vista;
        case scWindows7: return &windows7;
        default: return nullptr;
    }
}

} // namespace

String TypeAheadKeyText(TWinControl* Control, Word Key) {
    String text;
    const auto* event = Control ? dynamic_cast<const QKeyEvent*>(Control->CurrentEvent()) : nullptr;
    if (event && event->type() == QEvent::KeyPress) {
        text = event->text();
    } else if ((Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9') || Key == VK_SPACE) {
        text = QChar(Key);
    } else if (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD0 + 9) {
        text = QChar(u'0' + (Key - VK_NUMPAD0));
    }
    for (const QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) return String();
    return text.toUpper();
}

void TPickerListKeys::Step(int Index) const {
    if (!Selector || Index < 0 || Index >= Selector->Items()->Count()) return;
    {
        TFlagGuard internal(*InternalCall);
        Selector->SetItemIndex(Index);
    }
    Selector->ScrollItemInView(Index);
}

void TPickerListKeys::HandleKey(TWinControl* Control, Word Key, bool DroppedDown, bool EditorEnabled) const {
    switch (Key) {
        case VK_PRIOR:
        case VK_NEXT: {
            if (!Selector) break;
            if (Selector->Items()->Count() != Count && Refill) Refill();
            const int n = Selector->GetVisibleItemCount();
            if (n < 1) break;
            const int current = Selector->ItemIndex();
            Step(Key == VK_PRIOR ? std::max(current - n, 0) : std::min(current + n, Count - 1));
            break;
        }
        case VK_HOME:
        case VK_END:
            if (DroppedDown && Selector) {
                TFlagGuard internal(*InternalCall);
                if (Key == VK_HOME)
                    Selector->SelectFirst();
                else
                    Selector->SelectLast();
            } else if (Key == VK_HOME) {
                SelectFirst();
            } else {
                SelectLast();
            }
            break;
        case VK_LEFT:
        case VK_RIGHT:
            if (!EditorEnabled && DroppedDown && Selector) {
                TFlagGuard internal(*InternalCall);
                if (Key == VK_LEFT)
                    Selector->SelectPrevious();
                else
                    Selector->SelectNext();
            }
            break;
        case VK_UP:
        case VK_DOWN:
            if (DroppedDown && Selector) {
                const int current = Selector->ItemIndex();
                Step(current < 0 ? 0 : current + (Key == VK_UP ? -Columns : Columns));
            } else if (!DroppedDown) {
                if (Key == VK_UP)
                    SelectPrevious();
                else
                    SelectNext();
            }
            break;
        default: {
            if (GetKeyState(VK_CONTROL) < 0 || !Selector) break;
            // The character the key types, not its key code: a key that types nothing adds
            // nothing and looks nothing up.
            const String typed = TypeAheadKeyText(Control, Key);
            if (typed.isEmpty()) break;
            // The list is filled when the popup opens: a picker that never opened looks its
            // items up all the same.
            if (Selector->Items()->Count() != Count && Refill) Refill();
            *Search += typed;
            {
                TFlagGuard internal(*InternalCall);
                Selector->LookupItem(*Search);
            }
            // A running timer is not restarted: the burst ends 500 ms after its first key.
            if (!KeyTimer->Enabled()) KeyTimer->SetEnabled(true);
            break;
        }
    }
}

// =============================================================================================
// TSelectorItem

TSelectorItem::TSelectorItem(TCollection* Collection) : TCollectionItem(Collection), FImage(new TPicture) {}

TSelectorItem::~TSelectorItem() {
    delete FImage;
}

void TSelectorItem::SetCaption(const String& Value) {
    if (Value == FCaption) return;
    FCaption = Value;
    Changed(false);
}

void TSelectorItem::SetColor(TColor Value) {
    if (Value == FColor) return;
    FColor = Value;
    Changed(false);
}

void TSelectorItem::SetImageIndex(int Value) {
    if (Value == FImageIndex) return;
    FImageIndex = Value;
    Changed(false);
}

void TSelectorItem::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TSelectorItem*>(Source);
    if (!src) {
        TCollectionItem::Assign(Source);
        return;
    }
    SetCaption(src->FCaption);
    SetColor(src->FColor);
    SetImageIndex(src->FImageIndex);
    FImage->Assign(src->FImage);
    FEnabled = src->FEnabled;
    FHint = src->FHint;
}

// =============================================================================================
// TSelectorItems

TSelectorItems::TSelectorItems(TAdvCustomItemSelector* AOwner)
    : TCollection(CollectionItemClass<TSelectorItem>()), FMyOwner(AOwner) {}

TPersistent* TSelectorItems::GetOwner() {
    return FMyOwner;
}

void TSelectorItems::Update(TCollectionItem* Item) {
    TCollection::Update(Item);
    // Only the item setters report an item; adding and deleting report the whole collection.
    if (Item && Assigned(OnChange)) OnChange(this);
}

// =============================================================================================
// TItemAppearance

TItemAppearance::TItemAppearance(TPersistent* AOwner) : FOwner(AOwner), FFont(new TFont) {
    FFont->SetName(QStringLiteral("Tahoma"));
    SetColorStyle(scOffice2007);
    FColorSelectedText = clBlack;
    FColorHotText = clBlack;
    FBorderColorHot = clNone;
    FBorderColorSelected = clNone;
}

TItemAppearance::~TItemAppearance() {
    delete FFont;
}

void TItemAppearance::SetColorStyle(TSelectionColorStyle Value) {
    if (Value == FColorStyle) return;
    FColorStyle = Value;
    const TItemPreset* p = ItemPreset(Value);
    if (!p) return;
    FColorHot = p->ColorHot;
    FColorHotTo = p->ColorHotTo;
    FColorMirrorHot = p->ColorMirrorHot;
    FColorMirrorHotTo = p->ColorMirrorHotTo;
    FBorderColorTop = p->BorderColorTop;
    FBorderColorBottom = p->BorderColorBottom;
    FBorderColor = p->BorderColor;
    FEdgeColor = p->EdgeColor;
    FColorSelected = p->ColorSelected;
    FColorSelectedTo = p->ColorSelectedTo;
    FColorMirrorSelected = p->ColorMirrorSelected;
    FColorMirrorSelectedTo = p->ColorMirrorSelectedTo;
}

void TItemAppearance::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TItemAppearance*>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    FColorMirrorHotTo = src->FColorMirrorHotTo;
    FBorderColor = src->FBorderColor;
    FColorMirrorHot = src->FColorMirrorHot;
    FColorSelectedTo = src->FColorSelectedTo;
    FColorSelected = src->FColorSelected;
    FEdgeColor = src->FEdgeColor;
    FColorHotTo = src->FColorHotTo;
    FBorderColorBottom = src->FBorderColorBottom;
    FColorHot = src->FColorHot;
    FBorderColorTop = src->FBorderColorTop;
    FColorMirrorSelectedTo = src->FColorMirrorSelectedTo;
    FColorMirrorSelected = src->FColorMirrorSelected;
    FFont->Assign(src->FFont);
    // A differing style re-applies its preset over the colours just copied.
    SetColorStyle(src->FColorStyle);
    FColorSelectedText = src->FColorSelectedText;
    FBorderColorHot = src->FBorderColorHot;
    FBorderColorSelected = src->FBorderColorSelected;
}

// =============================================================================================
// TCustomItemSelector: the panel

TCustomItemSelector::TCustomItemSelector(TComponent* AOwner) : TCustomControl(AOwner) {
    FAdvItemSelector = dynamic_cast<TAdvCustomItemSelector*>(AOwner);
    if (!FAdvItemSelector) throw Exception(QStringLiteral("Invalid parent"));
    SetParentColor(true);
}

int TCustomItemSelector::Columns() const {
    return FAdvItemSelector->Columns();
}
TSelectorItems* TCustomItemSelector::Items() const {
    return FAdvItemSelector->Items();
}
TSelectorType TCustomItemSelector::SelectorType() const {
    return FAdvItemSelector->SelectorType();
}
TItemLayout TCustomItemSelector::ItemLayout() const {
    return FAdvItemSelector->ItemLayout();
}
TCustomImageList* TCustomItemSelector::Images() const {
    return FAdvItemSelector->Images();
}
int TCustomItemSelector::ColorBoxWidth() const {
    return FAdvItemSelector->ColorBoxWidth();
}
int TCustomItemSelector::ColorBoxHeight() const {
    return FAdvItemSelector->ColorBoxHeight();
}
TSelectionColorStyle TCustomItemSelector::ItemColorStyle() const {
    return FAdvItemSelector->ItemAppearance()->ColorStyle();
}
TColor TCustomItemSelector::ItemColorHot() const {
    return FAdvItemSelector->ItemAppearance()->ColorHot();
}
TColor TCustomItemSelector::ItemColorHotTo() const {
    return FAdvItemSelector->ItemAppearance()->ColorHotTo();
}
TColor TCustomItemSelector::ItemColorSelected() const {
    return FAdvItemSelector->ItemAppearance()->ColorSelected();
}
TColor TCustomItemSelector::ItemColorSelectedTo() const {
    return FAdvItemSelector->ItemAppearance()->ColorSelectedTo();
}

bool TCustomItemSelector::ItemEnabled(int Index) const {
    TSelectorItems* items = Items();
    if (!items || Index < 0 || Index >= items->Count()) return true;
    return items->Items(Index)->Enabled();
}

HWND TCustomItemSelector::MarkupWindow() {
    return HandleAllocated() ? Handle() : HWND(0);
}

void TCustomItemSelector::GetContentRect(TRect& R) {
    R = ClientRect();
    R.Left += FOffSetX;
    R.Right -= FOffSetX;
    R.Top += FOffSetY;
    R.Bottom -= FOffSetY;
}

void TCustomItemSelector::GetItemSize(TSize& Size) {
    if (Assigned(FAdvItemSelector->OnItemSize)) {
        FAdvItemSelector->OnItemSize(this, Size);
        return;
    }
    int a = 0, b = 0, c = 0, d = 0;
    if (SelectorType() == stColor) {
        a = ColorBoxWidth();
        b = ColorBoxHeight();
    }
    TCanvas* canvas = Canvas();
    canvas->Font()->Assign(FAdvItemSelector->ItemAppearance()->Font());
    TCustomImageList* images = Images();
    for (int i = 0; i < Items()->Count(); ++i) {
        TSelectorItem* item = Items()->Items(i);
        if (SelectorType() == stImage) {
            if (HasPicture(item->Image())) {
                a = std::max(a, item->Image()->Width());
                b = std::max(b, item->Image()->Height());
            } else if (images && item->ImageIndex() >= 0) {
                a = std::max(a, images->Width());
                b = std::max(b, images->Height());
            }
        }
        TPoint size;
        DrawMarkupText(canvas, item->Caption(), TRect(0, 0, 1000, 500), size, MarkupWindow(), false, images);
        c = std::max(c, int(size.X));
        d = std::max(d, int(size.Y));
    }
    if (c > 0) c += 4;
    switch (ItemLayout()) {
        case ilCaptionLeft:
        case ilCaptionRight:
            Size.cx = 2 * FItemOffSetX + (a > 0 ? a : 0);
            if (c > 0) Size.cx += (a > 0 ? FCaptionGap : 0) + c;
            Size.cy = std::max(d, b) + 2 * FItemOffSetY;
            break;
        case ilCaptionTop:
        case ilCaptionBottom:
            Size.cx = std::max(c, a) + 2 * FItemOffSetX;
            Size.cy = 2 * FItemOffSetY + (b > 0 ? b : 0);
            if (d >= 1) Size.cy += (b > 0 ? FCaptionGap : 0) + d;
            break;
    }
}

void TCustomItemSelector::UpdateLayout() {
    TSelectorItems* items = Items();
    if (!items || items->Count() == 0) {
        SetBounds(Left(), Top(), 100, 50);
        return;
    }
    FItemHot = -1;
    TSize size{0, 0};
    GetItemSize(size);
    const int w = size.cx, h = size.cy;
    TRect content;
    GetContentRect(content);
    const int x0 = content.Left, y0 = content.Top;
    int x = x0, y = y0, widest = 0, column = 0;
    const int count = items->Count();
    for (int i = 0; i < count; ++i) {
        items->Items(i)->FRect = TRect(x, y, x + w, y + h);
        ++column;
        if (i == count - 1) break;
        if (column < Columns()) {
            x += w;
        } else {
            widest = std::max(widest, x);
            y += h;
            x = x0;
            column = 0;
        }
    }
    SetBounds(Left(), Top(), std::max(widest, x) + w + x0, y + h + y0);
    Invalidate();
}

int TCustomItemSelector::ItemAtPos(int X, int Y) const {
    TSelectorItems* items = Items();
    for (int i = 0; i < items->Count(); ++i)
        if (items->Items(i)->ItemRect().Contains(TPoint(X, Y))) return i;
    return -1;
}

void TCustomItemSelector::GetItemRect(int Index, TRect& R) const {
    TSelectorItems* items = Items();
    if (Index >= 0 && Index < items->Count())
        R = items->Items(Index)->ItemRect();
    else
        R = TRect(-1, -1, -1, -1);
}

void TCustomItemSelector::InvalidateItem(int Index) {
    if (Index < 0 || Index >= Items()->Count() || !HandleAllocated()) return;
    const TRect r = Items()->Items(Index)->ItemRect();
    InvalidateRect(Handle(), &r, true);
}

void TCustomItemSelector::SetItemIndex(int Value) {
    if (!ItemEnabled(Value)) return;
    if (FItemIndex >= 0 && FItemIndex != Value) {
        const int old = FItemIndex;
        FItemIndex = -1;
        InvalidateItem(old);
    }
    FItemIndex = Value;
    if (Value >= 0) {
        DrawItem(Value, Canvas());
        if (Assigned(OnItemSelect)) OnItemSelect(this);
    }
}

void TCustomItemSelector::SetItemHot(int Index) {
    if (Index == FItemHot || !ItemEnabled(Index)) return;
    if (FItemHot >= 0) {
        const int old = FItemHot;
        FItemHot = -1;
        InvalidateItem(old);
    }
    FItemHot = Index;
    if (Index >= 0) DrawItem(Index, Canvas());
}

void TCustomItemSelector::SelectFirst() {
    if (Items()->Count() > 0) SetItemIndex(0);
}

void TCustomItemSelector::SelectLast() {
    if (Items()->Count() > 0) SetItemIndex(Items()->Count() - 1);
}

void TCustomItemSelector::SelectNext() {
    if (Items()->Count() == 0) return;
    if (FItemIndex < 0)
        SetItemIndex(0);
    else if (FItemIndex + 1 < Items()->Count())
        SetItemIndex(FItemIndex + 1);
}

void TCustomItemSelector::SelectPrevious() {
    if (Items()->Count() == 0) return;
    if (FItemIndex < 0)
        SetItemIndex(0);
    else if (FItemIndex - 1 >= 0)
        SetItemIndex(FItemIndex - 1);
}

void TCustomItemSelector::HotNext() {
    if (Items()->Count() == 0) return;
    if (FItemHot < 0)
        SetItemHot(0);
    else if (FItemHot + 1 < Items()->Count())
        SetItemHot(FItemHot + 1);
}

void TCustomItemSelector::HotPrevious() {
    if (Items()->Count() == 0) return;
    if (FItemHot < 0)
        SetItemHot(0);
    else if (FItemHot - 1 >= 0)
        SetItemHot(FItemHot - 1);
}

bool TCustomItemSelector::LookupItem(const String& S) {
    if (S.isEmpty()) return false;
    for (int i = 0; i < Items()->Count(); ++i) {
        const String caption = CaseAdjust(Trim(HTMLToText(Items()->Items(i)->Caption())), false);
        if (caption.startsWith(S)) {
            SetItemIndex(i);
            return true;
        }
    }
    return false;
}

void TCustomItemSelector::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    const int index = ItemAtPos(X, Y);
    if (index >= 0 && ItemEnabled(index)) SetItemIndex(index);
}

void TCustomItemSelector::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    const int index = ItemAtPos(X, Y);
    if (index == FItemHot) return;
    if (index < 0) {
        SetItemHot(-1);
        return;
    }
    // A disabled item makes none hot.
    SetItemHot(ItemEnabled(index) ? index : -1);
    SetHint(Items()->Items(index)->Hint());
    if (Application) Application->CancelHint();
}

void TCustomItemSelector::Dispatch(TMessage& Message) {
    TCustomControl::Dispatch(Message);
    if (Message.Msg == CM_MOUSELEAVE) SetItemHot(-1);
}

void TCustomItemSelector::Paint() {
    TCustomControl::Paint();
    DrawItems(Canvas());
}

void TCustomItemSelector::DrawItems(TCanvas* ACanvas) {
    for (int i = 0; i < Items()->Count(); ++i) DrawItem(i, ACanvas);
}

void TCustomItemSelector::DrawContent(TCanvas* ACanvas, TSelectorItem* Item, int X, int Y, int W, int H) {
    if (SelectorType() == stColor) {
        ACanvas->Pen()->SetStyle(psSolid);
        ACanvas->Pen()->SetColor(clBlack);
        ACanvas->Pen()->SetWidth(1);
        ACanvas->Brush()->SetStyle(bsSolid);
        ACanvas->Brush()->SetColor(Item->Color());
        ACanvas->Rectangle(X, Y, X + W, Y + H);
    } else if (HasPicture(Item->Image())) {
        ACanvas->Draw(X, Y, Item->Image()->Graphic());
    } else if (Images() && Item->ImageIndex() >= 0) {
        Images()->Draw(ACanvas, X, Y, Item->ImageIndex(), Item->Enabled());
    }
}

void TCustomItemSelector::DrawItem(int Index, TCanvas* ACanvas) {
    if (!ACanvas || !FAdvItemSelector || Index < 0 || Index >= Items()->Count()) return;
    TSelectorItem* item = Items()->Items(Index);
    const TRect R = item->ItemRect();
    if (R.Left < 0 && R.Right < 0) return;
    TItemAppearance* a = FAdvItemSelector->ItemAppearance();
    const bool hot = Index == FItemHot, selected = Index == FItemIndex;

    // 1. The colours; the selection's are applied after the hot ones, so selection wins.
    TColor border = a->BorderColor(), top = a->BorderColorTop(), bottom = a->BorderColorBottom();
    TColor edge = a->EdgeColor();
    TColor face = clNone, faceTo = clNone, mirror = clNone, mirrorTo = clNone;
    auto apply = [&](TColor F, TColor FT, TColor M, TColor MT, TColor B) {
        face = F;
        faceTo = FT;
        mirror = M;
        mirrorTo = MT;
        if (B != clNone) {
            border = B;
            top = bottom = edge = clNone;
        }
    };
    if (hot)
        apply(a->ColorHot(), a->ColorHotTo(), a->ColorMirrorHot(), a->ColorMirrorHotTo(),
              a->BorderColorHot());
    if (selected)
        apply(a->ColorSelected(), a->ColorSelectedTo(), a->ColorMirrorSelected(), a->ColorMirrorSelectedTo(),
              a->BorderColorSelected());

    // 2. The background.
    if (!hot && !selected) {
        ACanvas->Brush()->SetStyle(bsSolid);
        ACanvas->Brush()->SetColor(Color());
        ACanvas->FillRect(R);
    } else if (top == clNone) {
        DrawGradientBox(ACanvas, R, face, faceTo, border, 1, gdVertical);
    } else {
        DrawSelectionFrame(ACanvas, R, face, faceTo, mirror, mirrorTo, border, top, bottom, edge, Color());
    }

    // 3. Content drawn by the owner.
    if (Assigned(FAdvItemSelector->OnDrawItem)) {
        FAdvItemSelector->OnDrawItem(this, ACanvas, R, Index);
        return;
    }

    // 4. The content's size.
    int w = 0, h = 0;
    if (SelectorType() == stColor) {
        w = ColorBoxWidth();
        h = ColorBoxHeight();
    } else if (HasPicture(item->Image())) {
        w = item->Image()->Width();
        h = item->Image()->Height();
    } else if (Images() && item->ImageIndex() >= 0) {
        w = Images()->Width();
        h = Images()->Height();
    }
    const bool hasContent = w > 0 || h > 0 || SelectorType() == stColor;

    // 5. Caption and content rectangles, font and text colour.
    TRect C(R.Left + FItemOffSetX, R.Top + FItemOffSetY, R.Right - FItemOffSetX, R.Bottom - FItemOffSetY);
    TRect D = C;
    ACanvas->Font()->Assign(a->Font());
    if (hot) ACanvas->Font()->SetColor(a->ColorHotText());
    if (selected) ACanvas->Font()->SetColor(a->ColorSelectedText());
    ACanvas->Brush()->SetStyle(bsClear);
    const String caption = item->Caption();
    TPoint textSize;
    auto drawCentred = [&](TRect T) {
        DrawMarkupText(ACanvas, caption, T, textSize, MarkupWindow(), false, Images());
        if (textSize.Y < T.Height()) T.Top += (T.Height() - textSize.Y) / 2;
        DrawMarkupText(ACanvas, caption, T, textSize, MarkupWindow(), true, Images());
    };
    auto drawTop = [&](const TRect& T) {
        DrawMarkupText(ACanvas, caption, T, textSize, MarkupWindow(), true, Images());
    };
    // The colour box sits at the rectangle's top; pictures and list images are centred in it.
    auto contentTop = [&](const TRect& T) {
        return SelectorType() == stColor ? T.Top : T.Top + (T.Height() - h) / 2;
    };

    // 6./7. By layout.
    switch (ItemLayout()) {
        case ilCaptionLeft:
            if (!caption.isEmpty()) {
                C.Right -= w;
                drawCentred(C);
                D.Left = C.Left + textSize.X + FCaptionGap;
            }
            DrawContent(ACanvas, item, D.Left, contentTop(D), w, h);
            break;
        case ilCaptionRight:
            if (hasContent) {
                DrawContent(ACanvas, item, D.Left, contentTop(D), w, h);
                C.Left = D.Left + w + FCaptionGap;
            }
            if (!caption.isEmpty()) drawCentred(C);
            break;
        case ilCaptionTop:
            if (!caption.isEmpty()) {
                C.Bottom -= h;
                drawTop(C);
                D.Top = C.Top + textSize.Y + FCaptionGap;
            } else {
                D.Top += (D.Height() - h) / 2;
            }
            D.Left += (D.Width() - w) / 2;
            DrawContent(ACanvas, item, D.Left, D.Top, w, h);
            break;
        case ilCaptionBottom:
            if (caption.isEmpty()) D.Top += (D.Height() - h) / 2;
            D.Left += (D.Width() - w) / 2;
            DrawContent(ACanvas, item, D.Left, D.Top, w, h);
            C.Top = D.Top + h + FCaptionGap;
            if (!caption.isEmpty()) drawTop(C);
            break;
    }
}

// =============================================================================================
// TAdvCustomItemSelector

TAdvCustomItemSelector::TAdvCustomItemSelector(TComponent* AOwner)
    : TScrollingWinControl(AOwner), FItems(new TSelectorItems(this)),
      FItemAppearance(new TItemAppearance(this)) {
    FItems->OnChange = [this](TObject*) { UpdateSelectorPanel(); };
    FItemAppearance->OnChange = [](TObject*) {};
    SetColor(clWindow);
    SetBounds(Left(), Top(), 150, 100);
    SetAutoScroll(true);
    CreateSelectorPanel();
    UpdateSelectorPanel();
}

TAdvCustomItemSelector::~TAdvCustomItemSelector() {
    // The panel reads the items while it goes: free it first.
    TCustomItemSelector* panel = FItemSelectorPanel;
    FItemSelectorPanel = nullptr;
    delete panel;
    delete FItems;
    delete FItemAppearance;
}

void TAdvCustomItemSelector::CreateSelectorPanel() {
    if (FItemSelectorPanel) return;
    FItemSelectorPanel = new TCustomItemSelector(this);
    FItemSelectorPanel->SetParent(this);
    FItemSelectorPanel->OnItemSelect = [this](TObject*) {
        if (Assigned(OnItemSelect)) OnItemSelect(this);
    };
}

void TAdvCustomItemSelector::UpdateSelectorPanel() {
    if (FItemSelectorPanel) FItemSelectorPanel->UpdateLayout();
}

void TAdvCustomItemSelector::SetSelectorType(TSelectorType Value) {
    if (Value == FSelectorType) return;
    FSelectorType = Value;
    UpdateSelectorPanel();
}

void TAdvCustomItemSelector::SetColumns(int Value) {
    if (Value <= 0 || Value == FColumns) return;
    FColumns = Value;
    UpdateSelectorPanel();
}

void TAdvCustomItemSelector::SetColorBoxWidth(int Value) {
    if (Value == FColorBoxWidth) return;
    FColorBoxWidth = Value;
    UpdateSelectorPanel();
}

void TAdvCustomItemSelector::SetColorBoxHeight(int Value) {
    if (Value == FColorBoxHeight) return;
    FColorBoxHeight = Value;
    UpdateSelectorPanel();
}

void TAdvCustomItemSelector::SetImages(TCustomImageList* Value) {
    if (Value == FImages) return;
    FImages = Value;
    if (Value) Value->FreeNotification(this);
    UpdateSelectorPanel();
}

void TAdvCustomItemSelector::Notification(TComponent* AComponent, TOperation Operation) {
    TScrollingWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages && !HasState(csDestroying)) SetImages(nullptr);
}

int TAdvCustomItemSelector::ItemIndex() const {
    return FItemSelectorPanel ? FItemSelectorPanel->ItemIndex() : -1;
}

void TAdvCustomItemSelector::SetItemIndex(int Value) {
    if (!FItemSelectorPanel) return;
    FItemSelectorPanel->SetItemIndex(Value);
    ScrollItemInView(FItemSelectorPanel->ItemIndex());
}

int TAdvCustomItemSelector::ItemHot() const {
    return FItemSelectorPanel ? FItemSelectorPanel->ItemHot() : -1;
}

void TAdvCustomItemSelector::SelectFirst() {
    if (!FItemSelectorPanel) return;
    FItemSelectorPanel->SelectFirst();
    ScrollItemInView(ItemIndex());
}

void TAdvCustomItemSelector::SelectLast() {
    if (!FItemSelectorPanel) return;
    FItemSelectorPanel->SelectLast();
    ScrollItemInView(ItemIndex());
}

void TAdvCustomItemSelector::SelectNext() {
    if (!FItemSelectorPanel) return;
    FItemSelectorPanel->SelectNext();
    ScrollItemInView(ItemIndex());
}

void TAdvCustomItemSelector::SelectPrevious() {
    if (!FItemSelectorPanel) return;
    FItemSelectorPanel->SelectPrevious();
    ScrollItemInView(ItemIndex());
}

void TAdvCustomItemSelector::HotNext() {
    if (!FItemSelectorPanel) return;
    FItemSelectorPanel->HotNext();
    ScrollItemInView(ItemHot());
}

void TAdvCustomItemSelector::HotPrevious() {
    if (!FItemSelectorPanel) return;
    FItemSelectorPanel->HotPrevious();
    ScrollItemInView(ItemHot());
}

bool TAdvCustomItemSelector::LookupItem(const String& S) {
    return FItemSelectorPanel && FItemSelectorPanel->LookupItem(S);
}

void TAdvCustomItemSelector::ScrollItemInView(int Index) {
    if (!FItemSelectorPanel || Index < 0 || Index >= FItems->Count() ||
        !VertScrollBar()->IsScrollBarVisible())
        return;
    TRect r = FItems->Items(Index)->ItemRect();
    r.Top -= VertScrollBar()->Margin();
    r.Bottom += VertScrollBar()->Margin();
    // Panel to selector client coordinates.
    r = Bounds(r.Left + FItemSelectorPanel->Left(), r.Top + FItemSelectorPanel->Top(), r.Width(), r.Height());
    const int clientHeight = ClientHeight();
    if (r.Top < 0) {
        VertScrollBar()->SetPosition(VertScrollBar()->Position() + r.Top);
    } else if (r.Bottom > clientHeight) {
        if (r.Height() > clientHeight) r.Bottom = r.Top + clientHeight;
        VertScrollBar()->SetPosition(VertScrollBar()->Position() + r.Bottom - clientHeight);
    }
}

int TAdvCustomItemSelector::GetVisibleItemCount() {
    if (!FItemSelectorPanel || FItems->Count() == 0) return 0;
    const int itemHeight = FItems->Items(0)->ItemRect().Height();
    // Cells of no height (an OnItemSize answering 0) fit no count.
    if (itemHeight <= 0) return 0;
    const int height = Height() - (HorzScrollBar()->IsScrollBarVisible() ? 20 : 0);
    return height / itemHeight * FColumns;
}

void TAdvCustomItemSelector::GetSelectorSize(int& AWidth, int& AHeight) const {
    if (!FItemSelectorPanel) {
        AWidth = 100;
        AHeight = 50;
        return;
    }
    AWidth = FItemSelectorPanel->Width();
    AHeight = FItemSelectorPanel->Height();
}

void TAdvCustomItemSelector::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
        case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS | DLGC_WANTALLKEYS; break;
        case WM_VSCROLL: {
            TScrollingWinControl::Dispatch(Message);
            TWMScroll m(Message);
            // The content follows the dragged thumb.
            if (SmallInt(m.ScrollCode) == SB_THUMBTRACK) VertScrollBar()->SetPosition(SmallInt(m.Pos));
            break;
        }
        default: TScrollingWinControl::Dispatch(Message); break;
    }
}
