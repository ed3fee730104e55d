#pragma once
#include "skin/WindowImplBase.h"
#include "skin/WndShadow.h"

namespace Skin {

// Every installer window: a skinned window without the system caption and without maximising,
// with the drop shadow its document asks for ("showshadow" "true" and the shadow settings).
class CSkinFrame : public WindowImplBase {
public:
    explicit CSkinFrame(const FrameDescription& description) : WindowImplBase(description) {}

protected:
    void InitWindow() override;

    CWndShadow m_shadow;
};

}  // namespace Skin
