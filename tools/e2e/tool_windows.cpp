#include "tools/e2e/tool_windows.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "app/win/window_layouts.h"
#include "platform/win/device_context.h"
#include "platform/win/wide_text.h"
#include "tools/e2e/window_probe.h"

namespace tav::e2e {
namespace {

using app::win::TwipsRect;
namespace mainLayout = app::win::layout::mainWindow;
namespace aboutLayout = app::win::layout::aboutBox;

int px(int twips, int dpi) {
    return MulDiv(twips, dpi, 1440);
}

std::string rectText(const RECT& rect) {
    char text[96];
    std::snprintf(text, sizeof text, "%ld,%ld %ldx%ld", static_cast<long>(rect.left),
                  static_cast<long>(rect.top), static_cast<long>(rect.right - rect.left),
                  static_cast<long>(rect.bottom - rect.top));
    return text;
}

std::string inQuotes(const std::wstring& text) {
    std::string quoted(1, '"');
    quoted.append(platform::utf8Text(text));
    quoted.push_back('"');
    return quoted;
}

RECT expectedRect(const TwipsRect& place, int dpi) {
    const int left = px(place.left, dpi);
    const int top = px(place.top, dpi);
    return RECT{left, top, left + px(place.width, dpi), top + px(place.height, dpi)};
}

void checkPlace(Checks& checks, const std::string& name, HWND control, const TwipsRect& place,
                int dpi) {
    if (!checks.expect(control != nullptr, name + " exists")) {
        return;
    }
    const RECT expected = expectedRect(place, dpi);
    const RECT actual = rectInParent(control);
    checks.expect(EqualRect(&expected, &actual) != FALSE,
                  compared(name + " place", rectText(expected), rectText(actual)));
}

void checkText(Checks& checks, const std::string& name, HWND control,
               const std::wstring& expected) {
    if (control != nullptr) {
        checks.expect(textOf(control) == expected,
                      compared(name + " text", inQuotes(expected), inQuotes(textOf(control))));
    }
}

bool hasStyle(HWND window, LONG style) {
    return (GetWindowLongW(window, GWL_STYLE) & style) == style;
}

bool hasExStyle(HWND window, LONG style) {
    return (GetWindowLongW(window, GWL_EXSTYLE) & style) == style;
}

void checkFixedDialogFrame(Checks& checks, const std::string& name, HWND window) {
    checks.expect(hasStyle(window, WS_CAPTION) && hasStyle(window, WS_SYSMENU),
                  name + " has a caption with the window menu and close box");
    checks.expect(!hasStyle(window, WS_THICKFRAME), name + " cannot be resized");
    checks.expect(!hasStyle(window, WS_MINIMIZEBOX) && !hasStyle(window, WS_MAXIMIZEBOX),
                  name + " has no minimise or maximise box");
}

void checkClientArea(Checks& checks, const std::string& name, HWND window, int width, int height) {
    RECT client{};
    GetClientRect(window, &client);
    checks.expect(
        client.right == width && client.bottom == height,
        compared(name + " client size", std::to_string(width) + "x" + std::to_string(height),
                 std::to_string(client.right) + "x" + std::to_string(client.bottom)));
}

std::vector<HWND> childrenOfClass(HWND parent, const wchar_t* className) {
    std::vector<HWND> found;
    for (HWND child : childrenInZOrder(parent)) {
        if (lstrcmpiW(classOf(child).c_str(), className) == 0) {
            found.push_back(child);
        }
    }
    return found;
}

HWND childWithText(HWND parent, const wchar_t* className, const std::wstring& text) {
    for (HWND child : childrenOfClass(parent, className)) {
        if (textOf(child) == text) {
            return child;
        }
    }
    return nullptr;
}

bool isIconStatic(HWND control) {
    return (GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
}

}  // namespace

MainControls findMainControls(HWND main) {
    MainControls controls;
    controls.process = childWithText(main, L"Button", L"Process");
    controls.exit = childWithText(main, L"Button", L"Exit");
    controls.help = childWithText(main, L"Button", L"Help");
    std::vector<HWND> labels = childrenOfClass(main, L"Static");
    std::sort(labels.begin(), labels.end(),
              [](HWND a, HWND b) { return rectInParent(a).top < rectInParent(b).top; });
    if (labels.size() == 2) {
        controls.viewLine = labels[0];
        controls.partLine = labels[1];
    }
    const std::vector<HWND> bars = childrenOfClass(main, L"msctls_progress32");
    if (bars.size() == 1) {
        controls.progressBar = bars[0];
    }
    return controls;
}

void checkMainWindow(Checks& checks, HWND main, int dpi) {
    checks.expect(textOf(main) == mainTitle, "main window title");
    checkFixedDialogFrame(checks, "main window", main);
    checks.expect(GetWindow(main, GW_OWNER) == nullptr && hasExStyle(main, WS_EX_APPWINDOW) &&
                      !hasExStyle(main, WS_EX_TOOLWINDOW),
                  "main window is shown in the task bar");
    checkClientArea(checks, "main window", main, px(mainLayout::clientArea.width, dpi),
                    px(mainLayout::clientArea.height, dpi));
    if (dpi == 96) {
        checkClientArea(checks, "main window at 96 DPI", main, 457, 72);
    }

    const MainControls controls = findMainControls(main);
    checks.expect(childrenInZOrder(main).size() == 6, "main window has six controls");
    checkPlace(checks, "lblVista", controls.viewLine, mainLayout::lblVista, dpi);
    checkPlace(checks, "cmdAccept", controls.process, mainLayout::cmdAccept, dpi);
    checkPlace(checks, "cmdHelp", controls.help, mainLayout::cmdHelp, dpi);
    checkPlace(checks, "cmdCancel", controls.exit, mainLayout::cmdCancel, dpi);
    checkPlace(checks, "lblPieza", controls.partLine, mainLayout::lblPieza, dpi);
    checkPlace(checks, "pb", controls.progressBar, mainLayout::pb, dpi);
    if (dpi == 96 && controls.process != nullptr) {
        const RECT process = rectInParent(controls.process);
        const RECT expected{280, 8, 332, 33};
        checks.expect(EqualRect(&process, &expected) != FALSE,
                      compared("cmdAccept at 96 DPI", "280,8 52x25", rectText(process)));
    }
    checkText(checks, "lblVista", controls.viewLine, L"Select Drawing Views to update");
    checkText(checks, "lblPieza", controls.partLine, L"");

    for (HWND button : {controls.process, controls.exit, controls.help}) {
        if (button == nullptr) {
            continue;
        }
        const std::string name = platform::utf8Text(textOf(button));
        const LONG style = GetWindowLongW(button, GWL_STYLE);
        checks.expect((style & BS_TYPEMASK) == BS_PUSHBUTTON,
                      name + " is a push button without a default role");
        checks.expect(textOf(button).find(L'&') == std::wstring::npos, name + " has no access key");
        checks.expect(IsWindowEnabled(button) != FALSE && IsWindowVisible(button) != FALSE,
                      name + " is enabled and visible");
    }
    if (controls.progressBar != nullptr) {
        LRESULT position = -1;
        checks.expect(
            askWindow(controls.progressBar, PBM_GETPOS, 0, 0, 2000, position) && position == 0,
            "pb is empty");
    }

    std::wstring tabOrder;
    for (HWND child : childrenInZOrder(main)) {
        if (hasStyle(child, WS_TABSTOP)) {
            tabOrder += (tabOrder.empty() ? L"" : L", ") + textOf(child);
        }
    }
    checks.expect(
        tabOrder == L"Process, Exit, Help",
        compared("tab stops in order", "Process, Exit, Help", platform::utf8Text(tabOrder)));
    checks.expect(controls.process != nullptr && focusOf(main) == controls.process,
                  "focus is on Process");
}

void checkTabOrder(Checks& checks, HWND main) {
    const MainControls controls = findMainControls(main);
    const std::array<HWND, 3> expected{controls.exit, controls.help, controls.process};
    for (HWND next : expected) {
        HWND focus = focusOf(main);
        if (focus == nullptr) {
            checks.fail("Tab: no control has the focus");
            return;
        }
        postKey(focus, VK_TAB);
        const ULONGLONG deadline = GetTickCount64() + 3000;
        while (focusOf(main) != next && GetTickCount64() < deadline) {
            Sleep(20);
        }
        checks.expect(focusOf(main) == next, "Tab moves the focus to " +
                                                 platform::utf8Text(textOf(next)) + " (now on " +
                                                 platform::utf8Text(textOf(focusOf(main))) + ")");
    }
}

void checkAboutBox(Checks& checks, HWND about, HWND main, int dpi) {
    checks.expect(textOf(about) == aboutTitle, "about box title");
    checkFixedDialogFrame(checks, "about box", about);
    checks.expect(GetWindow(about, GW_OWNER) == main, "about box is owned by the main window");
    checks.expect(!hasExStyle(about, WS_EX_APPWINDOW), "about box is not in the task bar");
    checks.expect(IsWindowEnabled(main) == FALSE, "main window takes no input under the box");

    const RECT client = clientOnScreen(about);
    const RECT expected = expectedRect(aboutLayout::clientArea, dpi);
    checks.expect(
        EqualRect(&client, &expected) != FALSE,
        compared("about box client area on the screen", rectText(expected), rectText(client)));

    HWND ok = childWithText(about, L"Button", L"OK");
    checkPlace(checks, "cmdOK", ok, aboutLayout::cmdOK, dpi);
    if (ok != nullptr) {
        checks.expect((GetWindowLongW(ok, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON,
                      "OK is the default button");
        checks.expect(focusOf(about) == ok, "OK has the focus");
    }

    struct Label {
        const char* name;
        const wchar_t* text;
        TwipsRect place;
    };
    const std::array<Label, 5> labels{{
        {"lblTitle", L"Tavrelmondix", aboutLayout::lblTitle},
        {"lblVersion", L"Version 3.4.1", aboutLayout::lblVersion},
        {"lblDescription", L"Enter a Solid Edge draft file of an assembly file and run the macro.",
         aboutLayout::lblDescription},
        {"lblDesc2",
         L"Select the views that you want to change to the colors used in the assembly.  The "
         L"views may be selected before the macro is run.  If no views are selected, the macro "
         L"will process all views.",
         aboutLayout::lblDesc2},
        {"lblDesc3",
         L"The macro will use the assembly style for each occurrence (part, sheet metal), if "
         L"defined.  If there is no assembly style, the macro will use the occurrence body "
         L"style, if defined.  The occurrence body style is defined in the occurrence (use "
         L"Format - Part Painter).  Face or feature styles are not used by the macro.",
         aboutLayout::lblDesc3},
    }};
    for (const Label& label : labels) {
        HWND control = childWithText(about, L"Static", label.text);
        checks.expect(control != nullptr,
                      std::string(label.name) + " reads " + inQuotes(label.text));
        checkPlace(checks, label.name, control, label.place, dpi);
        if (control != nullptr) {
            checks.expect((GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) == SS_LEFT,
                          std::string(label.name) + " wraps its text");
        }
    }

    HWND icon = nullptr;
    for (HWND child : childrenOfClass(about, L"Static")) {
        if (isIconStatic(child)) {
            icon = child;
        }
    }
    checkPlace(checks, "picIcon", icon, aboutLayout::picIcon, dpi);
    LRESULT iconHandle = 0;
    checks.expect(
        icon != nullptr && askWindow(icon, STM_GETICON, 0, 0, 2000, iconHandle) && iconHandle != 0,
        "picIcon shows the icon");

    // The separator: grey over white, read from the screen half-way along the
    // grey line. The box may still be painting: look again for a moment.
    constexpr auto greyLine = aboutLayout::separatorGrey;
    const int x = client.left + px((greyLine.fromX + greyLine.toX) / 2, dpi);
    const int greyY = client.top + px(greyLine.y, dpi);
    COLORREF above = 0, grey = 0, white1 = 0, white2 = 0, below = 0;
    const ULONGLONG deadline = GetTickCount64() + 3000;
    do {
        Sleep(20);
        const platform::WindowDc screen(nullptr);
        above = GetPixel(screen.get(), x, greyY - 1);
        grey = GetPixel(screen.get(), x, greyY);
        white1 = GetPixel(screen.get(), x, greyY + 1);
        white2 = GetPixel(screen.get(), x, greyY + 2);
        below = GetPixel(screen.get(), x, greyY + 3);
    } while (grey != RGB(128, 128, 128) && GetTickCount64() < deadline);
    char colours[160];
    std::snprintf(colours, sizeof colours,
                  "separator: grey 1 px, then white 2 px (read %06lx %06lx %06lx %06lx %06lx)",
                  static_cast<unsigned long>(above), static_cast<unsigned long>(grey),
                  static_cast<unsigned long>(white1), static_cast<unsigned long>(white2),
                  static_cast<unsigned long>(below));
    checks.expect(grey == RGB(128, 128, 128) && white1 == RGB(255, 255, 255) &&
                      white2 == RGB(255, 255, 255) && above != grey && below != white2,
                  colours);
}

HWND messageBoxOkButton(HWND box) {
    return childWithText(box, L"Button", L"OK");
}

HWND findStartUpNotice(DWORD processId) {
    for (HWND window : topLevelWindows(processId)) {
        if (textOf(window) != messageTitle || classOf(window) == messageBoxClass) {
            continue;
        }
        for (HWND child : childrenInZOrder(window)) {
            if (textOf(child) == startUpNoticeText) {
                return window;
            }
        }
    }
    return nullptr;
}

std::wstring checkMessageBox(Checks& checks, HWND box, HWND owner, bool topmost) {
    checks.expect(textOf(box) == messageTitle, "message box title is Tavrelmondix");
    checks.expect(GetWindow(box, GW_OWNER) == owner,
                  owner != nullptr ? "message box is owned by the main window"
                                   : "message box has no owner (main window not shown)");
    const bool inTopmostBand = (GetWindowLongPtrW(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    checks.expect(inTopmostBand == topmost,
                  topmost ? "message box is topmost" : "message box is not topmost");
    const std::vector<HWND> buttons = childrenOfClass(box, L"Button");
    checks.expect(buttons.size() == 1 && messageBoxOkButton(box) != nullptr,
                  "message box has an OK button only");
    std::wstring text;
    bool iconShown = false;
    for (HWND child : childrenOfClass(box, L"Static")) {
        if (isIconStatic(child)) {
            LRESULT iconHandle = 0;
            iconShown = iconShown ||
                        (askWindow(child, STM_GETICON, 0, 0, 2000, iconHandle) && iconHandle != 0);
        } else if (!textOf(child).empty()) {
            text = textOf(child);
        }
    }
    checks.expect(!iconShown, "message box shows no icon");
    return text;
}

}  // namespace tav::e2e
