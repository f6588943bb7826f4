#include "framework/CStatusBar.h"

#include "framework/AfxIds.h"
#include "framework/Backend.h"
#include "framework/CFrameWnd.h"
#include "framework/CWinApp.h"

CStatusBar::~CStatusBar() {
    if (frame_ != nullptr && frame_->GetStatusBar() == this) {
        frame_->SetStatusBar(nullptr);
    }
}

bool CStatusBar::Create(CFrameWnd* parent, unsigned long style, unsigned id) {
    if (parent == nullptr || parent->GetFrameHost() == nullptr || host_ != nullptr) {
        return false;
    }
    host_ = parent->GetFrameHost()->CreateStatusBar();
    if (host_ == nullptr) {
        return false;
    }
    frame_ = parent;
    id_ = id;
    host_->SetVisible((style & afx::WS_VISIBLE) != 0);
    parent->SetStatusBar(this);
    return true;
}

bool CStatusBar::SetIndicators(const unsigned* ids, int count) {
    CWinApp* app = frame_ != nullptr ? frame_->GetApp() : nullptr;
    if (host_ == nullptr || app == nullptr || count < 0) {
        return false;
    }
    std::vector<unsigned> newIds(ids, ids + count);
    std::vector<std::string> newTexts;
    for (unsigned id : newIds) {
        if (id == afx::ID_SEPARATOR) {
            newTexts.push_back(app->LoadString(afx::AFX_IDS_IDLEMESSAGE));
            continue;
        }
        std::string text = app->LoadString(id);
        if (text.empty()) {
            return false;
        }
        newTexts.push_back(text);
    }
    ids_ = std::move(newIds);
    texts_ = std::move(newTexts);
    host_->SetPanes(ids_, texts_);
    return true;
}

bool CStatusBar::SetPaneText(std::size_t index, const std::string& text) {
    if (host_ == nullptr || index >= texts_.size()) {
        return false;
    }
    texts_[index] = text;
    host_->SetPaneText(index, text);
    return true;
}

bool CStatusBar::IsVisible() const {
    return host_ != nullptr && host_->IsVisible();
}

void CStatusBar::SetVisible(bool visible) {
    if (host_ != nullptr) {
        host_->SetVisible(visible);
    }
}
