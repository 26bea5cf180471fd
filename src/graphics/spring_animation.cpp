#include "graphics/spring_animation.h"

#include "base/numformat.h"
#include "base/program.h"
#include "base/units.h"
#include "calc/dialog_calls.h"
#include "calc/session.h"
#include "graphics/cad_output.h"
#include "graphics/display_list.h"
#include "graphics/spring_views.h"
#include "graphics/view_texts.h"

#include <algorithm>

namespace kora {
namespace text = view_text;

namespace {

constexpr int kFrameLayer = 5;

} // namespace

int AnimationFrames(CadOutput& cad, Session& session, DisplayList* display, GraphicsHost* host,
                    ViewKind kind, const AnimationSettings& settings) {
    const int frames =
        std::clamp(settings.frames, AnimationSettings::kMinFrames, AnimationSettings::kMaxFrames);
    const int repetitions = std::clamp(settings.repetitions, AnimationSettings::kMinRepetitions,
                                       AnimationSettings::kMaxRepetitions);
    const int pause = std::max(0, settings.pause);
    int shown = 0;
    // Frame k of the way from A to B lies at A + k (B - A) / N, so the turning lengths are
    // drawn once per way whatever the rounding.
    auto way = [&](real A, real B) {
        for (int k = 0; k < frames; ++k) {
            if (session.AbortFlag) return;
            const real C = A + (B - A) * k / frames;
            const real F = ForceAtLength(session, C);
            cad.CadPageStart(); // the display list holds the sheet and this frame only
            cad.CadLayer(kFrameLayer);
            if (kind == ViewKind::Schema)
                SectionSchema(cad, session, C, F, false);
            else
                CutDrawing(cad, session, kind, C, F, false);
            ++shown;
            if (!host) continue;
            host->ShowFrame(pause);
            if (display && display->singleStep && !session.AbortFlag && !host->AnimationStep())
                display->singleStep = false;
        }
    };
    for (int r = 0; r < repetitions && !session.AbortFlag; ++r) {
        way(settings.largest, settings.smallest);
        way(settings.smallest, settings.largest);
    }
    return shown;
}

} // namespace kora
