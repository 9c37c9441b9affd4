// A template name goes to the host by reference: a host may hand it back
// changed (its own spelling of the style's name), and the styles created
// after that are made from the name the host gave back.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/recording_window.h"
#include "engine/line_styles.h"
#include "host/conversions.h"
#include "host/error.h"

namespace tav::test {
namespace {

namespace ids = host::dispatch;
using host::ObjectRef;
using host::Value;

// A host object that answers every call through one function and every
// cast with itself.
class ScriptedObject final : public host::HostObject,
                             public std::enable_shared_from_this<ScriptedObject> {
  public:
    using Answer =
        std::function<Value(const host::MemberName&, host::CallKind, std::span<host::Argument>)>;
    explicit ScriptedObject(Answer answer) : answer_(std::move(answer)) {}

    Value invoke(const host::MemberName& member, host::CallKind kind,
                 std::span<host::Argument> args) override {
        return answer_(member, kind, args);
    }
    ObjectRef queryInterface(const host::InterfaceId&) override {
        return ObjectRef(shared_from_this());
    }

  private:
    Answer answer_;
};

ObjectRef scripted(ScriptedObject::Answer answer) {
    return ObjectRef(std::make_shared<ScriptedObject>(std::move(answer)));
}

TEST(LineStyles, StylesAreMadeFromTheTemplateNameTheHostHandsBack) {
    std::vector<std::pair<std::u16string, std::u16string>> created;  // name, template
    const ObjectRef style = scripted([](auto&&...) { return Value(); });
    const ObjectRef lineStyles = scripted(
        [&](const host::MemberName& member, host::CallKind, std::span<host::Argument> args) {
            if (member.id == ids::lineStyles::add) {
                const std::u16string templateName = host::toText(args[1].value);
                created.emplace_back(host::toText(args[0].value), templateName);
                args[1].value = Value(u"Host " + templateName);  // its own spelling
                return Value(style);
            }
            throw host::AutomationError(host::hostFailureNumber, u"No such line style");
        });
    engine::EngineState state;
    state.draftDocument = scripted([&](auto&&...) { return Value(lineStyles); });
    state.templateVisible = u"Visible";
    state.templateHidden = u"Hidden";
    state.templateTangent = u"Tangent";
    app::RecordingWindow window;
    engine::RunContext context{state, window};

    engine::addStyles(context, u"255", 255);
    engine::addStyles(context, u"65280", 65280);

    ASSERT_EQ(created.size(), 6u);
    EXPECT_EQ(created[0], (std::pair<std::u16string, std::u16string>{u"255_visible", u"Visible"}));
    EXPECT_EQ(created[3],
              (std::pair<std::u16string, std::u16string>{u"65280_visible", u"Host Visible"}));
    EXPECT_EQ(created[5],
              (std::pair<std::u16string, std::u16string>{u"65280_tangent", u"Host Tangent"}));
    EXPECT_EQ(state.templateHidden, u"Host Host Hidden");
}

}  // namespace
}  // namespace tav::test
