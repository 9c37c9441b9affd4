// A window of our own class that dispatches its messages to a C++ object.
//
// The object passes `this` through CreateWindowEx's creation parameter; the
// window procedure stores it with the window and hands every later message to
// handleMessage, where each derived window answers the messages it cares for,
// one handler each.
#pragma once

#include <windows.h>

namespace tav::app::win {

class Window {
  public:
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND handle() const { return hwnd_; }

  protected:
    Window() = default;
    // Destroys the window if it still exists.
    virtual ~Window();

    struct CreateArgs {
        HINSTANCE instance = nullptr;
        const wchar_t* className = nullptr;
        const wchar_t* title = L"";
        DWORD style = 0;
        DWORD exStyle = 0;
        // The frame's place and size; CW_USEDEFAULT lets the system place it.
        int x = CW_USEDEFAULT;
        int y = CW_USEDEFAULT;
        int width = 0;
        int height = 0;
        HWND owner = nullptr;
        HICON icon = nullptr;
    };
    // Registers the class on first use and creates the window. False when
    // Windows refuses.
    bool create(const CreateArgs& args);

    // Every message of the window; the default is Windows' own handling.
    virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
};

}  // namespace tav::app::win
