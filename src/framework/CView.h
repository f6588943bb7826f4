#pragma once

#include "framework/CObject.h"
#include "framework/CWnd.h"

class CDC;
class CDocument;

/// A window that shows one document. The document tells its views of changes through OnUpdate;
/// a view leaves its document when it is destroyed.
class CView : public CWnd {
public:
    CView() = default;
    ~CView() override;

    /// The document the view is attached to; null when it is attached to none.
    CDocument* GetDocument() const { return document_; }

    /// The document changed. sender is the view that caused the change (never this view when
    /// the call comes from UpdateAllViews) or null; hint and hintObject are the sender's.
    /// The base invalidates the whole client area.
    virtual void OnUpdate(CView* sender, long hint, CObject* hintObject);
    /// The document is first shown in the view, or was replaced by a new or opened one. The
    /// base calls OnUpdate(nullptr, 0, nullptr).
    virtual void OnInitialUpdate();
    /// Draws the document onto the surface, in the document's coordinates. The base draws
    /// nothing.
    virtual void OnDraw(CDC* surface);
    /// Readies a surface on this view before drawing through it or converting coordinates
    /// with it. The base leaves it as it is.
    virtual void OnPrepareDC(CDC* surface);

    /// Paints through a CPaintDC readied by OnPrepareDC, with OnDraw.
    void OnPaint() override;

private:
    friend class CDocument;  // attaches and detaches views
    CDocument* document_ = nullptr;
};
