// The track-bar drop-down: a drop-down edit whose popup holds a horizontal track bar and whose
// edit shows the track bar's integer position. The edit follows every position the track bar
// reports; a typed number is read back into Position (a text that is not an integer leaves
// Position as it is). With the editor off, Up and Down step the value by Frequency and dragging
// the pointer over the edit moves it by one per PageSize pixels.
#pragma once

#include "AdvDropDown.h"

class TTrackBar;

class TAdvTrackBarDropDown : public TAdvCustomDropDown {
public:
    explicit TAdvTrackBarDropDown(TComponent* AOwner);

    // A Min above Max (or a Max below Min) is refused by the track bar and keeps the old value.
    int Min() const { return FMin; }
    void SetMin(int Value);
    int Max() const { return FMax; }
    void SetMax(int Value);
    // Clamped to Min..Max by the track bar.
    int Position() const { return FPosition; }
    void SetPosition(int Value);
    int Frequency() const { return FFrequency; }
    void SetFrequency(int Value);
    int PageSize() const { return FPageSize; }
    void SetPageSize(int Value);
    TTrackBar* TrackBar() const { return FTrackBar; }

    TNotifyEvent OnTrackChange;

    void Dispatch(TMessage& Message) override;

protected:
    void CreateDropDownForm() override;
    void DoBeforeDropDown() override;
    void Change() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void TrackBarChange(TObject* Sender);

    TTrackBar* FTrackBar = nullptr;
    int FMin = 0;
    int FFrequency = 1;
    int FPageSize = 2;
    int FMax = 10;
    int FPosition = 0;
    bool FMouseDraging = false;
    int FMouseX = 0;
};
