#pragma once

#include "framework/CCmdTarget.h"
#include "framework/CObject.h"
#include "framework/Resources.h"

class CWinApp;
class CWnd;

/// A dialog built from a dialog template of the application's resources, run modally. It
/// belongs to the application that is current when it is made (AfxGetApp), as the program's
/// dialogs are made and run within one command of that application.
class CDialog : public CObject, public CCmdTarget {
public:
    /// A dialog of template templateId; without a parent the main window is its owner.
    explicit CDialog(unsigned templateId, CWnd* parent = nullptr);

    /// Runs the dialog until it is closed and answers how: IDOK, IDCANCEL, or -1 when there is
    /// no application to run it or no such template.
    virtual int DoModal();

    unsigned GetTemplateId() const { return templateId_; }
    /// The template from the application's resources; null when there is none.
    const DialogTemplate* GetTemplate() const;
    /// The application the dialog belongs to; null when there was none.
    CWinApp* GetApp() const { return app_; }
    CWnd* GetParent() const { return parent_; }

    /// The dialog has been made; the base accepts.
    virtual bool OnInitDialog();

private:
    CWinApp* app_;
    unsigned templateId_;
    CWnd* parent_;
};
