// The HTML export and print settings of the grid.
#include "GridPrintSettings.h"

THTMLSettings::THTMLSettings() : FColWidths(new TIntList(0, 0)) {}

THTMLSettings::~THTMLSettings() {
    TObject::Free(FColWidths);
}

void THTMLSettings::Assign(TPersistent* Source) {
    auto* s = dynamic_cast<THTMLSettings*>(Source);
    if (!s) return;
    BorderSize = s->BorderSize;
    CellSpacing = s->CellSpacing;
    CellPadding = s->CellPadding;
    SaveColor = s->SaveColor;
    SaveFonts = s->SaveFonts;
    FooterFile = s->FooterFile;
    HeaderFile = s->HeaderFile;
    TableStyle = s->TableStyle;
    PrefixTag = s->PrefixTag;
    SuffixTag = s->SuffixTag;
    Summary = s->Summary;
    Width = s->Width;
    XHTML = s->XHTML;
    ConvertSpecialChars = s->ConvertSpecialChars;
    AutoPreview = s->AutoPreview;
    NonBreakingText = s->NonBreakingText;
}

TPrintSettings::TPrintSettings(TComponent* Grid)
    : FGrid(Grid), FFont(new TFont()), FHeaderFont(new TFont()), FFooterFont(new TFont()),
      FFixedFont(new TFont()), FTitleLines(new TStringList()) {}

TPrintSettings::~TPrintSettings() {
    TObject::Free(FFont);
    TObject::Free(FHeaderFont);
    TObject::Free(FFooterFont);
    TObject::Free(FFixedFont);
    TObject::Free(FTitleLines);
}

void TPrintSettings::Assign(TPersistent* Source) {
    // Nothing to copy from is as wrong as the wrong class: both are refused the same way.
    if (!Source) throw EInvalidCast("Invalid class typecast");
    auto* s = As<TPrintSettings>(Source);
    if (s == this) return;
    FooterSize = s->FooterSize;
    HeaderSize = s->HeaderSize;
    Time = s->Time;
    Date = s->Date;
    DateFormat = s->DateFormat;
    PageNr = s->PageNr;
    Title = s->Title;
    TitleText = s->TitleText;
    SetTitleLines(s->TitleLines());
    SetFont(s->Font());
    SetFixedFont(s->FixedFont());
    SetHeaderFont(s->HeaderFont());
    SetFooterFont(s->FooterFont());
    Borders = s->Borders;
    BorderStyle = s->BorderStyle;
    Centered = s->Centered;
    RepeatFixedRows = s->RepeatFixedRows;
    RepeatFixedCols = s->RepeatFixedCols;
    LeftSize = s->LeftSize;
    RightSize = s->RightSize;
    ColumnSpacing = s->ColumnSpacing;
    RowSpacing = s->RowSpacing;
    TitleSpacing = s->TitleSpacing;
    Orientation = s->Orientation;
    PagePrefix = s->PagePrefix;
    PageSuffix = s->PageSuffix;
    PageNumberOffset = s->PageNumberOffset;
    MaxPagesOffset = s->MaxPagesOffset;
    FixedWidth = s->FixedWidth;
    FixedHeight = s->FixedHeight;
    UseFixedHeight = s->UseFixedHeight;
    UseFixedWidth = s->UseFixedWidth;
    FitToPage = s->FitToPage;
    JobName = s->JobName;
    PageNumSep = s->PageNumSep;
    NoAutoSize = s->NoAutoSize;
    NoAutoSizeRow = s->NoAutoSizeRow;
    PrintGraphics = s->PrintGraphics;
    UseDisplayFont = s->UseDisplayFont;
    UseDefaultOrientation = s->UseDefaultOrientation;
    BorderColor = s->BorderColor;
}
