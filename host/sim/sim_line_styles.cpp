// A draft's line styles: looking a style up, creating one from a template,
// and setting a style's colour. Names compare exactly, letter case included.
#include "host/sim/fault_keys.h"
#include "host/sim/object_classes.h"
#include "host/sim/sim_call.h"
#include "host/sim/sim_collection.h"
#include "host/sim/sim_errors.h"
#include "host/sim/sim_model.h"
#include "host/sim/sim_objects.h"
#include "host/utf.h"

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
            return call.perform(draft.lineStylesFail, {fault::lineStyles::item},
                                [&] { return call.handOut(lineStyle(draft_, lookUp(call))); });
        }
        if (call.reads(ids::lineStyles::add)) {
            HostEvent event{HostEvent::Verb::call, "lineStyles", ids::lineStyles::add,
                            call.eventArguments()};
            // "add:NAME" applies when the name arrives as text; no scene key is empty.
            std::string namedKey;
            if (!call.arguments().empty()) {
                if (const auto* name = call.arguments()[0].value.getIf<std::u16string>()) {
                    namedKey = std::string(fault::lineStyles::addNamedPrefix) + host::toUtf8(*name);
                }
            }
            return call.performRecorded(std::move(event), draft.lineStylesFail,
                                        {fault::lineStyles::add, namedKey},
                                        [&] { return create(call, draft); });
        }
        return call.unknownMember();
    }

  private:
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
        std::size_t created =
            styles.append(LineStyle{std::move(name), color, std::move(templateName)});
        return call.handOut(lineStyle(draft_, created));
    }

    std::size_t draft_;
};

class LineStyleNode final : public SimNode {
  public:
    LineStyleNode(std::size_t draft, std::size_t style) : draft_(draft), style_(style) {}

    const ObjectClass& objectClass() const override { return classes::lineStyle; }

    host::Value invoke(SimCall& call) const override {
        Document& draft = call.scene().documents[draft_];
        LineStyle& style = draft.lineStyles[style_];
        if (call.puts(ids::lineStyle::color)) {
            HostEvent event{HostEvent::Verb::put, "lineStyle:" + host::toUtf8(style.name),
                            ids::lineStyle::color, call.eventArgument(0)};
            auto setColor = [&] {
                style.color = call.longArgument(0);
                return host::Value();
            };
            return call.performRecorded(std::move(event), draft.lineStylesFail,
                                        {fault::lineStyles::putColor}, setColor);
        }
        if (call.reads(ids::lineStyle::color)) {
            return call.perform(noFaults, {}, [&] { return host::Value(style.color); });
        }
        return call.unknownMember();
    }

  private:
    std::size_t draft_;
    std::size_t style_;
};

}  // namespace

NodePtr lineStyles(std::size_t draft) {
    return std::make_shared<LineStylesNode>(draft);
}

NodePtr lineStyle(std::size_t draft, std::size_t style) {
    return std::make_shared<LineStyleNode>(draft, style);
}

}  // namespace tav::sim::objects
