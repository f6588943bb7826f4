#include "framework/CDialog.h"

#include "framework/AppServices.h"
#include "framework/CWinApp.h"

CDialog::CDialog(unsigned templateId, CWnd* parent) : templateId_(templateId), parent_(parent) {}

const DialogTemplate* CDialog::GetTemplate() const {
    CWinApp* app = AfxGetApp();
    if (app == nullptr) {
        return nullptr;
    }
    auto found = app->GetResources().dialogs.find(templateId_);
    return found == app->GetResources().dialogs.end() ? nullptr : &found->second;
}

int CDialog::DoModal() {
    CWinApp* app = AfxGetApp();
    if (app == nullptr || app->GetDialogs() == nullptr || GetTemplate() == nullptr) {
        return -1;
    }
    return app->GetDialogs()->RunModal(*this);
}

bool CDialog::OnInitDialog() {
    return true;
}
