#include "engine/view_run.h"

#include <cmath>
#include <string>

#include "engine/assembly_walk.h"
#include "engine/line_styles.h"
#include "engine/member_walk.h"
#include "engine/pairing.h"
#include "engine/style_reset.h"
#include "engine/text.h"
#include "host/conversions.h"

namespace tav::engine {
namespace {

namespace dispatch = host::dispatch;
using host::ObjectRef;

// Progress bar numbers are whole here and print without a decimal point.
std::u16string progressText(float value) {
    return decimalText(static_cast<std::int64_t>(std::lround(value)));
}

void applyStylesWithProgress(RunContext& context) {
    StatusWindow& window = context.window;
    RecordTable<MemberRecord>& members = context.state.tables.members;
    window.setProgressMin(0.0f);
    window.setProgressMax(static_cast<float>(members.count()));
    window.setProgressValue(0.0f);
    const std::int16_t memberBound = members.loopBound();
    for (std::int32_t i = 1; i <= memberBound; ++i) {
        window.setProgressValue(window.progressValue() + 1.0f);
        window.setCaption(StatusLine::part, u"Processing Part " +
                                                progressText(window.progressValue()) + u" to " +
                                                progressText(window.progressMax()));
        window.repaint();
        if (context.state.styleAction == StyleAction::reset) {
            resetMemberStyles(context, i);
        } else {
            applyMemberStyles(context, i);
        }
    }
}

}  // namespace

void processCurrentView(RunContext& context, RunSteps& steps) {
    EngineState& state = context.state;
    StatusWindow& window = context.window;
    ObjectRef modelReference;
    if (!steps.step([&] {
            modelReference =
                host::toObject(state.currentView.get(dispatch::drawingView::modelReference))
                    .as(dispatch::modelReference::iid);
        })) {
        return;  // no model reference, still tolerated: the view is skipped
    }
    steps.becomeStrict();
    const std::u16string modelFile =
        host::toText(modelReference.get(dispatch::modelReference::fileName));
    if (lowerCase(lastUnits(modelFile, 3)) != u"asm") {
        return;  // not an assembly
    }
    if (state.styleAction == StyleAction::reset) {
        // A reset needs no colours: the same members, without the
        // assembly's occurrences and the calls (and failures) reading them.
        window.setCaption(StatusLine::part, u"Processing ModelMembers...");
        window.repaint();
        readAllModelMembers(context, state.currentView);
        applyStylesWithProgress(context);
        return;
    }
    state.assemblyDocument =
        host::toObject(modelReference.get(dispatch::modelReference::modelDocument))
            .as(dispatch::assemblyDocument::iid);

    window.setCaption(StatusLine::part, u"Processing SubOccurrences...");
    window.repaint();
    readAllSubOccurrences(context, state.assemblyDocument);

    window.setCaption(StatusLine::part, u"Processing ModelMembers...");
    window.repaint();
    readAllModelMembers(context, state.currentView);

    pairMembers(state.tables);
    applyStylesWithProgress(context);
}

}  // namespace tav::engine
