#pragma once

#include "framework/CObject.h"

class CDocument;

/// A view of one document. The document tells its views of changes through OnUpdate; a view
/// leaves its document when it is destroyed.
class CView : public CObject {
public:
    CView() = default;
    CView(const CView&) = delete;
    CView& operator=(const CView&) = delete;
    ~CView() override;

    /// The document the view is attached to; null when it is attached to none.
    CDocument* GetDocument() const { return document_; }

    /// The document changed. sender is the view that caused the change (never this view when
    /// the call comes from UpdateAllViews) or null; hint and hintObject are the sender's.
    /// The base does nothing.
    virtual void OnUpdate(CView* sender, long hint, CObject* hintObject);

private:
    friend class CDocument;  // attaches and detaches views
    CDocument* document_ = nullptr;
};
