// A test's stand-in for the GDI failures a form painter can meet (handles run out, a bitmap
// cannot be made): when a hook is set, the painter calls it on entry to the steps that build
// GDI objects, and the hook throws to make that step fail. No hook is set in the program.
#pragma once

enum class TSkinFormStep { StartSkin, AdjustFrameSize, BuildRegion, ButtonPaint };

using TSkinFormFaultHook = void (*)(TSkinFormStep step);

inline TSkinFormFaultHook SkinFormFaultHook = nullptr;

inline void SkinFormStep(TSkinFormStep step) {
    if (SkinFormFaultHook)
        SkinFormFaultHook(step);
}
