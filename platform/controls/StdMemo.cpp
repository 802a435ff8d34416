// The memo: a multi-line edit with its text as lines.
#include "StdCtrls.h"

#include <QAbstractScrollArea>

#include <algorithm>

// The memo's text seen as lines. It keeps no copy: every read splits the edit's text and every
// write puts the whole text back (one change notification per write).
class TMemoStrings : public TStrings {
public:
    explicit TMemoStrings(TMemo* Memo) : FMemo(Memo) {}

    int Count() const override { return int(Split().size()); }
    String Strings(int Index) const override {
        const QStringList lines = Split();
        return Index >= 0 && Index < lines.size() ? lines[Index] : String();
    }
    void SetStrings(int Index, const String& S) override {
        QStringList lines = Split();
        if (Index < 0 || Index >= lines.size()) return;
        lines[Index] = S;
        Join(lines);
    }
    void Insert(int Index, const String& S) override {
        QStringList lines = Split();
        lines.insert(std::clamp<qsizetype>(Index, 0, lines.size()), S);
        Join(lines);
    }
    void Delete(int Index) override {
        QStringList lines = Split();
        if (Index < 0 || Index >= lines.size()) return;
        lines.removeAt(Index);
        Join(lines);
    }
    void Clear() override { FMemo->SetText(String()); }
    String Text() const override {
        String s;
        for (const String& line : Split()) s += line + LineBreak();
        return s;
    }
    void SetText(const String& Value) override {
        String t = Value;
        t.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
        if (t.endsWith(u'\n')) t.chop(1);
        t.replace(u'\n', QStringLiteral("\r\n"));
        FMemo->SetText(t);
    }

private:
    QStringList Split() const {
        String t = FMemo->Text();
        if (t.isEmpty()) return {};
        t.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
        if (t.endsWith(u'\n')) t.chop(1);
        return t.split(u'\n');
    }
    void Join(const QStringList& Lines) { FMemo->SetText(Lines.join(QStringLiteral("\r\n"))); }

    TMemo* FMemo;
};

TMemo::TMemo(TComponent* AOwner) : TCustomEdit(AOwner), FLines(std::make_unique<TMemoStrings>(this)) {
    FControlStyle.erase(csFixedHeight);
    SetBounds(0, 0, 185, 89);
    AutoSelect = false;
}

TMemo::~TMemo() = default;

TStrings* TMemo::Lines() const {
    return FLines.get();
}

void TMemo::SetLines(TStrings* Value) {
    FLines->Assign(Value);
}

void TMemo::SetScrollBars(TScrollStyle Value) {
    if (Value == FScrollBars) return;
    FScrollBars = Value;
    RecreateWnd();
}

void TMemo::CreateParams(TCreateParams& Params) {
    TCustomEdit::CreateParams(Params);
    Params.Style |= ES_MULTILINE;
    if (FWantReturns) Params.Style |= ES_WANTRETURN;
    // Without a horizontal bar the text wraps at the window's width.
    if (FScrollBars == ssNone || FScrollBars == ssVertical) Params.Style &= ~DWORD(ES_AUTOHSCROLL);
}

void TMemo::CreateWnd() {
    TCustomEdit::CreateWnd();
    auto* area = qobject_cast<QAbstractScrollArea*>(NativeWidget());
    if (!area) return;
    const bool v = FScrollBars == ssVertical || FScrollBars == ssBoth;
    const bool h = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
    area->setVerticalScrollBarPolicy(v ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    area->setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}
