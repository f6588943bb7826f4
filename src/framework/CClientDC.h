#pragma once

#include "gdi/CDC.h"

class CWnd;

/// A surface on a window's client area: it draws straight into the pixels that the window's
/// host shows, without a clip. Made for the length of one message; it must not be kept across a
/// change of the window's size. On a window without a host it draws nothing.
class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* window);
    ~CClientDC() override;

protected:
    CWnd* window_;
};
