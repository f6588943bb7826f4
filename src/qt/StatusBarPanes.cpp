#include "qt/StatusBarPanes.h"

#include <QFontMetrics>

#include "framework/AfxIds.h"

void StatusBarPanes::SetPanes(const std::vector<unsigned>& ids,
                              const std::vector<std::string>& texts) {
    for (QLabel* pane : panes_) {
        bar_->removeWidget(pane);
        delete pane;
    }
    panes_.clear();
    ids_ = ids;
    for (std::size_t i = 0; i < ids.size(); ++i) {
        auto* pane = new QLabel(QString::fromStdString(texts[i]));
        if (ids[i] == afx::ID_SEPARATOR) {
            bar_->addWidget(pane, 1);
        } else {
            pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            pane->setAlignment(Qt::AlignCenter);
            // Wide enough for the text whether lit or not, so the bar never jumps.
            pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(pane->text()) + 12);
            pane->setEnabled(false);
            bar_->addPermanentWidget(pane);
        }
        panes_.push_back(pane);
    }
    relayout_();
}

void StatusBarPanes::SetVisible(bool visible) {
    bar_->setVisible(visible);
    relayout_();
}

void StatusBarPanes::SetPaneText(std::size_t index, const std::string& text) {
    if (index < panes_.size()) {
        panes_[index]->setText(QString::fromStdString(text));
    }
}

void StatusBarPanes::ShowLockKeys(const LockKeyState& state) {
    for (std::size_t i = 0; i < ids_.size(); ++i) {
        bool on = false;
        switch (ids_[i]) {
            case afx::ID_INDICATOR_CAPS:
                on = state.caps;
                break;
            case afx::ID_INDICATOR_NUM:
                on = state.num;
                break;
            case afx::ID_INDICATOR_SCRL:
                on = state.scroll;
                break;
            default:
                continue;
        }
        panes_[i]->setEnabled(state.known && on);
    }
}
