// The platform's push button over a Qt push button.
#include "StdButton.h"

#include <QPushButton>

TButton::TButton(TComponent* AOwner) : TNativeControl(AOwner) {
    FControlStyle = {csSetCaption, csDoubleClicks};
    SetTabStop(true);
    SetBounds(0, 0, 75, 25);
}

QWidget* TButton::CreateNative(QWidget* Host) {
    auto* button = new QPushButton(Host);
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, button, [this] { Click(); });
    return button;
}

void TButton::UpdateNative() {
    auto* button = static_cast<QPushButton*>(NativeWidget());
    if (!button) return;
    const QSignalBlocker block(button);
    button->setText(Caption());
}

bool TButton::PassesKey(Word Key, const TShiftState&) const {
    return Key == VK_SPACE;
}

void TButton::Dispatch(TMessage& Message) {
    TNativeControl::Dispatch(Message);
    if (Message.Msg == CM_TEXTCHANGED) UpdateNative();
}
