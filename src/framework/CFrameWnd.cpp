#include "framework/CFrameWnd.h"

#include "framework/AfxIds.h"
#include "framework/CDocTemplate.h"
#include "framework/CDocument.h"
#include "framework/CStatusBar.h"
#include "framework/CView.h"
#include "framework/CWinApp.h"

CFrameWnd::CFrameWnd() {
    OnCommand(afx::ID_VIEW_STATUS_BAR, [this] { OnViewStatusBar(); });
    OnUpdateCommandUI(afx::ID_VIEW_STATUS_BAR, [this](CCmdUI& ui) {
        ui.Enable(statusBar_ != nullptr);
        ui.SetCheck(statusBar_ != nullptr && statusBar_->IsVisible());
    });
}

CFrameWnd::~CFrameWnd() {
    if (view_ != nullptr) {
        view_->DestroyWindow();
        view_.reset();
    }
}

bool CFrameWnd::PreCreateWindow() {
    return true;
}

bool CFrameWnd::LoadFrame(unsigned resourceId, CCreateContext* context) {
    CWinApp* app = context != nullptr && context->newDocTemplate != nullptr
                       ? context->newDocTemplate->GetApp()
                       : AfxGetApp();
    if (app == nullptr || app->GetPlatform() == nullptr || !PreCreateWindow()) {
        return false;
    }
    app_ = app;
    const ResourceSet& resources = app->GetResources();
    if (auto menu = resources.menus.find(resourceId); menu != resources.menus.end()) {
        menu_ = menu->second;
    }
    if (auto table = resources.accelerators.find(resourceId);
        table != resources.accelerators.end()) {
        accelerators_ = table->second;
    }
    appTitle_ = GetDocStringField(app->LoadString(resourceId), DocStringIndex::windowTitle);
    if (appTitle_.empty()) {
        appTitle_ = app->GetAppName();
    }

    frameHost_ = app->GetPlatform()->CreateFrameHost(*this);
    if (frameHost_ == nullptr) {
        return false;
    }
    frameHost_->SetMenu(menu_);
    frameHost_->SetAccelerators(accelerators_);
    if (auto icon = resources.icons.find(resourceId); icon != resources.icons.end()) {
        frameHost_->SetIcon(icon->second);
    }
    frameHost_->SetTitle("", appTitle_, false);

    createContext_ = context;
    int created = OnCreate();
    createContext_ = nullptr;
    if (created == -1) {
        view_.reset();
        frameHost_.reset();
        return false;
    }
    return true;
}

int CFrameWnd::OnCreate() {
    if (createContext_ == nullptr || createContext_->newViewClass == nullptr) {
        return 0;
    }
    CObject* made = createContext_->newViewClass->CreateObject();
    auto* view = dynamic_cast<CView*>(made);
    if (view == nullptr) {
        delete made;
        return -1;
    }
    view_.reset(view);
    if (createContext_->currentDoc != nullptr) {
        createContext_->currentDoc->AddView(view);
    }
    if (!view->Create(frameHost_->GetClientHost())) {
        view_.reset();
        return -1;
    }
    return 0;
}

CDocument* CFrameWnd::GetActiveDocument() const {
    return view_ != nullptr ? view_->GetDocument() : nullptr;
}

void CFrameWnd::InitialUpdateFrame(CDocument* /*document*/, bool makeVisible) {
    if (view_ != nullptr) {
        view_->OnInitialUpdate();
    }
    OnUpdateFrameTitle();
    if (frameHost_ != nullptr) {
        frameHost_->RefreshCommands();  // the commands of the document and view are live now
    }
    if (makeVisible) {
        ShowWindow(afx::SW_SHOW);
    }
}

void CFrameWnd::OnUpdateFrameTitle() {
    if (frameHost_ == nullptr) {
        return;
    }
    CDocument* document = GetActiveDocument();
    if (document == nullptr) {
        frameHost_->SetTitle("", appTitle_, false);
        return;
    }
    frameHost_->SetTitle(document->GetTitle(), appTitle_, document->IsModified());
}

void CFrameWnd::ShowWindow(int command) {
    if (frameHost_ != nullptr) {
        frameHost_->Show(command);
    }
}

bool CFrameWnd::OnCmdMsg(unsigned id, CCmdUI* ui) {
    if (auto* viewTarget = dynamic_cast<CCmdTarget*>(view_.get());
        viewTarget != nullptr && viewTarget->OnCmdMsg(id, ui)) {
        return true;
    }
    if (CDocument* document = GetActiveDocument(); document != nullptr) {
        if (document->OnCmdMsg(id, ui)) {
            return true;
        }
        if (document->GetDocTemplate() != nullptr && document->GetDocTemplate()->OnCmdMsg(id, ui)) {
            return true;
        }
    }
    if (CCmdTarget::OnCmdMsg(id, ui)) {
        return true;
    }
    return app_ != nullptr && app_->OnCmdMsg(id, ui);
}

CCmdUI CFrameWnd::QueryCommand(unsigned id) {
    CCmdUI ui(id);
    OnCmdMsg(id, &ui);
    return ui;
}

bool CFrameWnd::ExecuteCommand(unsigned id) {
    CCmdUI ui = QueryCommand(id);
    if (!ui.IsHandled() || !ui.IsEnabled()) {
        return false;
    }
    OnCmdMsg(id, nullptr);
    if (frameHost_ != nullptr) {
        frameHost_->RefreshCommands();
    }
    return true;
}

std::vector<MenuItem> CFrameWnd::GetMenuItems(std::size_t index) const {
    if (index >= menu_.size()) {
        return {};
    }
    std::vector<MenuItem> items;
    CRecentFileList* recent = app_ != nullptr ? app_->GetRecentFileList() : nullptr;
    for (const MenuItem& item : menu_[index].items) {
        if (item.kind == MenuItem::Kind::Command && item.command == afx::ID_FILE_MRU_FILE1 &&
            recent != nullptr && recent->GetSize() > 0) {
            for (std::size_t i = 0; i < recent->GetSize(); ++i) {
                items.push_back(MenuItem::Item(recent->GetMenuText(i),
                                               afx::ID_FILE_MRU_FILE1 + static_cast<unsigned>(i)));
            }
            continue;
        }
        items.push_back(item);
    }
    return items;
}

void CFrameWnd::OnMenuSelect(unsigned id) {
    if (app_ == nullptr) {
        return;
    }
    std::string prompt = id != 0 ? PromptOfCommandString(app_->LoadString(id)) : std::string();
    SetMessageText(prompt.empty() ? app_->LoadString(afx::AFX_IDS_IDLEMESSAGE) : prompt);
}

void CFrameWnd::SetMessageText(const std::string& text) {
    if (statusBar_ != nullptr) {
        statusBar_->SetPaneText(0, text);
    }
}

bool CFrameWnd::OnClose() {
    if (app_ != nullptr && !app_->SaveAllModified()) {
        return false;
    }
    if (app_ != nullptr && app_->GetPlatform() != nullptr) {
        app_->GetPlatform()->Quit(0);
    }
    return true;
}

void CFrameWnd::OnViewStatusBar() {
    if (statusBar_ != nullptr) {
        statusBar_->SetVisible(!statusBar_->IsVisible());
    }
}
