// The about box: the product, its software code, version and manual code, and the maker's web
// address. Its texts are fixed (not taken from the text table).
#pragma once

#include "ExtPanels.h"
#include "Forms.h"
#include "LbButton.h"
#include "StdCtrls.h"

class TFAbout : public TForm {
public:
    explicit TFAbout(TComponent* AOwner);

    TImage* Image2;
    TLabel* Label1;
    TLabel* Label2;
    TLabel* Label3;
    TLabel* Label4;
    TLabel* Label6;
    TLabel* Label8;
    TLabel* Label9;
    TLabel* Label10;
    TLabel* Label12;
    TLbButton* LbButton1;

    void FormShow(TObject* Sender);
    // Opens the maker's home page.
    void Label4Click(TObject* Sender);
};

extern TFAbout* FAbout;
