#pragma once

#include "pages/page_context.h"

// The caption of an on/off setting switch: "Active" or "Deactive" in the loaded language.
inline QString SwitchCaption(const PageContext& ctx, bool on) {
    constexpr int kActive = 44;
    constexpr int kDeactive = 45;
    return ctx.LangText(on ? kActive : kDeactive);
}
