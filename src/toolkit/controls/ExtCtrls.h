// Panels: containers that paint a raised border and a centred caption.
#pragma once

#include "Controls.h"

class TPanel : public TCustomControl {
    TW_DECLARE_CLASS(TPanel, TCustomControl)
    explicit TPanel(TComponent* owner);
    void Paint(HDC dc) override;
};
