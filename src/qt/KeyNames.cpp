#include "qt/KeyNames.h"

#include "framework/AfxIds.h"

namespace {

int QtKeyOf(unsigned virtualKey) {
    if ((virtualKey >= 'A' && virtualKey <= 'Z') || (virtualKey >= '0' && virtualKey <= '9')) {
        return static_cast<int>(virtualKey);  // Qt's letter and digit keys are their characters
    }
    if (virtualKey >= afx::VK_F1 && virtualKey <= afx::VK_F12) {
        return Qt::Key_F1 + static_cast<int>(virtualKey - afx::VK_F1);
    }
    switch (virtualKey) {
        case afx::VK_BACK:
            return Qt::Key_Backspace;
        case afx::VK_INSERT:
            return Qt::Key_Insert;
        case afx::VK_DELETE:
            return Qt::Key_Delete;
        default:
            return 0;
    }
}

}  // namespace

QKeySequence KeySequenceOf(const Accelerator& accelerator) {
    int key = QtKeyOf(accelerator.key);
    if (key == 0) {
        return {};
    }
    Qt::KeyboardModifiers modifiers;
    if ((accelerator.flags & afx::FCONTROL) != 0) {
        modifiers |= Qt::ControlModifier;
    }
    if ((accelerator.flags & afx::FSHIFT) != 0) {
        modifiers |= Qt::ShiftModifier;
    }
    if ((accelerator.flags & afx::FALT) != 0) {
        modifiers |= Qt::AltModifier;
    }
    return QKeySequence(QKeyCombination(modifiers, static_cast<Qt::Key>(key)));
}
