#include "app/cli/document_outcome.h"

#include <algorithm>
#include <cmath>

#include "engine/text.h"

namespace tav::cli {
namespace {

std::u16string counted(std::int32_t count, std::u16string_view one, std::u16string_view many) {
    return engine::decimalText(count) + u" " + std::u16string(count == 1 ? one : many);
}

}  // namespace

std::u16string secondsText(double seconds) {
    const auto tenths = static_cast<std::int64_t>(std::llround(std::max(seconds, 0.0) * 10.0));
    return engine::decimalText(tenths / 10) + u"." + engine::decimalText(tenths % 10);
}

std::u16string documentLine(const DocumentOutcome& outcome) {
    std::u16string line = outcome.processed ? u"processed: " : u"not processed: ";
    line += outcome.path;
    line += u": ";
    if (outcome.processed && outcome.resetMembers) {
        line += counted(outcome.sheets, u"sheet", u"sheets") + u", " +
                counted(outcome.views, u"view", u"views") + u", " +
                counted(outcome.partMembers, u"part", u"parts") + u" (" +
                engine::decimalText(*outcome.resetMembers) + u" reset)";
    } else if (outcome.processed) {
        line += counted(outcome.sheets, u"sheet", u"sheets") + u", " +
                counted(outcome.views, u"view", u"views") + u", " +
                counted(outcome.partMembers, u"part", u"parts") + u" (" +
                engine::decimalText(outcome.coloredMembers) + u" coloured), " +
                counted(outcome.stylesCreated, u"style", u"styles") + u" created";
    } else {
        line += outcome.reason;
    }
    for (const std::u16string& note : outcome.notes) {
        line += u"; " + note;
    }
    if (outcome.seconds) {
        line += u"; " + secondsText(*outcome.seconds) + u" s";
    }
    return line;
}

std::u16string errorMessageLine(const DocumentOutcome& outcome) {
    return outcome.path + u": " + outcome.reason;
}

}  // namespace tav::cli
