// A draft's line styles: counting them, looking a style up (by name or
// position), creating one from a template,
// removing one no member uses, and a style's name, parent and colour. Names
// compare exactly, letter case included.
#include "host/sim/fault_keys.h"
#include "host/sim/member_names.h"
#include "host/sim/object_classes.h"
#include "host/sim/sim_call.h"
#include "host/sim/sim_collection.h"
#include "host/sim/sim_errors.h"
#include "host/sim/sim_model.h"
#include "host/sim/sim_objects.h"
#include "platform/utf.h"

namespace tav::sim::objects {
namespace {

namespace ids = host::dispatch;

class LineStylesNode final : public SimNode {
  public:
    explicit LineStylesNode(std::size_t draft) : draft_(draft) {}

    const ObjectClass& objectClass() const override { return classes::lineStyles; }

    host::Value invoke(SimCall& call) const override {
        Document& draft = call.scene().documents[draft_];
        if (call.fetchesItem()) {
            return call.perform(draft.lineStylesFail, {fault::lineStyles::item}, [&] {
                std::uint32_t serial = draft.lineStyles[lookUp(call)].serial;
                return call.handOut(lineStyle(draft_, serial));
            });
        }
        if (call.readsNamed(names::collection::count)) {
            return call.perform(noFaults, {}, [&] {
                return host::Value(static_cast<std::int32_t>(draft.lineStyles.size()));
            });
        }
        if (call.reads(ids::lineStyles::add)) {
            result::HostEvent event{result::HostEvent::Verb::call, "lineStyles",
                                    ids::lineStyles::add, call.eventArguments()};
            std::string namedKey = namedFaultKey(call, fault::lineStyles::addNamedPrefix);
            return call.performRecorded(std::move(event), draft.lineStylesFail,
                                        {fault::lineStyles::add, namedKey},
                                        [&] { return create(call, draft); });
        }
        if (call.readsNamed(names::lineStyles::remove)) {
            result::HostEvent event{result::HostEvent::Verb::call, "lineStyles", 0,
                                    call.eventArguments()};
            event.memberName = platform::toUtf8(names::lineStyles::remove);
            std::string namedKey = namedFaultKey(call, fault::lineStyles::removeNamedPrefix);
            return call.performRecorded(std::move(event), draft.lineStylesFail,
                                        {fault::lineStyles::remove, namedKey}, [&] {
                                            remove(call);
                                            return host::Value();
                                        });
        }
        return call.unknownMember();
    }

  private:
    // "add:NAME" and "remove:NAME" apply when the name arrives as text; no
    // scene key is empty.
    static std::string namedFaultKey(const SimCall& call, std::string_view prefix) {
        if (!call.arguments().empty()) {
            if (const auto* name = call.arguments()[0].value.getIf<std::u16string>()) {
                return std::string(prefix) + platform::toUtf8(*name);
            }
        }
        return {};
    }

    // Takes out the style named by the first argument, unless a member of a
    // view of the draft uses it.
    void remove(SimCall& call) const {
        std::u16string name = call.textArgument(0);
        LineStyleIndex& styles = call.model().lineStyles(draft_);
        std::optional<std::size_t> found = styles.find(name);
        if (!found) {
            throw noLineStyleNamed(name);
        }
        const Scene& scene = call.scene();
        for (std::size_t view = 0; view < scene.drawingViews.size(); ++view) {
            if (call.model().draftOfView(view) == draft_ &&
                usesStyle(scene.drawingViews[view].root, name)) {
                throw hostError(u"The line style \"" + name + u"\" is in use");
            }
        }
        call.model().documents().willChange(scene, draft_);
        styles.remove(*found);
        call.model().documents().markChanged(draft_);
    }

    static bool usesStyle(const ModelMember& member, std::u16string_view name) {
        for (const ModelMember& child : member.children) {
            const EdgeStyles& styles = child.styles;
            if (styles.visible == name || styles.hidden == name || styles.tangent == name ||
                usesStyle(child, name)) {
                return true;
            }
        }
        return false;
    }

    // The style the default member's argument names: a name, or a position.
    std::size_t lookUp(const SimCall& call) const {
        if (const auto* name = call.argument(0).getIf<std::u16string>()) {
            std::optional<std::size_t> found = call.model().lineStyles(draft_).find(*name);
            if (!found) {
                throw noLineStyleNamed(*name);
            }
            return *found;
        }
        return itemPosition(call, call.scene().documents[draft_].lineStyles.size());
    }

    host::Value create(const SimCall& call, const Document& draft) const {
        std::u16string name = call.textArgument(0);
        std::u16string templateName = call.textArgument(1);
        LineStyleIndex& styles = call.model().lineStyles(draft_);
        if (styles.find(name)) {
            throw hostError(u"A line style named \"" + name + u"\" already exists");
        }
        std::optional<std::size_t> source = styles.find(templateName);
        if (!source) {
            throw noLineStyleNamed(templateName);
        }
        std::int32_t color = draft.lineStyles[*source].color;
        call.model().documents().willChange(call.scene(), draft_);
        LineStyle style;
        style.name = std::move(name);
        style.color = color;
        style.templateName = std::move(templateName);
        std::size_t created = styles.append(std::move(style));
        call.model().documents().markChanged(draft_);
        return call.handOut(lineStyle(draft_, draft.lineStyles[created].serial));
    }

    std::size_t draft_;
};

// One style, found by its serial number: it answers no more once it was
// removed, or once a Close took the document back to before it was made.
class LineStyleNode final : public SimNode {
  public:
    LineStyleNode(std::size_t draft, std::uint32_t serial) : draft_(draft), serial_(serial) {}

    const ObjectClass& objectClass() const override { return classes::lineStyle; }

    host::Value invoke(SimCall& call) const override {
        Document& draft = call.scene().documents[draft_];
        std::optional<std::size_t> position = call.model().lineStyles(draft_).findSerial(serial_);
        if (!position) {
            return call.perform(noFaults, {}, []() -> host::Value {
                throw hostError(u"The line style no longer exists");
            });
        }
        LineStyle& style = draft.lineStyles[*position];
        if (call.puts(ids::lineStyle::color)) {
            result::HostEvent event{result::HostEvent::Verb::put,
                                    "lineStyle:" + platform::toUtf8(style.name),
                                    ids::lineStyle::color, call.eventArgument(0)};
            auto setColor = [&] {
                std::int32_t color = call.longArgument(0);
                call.model().documents().willChange(call.scene(), draft_);
                style.color = color;
                call.model().documents().markChanged(draft_);
                return host::Value();
            };
            return call.performRecorded(std::move(event), draft.lineStylesFail,
                                        {fault::lineStyles::putColor}, setColor);
        }
        if (call.reads(ids::lineStyle::color)) {
            return call.perform(noFaults, {}, [&] { return host::Value(style.color); });
        }
        if (call.readsNamed(names::lineStyle::name)) {
            return call.perform(noFaults, {}, [&] { return host::Value(style.name); });
        }
        if (call.readsNamed(names::lineStyle::parent)) {
            return call.perform(style.fail, {fault::lineStyle::parent}, [&] {
                const std::optional<std::u16string>& parent =
                    style.templateName ? style.templateName : style.parent;
                return host::Value(parent.value_or(u""));
            });
        }
        return call.unknownMember();
    }

  private:
    std::size_t draft_;
    std::uint32_t serial_;
};

}  // namespace

NodePtr lineStyles(std::size_t draft) {
    return std::make_shared<LineStylesNode>(draft);
}

NodePtr lineStyle(std::size_t draft, std::uint32_t serial) {
    return std::make_shared<LineStyleNode>(draft, serial);
}

}  // namespace tav::sim::objects
