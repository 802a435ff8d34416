// Message dialogs and the open and save file dialogs of the class library.
//
// Both kinds of dialog are modal. Tests (and tools that run without a user) answer them through
// hooks: while a hook is set, a dialog asks the hook instead of showing itself.
#pragma once

#include "Classes.h"
#include "System.h"
#include "Types.h"

#include <functional>
#include <set>

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn {
    mbYes,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp,
    mbClose
};
using TMsgDlgButtons = TEnumSet<TMsgDlgBtn>;

const TMsgDlgButtons mbYesNo = {mbYes, mbNo};
const TMsgDlgButtons mbYesNoCancel = {mbYes, mbNo, mbCancel};
const TMsgDlgButtons mbOKCancel = {mbOK, mbCancel};

// Shows Msg in a modal box of its kind (caption "Warning", "Error", "Information", "Confirm" or
// the application's title) with the buttons given, and answers the modal result of the button
// pressed (mrYes, mrNo, mrOK, mrCancel ...). Closing the box without a button answers mrCancel.
int MessageDlg(const String& Msg, TMsgDlgType DlgType, const TMsgDlgButtons& Buttons, int HelpCtx = 0);
// An information box with an OK button.
void ShowMessage(const String& Msg);

// One message dialog as the hook sees it.
struct TMessageDlgRequest {
    String Msg;
    TMsgDlgType DlgType;
    TMsgDlgButtons Buttons;
};
// Answers a dialog with a modal result instead of showing it.
using TMessageDlgHook = std::function<int(const TMessageDlgRequest& Request)>;
// Sets the hook (an empty function shows dialogs again); answers the previous hook.
TMessageDlgHook SetMessageDlgHook(TMessageDlgHook Hook);

// ---------------------------------------------------------------------------------------------
// File dialogs

enum TOpenOption {
    ofReadOnly,
    ofOverwritePrompt,
    ofHideReadOnly,
    ofNoChangeDir,
    ofAllowMultiSelect,
    ofPathMustExist,
    ofFileMustExist,
    ofEnableSizing
};
using TOpenOptions = TEnumSet<TOpenOption>;

// The open dialog: Execute shows it and answers true when the user chose a file (FileName).
// Filter pairs descriptions and patterns with "|": "Text files (*.txt)|*.txt|All (*.*)|*.*".
class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* AOwner);

    String Filter;
    int FilterIndex = 1;
    // Added to a chosen name without an extension ("txt", ".txt" and "*.txt" alike).
    String DefaultExt;
    String InitialDir;
    String FileName;
    String Title;
    TOpenOptions Options = {ofHideReadOnly, ofEnableSizing};

    virtual bool Execute();

protected:
    virtual bool IsSaveDialog() const { return false; }
};

class TSaveDialog : public TOpenDialog {
public:
    explicit TSaveDialog(TComponent* AOwner) : TOpenDialog(AOwner) {}

protected:
    bool IsSaveDialog() const override { return true; }
};

// Answers a file dialog instead of showing it: sets Dialog->FileName and answers true, or
// answers false for a cancelled dialog. Save tells a save dialog from an open dialog.
using TFileDialogHook = std::function<bool(TOpenDialog* Dialog, bool Save)>;
TFileDialogHook SetFileDialogHook(TFileDialogHook Hook);
