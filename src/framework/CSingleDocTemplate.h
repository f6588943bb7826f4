#pragma once

#include <memory>

#include "framework/CDocTemplate.h"
#include "framework/CFrameWnd.h"

/// One document in one frame with one view, made by the first new or opened document and then
/// reused for every later one.
class CSingleDocTemplate : public CDocTemplate {
public:
    using CDocTemplate::CDocTemplate;
    ~CSingleDocTemplate() override;

    /// Asks the current document to save its changes first. A new document takes the default
    /// title. An open that fails or is cancelled leaves the document as it was (it puts its
    /// content back); only one whose content could not be put back leaves a new, untitled
    /// document, so nothing can save over either file. When the frame was made for this open,
    /// a failure destroys it.
    CDocument* OpenDocumentFile(const std::string& path, bool makeVisible = true) override;
    bool SaveAllModified() override;
    void CloseAllDocuments() override;

    CDocument* GetDocument() const { return document_.get(); }
    CFrameWnd* GetFrame() const { return frame_.get(); }

private:
    /// Ends a failed open that made the frame (and perhaps the document): destroys what it made.
    void DiscardNewFrame(bool documentMadeHere);
    /// Replaces the document's content with a new, untitled one and shows it.
    void FallBackToNewDocument();

    // The frame (and through it the view) goes before the document it shows.
    std::unique_ptr<CDocument> document_;
    std::unique_ptr<CFrameWnd> frame_;
};
