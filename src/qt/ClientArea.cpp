#include "qt/ClientArea.h"

#include <QCoreApplication>
#include <QImage>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

#include "framework/CWnd.h"

namespace {

QRect ToQRect(const RECT& box) {
    return QRect(QPoint(box.left, box.top), QPoint(box.right - 1, box.bottom - 1));
}

RECT ToRect(const QRect& box) {
    return RECT{box.left(), box.top(), box.right() + 1, box.bottom() + 1};
}

POINT ToPoint(const QMouseEvent* event) {
    QPoint at = event->position().toPoint();
    return POINT{at.x(), at.y()};
}

unsigned ButtonFlag(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return MK_LBUTTON;
        case Qt::RightButton:
            return MK_RBUTTON;
        default:
            return 0;
    }
}

}  // namespace

ClientArea::ClientArea(QWidget* parent) : QAbstractScrollArea(parent) {
    viewport()->setMouseTracking(true);
    // Every pixel comes from the window's bitmap: Qt need not clear anything first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    setFrameShape(QFrame::NoFrame);
    for (int bar : {SB_HORZ, SB_VERT}) {
        QScrollBar* scrollBar = bar == SB_HORZ ? horizontalScrollBar() : verticalScrollBar();
        scrollBar->setRange(0, 0);
        // Qt's page step sizes the thumb, so it is the visible extent (ApplyBar); a page
        // scrolled by the trough or the keys is still the window's own step.
        QObject::connect(
            scrollBar, &QAbstractSlider::actionTriggered, this, [this, bar, scrollBar](int action) {
                const std::int64_t page = bars_[bar == SB_VERT ? 1 : 0].page;
                if (action == QAbstractSlider::SliderPageStepAdd ||
                    action == QAbstractSlider::SliderPageStepSub) {
                    const std::int64_t step =
                        action == QAbstractSlider::SliderPageStepAdd ? page : -page;
                    scrollBar->setSliderPosition(static_cast<int>(std::clamp<std::int64_t>(
                        scrollBar->value() + step, scrollBar->minimum(), scrollBar->maximum())));
                }
            });
    }
}

ClientArea::~ClientArea() {
    if (window_ != nullptr) {
        window_->DestroyWindow();
    }
}

bool ClientArea::AttachWindow(CWnd* window) {
    if (window != nullptr && window_ != nullptr && window_ != window) {
        return false;
    }
    window_ = window;
    if (window == nullptr) {
        timers_.clear();
        pending_ = QRect();
    } else {
        RemakePixels();
        pending_ = viewport()->rect();
    }
    return true;
}

SIZE ClientArea::GetClientSize() const {
    QSize size = viewport()->size();
    return SIZE{std::max(size.width(), 0), std::max(size.height(), 0)};
}

void ClientArea::Invalidate(const RECT* box) {
    QRect whole = viewport()->rect();
    QRect area = box == nullptr ? whole : ToQRect(*box).intersected(whole);
    if (area.isEmpty()) {
        return;
    }
    pending_ = pending_.united(area);
    viewport()->update(area);
}

void ClientArea::UpdateNow() {
    PaintPending();
}

RECT ClientArea::BeginPaint() {
    RECT box = pending_.isEmpty() ? RECT{0, 0, 0, 0} : ToRect(pending_);
    pending_ = QRect();
    return box;
}

void ClientArea::EndPaint(const RECT& box) {
    if (box.right <= box.left || box.bottom <= box.top) {
        return;
    }
    // Inside Qt's paint event the pixels go to the screen right after; only what lies outside
    // that event's area needs one more.
    QRect painted = ToQRect(box);
    if (!paintEventArea_.contains(painted)) {
        viewport()->update(painted);
    }
}

void ClientArea::PaintPending() {
    // A paint that invalidates again is delivered on the next round, not re-entered.
    if (window_ == nullptr || pending_.isEmpty() || painting_) {
        return;
    }
    painting_ = true;
    window_->OnPaint();
    painting_ = false;
}

bool ClientArea::SetTimer(std::uintptr_t id, std::uint32_t periodMs) {
    auto timer = std::make_unique<QTimer>();
    timer->setInterval(static_cast<int>(std::min<std::uint32_t>(periodMs, INT32_MAX)));
    QObject::connect(timer.get(), &QTimer::timeout, this, [this, id] {
        if (window_ != nullptr) {
            window_->OnTimer(id);
        }
    });
    timer->start();
    timers_[id] = std::move(timer);
    return true;
}

bool ClientArea::KillTimer(std::uintptr_t id) {
    return timers_.erase(id) > 0;
}

void ClientArea::SetScrollSizes(int bar, std::int32_t total, std::int32_t page, std::int32_t line) {
    Bar& sizes = bars_[bar == SB_VERT ? 1 : 0];
    sizes = Bar{std::max(total, 0), std::max(page, 1), std::max(line, 1)};
    ApplyBar(bar);
}

void ClientArea::ApplyBar(int bar) {
    const Bar& sizes = bars_[bar == SB_VERT ? 1 : 0];
    QScrollBar* scrollBar = bar == SB_VERT ? verticalScrollBar() : horizontalScrollBar();
    int extent = bar == SB_VERT ? viewport()->height() : viewport()->width();
    // The thumb shows the visible share of the total.
    scrollBar->setPageStep(std::max(1, extent));
    scrollBar->setSingleStep(sizes.line);
    // A range that moves the position emits valueChanged, which tells the window.
    scrollBar->setRange(0, std::max(0, sizes.total - extent));
}

std::int32_t ClientArea::GetScrollPos(int bar) const {
    return bar == SB_VERT ? verticalScrollBar()->value() : horizontalScrollBar()->value();
}

std::int32_t ClientArea::SetScrollPos(int bar, std::int32_t position) {
    QScrollBar* scrollBar = bar == SB_VERT ? verticalScrollBar() : horizontalScrollBar();
    const bool blocked = scrollBar->blockSignals(true);
    scrollBar->setValue(position);
    scrollBar->blockSignals(blocked);
    return scrollBar->value();
}

SIZE ClientArea::GetParentFrameSize() const {
    QSize size = window()->size();
    return SIZE{size.width(), size.height()};
}

void ClientArea::SetParentFrameSize(SIZE size) {
    if (window() != this) {
        window()->resize(std::max(size.cx, 1), std::max(size.cy, 1));
        SettleGeometry();
    }
}

void ClientArea::SettleGeometry() {
    QWidget* top = window();
    if (top->isVisible()) {
        return;  // a shown window lays itself out and sends its own resize events
    }
    // The resize events that showing would send: the main window's lays out its children
    // (menu bar, status bar, this), this one's lays out the viewport and tells the view.
    for (QWidget* widget : {top, static_cast<QWidget*>(this)}) {
        if (widget == top && widget->layout() != nullptr) {
            widget->layout()->invalidate();
            widget->layout()->activate();
        }
        if (widget->testAttribute(Qt::WA_PendingResizeEvent)) {
            widget->setAttribute(Qt::WA_PendingResizeEvent, false);
            QResizeEvent resize(widget->size(), QSize(-1, -1));
            QCoreApplication::sendEvent(widget, &resize);
        }
    }
}

void ClientArea::scrollContentsBy(int dx, int dy) {
    if (window_ == nullptr) {
        return;
    }
    if (dx != 0) {
        window_->OnScrolled(SB_HORZ, horizontalScrollBar()->value());
    }
    if (dy != 0) {
        window_->OnScrolled(SB_VERT, verticalScrollBar()->value());
    }
}

void ClientArea::RemakePixels() {
    SIZE size = GetClientSize();
    pixels_.DeleteObject();
    if (size.cx > 0 && size.cy > 0) {
        pixels_.CreateBitmap(size.cx, size.cy);
    }
}

void ClientArea::paintEvent(QPaintEvent* event) {
    paintEventArea_ = event->rect();
    PaintPending();
    paintEventArea_ = QRect();
    if (!pixels_.IsCreated()) {
        return;
    }
    // The bitmap's words are 0xFFRRGGBB: an opaque RGB32 image as it stands.
    QImage image(reinterpret_cast<const uchar*>(pixels_.GetBits()), pixels_.GetWidth(),
                 pixels_.GetHeight(), static_cast<qsizetype>(pixels_.GetStride() * 4),
                 QImage::Format_RGB32);
    QPainter painter(viewport());
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    QRect area = event->rect().intersected(image.rect());
    painter.drawImage(area.topLeft(), image, area);
}

void ClientArea::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    RemakePixels();
    ApplyBar(SB_HORZ);
    ApplyBar(SB_VERT);
    if (window_ == nullptr) {
        return;
    }
    pending_ = viewport()->rect();
    SIZE size = GetClientSize();
    window_->OnSize(SIZE_RESTORED, size.cx, size.cy);
}

void ClientArea::mousePressEvent(QMouseEvent* event) {
    unsigned flag = ButtonFlag(event->button());
    if (window_ == nullptr || flag == 0) {
        return;
    }
    buttons_ |= flag;
    if (flag == MK_LBUTTON) {
        window_->OnLButtonDown(buttons_, ToPoint(event));
    } else {
        window_->OnRButtonDown(buttons_, ToPoint(event));
    }
}

void ClientArea::mouseReleaseEvent(QMouseEvent* event) {
    unsigned flag = ButtonFlag(event->button());
    if (window_ == nullptr || flag == 0) {
        return;
    }
    buttons_ &= ~flag;
    if (!viewport()->rect().contains(event->position().toPoint())) {
        return;  // the window does not capture the mouse: a release elsewhere is not its own
    }
    if (flag == MK_LBUTTON) {
        window_->OnLButtonUp(buttons_, ToPoint(event));
    } else {
        window_->OnRButtonUp(buttons_, ToPoint(event));
    }
}

void ClientArea::mouseMoveEvent(QMouseEvent* event) {
    // Qt keeps sending moves past the edge while a button is held; the window does not
    // capture the mouse, so those are not its own (a drag cannot carry an object off the world).
    if (window_ != nullptr && viewport()->rect().contains(event->position().toPoint())) {
        window_->OnMouseMove(buttons_, ToPoint(event));
    }
}

void ClientArea::wheelEvent(QWheelEvent* event) {
    if ((event->modifiers() & Qt::ShiftModifier) == 0) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    // Shift turns the wheel sideways, as across the Linux desktop; the steps stay those of a
    // plain turn (Qt's scroll bar would take Shift for whole pages).
    QWheelEvent sideways(event->position(), event->globalPosition(),
                         event->pixelDelta().transposed(), event->angleDelta().transposed(),
                         event->buttons(), event->modifiers() & ~Qt::ShiftModifier, event->phase(),
                         event->inverted(), event->source());
    QCoreApplication::sendEvent(horizontalScrollBar(), &sideways);
    event->setAccepted(sideways.isAccepted());
}
