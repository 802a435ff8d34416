// libFuzzer target: typing, deleting and pasting random texts into a drop-down edit of every
// edit type, signed or not, with random decimals, prefix and suffix, under both separator
// conventions (decimal comma with thousand point, and the reverse).
#include "AdvDropDown.h"

#include "Forms.h"
#include "SysUtils.h"

#include <QApplication>
#include <QClipboard>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

class TFuzzDropDown : public TAdvCustomDropDown {
public:
    using TAdvCustomDropDown::TAdvCustomDropDown;
};

TFuzzDropDown* DropDown() {
    static TFuzzDropDown* dd = [] {
        auto* form = new TForm(nullptr);
        form->SetBounds(0, 0, 300, 100);
        form->Show();
        auto* d = new TFuzzDropDown(form);
        d->SetParent(form);
        d->SetFocus();
        return d;
    }();
    return dd;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Kept for the whole process: Qt's own clean-up at exit is no part of what is fuzzed.
    new QApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    if (Size < 3) return 0;
    TFuzzDropDown* dd = DropDown();
    const bool comma = Data[1] & 1;
    FormatSettings.DecimalSeparator = Char(comma ? u',' : u'.');
    FormatSettings.ThousandSeparator = Char(comma ? u'.' : u',');
    dd->SetEditType(etString);
    dd->SetPrefix((Data[1] & 2) ? QStringLiteral("$") : String());
    dd->SetSuffix((Data[1] & 4) ? QStringLiteral(" kg") : String());
    dd->SetSigned(Data[1] & 8);
    dd->SetAutoThousandSeparator(Data[1] & 16);
    dd->SetLengthLimit((Data[1] & 32) ? 4 : 0);
    dd->SetValidChars(QStringLiteral("0123abc-"));
    dd->SetText(String());
    dd->SetEditType(TDropDownEditType(Data[0] % 12));
    dd->SetPrecision(int(Data[2] % 5) - 1);
    // The rest: operations of two bytes each, a kind and an argument.
    for (size_t i = 3; i + 1 < Size; i += 2) {
        const uint8_t arg = Data[i + 1];
        switch (Data[i] % 6) {
            case 0: dd->Perform(WM_CHAR, arg, 0); break;
            case 1: dd->Perform(WM_CHAR, arg, 0x400000); break; // keypad
            case 2: {
                static const Word keys[] = {VK_LEFT, VK_RIGHT, VK_HOME, VK_END, VK_DELETE, VK_BACK};
                dd->Perform(WM_KEYDOWN, keys[arg % 6], 0);
                break;
            }
            case 3:
                dd->SetSelStart(arg % 16);
                dd->SetSelLength(arg / 16);
                break;
            case 4: {
                const size_t n = std::min<size_t>(arg % 24, Size - i - 2);
                QApplication::clipboard()->setText(
                    QString::fromLatin1(reinterpret_cast<const char*>(Data + i + 2), qsizetype(n)));
                dd->Perform(WM_PASTE);
                i += n;
                break;
            }
            default:
                dd->SetFloatValue(dd->GetFloatValue() * (arg - 128));
                dd->Perform(arg & 1 ? WM_CUT : WM_COPY);
                break;
        }
    }
    return 0;
}
