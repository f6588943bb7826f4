#pragma once

#include <vector>

#include "framework/CObject.h"

class CArchive;
class CView;

/// The data of one document and the views that show it. The document keeps a modified flag,
/// tells its views of changes and detaches them when it is destroyed; it owns none of them.
class CDocument : public CObject {
public:
    CDocument() = default;
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;
    ~CDocument() override;

    /// Prepares the document to hold a new, empty content and clears the modified flag. False
    /// when the document could not be prepared; then nothing has changed.
    virtual bool OnNewDocument();
    /// Saves or loads the content through the archive. The base moves nothing.
    virtual void Serialize(CArchive& archive);

    void SetModifiedFlag(bool modified = true) { modified_ = modified; }
    bool IsModified() const { return modified_; }

    /// Attaches the view, first detaching it from any other document. Attaching a view twice
    /// keeps one attachment.
    void AddView(CView* view);
    /// Detaches the view; a view that is not attached here is left alone.
    void RemoveView(CView* view);
    /// Calls OnUpdate(sender, hint, hintObject) on every attached view except sender, in the
    /// order of attachment.
    void UpdateAllViews(CView* sender, long hint = 0, CObject* hintObject = nullptr);

protected:
    /// The first step of the base OnNewDocument: false stops it before anything changes.
    /// The base answers true; a document whose preparation can fail overrides it.
    virtual bool CanStartNewDocument();

private:
    std::vector<CView*> views_;
    bool modified_ = false;
};
