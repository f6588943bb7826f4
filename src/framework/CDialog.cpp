#include "framework/CDialog.h"

#include "framework/Backend.h"
#include "framework/CWinApp.h"

CDialog::CDialog(unsigned templateId, CWnd* parent)
    : app_(AfxGetApp()), templateId_(templateId), parent_(parent) {}

const DialogTemplate* CDialog::GetTemplate() const {
    if (app_ == nullptr) {
        return nullptr;
    }
    auto found = app_->GetResources().dialogs.find(templateId_);
    return found == app_->GetResources().dialogs.end() ? nullptr : &found->second;
}

int CDialog::DoModal() {
    if (app_ == nullptr || app_->GetDialogs() == nullptr || GetTemplate() == nullptr) {
        return -1;
    }
    return app_->GetDialogs()->RunModal(*this);
}

bool CDialog::OnInitDialog() {
    return true;
}
