// Shared by the tests of the grid's settings objects and the drop-down strips: a grid stand-in
// that answers the settings' questions from plain fields and writes every request they make into
// a log (one line per call), and a counter of notifications.
#pragma once

#include "GridSettingsHost.h"

#include <QStringList>

class TSettingsHostFake : public TGridSettingsHost {
public:
    // The owner the settings report (a plain persistent object).
    TPersistent Owner;
    int FixedRows = 1;
    bool Designing = false;
    bool PanelExists = false;
    TSortIndexList Keys;
    QStringList Log;

    // The log so far, emptied.
    QStringList Take() {
        QStringList l = Log;
        Log.clear();
        return l;
    }

    TPersistent* SettingsOwner() override { return &Owner; }
    int SettingsFixedRows() const override { return FixedRows; }
    bool SettingsDesigning() const override { return Designing; }
    void SettingsRepaintGrid() override { Log << "RepaintGrid"; }
    void SettingsRepaintRow(int ARow) override { Log << QString("RepaintRow %1").arg(ARow); }
    void SettingsRepaintCell(int ACol, int ARow) override {
        Log << QString("RepaintCell %1,%2").arg(ACol).arg(ARow);
    }
    TSortIndexList* SettingsSortIndexes() override { return &Keys; }
    void SettingsSort() override { Log << "Sort"; }
    void SettingsSortIndexed() override { Log << "SortIndexed"; }
    void SettingsKitGradient(TFixedGradientColor Which, TColor Value) override {
        Log << QString("Kit %1=%2").arg(int(Which)).arg(Value, 0, 16);
    }
    void SettingsOleDropTarget(bool Active) override { Log << QString("OleDropTarget %1").arg(Active); }
    void SettingsRTFDragDrop(bool Active) override { Log << QString("RTF %1").arg(Active); }
    void SettingsFooterRows(int FixedFooters, bool HideLastRow) override {
        Log << QString("FooterRows %1,%2").arg(FixedFooters).arg(HideLastRow);
    }
    void SettingsHideLastRow(bool HideLastRow) override { Log << QString("HideLastRow %1").arg(HideLastRow); }
    bool SettingsFooterPanelExists() const override { return PanelExists; }
    void SettingsFooterPanelHeight(int Height) override { Log << QString("PanelHeight %1").arg(Height); }
    void SettingsFooterPanelVisible(bool Visible) override { Log << QString("PanelVisible %1").arg(Visible); }
    void SettingsFooterPanelShowHint(bool ShowHint) override {
        Log << QString("PanelShowHint %1").arg(ShowHint);
    }
    void SettingsRepaintFooterPanel() override { Log << "RepaintPanel"; }
};

// The log line of a KitGradient request.
inline QString KitLine(TFixedGradientColor Which, TColor Value) {
    return QString("Kit %1=%2").arg(int(Which)).arg(Value, 0, 16);
}

// A 2 x 2 picture of one colour, to tell copied pictures from empty ones.
inline void FillGlyph(TBitmap* B, TColor Color) {
    B->SetSize(2, 2);
    B->Canvas()->Brush()->SetColor(Color);
    B->Canvas()->FillRect(TRect(0, 0, 2, 2));
}

// Counts the calls of the handler it gives out and keeps the last sender.
struct Counter {
    int Count = 0;
    TObject* LastSender = nullptr;
    TNotifyEvent Handler() {
        return [this](TObject* Sender) {
            ++Count;
            LastSender = Sender;
        };
    }
};
