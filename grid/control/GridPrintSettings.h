// The settings the grid keeps for its HTML export (THTMLSettings) and for its printing
// (TPrintSettings). The grid owns one of each for its whole life; the exporter and the print
// engine read them.
#pragma once

#include "Classes.h"
#include "GridTypes.h"
#include "Graphics.h"
#include "Printers.h"

// Where the print engine places the date, the time, the page number and the title.
enum TPrintPosition {
    ppNone,
    ppTopLeft,
    ppTopRight,
    ppTopCenter,
    ppBottomLeft,
    ppBottomRight,
    ppBottomCenter
};
enum TPrintBorders {
    pbNoborder,
    pbSingle,
    pbDouble,
    pbVertical,
    pbHorizontal,
    pbAround,
    pbAroundVertical,
    pbAroundHorizontal,
    pbCustom
};
enum TFitToPage { fpNever, fpGrow, fpShrink, fpAlways, fpCustom };

class THTMLSettings : public TPersistent {
public:
    THTMLSettings();
    ~THTMLSettings() override;

    bool AutoPreview = false;
    bool ConvertSpecialChars = false;
    bool NonBreakingText = false;
    bool SaveColor = true;
    bool SaveFonts = true;
    String FooterFile;
    String HeaderFile;
    int BorderSize = 1;
    int CellSpacing = 0;
    int CellPadding = 0;
    String TableStyle;
    String PrefixTag;
    String SuffixTag;
    String Summary;
    int Width = 100;
    bool XHTML = false;
    bool ExportImages = true;
    // Column widths for the exported table (the settings object's own list).
    TIntList* ColWidths() const { return FColWidths; }

    // Only from another THTMLSettings (anything else is ignored): every field but ExportImages
    // and ColWidths.
    void Assign(TPersistent* Source) override;

private:
    TIntList* FColWidths;
};

class TPrintSettings : public TPersistent {
public:
    // Grid: the grid that owns these settings.
    explicit TPrintSettings(TComponent* Grid);
    ~TPrintSettings() override;

    TComponent* Grid() const { return FGrid; }

    TPrintPosition Time = ppNone;
    TPrintPosition Date = ppNone;
    TPrintPosition PageNr = ppNone;
    String PageNumSep = QStringLiteral("/");
    String DateFormat = QStringLiteral("dd/mm/yyyy");
    TPrintPosition Title = ppNone;
    // The fonts and the title lines are the object's own; the setters copy.
    TFont* Font() const { return FFont; }
    void SetFont(TFont* Value) { FFont->Assign(Value); }
    TFont* HeaderFont() const { return FHeaderFont; }
    void SetHeaderFont(TFont* Value) { FHeaderFont->Assign(Value); }
    TFont* FooterFont() const { return FFooterFont; }
    void SetFooterFont(TFont* Value) { FFooterFont->Assign(Value); }
    TPrintBorders Borders = pbSingle;
    TPenStyle BorderStyle = psSolid;
    String TitleText;
    TStrings* TitleLines() const { return FTitleLines; }
    void SetTitleLines(TStrings* Value) { FTitleLines->Assign(Value); }
    bool Centered = true;
    bool RepeatFixedRows = false;
    bool RepeatFixedCols = false;
    int FooterSize = 0;
    int HeaderSize = 0;
    int LeftSize = 0;
    int RightSize = 0;
    int ColumnSpacing = 0;
    int RowSpacing = 0;
    int TitleSpacing = 0;
    TPrinterOrientation Orientation = poPortrait;
    String PagePrefix;
    String PageSuffix;
    int FixedHeight = 0;
    bool UseFixedHeight = false;
    int FixedWidth = 0;
    bool UseFixedWidth = false;
    TFitToPage FitToPage = fpNever;
    bool NoAutoSize = false;
    bool PrintGraphics = false;
    String JobName;
    bool NoAutoSizeRow = false;
    int PageNumberOffset = 0;
    int MaxPagesOffset = 0;
    TFont* FixedFont() const { return FFixedFont; }
    void SetFixedFont(TFont* Value) { FFixedFont->Assign(Value); }
    bool UseDisplayFont = true;
    bool UseDefaultOrientation = false;
    bool FixedCellsAlways = false; // not copied by Assign
    TColor BorderColor = clBlack;

    // Source must be a TPrintSettings (else EInvalidCast): every setting but FixedCellsAlways,
    // the fonts and title lines by value.
    void Assign(TPersistent* Source) override;

private:
    TComponent* FGrid;
    TFont* FFont;
    TFont* FHeaderFont;
    TFont* FFooterFont;
    TFont* FFixedFont;
    TStringList* FTitleLines;
};
