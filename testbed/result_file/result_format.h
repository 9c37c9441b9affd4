// The result file's vocabulary, in one place: its format string, the names
// of its fields, the kinds of event it lists with their fields, and the names
// of the ways a program ends. Other programs read these files, so every name
// here is fixed: the writer, the readers, the comparison and the benchmarks
// all take them from here.
//
//   {"format", "end", "hostCalls", "nameLookups", "heldReferences",
//    "rejectedReleases", "host", "selection", "lineStyles", "members",
//    "documents", "window" or "cli", "events"}
//
// The host's part (hostCalls to documents, and the host events) comes from
// the host; the window's part (end, window and the window's events) from the
// tool's window, or, for a command-line run, end ("cli") and cli from the
// command-line tool. nameLookups is written only by a host served over COM,
// rejectedReleases only by one that rejects calls of every kind while busy.
// documents and host.displayAlerts only for a command-line run or a scene
// that describes documents on disk (sim::Scene::describesDocuments).
#pragma once

#include <string_view>

namespace tav::result {

inline constexpr std::string_view formatName = "tavrelmondix-result/1";

// The top-level fields, in the order a file holds them.
namespace field {
inline constexpr std::string_view format = "format";
inline constexpr std::string_view end = "end";
inline constexpr std::string_view hostCalls = "hostCalls";
inline constexpr std::string_view nameLookups = "nameLookups";
inline constexpr std::string_view heldReferences = "heldReferences";
inline constexpr std::string_view rejectedReleases = "rejectedReleases";
inline constexpr std::string_view host = "host";
inline constexpr std::string_view selection = "selection";
inline constexpr std::string_view lineStyles = "lineStyles";
inline constexpr std::string_view members = "members";
inline constexpr std::string_view documents = "documents";
inline constexpr std::string_view window = "window";
inline constexpr std::string_view cli = "cli";
inline constexpr std::string_view events = "events";
}  // namespace field

// "host": {"properties": {"18": BOOL, "73": BOOL}, "commands": [N...],
//          "displayAlerts": BOOL}  (displayAlerts with the document fields only)
namespace hostField {
inline constexpr std::string_view properties = "properties";
inline constexpr std::string_view interactive = "18";
inline constexpr std::string_view delayCompute = "73";
inline constexpr std::string_view commands = "commands";
inline constexpr std::string_view displayAlerts = "displayAlerts";
}  // namespace hostField

// One item of "documents", in scene order:
//   {"id", "path", "open", "active", "saves", "unsaved" (open ones only),
//    "activeSheet", "selection", "lineStyles" (these three for drafts only)}
// path is "" for a document without one; lineStyles items as the top level's.
namespace documentField {
inline constexpr std::string_view id = "id";
inline constexpr std::string_view path = "path";
inline constexpr std::string_view open = "open";
inline constexpr std::string_view active = "active";
inline constexpr std::string_view saves = "saves";
inline constexpr std::string_view unsaved = "unsaved";
inline constexpr std::string_view activeSheet = "activeSheet";
inline constexpr std::string_view selection = "selection";
inline constexpr std::string_view lineStyles = "lineStyles";
}  // namespace documentField

// "cli": {"exitCode": N, "stdout": [LINE...], "errorMessages": [LINE...] or
// null, "report": [[TEXT...]...] or null}
namespace cliField {
inline constexpr std::string_view exitCode = "exitCode";
inline constexpr std::string_view stdoutLines = "stdout";
inline constexpr std::string_view errorMessages = "errorMessages";
inline constexpr std::string_view report = "report";
}  // namespace cliField

// One item of "lineStyles"; a template of null marks a style the scene
// brought.
namespace lineStyleField {
inline constexpr std::string_view name = "name";
inline constexpr std::string_view color = "color";
inline constexpr std::string_view templateName = "template";
}  // namespace lineStyleField

// One item of "members".
namespace memberField {
inline constexpr std::string_view view = "view";
inline constexpr std::string_view id = "id";
inline constexpr std::string_view visible = "visible";
inline constexpr std::string_view hidden = "hidden";
inline constexpr std::string_view tangent = "tangent";
}  // namespace memberField

// "window": {"lblVista": TEXT, "lblPieza": TEXT, "pb": {"min", "max", "value"}}
// The status lines go by their labels' names, app::controlName, as the
// window's events name them.
namespace windowField {
inline constexpr std::string_view progressBar = "pb";
inline constexpr std::string_view progressMin = "min";
inline constexpr std::string_view progressMax = "max";
inline constexpr std::string_view progressValue = "value";
}  // namespace windowField

// A window event: {"ui": KIND, ...}.
namespace uiEvent {
inline constexpr std::string_view kind = "ui";
inline constexpr std::string_view caption = "caption";  // control, text
inline constexpr std::string_view progress = "pb";      // property, value
inline constexpr std::string_view repaint = "repaint";  // nothing more
inline constexpr std::string_view message = "message";  // title, text
inline constexpr std::string_view about = "about";      // title, version
inline constexpr std::string_view control = "control";
inline constexpr std::string_view text = "text";
inline constexpr std::string_view property = "property";
inline constexpr std::string_view value = "value";
inline constexpr std::string_view title = "title";
inline constexpr std::string_view version = "version";
}  // namespace uiEvent

// A host event: {"host": "put"|"call", "object", "member", "value"|"args",
// "ok"}, and "call" (its host call number) in a host's part. member is a
// dispatch id, or the name of a member called by name ("Open").
namespace hostEvent {
inline constexpr std::string_view kind = "host";
inline constexpr std::string_view put = "put";
inline constexpr std::string_view call = "call";
inline constexpr std::string_view object = "object";
inline constexpr std::string_view member = "member";
inline constexpr std::string_view value = "value";  // of a put
inline constexpr std::string_view args = "args";    // of a call
inline constexpr std::string_view ok = "ok";
inline constexpr std::string_view callNumber = "call";
}  // namespace hostEvent

// The values of "end".
namespace programEnd {
inline constexpr std::string_view refused = "refused";
inline constexpr std::string_view myEnd = "my_end";
inline constexpr std::string_view fatal = "fatal";
inline constexpr std::string_view closed = "closed";
inline constexpr std::string_view open = "open";
inline constexpr std::string_view cli = "cli";  // a command-line run
}  // namespace programEnd

}  // namespace tav::result
