#include "framework/CDocTemplate.h"

#include "framework/CFrameWnd.h"
#include "framework/CObject.h"
#include "framework/CWinApp.h"

CDocTemplate::CDocTemplate(unsigned resourceId, const CRuntimeClass* documentClass,
                           const CRuntimeClass* frameClass, const CRuntimeClass* viewClass)
    : resourceId_(resourceId),
      documentClass_(documentClass),
      frameClass_(frameClass),
      viewClass_(viewClass) {}

CDocTemplate::~CDocTemplate() = default;

std::string CDocTemplate::GetDocString(DocStringIndex index) const {
    if (app_ == nullptr) {
        return {};
    }
    return GetDocStringField(app_->LoadString(resourceId_), index);
}

LoadVerdict CDocTemplate::JudgeLoad(const CDocument& document) const {
    return loadJudge_ ? loadJudge_(document) : LoadVerdict{};
}

std::unique_ptr<CDocument> CDocTemplate::CreateNewDocument() {
    CObject* made = documentClass_ != nullptr ? documentClass_->CreateObject() : nullptr;
    auto* document = dynamic_cast<CDocument*>(made);
    if (document == nullptr) {
        delete made;
        return nullptr;
    }
    document->docTemplate_ = this;
    document->SetDialogs(app_ != nullptr ? app_->GetDialogs() : nullptr);
    return std::unique_ptr<CDocument>(document);
}

std::unique_ptr<CFrameWnd> CDocTemplate::CreateNewFrame(CDocument* document) {
    CObject* made = frameClass_ != nullptr ? frameClass_->CreateObject() : nullptr;
    auto* frame = dynamic_cast<CFrameWnd*>(made);
    if (frame == nullptr) {
        delete made;
        return nullptr;
    }
    std::unique_ptr<CFrameWnd> owned(frame);
    CCreateContext context{viewClass_, document, this};
    if (!owned->LoadFrame(resourceId_, &context)) {
        return nullptr;
    }
    return owned;
}

void CDocTemplate::SetDefaultTitle(CDocument* document) const {
    std::string name = GetDocString(DocStringIndex::docName);
    document->SetTitle(name.empty() ? "Untitled" : name);
}
