#pragma once

#include "framework/CCmdTarget.h"
#include "framework/CObject.h"
#include "framework/Resources.h"

class CWnd;

/// A dialog built from a dialog template of the application's resources, run modally.
class CDialog : public CObject, public CCmdTarget {
public:
    /// A dialog of template templateId; without a parent the main window is its owner.
    explicit CDialog(unsigned templateId, CWnd* parent = nullptr);

    /// Runs the dialog until it is closed and answers how: IDOK, IDCANCEL, or -1 when there is
    /// no application to run it or no such template.
    virtual int DoModal();

    unsigned GetTemplateId() const { return templateId_; }
    /// The template from the current application's resources; null when there is none.
    const DialogTemplate* GetTemplate() const;
    CWnd* GetParent() const { return parent_; }

    /// The dialog has been made; the base accepts.
    virtual bool OnInitDialog();

private:
    unsigned templateId_;
    CWnd* parent_;
};
