// The program on Windows: the receipt window over the Windows desktop, until it ends.

#include "win32/interimdesktop.h"
#include "win32/winform1.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    resipa::WinPlatform desktop;
    resipa::WinForm1 form(instance, desktop.platform(), resipa::programFolder());
    ShowWindow(form.handle(), show);
    // The window needs no dialog handling of the loop: each control takes its own Tab and Enter.
    return desktop.eventLoop().run();
}
