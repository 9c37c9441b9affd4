// Short ways to walk the simulated host's object model in tests.
#pragma once

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "host/conversions.h"
#include "host/error.h"
#include "host/value.h"
#include "platform/utf.h"
#include "sim_test_scene.h"

namespace tav::sim::test_support {

namespace ids = host::dispatch;

inline host::ObjectRef object(const host::Value& value) {
    return host::toObject(value);
}
inline host::Value number(std::int32_t n) {
    return host::Value(n);
}

inline host::ObjectRef activeDraft(const RecordingHost& h) {
    return object(h.app.get(ids::application::activeDocument));
}
inline host::ObjectRef drawingViews(const RecordingHost& h) {
    return object(
        object(activeDraft(h).get(ids::draftDocument::activeSheet)).get(ids::sheet::drawingViews));
}
inline host::ObjectRef drawingView(const RecordingHost& h, std::int32_t index) {
    return object(drawingViews(h).item(number(index)));
}
inline host::ObjectRef occurrence(const RecordingHost& h, std::int32_t index) {
    host::ObjectRef model = object(drawingView(h, 1).get(ids::drawingView::modelReference));
    host::ObjectRef assembly = object(model.get(ids::modelReference::modelDocument));
    return object(object(assembly.get(ids::assemblyDocument::occurrences)).item(number(index)));
}
inline host::ObjectRef rootMember(const RecordingHost& h, std::int32_t view) {
    host::ObjectRef members = object(drawingView(h, view).get(ids::drawingView::modelMembers));
    return object(members.item(number(1)));
}
inline host::ObjectRef child(const host::ObjectRef& member, std::int32_t index) {
    return object(object(member.get(ids::modelMember::children)).item(number(index)));
}

// The description of the host error `action` raises; fails the test when it
// raises none or an error of another number.
template <class Action>
std::u16string hostErrorOf(Action&& action) {
    try {
        action();
    } catch (const host::AutomationError& error) {
        EXPECT_EQ(error.number(), host::hostFailureNumber);
        return error.description();
    }
    ADD_FAILURE() << "no host error";
    return {};
}

}  // namespace tav::sim::test_support
