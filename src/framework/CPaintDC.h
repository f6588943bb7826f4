#pragma once

#include "gdi/CDC.h"
#include "gdi/GdiTypes.h"

class CWnd;
class WindowHost;

/// The surface of one paint of a window: construction begins the paint and takes the box that
/// awaits painting as the clip, destruction ends it. Only a window's OnPaint makes one.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* window);
    ~CPaintDC() override;

    /// The box being painted, in client pixels; empty when nothing awaited painting.
    const RECT& GetPaintBox() const { return paintBox_; }

private:
    WindowHost* host_;  ///< the one whose paint this is; null for a window without a host
    RECT paintBox_{};
};
