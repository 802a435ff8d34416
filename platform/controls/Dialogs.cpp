#include "Dialogs.h"

#include "StandIn.h"
#include "SysUtils.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>

#include <utility>
#include <vector>

namespace {

TMessageDlgHook& MessageHook() {
    static TMessageDlgHook hook;
    return hook;
}

TFileDialogHook& FileHook() {
    static TFileDialogHook hook;
    return hook;
}

struct TButtonInfo {
    TMsgDlgBtn Button;
    QMessageBox::StandardButton Standard;
    int Result;
};

const TButtonInfo ButtonTable[] = {
    {mbYes, QMessageBox::Yes, mrYes},
    {mbNo, QMessageBox::No, mrNo},
    {mbOK, QMessageBox::Ok, mrOk},
    {mbCancel, QMessageBox::Cancel, mrCancel},
    {mbAbort, QMessageBox::Abort, mrAbort},
    {mbRetry, QMessageBox::Retry, mrRetry},
    {mbIgnore, QMessageBox::Ignore, mrIgnore},
    {mbAll, QMessageBox::NoButton, mrAll},
    {mbNoToAll, QMessageBox::NoToAll, mrNoToAll},
    {mbYesToAll, QMessageBox::YesToAll, mrYesToAll},
    {mbHelp, QMessageBox::Help, mrHelp},
    {mbClose, QMessageBox::Close, mrClose},
};

// "Filter|*.a;*.b|..." as Qt's "Filter (*.a *.b);;...".
QStringList QtFilters(const String& Filter) {
    QStringList result;
    const QStringList parts = Filter.split(u'|');
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        // "*.a; *.b;" as "*.a *.b": blanks and a trailing ";" leave no empty pattern.
        const QStringList patterns =
            parts[i + 1].split(QRegularExpression(QStringLiteral("[;\\s]+")), Qt::SkipEmptyParts);
        result << parts[i] + QStringLiteral(" (") + patterns.join(u' ') + QStringLiteral(")");
    }
    return result;
}

} // namespace

TMessageDlgHook SetMessageDlgHook(TMessageDlgHook Hook) {
    return std::exchange(MessageHook(), std::move(Hook));
}

int MessageDlg(const String& Msg, TMsgDlgType DlgType, const TMsgDlgButtons& Buttons, int HelpCtx) {
    // There is no help system: a help context and the Help button open nothing.
    if (HelpCtx != 0 || Buttons.count(mbHelp)) PlatformStandIn("MessageDlg help (HelpCtx, mbHelp)");
    if (MessageHook()) return MessageHook()({Msg, DlgType, Buttons});

    QMessageBox box(QApplication::activeWindow());
    QString caption;
    switch (DlgType) {
        case mtWarning:
            box.setIcon(QMessageBox::Warning);
            caption = QStringLiteral("Warning");
            break;
        case mtError:
            box.setIcon(QMessageBox::Critical);
            caption = QStringLiteral("Error");
            break;
        case mtInformation:
            box.setIcon(QMessageBox::Information);
            caption = QStringLiteral("Information");
            break;
        case mtConfirmation:
            box.setIcon(QMessageBox::Question);
            caption = QStringLiteral("Confirm");
            break;
        case mtCustom: caption = QApplication::applicationDisplayName(); break;
    }
    box.setWindowTitle(caption);
    box.setText(Msg);
    std::vector<std::pair<QAbstractButton*, int>> answers;
    for (const TButtonInfo& b : ButtonTable) {
        if (!Buttons.count(b.Button)) continue;
        QPushButton* button = b.Button == mbAll ? box.addButton(QStringLiteral("&All"), QMessageBox::YesRole)
                                                : box.addButton(b.Standard);
        if (answers.empty()) box.setDefaultButton(button);
        answers.emplace_back(button, b.Result);
    }
    if (answers.empty()) answers.emplace_back(box.addButton(QMessageBox::Ok), mrOk);
    if (Buttons.count(mbCancel)) box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    const QAbstractButton* clicked = box.clickedButton();
    for (const auto& a : answers)
        if (a.first == clicked) return a.second;
    return mrCancel;
}

void ShowMessage(const String& Msg) {
    MessageDlg(Msg, mtCustom, {mbOK});
}

TFileDialogHook SetFileDialogHook(TFileDialogHook Hook) {
    return std::exchange(FileHook(), std::move(Hook));
}

TOpenDialog::TOpenDialog(TComponent* AOwner) : TComponent(AOwner) {}

bool TOpenDialog::Execute() {
    // One file is chosen, and the dialog has no "open as read-only" box.
    if (Options.count(ofAllowMultiSelect)) PlatformStandIn("TOpenDialog ofAllowMultiSelect");
    if (!IsSaveDialog() && !Options.count(ofHideReadOnly))
        PlatformStandIn("TOpenDialog read-only box (no ofHideReadOnly)");
    const bool save = IsSaveDialog();
    bool ok = false;
    if (FileHook()) {
        ok = FileHook()(this, save);
    } else {
        QFileDialog dialog(QApplication::activeWindow(), Title);
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        // The overwrite question is the caller's (or ofOverwritePrompt's) to ask.
        if (save && !Options.count(ofOverwritePrompt)) dialog.setOption(QFileDialog::DontConfirmOverwrite);
        const QStringList filters = QtFilters(Filter);
        if (!filters.isEmpty()) {
            dialog.setNameFilters(filters);
            dialog.selectNameFilter(filters.value(std::max(0, FilterIndex - 1)));
        }
        if (!InitialDir.isEmpty()) dialog.setDirectory(NativePath(InitialDir));
        if (!FileName.isEmpty()) dialog.selectFile(NativePath(FileName));
        ok = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
        if (ok) FileName = dialog.selectedFiles().first();
    }
    if (ok && !DefaultExt.isEmpty() && ExtractFileExt(FileName).isEmpty()) {
        String ext = DefaultExt;
        while (ext.startsWith(u'*') || ext.startsWith(u'.')) ext.remove(0, 1);
        if (!ext.isEmpty()) FileName += u'.' + ext;
    }
    return ok;
}
