#pragma once

#include <functional>
#include <memory>
#include <string>

#include "framework/CCmdTarget.h"
#include "framework/CDocument.h"
#include "framework/Resources.h"

struct CRuntimeClass;
class CFrameWnd;
class CWinApp;

/// What a frame needs to make its view: the view's class and the document it shows.
struct CCreateContext {
    const CRuntimeClass* newViewClass = nullptr;
    CDocument* currentDoc = nullptr;
    CDocTemplate* newDocTemplate = nullptr;
};

/// Binds a document class to the frame and view classes that show it, with one resource number
/// for the frame's menu, accelerators, icon and the document string. Documents, frames and
/// views are made through their run-time classes.
class CDocTemplate : public CCmdTarget {
public:
    /// Judges a completed load of a document: complete, partial or refused.
    using LoadJudge = std::function<LoadVerdict(const CDocument&)>;

    CDocTemplate(unsigned resourceId, const CRuntimeClass* documentClass,
                 const CRuntimeClass* frameClass, const CRuntimeClass* viewClass);
    ~CDocTemplate() override;

    unsigned GetResourceId() const { return resourceId_; }
    /// A field of the document string (the string numbered like the template's resource).
    std::string GetDocString(DocStringIndex index) const;
    /// The application that registered the template; null before AddDocTemplate.
    CWinApp* GetApp() const { return app_; }
    void SetApp(CWinApp* app) { app_ = app; }

    /// How loads are judged; without a judge every load is complete.
    void SetLoadJudge(LoadJudge judge) { loadJudge_ = std::move(judge); }
    LoadVerdict JudgeLoad(const CDocument& document) const;

    /// A new document (path empty) or the file opened, in a frame made visible when
    /// makeVisible is true. Null when that failed or was cancelled; the reason has been told.
    virtual CDocument* OpenDocumentFile(const std::string& path, bool makeVisible = true) = 0;
    /// Asks each document to save its changes; false when the person cancels.
    [[nodiscard]] virtual bool SaveAllModified() = 0;
    /// Destroys every frame and document of the template.
    virtual void CloseAllDocuments() = 0;

protected:
    /// A document of the template's class, bound to the template and the application's dialogs.
    std::unique_ptr<CDocument> CreateNewDocument();
    /// A frame of the template's class showing a new view of the document; null when it
    /// could not be made.
    std::unique_ptr<CFrameWnd> CreateNewFrame(CDocument* document);
    /// Sets the title a new document has: the document string's name, or "Untitled".
    void SetDefaultTitle(CDocument* document) const;

private:
    unsigned resourceId_;
    const CRuntimeClass* documentClass_;
    const CRuntimeClass* frameClass_;
    const CRuntimeClass* viewClass_;
    CWinApp* app_ = nullptr;
    LoadJudge loadJudge_;
};
