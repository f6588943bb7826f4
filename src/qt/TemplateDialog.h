#pragma once

#include <QDialog>

#include "framework/Resources.h"

/// A dialog laid out from a dialog template: dialog units become pixels through the font's
/// average character width (a quarter of it per horizontal unit) and height (an eighth per
/// vertical unit), as dialog units are defined. Static texts, push buttons and icons are made;
/// the default button closes the dialog with IDOK, Escape with IDCANCEL.
class TemplateDialog : public QDialog {
public:
    TemplateDialog(const DialogTemplate& layout, const ResourceSet& resources,
                   QWidget* parent = nullptr);

    /// Pixels of a length in horizontal or vertical dialog units.
    int HorizontalPixels(int units) const;
    int VerticalPixels(int units) const;

private:
    int baseWidth_;
    int baseHeight_;
};
