#include "qt/TemplateDialog.h"

#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "framework/AfxIds.h"

namespace {

QPixmap IconPixmap(const ResourceSet& resources, const std::string& number, int width) {
    unsigned id = 0;
    try {
        id = static_cast<unsigned>(std::stoul(number));
    } catch (const std::exception&) {
        return {};
    }
    auto group = resources.icons.find(id);
    if (group == resources.icons.end()) {
        return {};
    }
    // The image nearest the control's width, larger first.
    const IconImage* best = nullptr;
    for (const IconImage& image : group->second) {
        if (best == nullptr || std::abs(image.width - width) < std::abs(best->width - width)) {
            best = &image;
        }
    }
    QImage picture;
    if (best == nullptr ||
        !picture.loadFromData(best->png.data(), static_cast<int>(best->png.size()), "PNG")) {
        return {};
    }
    return QPixmap::fromImage(picture);
}

}  // namespace

TemplateDialog::TemplateDialog(const DialogTemplate& layout, const ResourceSet& resources,
                               QWidget* parent)
    : QDialog(parent) {
    QFontMetrics metrics(font());
    // The average width of the 52 letters, as dialog units count it.
    baseWidth_ = std::max(
        1,
        (metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") + 26) /
            52);
    baseHeight_ = std::max(1, metrics.height());

    setWindowTitle(QString::fromStdString(layout.caption));
    setModal(true);
    setFixedSize(HorizontalPixels(layout.width), VerticalPixels(layout.height));

    for (const DialogControl& control : layout.controls) {
        QRect place(HorizontalPixels(control.x), VerticalPixels(control.y),
                    HorizontalPixels(control.width), VerticalPixels(control.height));
        QWidget* widget = nullptr;
        switch (control.kind) {
            case DialogControl::Kind::Static: {
                auto* label = new QLabel(QString::fromStdString(control.text), this);
                label->setTextFormat(Qt::PlainText);
                widget = label;
                break;
            }
            case DialogControl::Kind::Icon: {
                auto* label = new QLabel(this);
                label->setPixmap(IconPixmap(resources, control.text, place.width()));
                label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                // An icon control takes the icon's size, whatever its template says.
                place.setSize(label->sizeHint().expandedTo(place.size()));
                widget = label;
                break;
            }
            case DialogControl::Kind::Button: {
                auto* button = new QPushButton(QString::fromStdString(control.text), this);
                bool isDefault = (control.style & afx::BS_DEFPUSHBUTTON) != 0;
                button->setDefault(isDefault);
                button->setAutoDefault(isDefault);
                int result = control.id;
                QObject::connect(button, &QPushButton::clicked, this,
                                 [this, result] { done(result); });
                widget = button;
                break;
            }
        }
        widget->setObjectName(QString("control%1").arg(&control - layout.controls.data()));
        widget->setGeometry(place);
    }
}

int TemplateDialog::HorizontalPixels(int units) const {
    return (units * baseWidth_ + 2) / 4;
}

int TemplateDialog::VerticalPixels(int units) const {
    return (units * baseHeight_ + 4) / 8;
}
